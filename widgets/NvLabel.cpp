#include "widgets/NvLabel.h"

#include "statusbar/nvStatusBar.h"
#include "widgets/Fonts.h"
#include "widgets/urllabel.h"

#include <algorithm>
#include <cstdlib>

namespace nv {

namespace {

constexpr int kSmallestFit = 8; // pixels: a fitted font gets no smaller

// The columns a text's ink covers when it is drawn at x = 0: [first, past). Leaning letters and
// overhangs may reach outside the text's advance on either side.
std::pair<int, int> InkSpan(HFONT font, const std::string& text) {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject selectedFont(dc.get(), font);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc.get(), &metrics);
    const int margin = metrics.tmHeight, width = extent.cx + 2 * margin, height = metrics.tmHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    GdiObject picture(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture || width <= 0 || height <= 0) return {0, extent.cx};
    SelectedObject selectedPicture(dc.get(), picture.get());
    const RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), RGB(0, 0, 0));
    ::TextOutA(dc.get(), margin, 0, text.c_str(), static_cast<int>(text.size()));
    ::GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    const auto inked = [&](int x) {
        for (int y = 0; y < height; ++y) {
            if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) return true;
        }
        return false;
    };
    int first = 0, past = width;
    while (first < width && !inked(first)) ++first;
    while (past > first && !inked(past - 1)) --past;
    if (first == past) return {0, 0};
    return {first - margin, past - margin};
}

} // namespace

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

void TNvLabel::SetFitText(bool value) {
    fitText_ = value;
    Changed();
}

void TNvLabel::Changed() {
    if (!hwnd_) return;
    TFont shown = font_;
    GdiObject fresh = CreateFontOf(shown);
    textLeft_ = 0;
    if (fitText_ && fresh) {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        const int shadow = std::abs(ShadowOffset(shadowPos_, shadowSize_).x);
        for (;;) {
            const auto [first, past] = InkSpan(static_cast<HFONT>(fresh.get()), caption_);
            textLeft_ = std::max(0, -first);
            if (textLeft_ + past + shadow <= client.right || std::abs(shown.Height) <= kSmallestFit) break;
            shown.Height += shown.Height < 0 ? 1 : -1;
            GdiObject smaller = CreateFontOf(shown);
            if (!smaller) break;
            fresh = std::move(smaller);
        }
    }
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
        ::OffsetRect(&text, (offset.x < 0 ? -offset.x : 0) + textLeft_, offset.y < 0 ? -offset.y : 0);
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
    case WM_GETFONT: return reinterpret_cast<LRESULT>(fontHandle_.get());
    case WM_SIZE:
        if (fitText_) Changed(); // fitted again to the new width
        break;
    default: break;
    }
    return CallPrevious(hwnd_, msg, wParam, lParam);
}

void TNvLabel::OnControlDestroyed(HWND control) {
    if (control == hwnd_) hwnd_ = nullptr;
}

} // namespace nv
