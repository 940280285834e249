#include "app/SafeSave.h"

#include "base/Errors.h"
#include "base/Handles.h"
#include "base/Paths.h"

#include <windows.h>

namespace nv {

ESafeSaveError::ESafeSaveError(const std::string& target, unsigned long systemError)
    : EFCreateError(Format("Cannot create file %s", target)), systemError_(systemError) {}

namespace {

// Reserves a new file beside the target, with the target's extension so the writer picks the same format.
std::string ReserveTemporaryFile(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    const std::string extension = ExtensionLower(target);
    const std::string suffix = extension.empty() ? std::string() : "." + extension;
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = folder + "~notova" + std::to_string(::GetCurrentProcessId()) + "-" +
                                      std::to_string(::GetTickCount() + attempt) + suffix;
        FileHandle file(::CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) return candidate;
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) throw ESafeSaveError(target, error);
    }
    throw ESafeSaveError(target, ERROR_FILE_EXISTS);
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

} // namespace

void WriteFileSafely(const std::string& target, const std::function<void(const std::string& path)>& write) {
    // A read-only or locked target fails as it would when written in place (a rename alone would
    // pass both on some file systems).
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        FileHandle probe(::CreateFileA(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe) throw ESafeSaveError(target, ::GetLastError());
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            throw ESafeSaveError(target, ERROR_ACCESS_DENIED);
        }
    }
    const std::string temporary = ReserveTemporaryFile(target);
    try {
        write(temporary);
    } catch (...) {
        ::DeleteFileA(temporary.c_str());
        throw;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        ::ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) {
        return;
    }
    if (::MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    const DWORD error = ::GetLastError();
    // Only remove the new text when the old file is still there: otherwise it is the one copy left.
    if (Exists(target)) ::DeleteFileA(temporary.c_str());
    throw ESafeSaveError(target, error);
}

} // namespace nv
