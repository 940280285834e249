// The file functions for the program's single-byte names. A name of MAX_PATH characters or more goes
// to the wide functions in its long form, turned into UTF-16 by the same code page the single-byte
// functions use: those refuse such names under Wine even in the long form.
#pragma once

#include <windows.h>

#include <string>

namespace nv {

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD FileAttributes(const std::string& path);
bool FileAttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data);
bool RemoveFile(const std::string& path);
bool ReplaceFileWith(const std::string& target, const std::string& replacement);
bool MoveFileReplacing(const std::string& from, const std::string& to);

} // namespace nv
