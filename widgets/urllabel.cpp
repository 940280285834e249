#include "widgets/urllabel.h"

#include "base/Dpi.h"
#include "statusbar/nvStatusBar.h"
#include "widgets/Fonts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace nv {

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(0, ::GetWindowTextA(window, text.data(), length + 1))));
    return text;
}

TURLLabel::TURLLabel() {
    font_.Color = urlColStd_;
    font_.Style = fsUnderline;
}

TURLLabel::~TURLLabel() {
    OnClick = nullptr;
    if (tooltip_) ::DestroyWindow(tooltip_);
    if (hwnd_) {
        HWND window = hwnd_;
        DetachSubclass(window);
        hwnd_ = nullptr;
        ::DestroyWindow(window);
    }
}

void TURLLabel::CreateWnd(HWND parent, const RECT& bounds, int id, const std::string& caption) {
    HWND control = ::CreateWindowExA(
        0, "Static", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOTIFY, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (control) Attach(control);
}

void TURLLabel::Attach(HWND control) {
    hwnd_ = control;
    caption_ = WindowText(control);
    // Mouse messages reach a static control only with SS_NOTIFY; Tab reaches a link like a button.
    ::SetWindowLongPtrA(control, GWL_STYLE, ::GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY | WS_TABSTOP);
    AttachSubclass(control);
    Prepare();
}

void TURLLabel::Prepare() {
    if (parentFont_) {
        SetParentFont(true);
    } else {
        FontChanged();
    }
    UpdateTooltip();
}

HCURSOR TURLLabel::HandCursor(int dpi) {
    HCURSOR own = LoadCursorForDpi("URLHAND", dpi);
    return own ? own : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
}

void TURLLabel::SetPixelsPerInch(int dpi) {
    if (dpi > 0) dpi_ = dpi;
}

// ---- Properties ------------------------------------------------------------------------------------

void TURLLabel::SetCaption(const std::string& value) {
    caption_ = value;
    if (hwnd_) ::SetWindowTextA(hwnd_, value.c_str()); // WM_SETTEXT resizes and repaints
}

void TURLLabel::SetFont(const TFont& value) {
    font_ = value;
    urlColStd_ = value.Color;
    parentFont_ = false;
    FontChanged();
}

void TURLLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustSize();
}

