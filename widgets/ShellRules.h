// What the program may hand to the shell, decided without a window: links from a document, the link
// labels' addresses, and the file-name patterns of a shell context menu.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace nv {

// What a link label opens.
enum TLabelType { hmHTTP, hmMAIL, hmFTP, hmCUSTOM };

// The longest address a link label hands to the shell, its prefix included.
constexpr size_t kMaxLabelLink = 79;

// "http:\\", "mailto:", "ftp:\\"; empty for hmCUSTOM.
std::string LabelPrefix(TLabelType type);
// The prefix followed by the caption; nothing for hmCUSTOM or when it would be longer than
// kMaxLabelLink (refused rather than cut, which would open another address).
std::optional<std::string> LabelLink(TLabelType type, const std::string& caption);

// What a clicked link in a document may open: web and mail addresses only (http, https, ftp and
// mailto, in any case), since a text file must not be able to start programs. A "www." or "ftp."
// address without a scheme gets one, so the shell cannot take it for a file (www.example.com would
// otherwise name a program). Anything else gives nothing.
std::optional<std::string> ShellLinkFor(const std::string& link);

// True when a file-name part holds a wildcard ("*" or "?").
bool HasWildcards(const std::string& name);

} // namespace nv
