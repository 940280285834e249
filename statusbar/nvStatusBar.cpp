#include "statusbar/nvStatusBar.h"

#include "base/Errors.h"
#include "base/Platform.h"
#include "base/Window.h"
#include "widgets/Fonts.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace nv {

namespace {

// A part that carries no owner-drawn panel yet.
constexpr WPARAM kUnsetPartStyle = ~WPARAM{0};
constexpr char kIndexError[] = "List index out of bounds (%d)";
constexpr char kOwnerError[] = "TnvStatusPanel owner must be TnvStatusPanesls";

PartRect FromRect(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}
RECT ToRect(const PartRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

WPARAM BevelStyle(TStatusPanelBevel bevel) {
    switch (bevel) {
    case pbNone: return SBT_NOBORDERS;
    case pbRaised: return SBT_POPOUT;
    case pbLowered: break;
    }
    return 0;
}

} // namespace

COLORREF ColorRefOf(TColor color) {
    if ((color & clSystemColor) == clSystemColor) return ::GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0xFFFFFF;
}

void DrawPanelText(HDC dc, RECT rect, const std::string& text, const TextPlacement& placement, UINT extraFormat) {
    rect.right -= placement.RightInset;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | extraFormat;
    switch (placement.Horizontal) {
    case THorizontalPlacement::Left: format |= DT_LEFT; break;
    case THorizontalPlacement::Centre: format |= DT_CENTER; break;
    case THorizontalPlacement::Right: format |= DT_RIGHT; break;
    }
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    ::SetBkMode(dc, oldMode);
}

// ---- TnvStatusPanel ------------------------------------------------------------------------------

TnvStatusPanel& TnvStatusPanel::Create(TObject* collection) {
    auto* panels = dynamic_cast<TnvStatusPanels*>(collection);
    if (!panels) throw EError(kOwnerError);
    return panels->Add();
}

TnvStatusPanel::TnvStatusPanel(Key, TnvStatusPanels& collection) : collection_(&collection) {}

TnvStatusPanel::~TnvStatusPanel() { WithdrawRegistrations(); }

TnvStatusBar& TnvStatusPanel::Bar() const { return collection_->Owner(); }

int TnvStatusPanel::Index() const { return collection_->IndexOf(this); }

bool TnvStatusPanel::EffectivelyEnabled() const { return enabled_ && Bar().Enabled(); }

void TnvStatusPanel::SetPanelType(TnvStatusPanelType value) {
    if (value == type_) return;
    // The hook must never see this panel under a type it no longer has.
    if (IsLockType(type_)) WithdrawRegistrations();
    type_ = value;
    if (IsLockType(value)) {
        SetText(DefaultLockText(value));
        SetAutoFit(true);
        RenewRegistrations();
    } else if (value == sptNormal) {
        SetAutoFit(false);
    }
    Repaint();
}

void TnvStatusPanel::SetText(const std::string& value) {
    // Called on every caret move: an unchanged text must cost nothing.
    if (value == text_) return;
    text_ = value;
    Repaint();
    if (autoFit_) Fit();
}

void TnvStatusPanel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Repaint();
}

void TnvStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (value == bevel_) return;
    bevel_ = value;
    Bar().LayoutParts();
}

void TnvStatusPanel::SetWidth(int value) {
    if (autoFit_ && !Bar().Loading()) return;
    if (value == width_) return;
    width_ = value;
    Bar().LayoutParts();
}

void TnvStatusPanel::SetAutoFit(bool value) {
    autoFit_ = value;
    if (autoFit_) Fit();
}

void TnvStatusPanel::SetEnabled(bool value) {
    enabled_ = value;
    RenewRegistrations();
    Repaint();
}

void TnvStatusPanel::Assign(const TnvStatusPanel& source) {
    if (&source == this) return;
    SetPanelType(source.type_);
    SetText(source.text_);
    SetAlignment(source.alignment_);
    SetBevel(source.bevel_);
    SetEnabled(source.enabled_);
    autoFit_ = false; // the stored width first, as a form applies it
    SetWidth(source.width_);
    SetAutoFit(source.autoFit_);
    Hint = source.Hint;
    OnDrawPanel = source.OnDrawPanel;
    OnHintText = source.OnHintText;
    OnClick = source.OnClick;
}

