// The file functions for the program's names (UTF-8), through the wide functions: a name outside the
// code page opens as any other, and one of MAX_PATH characters or more goes in its long form.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

// The name as the wide functions take it, in its long form where it needs one.
std::wstring FileApiNameW(const std::string& path);

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD FileAttributes(const std::string& path);
bool FileAttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data);
bool RemoveFile(const std::string& path);
bool ReplaceFileWith(const std::string& target, const std::string& replacement);
bool MoveFileReplacing(const std::string& from, const std::string& to);

// The system's text for an error code (FormatMessage), without its line end; `fallback` when it
// has none.
std::string SystemErrorText(unsigned long code, const std::string& fallback);

} // namespace nv