void TURLLabel::SetAlignment(TAlignment value) {
    alignment_ = value;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TURLLabel::SetTransparent(bool value) {
    transparent_ = value;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TURLLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustSize();
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TURLLabel::SetParentFont(bool value) {
    if (!value || !hwnd_) {
        parentFont_ = value;
        return;
    }
    HFONT parentFont = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(hwnd_), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!parentFont || !::GetObjectA(parentFont, sizeof lf, &lf)) {
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    SetFont(FontOf(lf, clWindowText));
    parentFont_ = true;
}

void TURLLabel::SetHint(const std::string& value) {
    hint_ = value;
    UpdateTooltip();
}

void TURLLabel::SetShowHint(bool value) {
    showHint_ = value;
    UpdateTooltip();
}

void TURLLabel::SetLabelType(TLabelType value) {
    labelType_ = value;
    SetUnderlined(!(value == hmCUSTOM || effect98_));
}

void TURLLabel::SetURLColStd(TColor value) {
    urlColStd_ = value;
    SetColor(value);
}

void TURLLabel::SetURLColPre(TColor value) {
    urlColPre_ = value;
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TURLLabel::SetEffect98(bool value) {
    effect98_ = value;
    SetUnderlined(!value && labelType_ != hmCUSTOM);
}

void TURLLabel::SetColor(TColor color) {
    font_.Color = color;
    if (hwnd_) {
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        ::UpdateWindow(hwnd_);
    }
}

void TURLLabel::SetUnderlined(bool underlined) {
    const TFontStyles style =
        underlined ? (font_.Style | fsUnderline) : (font_.Style & ~static_cast<unsigned>(fsUnderline));
    if (style == font_.Style) return;
    font_.Style = style;
    FontChanged();
}

void TURLLabel::FontChanged() {
    if (!hwnd_) return;
    GdiObject fresh = CreateFontOf(font_);
    if (fresh) fontHandle_ = std::move(fresh);
    AdjustSize();
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    ::UpdateWindow(hwnd_);
}

UINT TURLLabel::TextFormat() const {
    UINT format = DT_NOPREFIX | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (alignment_ == taCenter) format |= DT_CENTER;
    if (alignment_ == taRightJustify) format |= DT_RIGHT;
    return format;
}

void TURLLabel::AdjustSize() {
    if (!hwnd_ || !autoSize_) return;
    RECT bounds{};
    ::GetClientRect(hwnd_, &bounds);
    RECT text{0, 0, wordWrap_ ? bounds.right : 0, 0};
    {
        WindowDC dc(hwnd_);
        if (!dc) return;
        SelectedObject font(dc.get(), fontHandle_.get());
        ::DrawTextA(dc.get(), caption_.c_str(), static_cast<int>(caption_.size()), &text,
                    TextFormat() | DT_CALCRECT);
    }
    ::SetWindowPos(hwnd_, nullptr, 0, 0, text.right - text.left, text.bottom - text.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TURLLabel::MoveBy(int dy) {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(hwnd_, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TURLLabel::UpdateTooltip() {
    if (!hwnd_) return;
    const bool wanted = showHint_ && !hint_.empty();
    if (!wanted) {
        if (tooltip_) ::DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        return;
    }
    if (!tooltip_) {
        tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                     0, ::GetParent(hwnd_), nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (!tooltip_) return;
    }
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = ::GetParent(hwnd_);
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    tool.lpszText = const_cast<char*>(hint_.c_str());
    ::SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

// ---- Clicks and the mouse --------------------------------------------------------------------------

void TURLLabel::Click() {
    Raise(OnClick, this);
    if (labelType_ == hmCUSTOM) return;
    const std::optional<std::string> link = LabelLink(labelType_, caption_);
    if (!link) return; // too long an address is refused, not cut
    TShellCall call;
    call.File = *link;
    Raise(ShellOpen, call);
}

void TURLLabel::OnButtonDown(UINT msg) {
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return;
    pressed_ = true;
    ::SetCapture(hwnd_);
    if (allowDown_ && !movedDown_) {
        MoveBy(DpiScaled(1, dpi_));
        movedDown_ = true;
    }
    SetColor(urlColPre_);
}

void TURLLabel::OnButtonUp(UINT msg, LPARAM lParam) {
    if (!effect98_) SetColor(urlColStd_);
    if (msg != WM_LBUTTONUP) return;
    if (movedDown_) {
        MoveBy(-DpiScaled(1, dpi_));
        movedDown_ = false;
    }
    if (!pressed_) return;
    pressed_ = false;
    ::ReleaseCapture();
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (::PtInRect(&client, at)) Click();
}

void TURLLabel::OnMouseMove(LPARAM) {
    if (hovering_) return;
    hovering_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    ::TrackMouseEvent(&track);
    if (effect98_) {
        SetUnderlined(labelType_ != hmCUSTOM);
        SetColor(urlColPre_);
    }
}

void TURLLabel::OnMouseLeave() {
    hovering_ = false;
    if (effect98_) {
        SetUnderlined(false);
        SetColor(urlColStd_);
    }
}

void TURLLabel::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    if (!transparent_) {
        // The parent's background, as it gives it to its static controls.
        auto brush = reinterpret_cast<HBRUSH>(::SendMessageA(::GetParent(hwnd_), WM_CTLCOLORSTATIC,
                                                             reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(hwnd_)));
        ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorRefOf(font_.Color));
    {
        SelectedObject font(dc, fontHandle_.get());
        ::DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &client, TextFormat());
    }
    if (::GetFocus() == hwnd_) ::DrawFocusRect(dc, &client);
    ::EndPaint(hwnd_, &paint);
}

UINT TURLLabel::OnGetDlgCode(const MSG* message) {
    // Enter on a focused link opens it instead of pressing the dialog's default button.
    if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN) return DLGC_WANTMESSAGE;
    return static_cast<UINT>(CallPrevious(hwnd_, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(message)));
}

LRESULT TURLLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (tooltip_ && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        MSG relayed{hwnd_, msg, wParam, lParam, 0, {}};
        ::SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1; // painted whole in WM_PAINT
    case WM_NCHITTEST: return HTCLIENT;
    case WM_SETCURSOR: ::SetCursor(HandCursor(dpi_)); return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: OnButtonDown(msg); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: OnButtonUp(msg, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_GETDLGCODE: return OnGetDlgCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (wParam != VK_RETURN && wParam != VK_SPACE) break;
        Click();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: ::InvalidateRect(hwnd_, nullptr, TRUE); break;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_CAPTURECHANGED:
        // Taken away mid-press (a window popped up): the press is over, without a click.
        if (pressed_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
            pressed_ = false;
            if (!effect98_) SetColor(urlColStd_);
            if (movedDown_) {
                MoveBy(-DpiScaled(1, dpi_));
                movedDown_ = false;
            }
        }
        return 0;
    case WM_SETTEXT: {
        // Read back: a static control of a Unicode class gets the text as wide characters.
        const LRESULT result = CallPrevious(hwnd_, msg, wParam, lParam);
        caption_ = WindowText(hwnd_);
        AdjustSize();
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        return result;
    }
    default: break;
    }
    return CallPrevious(hwnd_, msg, wParam, lParam);
}

void TURLLabel::OnControlDestroyed(HWND control) {
    if (control != hwnd_) return;
    hwnd_ = nullptr;
    if (tooltip_) ::DestroyWindow(tooltip_);
    tooltip_ = nullptr;
}

} // namespace nv
