#include "widgets/NvLabel.h"

#include "statusbar/nvStatusBar.h"
#include "widgets/Fonts.h"
#include "widgets/urllabel.h"

namespace nv {

POINT ShadowOffset(TShadowPosition position, int size) {
    switch (position) {
    case spLeftTop: return {-size, -size};
    case spLeftBottom: return {-size, size};
    case spRightBottom: return {size, size};
    case spRightTop: return {size, -size};
    }
    return {0, 0};
}

TNvLabel::~TNvLabel() {
    if (hwnd_) DetachSubclass(hwnd_);
}

void TNvLabel::Attach(HWND control) {
    hwnd_ = control;
    caption_ = WindowText(control);
    AttachSubclass(control);
    Changed();
}

void TNvLabel::SetFont(const TFont& value) {
    font_ = value;
    Changed();
}

void TNvLabel::SetShadowColor(TColor value) {
    shadowColor_ = value;
    Changed();
}

void TNvLabel::SetShadowPos(TShadowPosition value) {
    shadowPos_ = value;
    Changed();
}

void TNvLabel::SetShadowSize(int value) {
    shadowSize_ = value;
    Changed();
}

void TNvLabel::Changed() {
    if (!hwnd_) return;
    GdiObject fresh = CreateFontOf(font_);
    if (fresh) fontHandle_ = std::move(fresh);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TNvLabel::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(::GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(hwnd_)));
    ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    {
        SelectedObject font(dc, fontHandle_.get());
        // Where the shadow would leave the label on the left or at the top, the text moves in instead.
        const POINT offset = ShadowOffset(shadowPos_, shadowSize_);
        RECT text = client;
        ::OffsetRect(&text, offset.x < 0 ? -offset.x : 0, offset.y < 0 ? -offset.y : 0);
        RECT shadow = text;
        ::OffsetRect(&shadow, offset.x, offset.y);
        const UINT format = DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP;
        ::SetTextColor(dc, ColorRefOf(shadowColor_));
        ::DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &shadow, format);
        ::SetTextColor(dc, ColorRefOf(font_.Color));
        ::DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text, format);
    }
    ::EndPaint(hwnd_, &paint);
}

LRESULT TNvLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    default: break;
    }
    return CallPrevious(hwnd_, msg, wParam, lParam);
}

void TNvLabel::OnControlDestroyed(HWND control) {
    if (control == hwnd_) hwnd_ = nullptr;
}

} // namespace nv
