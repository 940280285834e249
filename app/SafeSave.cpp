#include "app/SafeSave.h"

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Paths.h"

#include <windows.h>

namespace nv {

ESafeSaveError::ESafeSaveError(const std::string& target, unsigned long systemError)
    : EFCreateError(Format("Cannot create file %s", target)), systemError_(systemError) {}

// A new file beside the target, with the target's extension so the writer picks the same format.
std::string ReserveTemporaryFile(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    const std::string extension = ExtensionLower(target);
    const std::string suffix = extension.empty() ? std::string() : "." + extension;
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = folder + "~notova" + std::to_string(::GetCurrentProcessId()) + "-" +
                                      std::to_string(::GetTickCount() + attempt) + suffix;
        FileHandle file(OpenFile(candidate, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
        if (file) return candidate;
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) throw ESafeSaveError(target, error);
    }
    throw ESafeSaveError(target, ERROR_FILE_EXISTS);
}

void WriteFileSafely(const std::string& target, const std::function<void(const std::string& path)>& write,
                     const std::function<std::string(const std::string& target)>& reserve) {
    // A read-only or locked target fails as it would when written in place (a rename alone would
    // pass both on some file systems).
    const DWORD attributes = FileAttributes(target);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        FileHandle probe(OpenFile(target, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL));
        if (!probe) throw ESafeSaveError(target, ::GetLastError());
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
            throw ESafeSaveError(target, ERROR_ACCESS_DENIED);
        }
    }
    std::string temporary;
    try {
        temporary = reserve(target);
    } catch (const ESafeSaveError& refused) {
        // Only the file itself may be written (a folder of the system's, say): as every editor does
        // there, in place.
        if (!exists || refused.SystemError() != ERROR_ACCESS_DENIED) throw;
        write(target);
        return;
    }
    try {
        write(temporary);
    } catch (...) {
        RemoveFile(temporary);
        throw;
    }
    if (exists && ReplaceFileWith(target, temporary)) return;
    if (MoveFileReplacing(temporary, target)) return;
    const DWORD error = ::GetLastError();
    // Only remove the new text when the old file is still there: otherwise it is the one copy left.
    if (FileAttributes(target) != INVALID_FILE_ATTRIBUTES) RemoveFile(temporary);
    throw ESafeSaveError(target, error);
}

} // namespace nv
