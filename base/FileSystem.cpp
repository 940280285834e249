#include "base/FileSystem.h"

#include "base/Paths.h"
#include "base/Unicode.h"

namespace nv {

std::wstring FileApiNameW(const std::string& path) {
    return Wide(FileApiName(path));
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    return ::CreateFileW(FileApiNameW(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD FileAttributes(const std::string& path) {
    return ::GetFileAttributesW(FileApiNameW(path).c_str());
}

bool FileAttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return ::GetFileAttributesExW(FileApiNameW(path).c_str(), GetFileExInfoStandard, &data) != FALSE;
}

bool RemoveFile(const std::string& path) {
    return ::DeleteFileW(FileApiNameW(path).c_str()) != FALSE;
}

bool ReplaceFileWith(const std::string& target, const std::string& replacement) {
    return ::ReplaceFileW(FileApiNameW(target).c_str(), FileApiNameW(replacement).c_str(), nullptr,
                          REPLACEFILE_WRITE_THROUGH, nullptr, nullptr) != FALSE;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    return ::MoveFileExW(FileApiNameW(from).c_str(), FileApiNameW(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::string SystemErrorText(unsigned long code, const std::string& fallback) {
    wchar_t text[512] = {};
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                    0, text, sizeof text / sizeof text[0], nullptr);
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' '))
        --length;
    return length > 0 ? Utf8(text, length) : fallback;
}

} // namespace nv
