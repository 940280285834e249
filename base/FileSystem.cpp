#include "base/FileSystem.h"

#include "base/Paths.h"

namespace nv {

namespace {

bool Long(const std::string& path) { return FileApiName(path) != path; }

std::wstring Wide(const std::string& path) {
    const std::string name = FileApiName(path);
    const int length = ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
    return wide;
}

} // namespace

HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    return Long(path) ? ::CreateFileW(Wide(path).c_str(), access, share, nullptr, disposition, flags, nullptr)
                      : ::CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD FileAttributes(const std::string& path) {
    return Long(path) ? ::GetFileAttributesW(Wide(path).c_str()) : ::GetFileAttributesA(path.c_str());
}

bool FileAttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return Long(path) ? ::GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) != FALSE
                      : ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

bool RemoveFile(const std::string& path) {
    return (Long(path) ? ::DeleteFileW(Wide(path).c_str()) : ::DeleteFileA(path.c_str())) != FALSE;
}

bool ReplaceFileWith(const std::string& target, const std::string& replacement) {
    if (Long(target) || Long(replacement)) {
        return ::ReplaceFileW(Wide(target).c_str(), Wide(replacement).c_str(), nullptr, REPLACEFILE_WRITE_THROUGH,
                              nullptr, nullptr) != FALSE;
    }
    return ::ReplaceFileA(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr,
                          nullptr) != FALSE;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (Long(from) || Long(to)) return ::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), kFlags) != FALSE;
    return ::MoveFileExA(from.c_str(), to.c_str(), kFlags) != FALSE;
}

} // namespace nv