void TnvStatusPanel::Fit() {
    TnvStatusBar& bar = Bar();
    if (!autoFit_ || !bar.HandleAllocated()) return;
    // Written straight onto the part: the Width setter refuses AutoFit panels.
    const int fitted = AutoFitWidth(bar.MeasureText(text_), bar.PixelsPerInch());
    if (fitted == width_) return;
    width_ = fitted;
    bar.LayoutParts();
}

void TnvStatusPanel::Repaint() {
    const int index = Index();
    if (index >= 0) Bar().RedrawPanel(index);
}

void TnvStatusPanel::RenewRegistrations() {
    TnvStatusBar& bar = Bar();
    if (ShouldRegisterLockPanel(type_, enabled_, bar.Enabled())) {
        RegisterLockPanel(*this);
        WatchActivation(bar, *this);
    } else {
        WithdrawRegistrations();
    }
}

void TnvStatusPanel::WithdrawRegistrations() noexcept {
    UnregisterLockPanel(*this);
    UnwatchActivation(Bar(), *this);
}

// ---- TnvStatusPanels -----------------------------------------------------------------------------

void TnvStatusPanels::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format(kIndexError, index));
}

TnvStatusPanel& TnvStatusPanels::Items(int index) const {
    CheckIndex(index);
    return *items_[static_cast<size_t>(index)];
}

int TnvStatusPanels::IndexOf(const TnvStatusPanel* panel) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].get() == panel) return static_cast<int>(i);
    }
    return -1;
}

TnvStatusPanel& TnvStatusPanels::Add() {
    items_.push_back(std::make_unique<TnvStatusPanel>(TnvStatusPanel::Key{}, *this));
    owner_.LayoutParts();
    return *items_.back();
}

void TnvStatusPanels::Delete(int index) {
    CheckIndex(index);
    std::unique_ptr<TnvStatusPanel> doomed = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    doomed.reset();
    owner_.LayoutParts();
}

void TnvStatusPanels::Clear() {
    std::vector<std::unique_ptr<TnvStatusPanel>> doomed;
    doomed.swap(items_);
    doomed.clear();
    owner_.LayoutParts();
}

void TnvStatusPanels::Assign(const TnvStatusPanels& source) {
    if (&source == this) return;
    UpdateScope update(*this);
    Clear();
    for (const auto& panel : source.items_) Add().Assign(*panel);
}

void TnvStatusPanels::EndUpdate() noexcept {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    if (owner_.layoutPending_) owner_.LayoutParts();
    owner_.Invalidate();
}

// ---- TnvStatusBar --------------------------------------------------------------------------------

TnvStatusBar::TnvStatusBar() : measureDC_(::CreateCompatibleDC(nullptr)) { RefreshMeasuringFont(); }

TnvStatusBar::~TnvStatusBar() {
    destroying_ = true;
    OnClick = nullptr;
    OnDrawPanel = nullptr;
    // Panels leave the shared lock-panel list while this bar and its lists still exist.
    panels_.Clear();
    activationWatch_.Detach();
    if (hwnd_) {
        HWND window = hwnd_;
        DetachSubclass(window);
        hwnd_ = nullptr;
        ::DestroyWindow(window);
    }
    if (replacedFont_) ::SelectObject(measureDC_.get(), replacedFont_);
}

void TnvStatusBar::CreateWnd(HWND parent, int id) {
    if (hwnd_) return;
    // The bar places itself (Realign), so the native control must not move or size itself.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (visible_) style |= WS_VISIBLE;
    if (sizeGrip_) style |= SBARS_SIZEGRIP;
    RECT client{};
    ::GetClientRect(parent, &client);
    hwnd_ = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", style, 0, client.bottom - height_, client.right, height_,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) throw EError("Cannot create the status bar window");
    AttachSubclass(hwnd_);
    if (!enabled_) ::EnableWindow(hwnd_, FALSE);
    Call(SB_SETBKCOLOR, 0, color_ == clBtnFace ? CLR_DEFAULT : static_cast<LPARAM>(ColorRefOf(color_)));
    if (!loading_) RefreshMeasuringFont();
    Call(WM_SETFONT, reinterpret_cast<WPARAM>(fontCopy_.get()), FALSE);
    LayoutParts();
    if (simplePanel_) Call(SB_SIMPLE, TRUE);
    if (!loading_) FitAll();
    SyncActivationWatch();
}

