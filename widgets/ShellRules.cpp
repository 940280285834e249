#include "widgets/ShellRules.h"

#include <algorithm>
#include <cctype>

namespace nv {

namespace {
bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}
} // namespace

std::string LabelPrefix(TLabelType type) {
    switch (type) {
    case hmHTTP: return "http:\\\\";
    case hmFTP: return "ftp:\\\\";
    case hmMAIL: return "mailto:";
    case hmCUSTOM: break;
    }
    return {};
}

std::optional<std::string> LabelLink(TLabelType type, const std::string& caption) {
    if (type == hmCUSTOM) return std::nullopt;
    std::string link = LabelPrefix(type) + caption;
    if (link.size() > kMaxLabelLink) return std::nullopt;
    return link;
}

std::optional<std::string> ShellLinkFor(const std::string& link) {
    // A control character has no place in an address; a quote would end it early on a command line.
    if (std::any_of(link.begin(), link.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"'; })) {
        return std::nullopt;
    }
    for (const char* scheme : {"http:", "https:", "ftp:", "mailto:"}) {
        if (StartsWithNoCase(link, scheme) && link.size() > std::char_traits<char>::length(scheme)) return link;
    }
    if (StartsWithNoCase(link, "www.") && link.size() > 4) return "http://" + link;
    if (StartsWithNoCase(link, "ftp.") && link.size() > 4) return "ftp://" + link;
    return std::nullopt;
}

bool HasWildcards(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

} // namespace nv
