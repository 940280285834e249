#include "toolbar/SpeedBar.h"

#include "base/Dpi.h"
#include "base/Platform.h"
#include "forms/resource.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

namespace nv {

namespace {

constexpr char kBarClass[] = "TSpeedBar";
constexpr char kButtonClass[] = "TSpeedbarButton";
constexpr char kCopyClass[] = "TBtnControl";
// The glyphs are designed 16 pixels square.
constexpr int kDesignGlyphSize = 16;

// ---- Glyphs --------------------------------------------------------------------------------------

// A glyph strip with the mask of its transparent colour (the colour of its bottom-left pixel).
struct Glyph {
    GdiObject image;
    GdiObject mask; // 1 where transparent
    int width = 0, height = 0;
};

// The glyph strip of a resource from the set for a DPI, each image at the size shown there.
const Glyph* LoadGlyph(int resource, int numGlyphs, int dpi) {
    static std::map<std::pair<int, int>, std::unique_ptr<Glyph>> cache;
    const std::pair<int, int> key{resource, ShownImageSize(kDesignGlyphSize, dpi)};
    auto found = cache.find(key);
    if (found != cache.end()) return found->second.get();
    std::unique_ptr<Glyph> glyph;
    GdiObject image = resource != 0 ? LoadImageStrip(resource, std::max(1, numGlyphs), kDesignGlyphSize,
                                                     kDesignGlyphSize, dpi, true)
                                    : GdiObject();
    BITMAP info{};
    if (resource != 0 && image && ::GetObjectA(image.get(), sizeof info, &info) && info.bmWidth > 0) {
        glyph = std::make_unique<Glyph>();
        glyph->width = info.bmWidth;
        glyph->height = info.bmHeight;
        glyph->mask.reset(::CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
        MemoryDC imageDC(::CreateCompatibleDC(nullptr));
        MemoryDC maskDC(::CreateCompatibleDC(nullptr));
        {
            SelectedObject selectedImage(imageDC.get(), image.get());
            SelectedObject selectedMask(maskDC.get(), glyph->mask.get());
            // Copying colour to monochrome turns the source's background colour white, the rest black.
            ::SetBkColor(imageDC.get(), ::GetPixel(imageDC.get(), 0, info.bmHeight - 1));
            ::BitBlt(maskDC.get(), 0, 0, info.bmWidth, info.bmHeight, imageDC.get(), 0, 0, SRCCOPY);
        }
        glyph->image = std::move(image);
    }
    const Glyph* result = glyph.get();
    cache[key] = std::move(glyph);
    return result;
}

// Puts the pattern of the selected brush where the mask is opaque (D = P ^ (S & (D ^ P))).
constexpr DWORD kPatternThroughMask = 0x00B8074A;

void FillRectColor(HDC dc, int left, int top, int right, int bottom, int sysColor) {
    const RECT r{left, top, right, bottom};
    ::FillRect(dc, &r, ::GetSysColorBrush(sysColor));
}

// One-pixel frame: `topLeft` colour on the top and left edges, `bottomRight` on the others.
void Frame(HDC dc, const RECT& r, int topLeft, int bottomRight) {
    FillRectColor(dc, r.left, r.top, r.right - 1, r.top + 1, topLeft);
    FillRectColor(dc, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    FillRectColor(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    FillRectColor(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

// The checkered face of a toggle that is down: button face and highlight.
void FillDither(HDC dc, const RECT& r) {
    static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    GdiObject bitmap(::CreateBitmap(8, 8, 1, 1, pattern));
    GdiObject brush(::CreatePatternBrush(static_cast<HBITMAP>(bitmap.get())));
    if (!brush) return;
    const COLORREF oldText = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNFACE));
    const COLORREF oldBack = ::SetBkColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

// A greyed copy of an image: its shape in the highlight colour one pixel down and right, then in the
// shadow colour.
void DrawEmbossed(HDC dc, int x, int y, const Glyph& glyph, int sourceX, int width) {
    MemoryDC maskDC(::CreateCompatibleDC(dc));
    SelectedObject selectedMask(maskDC.get(), glyph.mask.get());
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    for (auto [dx, color] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
        SelectedObject brush(dc, ::GetSysColorBrush(color));
        ::BitBlt(dc, x + dx, y + dx, width, glyph.height, maskDC.get(), sourceX, 0, kPatternThroughMask);
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

} // namespace

bool DrawGlyph(HDC dc, int x, int y, int resource, int numGlyphs, int index, int dpi) {
    const Glyph* glyph = LoadGlyph(resource, numGlyphs, dpi);
    if (!glyph) return false;
    const int count = std::max(1, numGlyphs);
    const int width = glyph->width / count;
    const int sourceX = std::min(index, count - 1) * width;
    MemoryDC imageDC(::CreateCompatibleDC(dc));
    MemoryDC maskDC(::CreateCompatibleDC(dc));
    SelectedObject selectedImage(imageDC.get(), glyph->image.get());
    SelectedObject selectedMask(maskDC.get(), glyph->mask.get());
    // Image xor, mask and, image xor: the transparent pixels keep what was there.
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    ::BitBlt(dc, x, y, width, glyph->height, imageDC.get(), sourceX, 0, SRCINVERT);
    ::BitBlt(dc, x, y, width, glyph->height, maskDC.get(), sourceX, 0, SRCAND);
    ::BitBlt(dc, x, y, width, glyph->height, imageDC.get(), sourceX, 0, SRCINVERT);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    return true;
}

SIZE GlyphSize(int resource, int numGlyphs, int dpi) {
    const Glyph* glyph = LoadGlyph(resource, numGlyphs, dpi);
    if (!glyph) return {0, 0};
    return {glyph->width / std::max(1, numGlyphs), glyph->height};
}

HCURSOR ToolbarDragCursor(int dpi) {
    HCURSOR own = LoadCursorForDpi(MAKEINTRESOURCEA(IDR_TOOLBARDRAGCURSOR), dpi);
    return own ? own : ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEALL));
}

void DrawItemButton(HDC dc, const RECT& rect, const TSpeedItem& item, const TButtonDrawState& state, int dpi) {
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    const bool sunken = state.Pressed || state.Down;
    RECT inside = rect;
    if (!state.Flat) {
        if (sunken) {
            Frame(dc, inside, COLOR_WINDOWFRAME, COLOR_BTNHIGHLIGHT);
            ::InflateRect(&inside, -1, -1);
            Frame(dc, inside, COLOR_BTNSHADOW, COLOR_BTNFACE);
        } else {
            // A raised face: a dark outer line, window-frame colour bottom and right, and an inner line.
            Frame(dc, inside, COLOR_BTNSHADOW, COLOR_WINDOWFRAME);
            ::InflateRect(&inside, -1, -1);
            Frame(dc, inside, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        }
        ::InflateRect(&inside, -1, -1);
    } else if (sunken) {
        Frame(dc, inside, COLOR_WINDOWFRAME, COLOR_BTNHIGHLIGHT);
        ::InflateRect(&inside, -1, -1);
    } else if (state.Hot) {
        Frame(dc, inside, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        ::InflateRect(&inside, -1, -1);
    }
    if (state.Down && !state.Hot) FillDither(dc, inside);

    // Glyph and caption, centred together; the glyph beside or above the caption by the layout.
    const SIZE glyph = GlyphSize(item.GlyphResource(), item.NumGlyphs(), dpi);
    const std::string& caption = item.BtnCaption();
    // Captions in the system's dialog font at the button's DPI, wherever the button is drawn.
    const LOGFONTA captionFont = MessageFontForDpi(dpi);
    GdiObject madeFont(caption.empty() ? nullptr : ::CreateFontIndirectA(&captionFont));
    SelectedObject font(dc, madeFont ? madeFont.get() : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE text{0, 0};
    if (!caption.empty()) {
        ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    }
    const int spacing = glyph.cx > 0 && !caption.empty() ? DpiScaled(std::max(0, item.Spacing), dpi) : 0;
    const bool across = item.Layout == blGlyphLeft || item.Layout == blGlyphRight;
    const int totalW = across ? glyph.cx + spacing + text.cx : std::max<int>(glyph.cx, text.cx);
    const int totalH = across ? std::max<int>(glyph.cy, text.cy) : glyph.cy + spacing + text.cy;
    const int shift = sunken ? 1 : 0;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int margin = DpiScaled(item.Margin, dpi);
    int x = rect.left + (item.Margin >= 0 && across ? margin : (width - totalW) / 2) + shift;
    int y = rect.top + (item.Margin >= 0 && !across ? margin : (height - totalH) / 2) + shift;
    POINT glyphAt{x, y}, textAt{x, y};
    switch (item.Layout) {
    case blGlyphLeft:
        glyphAt = {x, y + (totalH - glyph.cy) / 2};
        textAt = {x + glyph.cx + spacing, y + (totalH - text.cy) / 2};
        break;
    case blGlyphRight:
        textAt = {x, y + (totalH - text.cy) / 2};
        glyphAt = {x + text.cx + spacing, y + (totalH - glyph.cy) / 2};
        break;
    case blGlyphTop:
        glyphAt = {x + (totalW - glyph.cx) / 2, y};
        textAt = {x + (totalW - text.cx) / 2, y + glyph.cy + spacing};
        break;
    case blGlyphBottom:
        textAt = {x + (totalW - text.cx) / 2, y};
        glyphAt = {x + (totalW - glyph.cx) / 2, y + text.cy + spacing};
        break;
    }
    if (glyph.cx > 0) {
        const bool greyed = !state.Enabled || state.Grayed;
        if (greyed && item.NumGlyphs() >= 2) {
            DrawGlyph(dc, glyphAt.x, glyphAt.y, item.GlyphResource(), item.NumGlyphs(), 1, dpi);
        } else if (greyed) {
            DrawEmbossed(dc, glyphAt.x, glyphAt.y, *LoadGlyph(item.GlyphResource(), item.NumGlyphs(), dpi), 0,
                         glyph.cx);
        } else {
            DrawGlyph(dc, glyphAt.x, glyphAt.y, item.GlyphResource(), item.NumGlyphs(), 0, dpi);
        }
    }
    if (!caption.empty()) {
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor =
            ::SetTextColor(dc, ::GetSysColor(state.Enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        ::TextOutA(dc, textAt.x, textAt.y, caption.c_str(), static_cast<int>(caption.size()));
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    }
}

// ---- TSpeedBar -----------------------------------------------------------------------------------

TSpeedBar::TSpeedBar() {
    link_.OnSave = [this](TObject*) {
        if (TIniSections* storage = link_.IniObject(); storage && !Name.empty()) {
            SaveLayout(*storage, link_.RootSection() + DefaultSection());
        }
    };
    link_.OnLoad = [this](TObject*) {
        if (TIniSections* storage = link_.IniObject(); storage && !Name.empty()) {
            RestoreLayout(*storage, link_.RootSection() + DefaultSection());
        }
    };
}

TSpeedBar::~TSpeedBar() {
    copy_.reset();
    DestroyItems();
    Destroy();
}

void TSpeedBar::CreateWnd(HWND parent, int id) {
    RegisterClassOnce(kBarClass, CS_DBLCLKS, nullptr);
    if (!dpiSet_) dpi_ = WindowDpi(parent);
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (Visible() ? WS_VISIBLE : 0);
    const RECT r = ScreenRect(Left(), Top(), Width(), Height());
    Create(kBarClass, Name.c_str(), style, 0, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
    if (!Handle()) return;
    tooltip_ = ::CreateWindowExA(
        WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ForEachItem([](TSpeedItem& item) {
        if (auto* button = static_cast<TSpeedbarButton*>(item.Button())) button->EnsureHandle();
    });
}

std::unique_ptr<TSpeedItemButton> TSpeedBar::CreateButton(TSpeedItem& item) {
    auto button = std::make_unique<TSpeedbarButton>(*this, item);
    button->EnsureHandle();
    return button;
}

void TSpeedBar::SetPopupMenu(HMENU menu, HWND commandTarget) {
    popupMenu_ = menu;
    popupTarget_ = commandTarget;
}

void TSpeedBar::SetIniStorage(TFormPlacement* placement) { link_.SetStorage(placement); }

std::string TSpeedBar::DefaultSection() const {
    HWND root = Handle() ? ::GetAncestor(Handle(), GA_ROOT) : nullptr;
    if (!root || root == Handle()) return DefaultSectionName(TComponentKind::Control, "", Name);
    char className[256] = {};
    ::GetClassNameA(root, className, sizeof className);
    return DefaultSectionName(TComponentKind::Control, className, Name);
}

void TSpeedBar::SetPixelsPerInch(int dpi) {
    dpiSet_ = true;
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    BoundsChanged();
    ForEachItem([](TSpeedItem& item) {
        if (TSpeedItemButton* button = item.Button()) {
            button->UpdateBounds();
            button->UpdateLook();
        }
    });
    Invalidate();
    NotifyEditor(sbnSizeChanged, this);
    RequestRealign();
}

RECT TSpeedBar::ScreenRect(int left, int top, int width, int height) const {
    // Edges rather than sizes are scaled, so that things side by side stay side by side.
    return RECT{Scaled(left), Scaled(top), Scaled(left + width), Scaled(top + height)};
}

void TSpeedBar::SetScreenBounds(int left, int top, int width, int height) {
    placing_ = true;
    SetBounds(Unscaled(left), Unscaled(top), Unscaled(width), Unscaled(height));
    placing_ = false;
    if (Handle()) ::SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TSpeedBar::PlaceItemAtClient(TSpeedItem& item, POINT client) {
    return PlaceItemAt(item, Unscaled(client.x), Unscaled(client.y));
}

void TSpeedBar::BoundsChanged() {
    if (Handle() && !placing_) {
        const RECT r = ScreenRect(Left(), Top(), Width(), Height());
        ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TSpeedBar::Invalidate() {
    if (Handle()) ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TSpeedBar::Repaint() {
    if (!Handle()) return;
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TSpeedBar::VisibleChanged() {
    if (Handle()) ::ShowWindow(Handle(), Visible() ? SW_SHOWNA : SW_HIDE);
}

void TSpeedBar::RequestRealign() {
    if (alignSuspended_ > 0) {
        alignPending_ = true;
        return;
    }
    Raise(OnRequestAlign);
}

// The stored layout is in design pixels at every DPI, and says so.
int TSpeedBar::ScreenPixelsPerInch() const { return kDesignDpi; }

int TSpeedBar::FormPixelsPerInch() const { return Handle() ? kDesignDpi : 0; }

LRESULT TSpeedBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: OnLeftButtonDown(at); return 0;
    case WM_MOUSEMOVE: OnMouseMove(at); return 0;
    case WM_LBUTTONUP: OnLeftButtonUp(at); return 0;
    case WM_CAPTURECHANGED: CancelDrag(); return 0;
    case WM_SETCURSOR:
        if (OnSetCursor()) return TRUE;
        break;
    case WM_CONTEXTMENU: OnContextMenu(lParam); return 0;
    default: break;
    }
    return Default(msg, wParam, lParam);
}

// ---- Painting ------------------------------------------------------------------------------------

void TSpeedBar::PaintFrame(HDC dc, RECT& rect) const {
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone) return;
        for (int i = 0; i < BevelWidth(); ++i) {
            if (kind == bvRaised) {
                Frame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
            } else {
                Frame(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
            }
            ::InflateRect(&rect, -1, -1);
        }
    };
    bevel(BevelOuter());
    ::InflateRect(&rect, -BorderWidth(), -BorderWidth());
    bevel(BevelInner());
}

void TSpeedBar::PaintBoundLines(HDC dc, const RECT& r) const {
    const TBoundLines lines = BoundLines();
    if (lines & blTop) {
        FillRectColor(dc, r.left, r.top, r.right, r.top + 1, COLOR_BTNSHADOW);
        FillRectColor(dc, r.left, r.top + 1, r.right, r.top + 2, COLOR_BTNHIGHLIGHT);
    }
    if (lines & blBottom) {
        FillRectColor(dc, r.left, r.bottom - 2, r.right, r.bottom - 1, COLOR_BTNSHADOW);
        FillRectColor(dc, r.left, r.bottom - 1, r.right, r.bottom, COLOR_BTNHIGHLIGHT);
    }
    if (lines & blLeft) {
        FillRectColor(dc, r.left, r.top, r.left + 1, r.bottom, COLOR_BTNSHADOW);
        const int top = r.top + ((lines & blTop) ? 1 : 0);
        FillRectColor(dc, r.left + 1, top, r.left + 2, r.bottom, COLOR_BTNHIGHLIGHT);
    }
    if (lines & blRight) {
        FillRectColor(dc, r.right - 2, r.top, r.right - 1, r.bottom - ((lines & blBottom) ? 1 : 0),
                      COLOR_BTNSHADOW);
        FillRectColor(dc, r.right - 1, r.top, r.right, r.bottom, COLOR_BTNHIGHLIGHT);
    }
}

void TSpeedBar::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    RECT rect{};
    ::GetClientRect(Handle(), &rect);
    ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
    PaintFrame(dc, rect);
    PaintBoundLines(dc, rect);
    ::EndPaint(Handle(), &ps);
}

// ---- Moving and resizing -------------------------------------------------------------------------

bool TSpeedBar::CanResize() const { return (Options() & sbAllowResize) && InEditMode() && !moving_; }

bool TSpeedBar::InResizeZoneAt(POINT client) const {
    return InResizeZone(Align(), Unscaled(client.x), Unscaled(client.y), ClientWidth(), ClientHeight());
}

void TSpeedBar::OnLeftButtonDown(POINT at) {
    if (CanResize() && InResizeZoneAt(at)) {
        resizing_ = true;
        ::SetCapture(Handle());
        return;
    }
    HWND parent = ::GetParent(Handle());
    if (!(Options() & sbAllowDrag) || !parent || Align() < alTop || Align() > alRight) return;
    pressed_ = true;
    pressPoint_ = at;
    ::SetCapture(Handle());
}

void TSpeedBar::OnMouseMove(POINT at) {
    if (carry_) {
        POINT screen = at;
        ::ClientToScreen(Handle(), &screen);
        CarryTo(screen);
        return;
    }
    if (resizing_) {
        ResizeTo(at);
        return;
    }
    if (!pressed_) return;
    if (!moving_) {
        if (!MoveStarted(Unscaled(at.x - pressPoint_.x), Unscaled(at.y - pressPoint_.y))) return;
        moving_ = true;
        startAlign_ = acceptedAlign_ = Align();
        RECT bar{};
        ::GetWindowRect(Handle(), &bar);
        SetOutline(bar);
        ::SetCursor(ToolbarDragCursor(dpi_));
    }
    POINT screen = at;
    ::ClientToScreen(Handle(), &screen);
    const TAlign proposed = EdgeAt(screen);
    if (ApplyAlign(proposed)) {
        acceptedAlign_ = proposed;
        SetOutline(OutlineFor(proposed));
    }
}

void TSpeedBar::OnLeftButtonUp(POINT at) {
    POINT screen = at;
    ::ClientToScreen(Handle(), &screen);
    if (carry_) {
        EndCarry(screen);
        return;
    }
    const bool wasMoving = moving_;
    pressed_ = resizing_ = moving_ = false;
    if (outlineShown_) {
        DrawOutline(outline_);
        outlineShown_ = false;
    }
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    if (wasMoving) EndMove(screen);
}

void TSpeedBar::CancelDrag() {
    if (carry_) {
        TSpeedItem* item = carry_;
        carry_ = nullptr;
        copy_.reset();
        if (item->Button()) item->Button()->UpdateShown();
    }
    if (outlineShown_) {
        DrawOutline(outline_);
        outlineShown_ = false;
    }
    pressed_ = resizing_ = moving_ = false;
}

bool TSpeedBar::OnSetCursor() {
    if (moving_ || carry_) {
        ::SetCursor(ToolbarDragCursor(dpi_));
        return true;
    }
    POINT at{};
    ::GetCursorPos(&at);
    ::ScreenToClient(Handle(), &at);
    if (CanResize() && InResizeZoneAt(at)) {
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(Horizontal() ? IDC_SIZENS : IDC_SIZEWE)));
        return true;
    }
    return false;
}

TAlign TSpeedBar::EdgeAt(POINT screen) const {
    HWND parent = ::GetParent(Handle());
    RECT client{};
    ::GetClientRect(parent, &client);
    ::ScreenToClient(parent, &screen);
    return ProposedAlign(client.right, client.bottom, screen.x, screen.y);
}

RECT TSpeedBar::OutlineFor(TAlign align) const {
    HWND parent = ::GetParent(Handle());
    RECT client{};
    ::GetClientRect(parent, &client);
    std::vector<TDockedControl> others;
    if (DockedSiblings) others = DockedSiblings();
    RECT bar{};
    ::GetWindowRect(Handle(), &bar);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
    const TBarRect outline = DockOutline({client.left, client.top, client.right, client.bottom}, align,
                                         ScreenThickness(), {bar.left, bar.top, bar.right, bar.bottom}, others);
    RECT screen{outline.Left, outline.Top, outline.Right, outline.Bottom};
    ::MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    return screen;
}

void TSpeedBar::DrawOutline(const RECT& rect) const {
    WindowDC screen(nullptr);
    if (!screen) return;
    RECT r = rect;
    for (int i = 0; i < 3; ++i) {
        ::DrawFocusRect(screen.get(), &r);
        ::InflateRect(&r, -1, -1);
    }
}

void TSpeedBar::SetOutline(const RECT& rect) {
    if (outlineShown_ && ::EqualRect(&rect, &outline_)) return;
    if (outlineShown_) DrawOutline(outline_);
    outline_ = rect;
    DrawOutline(outline_);
    outlineShown_ = true;
}

void TSpeedBar::EndMove(POINT screen) {
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    const TAlign proposed = EdgeAt(screen);
    const TAlign final = ApplyAlign(proposed) ? proposed : acceptedAlign_;
    // One layout of the parent for the new edge, after the bar has changed.
    ++alignSuspended_;
    try {
        SetAlign(final);
    } catch (...) {
        --alignSuspended_;
        throw;
    }
    --alignSuspended_;
    if (alignPending_) {
        alignPending_ = false;
        RequestRealign();
    }
    Raise(OnPosChanged, this);
}

void TSpeedBar::ResizeTo(POINT client) {
    HWND parent = ::GetParent(Handle());
    RECT area{};
    ::GetClientRect(parent, &area);
    POINT at = client;
    ::MapWindowPoints(Handle(), parent, &at, 1);
    if (!::PtInRect(&area, at)) return;
    RECT bar{};
    ::GetWindowRect(Handle(), &bar);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bar), 2);
    // The distance from the bar's fixed edge, less the offsets on both sides; reckoned in design pixels.
    int distance = 0;
    switch (Align()) {
    case alTop: distance = Unscaled(at.y - bar.top) - 2 * BtnOffsetVert(); break;
    case alBottom: distance = Unscaled(bar.bottom - at.y) - 2 * BtnOffsetVert(); break;
    case alLeft: distance = Unscaled(at.x - bar.left) - 2 * BtnOffsetHorz(); break;
    case alRight: distance = Unscaled(bar.right - at.x) - 2 * BtnOffsetHorz(); break;
    default: return;
    }
    // No thicker than the room the window's other edge controls leave it.
    std::vector<TDockedControl> others;
    if (DockedSiblings) others = DockedSiblings();
    const int limit = DesignPixelsWithin(
        DockRoom({area.left, area.top, area.right, area.bottom}, Horizontal(), others), dpi_);
    const int thickness = RowsThickness(distance, ButtonThickness(), Offset(), limit);
    if (thickness != Thickness()) SetThickness(thickness);
}

void TSpeedBar::OnContextMenu(LPARAM lParam) {
    if (!popupMenu_ || !popupTarget_) return;
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (at.x == -1 && at.y == -1) { // from the keyboard
        at = {0, 0};
        ::ClientToScreen(Handle(), &at);
    }
    ::TrackPopupMenu(popupMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, popupTarget_, nullptr);
}

// ---- Carrying a button in edit mode --------------------------------------------------------------

void TSpeedBar::BeginCarry(TSpeedbarButton& button) {
    CancelDrag();
    carry_ = &button.Item();
    RECT r{};
    ::GetWindowRect(button.Handle(), &r);
    // The pointer holds the button by its bottom-right corner, where the copy hangs from.
    ::SetCursorPos(r.right, r.bottom);
    const SIZE size = ScreenButtonSize();
    copy_ = std::make_unique<TBtnControl>(*carry_, size.cx, size.cy, dpi_);
    copy_->MoveTo({r.right, r.bottom});
    copy_->ShowCopy(true);
    ::SetCapture(Handle());
    ::SetCursor(ToolbarDragCursor(dpi_));
}

bool TSpeedBar::OverClient(POINT screen) const {
    ::ScreenToClient(Handle(), &screen);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    return ::PtInRect(&client, screen) != FALSE;
}

void TSpeedBar::CarryTo(POINT screen) {
    if (!carry_ || !copy_) return;
    if (auto* button = static_cast<TSpeedbarButton*>(carry_->Button()); button && button->Handle()) {
        ::ShowWindow(button->Handle(), SW_HIDE);
    }
    copy_->MoveTo(screen);
    copy_->ShowCopy(OverClient(copy_->TopLeft()));
    ::SetCursor(ToolbarDragCursor(dpi_));
}

void TSpeedBar::EndCarry(POINT screen) {
    TSpeedItem* item = carry_;
    carry_ = nullptr;
    const SIZE size = ScreenButtonSize();
    POINT corner{screen.x - size.cx, screen.y - size.cy};
    copy_.reset();
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    bool shown = false;
    if (OverClient(corner)) {
        ::ScreenToClient(Handle(), &corner);
        shown = PlaceItemAtClient(*item, corner);
    } else {
        item->SetVisible(false);
    }
    if (item->Button()) item->Button()->UpdateShown();
    if (shown) {
        NotifyEditor(sbnItemMoved, item);
    } else {
        NotifyEditor(sbnItemsChanged, this);
    }
}

// ---- Tooltips ------------------------------------------------------------------------------------

namespace {
TTTOOLINFOA ToolFor(HWND bar, HWND button, const std::string& text) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = bar;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<char*>(text.c_str());
    return tool;
}
} // namespace

void TSpeedBar::AddTool(TSpeedbarButton& button) {
    if (!tooltip_ || !button.Handle()) return;
    const std::string text = button.Item().ShortHint();
    TTTOOLINFOA tool = ToolFor(Handle(), button.Handle(), text);
    ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TSpeedBar::RemoveTool(TSpeedbarButton& button) {
    if (!tooltip_ || !::IsWindow(tooltip_) || !button.Handle()) return;
    TTTOOLINFOA tool = ToolFor(Handle(), button.Handle(), "");
    ::SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TSpeedBar::UpdateTool(TSpeedbarButton& button) {
    if (!tooltip_ || !button.Handle()) return;
    const std::string text = button.Item().ShortHint();
    TTTOOLINFOA tool = ToolFor(Handle(), button.Handle(), text);
    ::SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string TSpeedBar::ToolText(const TSpeedbarButton& button) const {
    if (!tooltip_ || !button.Handle()) return std::string();
    char text[256] = {};
    TTTOOLINFOA tool = ToolFor(Handle(), button.Handle(), "");
    tool.lpszText = text;
    ::SendMessageA(tooltip_, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// ---- TSpeedbarButton -----------------------------------------------------------------------------

TSpeedbarButton::TSpeedbarButton(TSpeedBar& bar, TSpeedItem& item) : bar_(bar), item_(item) {}

TSpeedbarButton::~TSpeedbarButton() {
    bar_.RemoveTool(*this);
    Destroy();
}

void TSpeedbarButton::EnsureHandle() {
    if (Handle() || !bar_.Handle()) return;
    RegisterClassOnce(kButtonClass, 0, nullptr);
    const RECT r = bar_.ScreenRect(item_.Left(), item_.Top(), bar_.BtnWidth(), bar_.BtnHeight());
    Create(kButtonClass, item_.Name().c_str(), WS_CHILD | WS_CLIPSIBLINGS, 0, r.left, r.top, r.right - r.left,
           r.bottom - r.top, bar_.Handle(), nullptr);
    bar_.AddTool(*this);
    UpdateShown();
}

void TSpeedbarButton::UpdateBounds() {
    if (Handle()) {
        const RECT r = bar_.ScreenRect(item_.Left(), item_.Top(), bar_.BtnWidth(), bar_.BtnHeight());
        ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TSpeedbarButton::UpdateShown() {
    if (Handle() && !bar_.Loading()) ::ShowWindow(Handle(), item_.Visible() ? SW_SHOWNA : SW_HIDE);
}

void TSpeedbarButton::UpdateLook() {
    if (!Handle()) return;
    bar_.UpdateTool(*this);
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TSpeedbarButton::SetFront(bool front) {
    if (Handle()) {
        ::SetWindowPos(Handle(), front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

TButtonDrawState TSpeedbarButton::DrawState() const {
    TButtonDrawState state;
    state.Enabled = item_.ButtonEnabled();
    // In edit mode every button is drawn raised, ready to be carried.
    state.Flat = (bar_.Options() & sbFlatBtns) && !bar_.InEditMode();
    state.Hot = hot_;
    state.Pressed = pressed_ && pressedIn_;
    state.Down = item_.Down();
    state.Grayed = (bar_.Options() & sbGrayedBtns) && !hot_ && !bar_.InEditMode();
    return state;
}

bool TSpeedbarButton::CanBeHot() const {
    // Only while the program is the active one, and only for a button that can be clicked.
    return ::GetActiveWindow() != nullptr && item_.ButtonEnabled() && !bar_.InEditMode();
}

LRESULT TSpeedbarButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE: OnMouseMove(at); return 0;
    case WM_MOUSELEAVE:
        if (!pressed_) SetHot(false);
        return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(at); return 0;
    case WM_LBUTTONUP: OnLeftButtonUp(at); return 0;
    case WM_CAPTURECHANGED:
        if (pressed_) {
            pressed_ = false;
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return 0;
    default: break;
    }
    return Default(msg, wParam, lParam);
}

void TSpeedbarButton::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    RECT rect{};
    ::GetClientRect(Handle(), &rect);
    // Drawn off screen and copied at once, so hot tracking does not flicker.
    MemoryDC buffer(::CreateCompatibleDC(dc));
    GdiObject bitmap(::CreateCompatibleBitmap(dc, rect.right, rect.bottom));
    if (buffer && bitmap) {
        SelectedObject selected(buffer.get(), bitmap.get());
        DrawItemButton(buffer.get(), rect, item_, DrawState(), bar_.PixelsPerInch());
        ::BitBlt(dc, 0, 0, rect.right, rect.bottom, buffer.get(), 0, 0, SRCCOPY);
    } else {
        DrawItemButton(dc, rect, item_, DrawState(), bar_.PixelsPerInch());
    }
    ::EndPaint(Handle(), &ps);
}

void TSpeedbarButton::SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TSpeedbarButton::OnMouseMove(POINT at) {
    if (pressed_) {
        RECT r{};
        ::GetClientRect(Handle(), &r);
        const bool inside = ::PtInRect(&r, at) != FALSE;
        if (inside != pressedIn_) {
            pressedIn_ = inside;
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return;
    }
    if (!hot_ && CanBeHot()) {
        SetHot(true);
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
    }
}

void TSpeedbarButton::OnLeftButtonDown(POINT) {
    if (bar_.InEditMode()) {
        bar_.BeginCarry(*this);
        return;
    }
    if (!item_.ButtonEnabled()) return;
    pressed_ = pressedIn_ = true;
    ::SetCapture(Handle());
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TSpeedbarButton::OnLeftButtonUp(POINT at) {
    if (!pressed_) return;
    RECT r{};
    ::GetClientRect(Handle(), &r);
    const bool click = ::PtInRect(&r, at) != FALSE;
    pressed_ = false;
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    if (!click) SetHot(false);
    ::InvalidateRect(Handle(), nullptr, FALSE);
    if (click) item_.Click(); // may close the window this button sits on
}

// ---- TBtnControl ---------------------------------------------------------------------------------

TBtnControl::TBtnControl(const TSpeedItem& item, int width, int height, int dpi)
    : item_(item), width_(width), height_(height), dpi_(dpi) {
    RegisterClassOnce(kCopyClass, 0, nullptr);
    Create(kCopyClass, "", WS_POPUP | WS_DISABLED, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, 0, 0,
           width, height, nullptr, nullptr);
}

TBtnControl::~TBtnControl() { Destroy(); }

void TBtnControl::MoveTo(POINT screen) {
    if (Handle()) {
        ::SetWindowPos(Handle(), HWND_TOPMOST, screen.x - width_, screen.y - height_, width_, height_,
                       SWP_NOACTIVATE);
    }
}

void TBtnControl::ShowCopy(bool show) {
    if (!Handle()) return;
    if (show != (::IsWindowVisible(Handle()) != FALSE)) {
        ::ShowWindow(Handle(), show ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
    if (show) ::UpdateWindow(Handle());
}

POINT TBtnControl::TopLeft() const {
    RECT r{};
    ::GetWindowRect(Handle(), &r);
    return {r.left, r.top};
}

LRESULT TBtnControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Handle(), &ps);
        TButtonDrawState state;
        DrawItemButton(dc, RECT{0, 0, width_, height_}, item_, state, dpi_);
        ::EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: ::SetCursor(ToolbarDragCursor(dpi_)); return TRUE;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: break;
    }
    return Default(msg, wParam, lParam);
}

} // namespace nv