void TnvStatusBar::Realign() {
    if (!hwnd_) return;
    RECT client{};
    ::GetClientRect(::GetParent(hwnd_), &client);
    ::MoveWindow(hwnd_, 0, client.bottom - height_, client.right, height_, TRUE);
}

void TnvStatusBar::SetHeight(int value) {
    designHeight_ = value;
    height_ = DpiScaled(designHeight_, dpi_);
    Realign();
}

void TnvStatusBar::SetPixelsPerInch(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    height_ = DpiScaled(designHeight_, dpi_);
    Realign();
    FitAll();
    Invalidate();
}

void TnvStatusBar::SetVisible(bool value) {
    visible_ = value;
    if (hwnd_) ::ShowWindow(hwnd_, value ? SW_SHOW : SW_HIDE);
}

void TnvStatusBar::Update() {
    if (hwnd_) ::UpdateWindow(hwnd_);
}

void TnvStatusBar::Repaint() {
    Invalidate();
    Update();
}

void TnvStatusBar::Invalidate() {
    if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

bool TnvStatusBar::HandleParentDrawItem(const DRAWITEMSTRUCT& item) {
    if (!hwnd_ || item.hwndItem != hwnd_) return false;
    OnDrawItem(item);
    return true;
}

void TnvStatusBar::SetSimplePanel(bool value) {
    simplePanel_ = value;
    if (hwnd_) Call(SB_SIMPLE, value ? TRUE : FALSE);
}

void TnvStatusBar::SetColor(TColor value) {
    color_ = value;
    if (!hwnd_) return;
    Call(SB_SETBKCOLOR, 0, color_ == clBtnFace ? CLR_DEFAULT : static_cast<LPARAM>(ColorRefOf(color_)));
    Invalidate();
}

void TnvStatusBar::SetFont(const TFont& value) {
    font_ = value;
    RefreshMeasuringFont();
    FitAll();
    Invalidate();
}

void TnvStatusBar::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (hwnd_) ::EnableWindow(hwnd_, value ? TRUE : FALSE);
    Invalidate();
    for (int i = 0; i < panels_.Count(); ++i) panels_[i].RenewRegistrations();
}

void TnvStatusBar::EndLoading() {
    loading_ = false;
    RefreshMeasuringFont();
    FitAll();
}

RECT TnvStatusBar::PanelRect(int index) const {
    RECT rect{};
    if (!hwnd_ || index < 0) return rect;
    if (!Call(SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect))) return RECT{};
    return rect;
}

int TnvStatusBar::PanelAtPos(POINT client) const {
    return PanelAt(
        panels_.Count(), [this](int i) { return FromRect(PanelRect(i)); }, client.x, client.y);
}

void TnvStatusBar::RedrawPanel(int index) {
    TnvStatusPanel& panel = panels_.Items(index);
    if (!hwnd_ || FromRect(PanelRect(index)).Empty()) return;
    WindowDC dc(hwnd_);
    if (!dc) return;
    SelectedObject font(dc.get(), fontCopy_.get());
    PaintPanel(panel, dc.get());
}

bool TnvStatusBar::HintAt(POINT client, std::string& hint, RECT& area) {
    const int count = panels_.Count();
    const int under = PanelAtPos(client);
    std::vector<PartRect> rects;
    std::vector<std::string> hints;
    for (int i = 0; i < count; ++i) {
        TnvStatusPanel& panel = panels_[i];
        rects.push_back(FromRect(PanelRect(i)));
        std::string text = panel.Hint;
        const bool ellipsis = panel.PanelType() == sptEllipsisText || panel.PanelType() == sptEllipsisPath;
        if (ellipsis && text == "...") text = panel.Text();
        if (i == under) Raise(panel.OnHintText, this, &panel, text);
        hints.push_back(std::move(text));
    }
    std::vector<bool> hasHint;
    for (const std::string& h : hints) hasHint.push_back(!h.empty());
    RECT clientRect{};
    if (hwnd_) ::GetClientRect(hwnd_, &clientRect);
    const HintArea found = ResolveHintArea(rects, hasHint, FromRect(clientRect), client.x, client.y);
    hint = found.Panel >= 0 ? hints[static_cast<size_t>(found.Panel)] : Hint;
    area = ToRect(found.Area);
    return !hint.empty();
}

