#include "app/Texts.h"

#include "base/Platform.h"
#include "base/Unicode.h"
#include "forms/resource.h"

namespace nv {

std::string LoadText(UINT id) {
    wchar_t buffer[4096] = {};
    const int copied =
        ::LoadStringW(::GetModuleHandleW(nullptr), id, buffer, sizeof buffer / sizeof buffer[0]);
    return Utf8(buffer, copied > 0 ? static_cast<size_t>(copied) : 0);
}

int Ask(HWND owner, const std::string& text, UINT type) { return ShowMessage(owner, text, type); }

namespace {
INT_PTR CALLBACK IgnoreBoxProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        SetCaptionText(dialog, ApplicationTitle());
        ::SetDlgItemTextW(dialog, IDC_MESSAGETEXT,
                          Wide(*reinterpret_cast<const std::string*>(lParam)).c_str());
        ::SendDlgItemMessageA(dialog, IDC_MESSAGEICON, STM_SETICON,
                              reinterpret_cast<WPARAM>(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_HAND))), 0);
        ::MessageBeep(MB_ICONERROR);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDIGNORE || LOWORD(wParam) == IDCANCEL) ::EndDialog(dialog, IDIGNORE);
        return TRUE;
    default: return FALSE;
    }
}
} // namespace

int ShowIgnoreBox(HWND owner, const std::string& text) {
    std::string message = text;
    return static_cast<int>(::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_IGNOREBOX), owner,
                                              &IgnoreBoxProc, reinterpret_cast<LPARAM>(&message)));
}

} // namespace nv
