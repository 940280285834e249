#include "tests/support/TestHost.h"

#include "base/FileSystem.h"
#include "base/Handles.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace nv::test {

TestHost::TestHost(int width, int height) {
    RegisterClassOnce("NotovaTestHost");
    Create("NotovaTestHost", "Test host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 10, 10, width,
           height, nullptr, nullptr);
}

RECT TestHost::Client() const {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    return r;
}

LRESULT TestHost::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnMessage && OnMessage(msg, wParam, lParam, result)) return result;
    if (ReflectToChild(msg, wParam, lParam, result)) return result;
    return Default(msg, wParam, lParam);
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

TempDir::TempDir() {
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        path_ = std::string(base) + "notova-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
    }
}

TempDir::~TempDir() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
            const std::string item = path_ + "\\" + found.cFileName;
            ::SetFileAttributesA(item.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                ::RemoveDirectoryA(item.c_str());
            } else {
                ::DeleteFileA(item.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path_.c_str());
}

// One allocation of the file's size: growing a buffer step by step leaves the Wine heap full of
// free blocks that slow every later allocation of the rich-edit control.
// Through the program's own file functions, which reach names longer than MAX_PATH.
std::string ReadFileBytes(const std::string& path) {
    FileHandle file(OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    DWORD read = 0;
    while (done < bytes.size() &&
           ::ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &read, nullptr) && read > 0)
        done += read;
    bytes.resize(done);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    FileHandle file(OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    size_t done = 0;
    DWORD written = 0;
    while (file && done < bytes.size() &&
           ::WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) &&
           written > 0)
        done += written;
}

bool FileExists(const std::string& path) { return FileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

std::string ClipboardText() {
    ClipboardOpen clipboard(nullptr);
    HANDLE data = clipboard ? ::GetClipboardData(CF_TEXT) : nullptr;
    GlobalLock locked(data);
    return locked.data() ? static_cast<const char*>(locked.data()) : "";
}

void SetClipboardText(const std::string& text) {
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) throw std::runtime_error("GlobalAlloc failed");
    {
        GlobalLock locked(memory.get());
        std::memcpy(locked.data(), text.c_str(), text.size() + 1);
    }
    ClipboardOpen clipboard(nullptr);
    if (!clipboard) throw std::runtime_error("cannot open the clipboard");
    ::EmptyClipboard();
    if (::SetClipboardData(CF_TEXT, memory.get())) memory.release(); // the clipboard owns it now
}

} // namespace nv::test
