#include "base/Platform.h"

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
    return ::MessageBoxA(owner, text.c_str(), ApplicationTitle().c_str(), type);
}

void ShowGeneralError(HWND owner, const std::string& text) { ShowMessage(owner, text, MB_OK | MB_ICONERROR); }
void ShowGeneralError(HWND owner, const std::exception& error) { ShowGeneralError(owner, error.what()); }

} // namespace nv
