#include "base/Platform.h"

#include "base/Handles.h"
#include "base/ScopeExit.h"
#include "base/Unicode.h"

#include <algorithm>
#include <vector>

namespace nv {

bool RunningOnWine() {
    static const bool onWine = [] {
        HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return onWine;
}

namespace {
std::string& TitleStorage() {
    static std::string title = "Notova";
    return title;
}
} // namespace

const std::string& ApplicationTitle() { return TitleStorage(); }
void SetApplicationTitle(const std::string& title) { TitleStorage() = title; }

int ShowMessage(HWND owner, const std::string& text, UINT type) {
    return ::MessageBoxW(owner, Wide(text).c_str(), Wide(ApplicationTitle()).c_str(), type);
}

std::string FullPathName(const std::string& name) {
    if (name.empty()) return name;
    const std::wstring wide = Wide(name);
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return name;
    std::wstring full(needed, L'\0');
    const DWORD copied = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (copied == 0 || copied >= needed) return name;
    return Utf8(full.data(), copied);
}

unsigned long long AvailableMemory(unsigned long long enough) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    const unsigned long long commitLeft = ::GlobalMemoryStatusEx(&status) ? status.ullAvailPageFile : ~0ull;
    enough = std::min(enough, commitLeft);
    // Reserving address space commits nothing and answers exactly what is left, where walking the map
    // cannot: under Wine the space kept for the process and the space the system's own libraries use
    // look the same.
    constexpr SIZE_T kSmallestUsefulPiece = 1u << 20; // smaller holes are of no use to a growing heap
    SIZE_T piece = sizeof(void*) == 4 ? SIZE_T{256} << 20 : SIZE_T{1} << 30;
    std::vector<void*> reserved;
    reserved.reserve(64);
    ScopeExit release([&] {
        for (void* block : reserved) ::VirtualFree(block, 0, MEM_RELEASE);
    });
    unsigned long long found = 0;
    while (found < enough) {
        if (void* block = ::VirtualAlloc(nullptr, piece, MEM_RESERVE, PAGE_NOACCESS)) {
            reserved.push_back(block);
            found += piece;
        } else if (piece > kSmallestUsefulPiece) {
            piece /= 2;
        } else {
            break;
        }
    }
    return std::min(found, commitLeft);
}

int ScreenPixelsPerInch() {
    WindowDC screen(nullptr);
    const int ppi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return ppi > 0 ? ppi : 96;
}

void ShowGeneralError(HWND owner, const std::string& text) { ShowMessage(owner, text, MB_OK | MB_ICONERROR); }
void ShowGeneralError(HWND owner, const std::exception& error) { ShowGeneralError(owner, error.what()); }

std::string ErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "An unknown error occurred";
    }
}

void ShowCurrentError(HWND owner) noexcept {
    try {
        ShowGeneralError(owner, ErrorText(std::current_exception()));
    } catch (...) {
        // Nothing is left to report with: the command is abandoned all the same.
    }
}

} // namespace nv