void TnvStatusBar::LayoutParts() {
    if (!hwnd_ || destroying_) return;
    if (panels_.Updating()) {
        layoutPending_ = true;
        return;
    }
    layoutPending_ = false;
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(panels_.Count()));
    for (int i = 0; i < panels_.Count(); ++i) widths.push_back(panels_[i].Width());
    std::vector<int> edges = PartEdges(widths);
    Call(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    partStyles_.resize(edges.size(), kUnsetPartStyle);
    if (panels_.Count() == 0) {
        Call(SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        partStyles_[0] = kUnsetPartStyle;
        return;
    }
    // Only parts that are new or changed their bevel: adding panel after panel stays linear.
    for (size_t i = 0; i < edges.size(); ++i) {
        const WPARAM style = SBT_OWNERDRAW | BevelStyle(panels_[static_cast<int>(i)].Bevel());
        if (partStyles_[i] == style) continue;
        Call(SB_SETTEXTA, i | style, static_cast<LPARAM>(i));
        partStyles_[i] = style;
    }
}

void TnvStatusBar::RefreshMeasuringFont() {
    const LOGFONTA lf = LogFontOf(font_);
    GdiObject fresh(::CreateFontIndirectA(&lf));
    if (!fresh || !measureDC_) return;
    HGDIOBJ previous = ::SelectObject(measureDC_.get(), fresh.get());
    if (!replacedFont_) replacedFont_ = previous;
    if (hwnd_) Call(WM_SETFONT, reinterpret_cast<WPARAM>(fresh.get()), FALSE);
    fontCopy_ = std::move(fresh); // the old copy is selected nowhere any more
}

void TnvStatusBar::FitAll() {
    for (int i = 0; i < panels_.Count(); ++i) panels_[i].Fit();
}

int TnvStatusBar::FittingWidth(const std::string& text) const {
    const int measured = MeasureText(text);
    return measured == kMeasureFailed ? 0 : AutoFitWidth(measured, dpi_);
}

int TnvStatusBar::MeasureText(const std::string& text) const {
    SIZE size{};
    if (!measureDC_ ||
        !::GetTextExtentPoint32A(measureDC_.get(), text.c_str(), static_cast<int>(text.size()), &size)) {
        return kMeasureFailed;
    }
    return static_cast<int>(size.cx);
}

// Paints off screen and copies the result in one operation, so a panel that changes on every
// keystroke does not flicker.
void TnvStatusBar::PaintPanel(TnvStatusPanel& panel, HDC dc) {
    if (!hwnd_) return;
    const PartRect part = FromRect(PanelRect(panel.Index()));
    if (part.Empty()) return;
    const PartRect inner = part.Shrunk();
    if (inner.Empty()) return;
    const int width = inner.Right - inner.Left;
    const int height = inner.Bottom - inner.Top;

    MemoryDC memory(::CreateCompatibleDC(dc));
    GdiObject bitmap(::CreateCompatibleBitmap(dc, width, height));
    GdiObject background(::CreateSolidBrush(ColorRefOf(color_)));
    if (!memory || !bitmap || !background) return;
    SelectedObject selectedBitmap(memory.get(), bitmap.get());
    SelectedObject selectedFont(memory.get(), ::GetCurrentObject(dc, OBJ_FONT));
    RECT local{0, 0, width, height};
    ::FillRect(memory.get(), &local, static_cast<HBRUSH>(background.get()));
    if (panel.EffectivelyEnabled()) DrawContent(panel, memory.get(), local);
    ::BitBlt(dc, inner.Left, inner.Top, width, height, memory.get(), 0, 0, SRCCOPY);
}

void TnvStatusBar::DrawContent(TnvStatusPanel& panel, HDC dc, RECT rect) {
    UINT extraFormat = 0;
    switch (panel.PanelType()) {
    case sptCapsLock:
    case sptNumLock:
    case sptScrollLock: DrawKeyLockState(panel, dc, rect); return;
    case sptGlyph:
    case sptGauge:
    case sptOwnerDraw: return; // pictures and gauges are not built; owner draw paints through its event
    case sptEllipsisText: extraFormat = DT_END_ELLIPSIS; break;
    case sptEllipsisPath: extraFormat = DT_PATH_ELLIPSIS; break;
    default: break;
    }
    ::SetTextColor(dc, ColorRefOf(font_.Color));
    DrawPanelText(dc, rect, panel.Text(), PlaceText(panel.Alignment(), panel.AutoFit(), false), extraFormat);
}

void TnvStatusBar::Click() {
    // The cursor now, not the position the mouse message carried.
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(hwnd_, &cursor);
    const int hit = PanelAtPos(cursor);
    if (hit >= 0) {
        TnvStatusPanel& panel = panels_[hit];
        Raise(panel.OnClick, &panel);
    }
    Raise(OnClick, this);
}

void TnvStatusBar::SyncActivationWatch() noexcept {
    const bool wanted = hwnd_ && !activationPanels_.Empty();
    if (wanted == activationWatch_.Watching()) return;
    if (wanted) {
        activationWatch_.Attach(*this);
    } else {
        activationWatch_.Detach();
    }
}

// ---- Messages ------------------------------------------------------------------------------------

void TnvStatusBar::OnControlDestroyed(HWND control) {
    if (hwnd_ != control) return;
    hwnd_ = nullptr;
    partStyles_.clear();
    activationWatch_.Detach();
}

LRESULT TnvStatusBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_; // a click handler may destroy the bar
    switch (msg) {
    case kReflectedDrawItem: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case kReflectedNotify: return 0; // clicks come from the mouse messages below
    case kRefreshLockPanelsMessage: RefreshLockPanels(*this); return 0;
    case kRepaintLockPanelsMessage: RepaintLockPanels(*this, static_cast<TnvStatusPanelType>(wParam)); return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(); break;
    case WM_LBUTTONUP: {
        const LRESULT result = CallPrevious(hwnd, msg, wParam, lParam);
        OnLeftButtonUp(lParam);
        return result;
    }
    case WM_CAPTURECHANGED: pressed_ = false; break;
    case WM_SIZE: {
        const LRESULT result = CallPrevious(hwnd, msg, wParam, lParam);
        OnSize();
        return result;
    }
    default: break;
    }
    return CallPrevious(hwnd, msg, wParam, lParam);
}

