#include "widgets/FormDesign.h"

#include "base/Dpi.h"
#include "base/Handles.h"
#include "base/Platform.h"

namespace nv {

bool LoadFormDesign(int resourceId, TFormDesign& design, int dpi) {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* values = static_cast<const WORD*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!values) return false;
    const size_t count = ::SizeofResource(module, resource) / sizeof(WORD);
    if (count < 2) return false;
    auto scale = [dpi](int pixels) { return DpiScaled(pixels, dpi); };
    design.Dpi = dpi;
    design.ClientWidth = scale(values[0]);
    design.ClientHeight = scale(values[1]);
    design.Controls.clear();
    for (size_t i = 2; i + 5 <= count; i += 5) {
        TDesignedControl control;
        control.Id = values[i];
        // Edges rather than sizes are scaled: controls that meet in the design meet at every DPI.
        control.Bounds = RECT{scale(values[i + 1]), scale(values[i + 2]), scale(values[i + 1] + values[i + 3]),
                              scale(values[i + 2] + values[i + 4])};
        control.DesignWidth = values[i + 3];
        design.Controls.push_back(control);
    }
    return true;
}

SIZE FormSize(HWND form, const TFormDesign& design) {
    return WindowSizeForClient(design.ClientWidth, design.ClientHeight,
                               static_cast<DWORD>(::GetWindowLongPtrA(form, GWL_STYLE)), false,
                               static_cast<DWORD>(::GetWindowLongPtrA(form, GWL_EXSTYLE)), design.Dpi);
}

void SizeAndCentre(HWND form, const TFormDesign& design) {
    const SIZE size = FormSize(form, design);
    const POINT centre = MonitorCentre(form);
    ::SetWindowPos(form, nullptr, centre.x - size.cx / 2, centre.y - size.cy / 2, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea(form, {design.ClientWidth, design.ClientHeight});
}

void PlaceDesignedControls(HWND form, const TFormDesign& design) {
    for (const TDesignedControl& item : design.Controls) {
        HWND control = ::GetDlgItem(form, item.Id);
        if (!control) continue;
        const RECT& r = item.Bounds;
        const int width = item.DesignWidth == 0 ? CaptionWidth(control) : r.right - r.left;
        ::SetWindowPos(control, nullptr, r.left, r.top, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TFormFont::Apply(HWND form, int dpi, const std::vector<int>& ownFonts) {
    if (dpi == (dpi_ ? dpi_ : ScreenPixelsPerInch())) return;
    GdiObject font(::CreateFontA(-::MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 "MS Sans Serif"));
    if (!font) return;
    for (HWND child = ::GetWindow(form, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (std::find(ownFonts.begin(), ownFonts.end(), ::GetDlgCtrlID(child)) != ownFonts.end()) continue;
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font); // the previous font goes once no control draws with it
    dpi_ = dpi;
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
