#include "base/Paths.h"

#include <algorithm>
#include <cctype>

namespace nv {

namespace {
size_t NameStart(const std::string& path) {
    size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? 0 : separator + 1;
}
} // namespace

std::string ExtractFileName(const std::string& path) { return path.substr(NameStart(path)); }

std::string ExtractFilePath(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string ExtensionLower(const std::string& path) {
    size_t start = NameStart(path);
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < start) return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string FileApiName(const std::string& path) {
    constexpr size_t kMaxPath = 260;
    if (path.size() < kMaxPath || path.rfind("\\\\?\\", 0) == 0) return path;
    std::string name = path;
    std::replace(name.begin(), name.end(), '/', '\\'); // the long form takes no other separator
    const bool drive = name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' &&
                       name[2] == '\\';
    if (drive) return "\\\\?\\" + name;
    if (name.rfind("\\\\", 0) == 0) return "\\\\?\\UNC\\" + name.substr(2);
    return path; // relative: the long form has no current folder
}

} // namespace nv