bool TnvStatusBar::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.hwndItem != hwnd_) return false;
    const int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= panels_.Count()) return true;
    SelectedObject font(item.hDC, fontCopy_.get());
    const RECT rect = PanelRect(index);
    Raise(OnDrawPanel, this, &panels_[index], rect);
    if (index >= panels_.Count()) return true; // the event removed it
    TnvStatusPanel& panel = panels_[index];
    if (panel.PanelType() == sptOwnerDraw && panel.OnDrawPanel) {
        Raise(panel.OnDrawPanel, this, &panel, rect);
        return true;
    }
    PaintPanel(panel, item.hDC);
    return true;
}

// A control that does not size itself keeps its old part bounds, and it ignores being given the same
// parts again; a different set first makes it measure the last part anew.
void TnvStatusBar::OnSize() {
    int edge = 0;
    Call(SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
    partStyles_.resize(1, kUnsetPartStyle);
    LayoutParts();
}

void TnvStatusBar::OnLeftButtonDown() {
    pressed_ = true;
    ::SetCapture(hwnd_);
}

void TnvStatusBar::OnLeftButtonUp(LPARAM lParam) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (::GetCapture() == hwnd_) ::ReleaseCapture();
    if (!wasPressed || !hwnd_) return;
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    if (::PtInRect(&client, at)) Click();
}

} // namespace nv
