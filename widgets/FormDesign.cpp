#include "widgets/FormDesign.h"

#include "base/Handles.h"
#include "base/Platform.h"

namespace nv {

bool LoadFormDesign(int resourceId, TFormDesign& design) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* values = static_cast<const WORD*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!values) return false;
    const size_t count = ::SizeofResource(module, resource) / sizeof(WORD);
    if (count < 2) return false;
    const int dpi = ScreenPixelsPerInch();
    auto scale = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };
    design.ClientWidth = scale(values[0]);
    design.ClientHeight = scale(values[1]);
    design.Controls.clear();
    for (size_t i = 2; i + 5 <= count; i += 5) {
        TDesignedControl control;
        control.Id = values[i];
        const int left = scale(values[i + 1]), top = scale(values[i + 2]);
        control.Bounds = RECT{left, top, left + scale(values[i + 3]), top + scale(values[i + 4])};
        control.DesignWidth = values[i + 3];
        design.Controls.push_back(control);
    }
    return true;
}

void SizeAndCentre(HWND form, const TFormDesign& design) {
    RECT frame{0, 0, design.ClientWidth, design.ClientHeight};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(form, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(form, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    ::SetWindowPos(form, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int CaptionWidth(HWND control) {
    char text[256] = {};
    ::GetWindowTextA(control, text, sizeof text);
    WindowDC dc(control);
    SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), text, lstrlenA(text), &extent);
    return extent.cx;
}

} // namespace nv
