#include "toolbar/SpeedBarSetup.h"

#include "base/Application.h"
#include "base/Dpi.h"
#include "base/Errors.h"
#include "forms/resource.h"
#include "menus/MenuLayout.h"

#include <windowsx.h>

#include <algorithm>

namespace nv {

namespace {

constexpr char kClassName[] = "TSpeedbarSetupWindow";
// Asks the application window to free the customize windows that have closed.
constexpr UINT kReleaseClosedMessage = WM_APP + 240;
// Asks the window to put itself on top again once another window of the program was activated.
constexpr UINT kKeepOnTopMessage = WM_APP + 241;

enum ControlId {
    idCategoriesLabel = 101,
    idButtonsLabel,
    idSectionList,
    idButtonsList,
    idHintLabel,
    idHelpBtn
};

// The form, in pixels at 96 DPI: its client size and where each control goes.
constexpr int kClientWidth = 421, kClientHeight = 262;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
struct DesignedControl {
    int id;
    const char* className;
    UINT text; // string resource, or 0
    const char* fixedText;
    DWORD style;
    DWORD exStyle;
    int x, y, w, h;
};
constexpr DWORD kListStyle =
    LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
const DesignedControl kControls[] = {
    {idCategoriesLabel, "STATIC", IDS_SPEEDBARCATEGORIES, "", SS_LEFT, 0, 12, 11, 128, 16},
    {idButtonsLabel, "STATIC", IDS_SPEEDBARBUTTONS, "", SS_LEFT, 0, 146, 11, 178, 16},
    {idSectionList, "LISTBOX", 0, "", kListStyle, WS_EX_CLIENTEDGE, 12, 30, 129, 188},
    {idButtonsList, "LISTBOX", 0, "", kListStyle, WS_EX_CLIENTEDGE, 146, 30, 179, 188},
    {idHintLabel, "STATIC", IDS_SPEEDBARHINT, "", SS_LEFT | SS_NOPREFIX, 0, 8, 231, 407, 29},
    {IDCANCEL, "BUTTON", 0, "OK", BS_PUSHBUTTON | WS_TABSTOP, 0, 339, 12, 77, 25},
    {idHelpBtn, "BUTTON", 0, "&Help", BS_PUSHBUTTON | WS_TABSTOP, 0, 339, 44, 77, 25},
};

std::string LoadString(UINT id) {
    char text[512] = {};
    const int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, static_cast<size_t>(std::max(0, length)));
}

std::vector<std::unique_ptr<TSpeedbarSetupWindow>>& OpenWindows() {
    static std::vector<std::unique_ptr<TSpeedbarSetupWindow>> windows;
    return windows;
}

void ReleaseClosedWindows() {
    auto& windows = OpenWindows();
    windows.erase(std::remove_if(windows.begin(), windows.end(), [](const auto& w) { return !w->Handle(); }),
                  windows.end());
}

// A window cannot free itself from inside its own procedure; the application window does it later.
void WatchForClosedWindows() {
    static const int hook = Application().HookMainWindow([](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != kReleaseClosedMessage) return false;
        ReleaseClosedWindows();
        result = 0;
        return true;
    });
    (void)hook;
}

} // namespace

// ---- Keyboard and mouse of the lists and buttons -------------------------------------------------

// The window runs no dialog manager: its controls close it on Esc, and Tab moves between them.
class TSpeedbarSetupWindow::ListSubclass : public ControlSubclass {
public:
    ListSubclass(TSpeedbarSetupWindow& owner, HWND control) : owner_(owner), control_(control) {
        AttachSubclass(control);
    }
    ~ListSubclass() {
        if (control_) DetachSubclass(control_);
    }
    ListSubclass(const ListSubclass&) = delete;
    ListSubclass& operator=(const ListSubclass&) = delete;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const bool buttons = control_ == owner_.buttonsList_;
        switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE || (wParam == VK_RETURN && control_ == owner_.closeBtn_)) {
                ::PostMessageA(owner_.Handle(), WM_CLOSE, 0, 0);
                return 0;
            }
            if (wParam == VK_TAB) {
                owner_.MoveFocus(control_, ::GetKeyState(VK_SHIFT) < 0);
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == VK_ESCAPE || wParam == VK_TAB || wParam == VK_RETURN) return 0;
            break;
        case WM_SYSCHAR:
            if (owner_.OnAccessKey(static_cast<char>(wParam))) return 0;
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: // a quick second press is a press too
            if (buttons && owner_.ListMouseDown(at)) return 0;
            break;
        case WM_MOUSEMOVE:
            if (buttons && owner_.dragging_) {
                owner_.ListMouseMove(at);
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (buttons && owner_.dragging_) {
                owner_.ListMouseUp(at);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            if (buttons && owner_.dragging_) owner_.CancelListDrag();
            break;
        case WM_SETCURSOR:
            if (buttons && owner_.dragging_) return TRUE; // the drag sets its own cursor
            break;
        default: break;
        }
        return CallPrevious(control_, msg, wParam, lParam);
    }
    void OnControlDestroyed(HWND) override { control_ = nullptr; }

private:
    TSpeedbarSetupWindow& owner_;
    HWND control_;
};

// ---- The window ----------------------------------------------------------------------------------

TSpeedbarSetupWindow* TSpeedbarSetupWindow::FindFor(const TSpeedBar* bar) {
    for (const auto& window : OpenWindows()) {
        if (window->Handle() && window->bar_ == bar) return window.get();
    }
    return nullptr;
}

TSpeedbarSetupWindow& TSpeedbarSetupWindow::CreateNew(HWND owner, int dpi) {
    ReleaseClosedWindows();
    WatchForClosedWindows();
    OpenWindows().push_back(std::make_unique<TSpeedbarSetupWindow>(owner, dpi));
    return *OpenWindows().back();
}

TSpeedbarSetupWindow::TSpeedbarSetupWindow(HWND owner, int dpi) {
    RegisterClassOnce(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    ppi_ = dpi > 0 ? dpi : WindowDpi(owner);
    // Centred on the screen the bar is on, whose DPI it was laid out for.
    const SIZE size = FrameSize(ppi_);
    const POINT centre = MonitorCentre(owner);
    Create(kClassName, LoadString(IDS_SPEEDBARCAPTION).c_str(), kStyle, kExStyle, centre.x - size.cx / 2,
           centre.y - size.cy / 2, size.cx, size.cy, owner, nullptr);
    if (!Handle()) throw EError("Error creating window");
    CreateControls();
}

SIZE TSpeedbarSetupWindow::FrameSize(int dpi) const {
    return WindowSizeForClient(DpiScaled(kClientWidth, dpi), DpiScaled(kClientHeight, dpi), kStyle, false, kExStyle,
                               dpi);
}

TSpeedbarSetupWindow::~TSpeedbarSetupWindow() {
    subclasses_.clear();
    Destroy();
}

void TSpeedbarSetupWindow::CreateControls() {
    for (const DesignedControl& c : kControls) {
        const DWORD visible = c.id == idHelpBtn ? 0 : WS_VISIBLE;
        const std::string text = c.text ? LoadString(c.text) : std::string(c.fixedText);
        HWND control = ::CreateWindowExA(c.exStyle, c.className, text.c_str(), WS_CHILD | visible | c.style, 0, 0, 0,
                                         0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                         ::GetModuleHandleA(nullptr), nullptr);
        HWND* slot = c.id == idSectionList ? &sectionList_
                     : c.id == idButtonsList ? &buttonsList_
                     : c.id == IDCANCEL      ? &closeBtn_
                     : c.id == idHelpBtn     ? &helpBtn_
                                             : nullptr;
        if (slot) {
            *slot = control;
            subclasses_.push_back(std::make_unique<ListSubclass>(*this, control));
        }
    }
    PlaceControls();
}

void TSpeedbarSetupWindow::PlaceControls() {
    // A regular rather than bold face: the form's 8 points.
    GdiObject font(::CreateFontA(-::MulDiv(8, ppi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 "MS Sans Serif"));
    for (const DesignedControl& c : kControls) {
        HWND control = ::GetDlgItem(Handle(), c.id);
        if (!control) continue;
        const int left = Scaled(c.x), top = Scaled(c.y);
        ::SetWindowPos(control, nullptr, left, top, Scaled(c.x + c.w) - left, Scaled(c.y + c.h) - top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font); // the old font goes once no control draws with it
}

void TSpeedbarSetupWindow::OnDpiChanged(int dpi, LPARAM suggested) {
    if (dpi <= 0) return;
    ppi_ = dpi;
    PlaceControls();
    TakeDpiChangedPlace(Handle(), suggested, FrameSize(ppi_), {Scaled(kClientWidth), Scaled(kClientHeight)});
    SizeLists();
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TSpeedbarSetupWindow::SetSpeedBar(TSpeedBar* bar) {
    if (bar == bar_) return;
    if (bar_) {
        TSpeedBar* old = bar_;
        bar_ = nullptr;
        old->SetEditMode(nullptr);
    }
    bar_ = bar;
    if (bar_) bar_->SetEditMode(this);
    SizeLists();
    Fill(0);
}

void TSpeedbarSetupWindow::ShowWindowFor() {
    ::ShowWindow(helpBtn_, HelpContext > 0 ? SW_SHOWNA : SW_HIDE);
    if (::IsIconic(Handle())) ::ShowWindow(Handle(), SW_RESTORE);
    const bool first = !::IsWindowVisible(Handle());
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::BringWindowToTop(Handle());
    if (first) {
        SizeLists();
        ::SetFocus(sectionList_);
    }
}

TSpeedItem* TSpeedbarSetupWindow::ItemAtRow(int row) const {
    const int category = SelectedCategory();
    if (!bar_ || category < 0 || category >= bar_->SectionCount()) return nullptr;
    const TSpeedbarSection& section = bar_->Sections(category);
    if (row < 0 || row >= section.Count()) return nullptr;
    return &section.Items(row);
}

int TSpeedbarSetupWindow::SelectedCategory() const {
    return static_cast<int>(::SendMessageA(sectionList_, LB_GETCURSEL, 0, 0));
}

// ---- Sizing and filling --------------------------------------------------------------------------

void TSpeedbarSetupWindow::SizeLists() {
    if (!buttonsList_) return;
    const int limit = Scaled(186);
    const int rowHeight = Scaled((bar_ ? bar_->BtnHeight() : 23) + 2);
    ::SendMessageA(buttonsList_, LB_SETITEMHEIGHT, 0, rowHeight);
    RECT client{}, window{};
    ::GetClientRect(buttonsList_, &client);
    ::GetWindowRect(buttonsList_, &window);
    const int rows = std::max(1, std::max<int>(client.bottom, limit) / rowHeight);
    const int height = std::min(limit, rows * rowHeight);
    const int frame = (window.bottom - window.top) - client.bottom;
    for (HWND list : {buttonsList_, sectionList_}) {
        RECT r{};
        ::GetWindowRect(list, &r);
        ::SetWindowPos(list, nullptr, 0, 0, r.right - r.left, height + frame,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    WindowDC dc(sectionList_);
    SelectedObject font(dc.get(), font_.get());
    SIZE text{};
    ::GetTextExtentPoint32A(dc.get(), "Wg", 2, &text);
    ::SendMessageA(sectionList_, LB_SETITEMHEIGHT, 0, text.cy + Scaled(2));
}

void TSpeedbarSetupWindow::Fill(int category) {
    ::SendMessageA(sectionList_, LB_RESETCONTENT, 0, 0);
    if (!bar_ || !bar_->Handle() || !::GetParent(bar_->Handle())) {
        FillButtons(-1);
        return;
    }
    for (int i = 0; i < bar_->SectionCount(); ++i) {
        ::SendMessageA(sectionList_, LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(bar_->Sections(i).Caption().c_str()));
    }
    if (category >= 0 && category < bar_->SectionCount())
        ::SendMessageA(sectionList_, LB_SETCURSEL, category, 0);
    FillButtons(SelectedCategory());
}

void TSpeedbarSetupWindow::FillButtons(int category) {
    // The chosen row stays chosen, as far as the new rows reach.
    const int row = static_cast<int>(::SendMessageA(buttonsList_, LB_GETCURSEL, 0, 0));
    ::SendMessageA(buttonsList_, LB_RESETCONTENT, 0, 0);
    if (bar_ && category >= 0 && category < bar_->SectionCount()) {
        const TSpeedbarSection& section = bar_->Sections(category);
        for (int i = 0; i < section.Count(); ++i) {
            ::SendMessageA(buttonsList_, LB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(section.Items(i).Caption.c_str()));
        }
        if (row >= 0 && row < section.Count()) ::SendMessageA(buttonsList_, LB_SETCURSEL, row, 0);
    }
    UpdateHint();
}

void TSpeedbarSetupWindow::UpdateHint() {
    const TSpeedItem* item = ItemAtRow(static_cast<int>(::SendMessageA(buttonsList_, LB_GETCURSEL, 0, 0)));
    hint_ = item ? item->Hint() : std::string();
}

// ---- Messages ------------------------------------------------------------------------------------

LRESULT TSpeedbarSetupWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_MEASUREITEM: OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_CTLCOLORSTATIC: {
        // The labels sit on the window's own face.
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT: OnPaint(); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) ::PostMessageA(Handle(), kKeepOnTopMessage, 0, 0);
        break;
    case WM_ACTIVATEAPP:
        if (wParam) ::PostMessageA(Handle(), kKeepOnTopMessage, 0, 0);
        break;
    case kKeepOnTopMessage: KeepOnTop(); return 0;
    case WM_SYSCHAR:
        if (OnAccessKey(static_cast<char>(wParam))) return 0;
        break;
    case kDpiChangedMessage: OnDpiChanged(DpiOfDpiChanged(wParam), lParam); return 0;
    case kGetDpiScaledSizeMessage:
        *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
        return TRUE;
    case WM_CLOSE: Destroy(); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_NCDESTROY:
        if (Application().Handle()) ::PostMessageA(Application().Handle(), kReleaseClosedMessage, 0, 0);
        break;
    default: break;
    }
    return Default(msg, wParam, lParam);
}

void TSpeedbarSetupWindow::OnCommand(int id, int code) {
    switch (id) {
    case IDCANCEL:
        if (code == BN_CLICKED) ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
        break;
    case idHelpBtn:
        if (code == BN_CLICKED && HelpContext > 0) ::WinHelpA(Handle(), nullptr, HELP_CONTEXT, HelpContext);
        break;
    case idSectionList:
        if (code == LBN_SELCHANGE) FillButtons(SelectedCategory());
        break;
    case idButtonsList:
        if (code == LBN_SELCHANGE) {
            if (dragging_) {
                hint_.clear();
            } else {
                UpdateHint();
            }
        }
        break;
    default: break;
    }
}

void TSpeedbarSetupWindow::KeepOnTop() {
    // Wine without a window manager shows an activated main window above its topmost owned windows
    // on the screen, while its own order keeps them above; only leaving the topmost band and coming
    // back puts the window on top of the screen again. Elsewhere this changes nothing.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    ::SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, flags);
}

void TSpeedbarSetupWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Handle(), &ps);
    // The etched frame around the two lists.
    RECT bevel{Scaled(4), Scaled(4), Scaled(4 + 328), Scaled(4 + 221)};
    ::DrawEdge(dc, &bevel, EDGE_ETCHED, BF_RECT);
    ::EndPaint(Handle(), &ps);
}

void TSpeedbarSetupWindow::OnDestroy() {
    CancelListDrag();
    copy_.reset();
    // The bar leaves edit mode: its buttons are clicked again.
    if (bar_) {
        TSpeedBar* bar = bar_;
        bar_ = nullptr;
        bar->SetEditMode(nullptr);
    }
}

bool TSpeedbarSetupWindow::OnAccessKey(char key) {
    // A label's access key moves the focus to the list it names; the help button's presses it.
    const int ids[] = {idCategoriesLabel, idButtonsLabel, idHelpBtn};
    std::vector<std::string> captions;
    for (int id : ids) {
        char text[256] = {};
        HWND control = ::GetDlgItem(Handle(), id);
        if (control && ::IsWindowVisible(control)) ::GetWindowTextA(control, text, sizeof text);
        captions.push_back(text);
    }
    switch (FindAccessKey(captions, key)) {
    case 0: ::SetFocus(sectionList_); return true;
    case 1: ::SetFocus(buttonsList_); return true;
    case 2: OnCommand(idHelpBtn, BN_CLICKED); return true;
    default: return false;
    }
}

void TSpeedbarSetupWindow::MoveFocus(HWND from, bool backwards) {
    std::vector<HWND> order{sectionList_, buttonsList_, closeBtn_};
    if (::IsWindowVisible(helpBtn_)) order.push_back(helpBtn_);
    const auto at = std::find(order.begin(), order.end(), from);
    const size_t index = at == order.end() ? 0 : static_cast<size_t>(at - order.begin());
    const size_t next = backwards ? (index + order.size() - 1) % order.size() : (index + 1) % order.size();
    ::SetFocus(order[next]);
}

void TSpeedbarSetupWindow::BarNotify(TSpeedbarNotification code, TObject* subject) {
    if (!bar_ || subject != bar_) return;
    switch (code) {
    case sbnItemsChanged: Fill(SelectedCategory()); break;
    case sbnDestroyed:
        bar_ = nullptr; // going away: no edit mode to leave
        ::PostMessageA(Handle(), WM_CLOSE, 0, 0);
        break;
    case sbnSizeChanged: SizeLists(); break;
    case sbnItemMoved: break;
    }
}

// ---- Drawing -------------------------------------------------------------------------------------

void TSpeedbarSetupWindow::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = static_cast<UINT>(Scaled(item.CtlID == idButtonsList ? (bar_ ? bar_->BtnHeight() : 23) + 2 : 16));
}

void TSpeedbarSetupWindow::OnDrawItem(const DRAWITEMSTRUCT& di) {
    if (di.CtlType != ODT_LISTBOX) return;
    HDC dc = di.hDC;
    const bool selected = (di.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &di.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(di.itemID) >= 0) {
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor =
            ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text = di.rcItem;
        if (di.CtlID == idSectionList) {
            if (bar_ && static_cast<int>(di.itemID) < bar_->SectionCount()) {
                const std::string& caption = bar_->Sections(static_cast<int>(di.itemID)).Caption();
                text.left += Scaled(2);
                ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            }
        } else if (const TSpeedItem* item = ItemAtRow(static_cast<int>(di.itemID))) {
            const RECT picture{di.rcItem.left + Scaled(1), di.rcItem.top + Scaled(1),
                               di.rcItem.left + Scaled(1 + bar_->BtnWidth()), di.rcItem.top + Scaled(1 + bar_->BtnHeight())};
            TButtonDrawState state;
            DrawItemButton(dc, picture, *item, state, ppi_);
            text.left += Scaled(bar_->BtnWidth() + 5);
            ::DrawTextA(dc, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &text,
                        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    }
    if (di.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &di.rcItem);
}

// ---- Dragging from the list onto the bar ---------------------------------------------------------

bool TSpeedbarSetupWindow::ListMouseDown(POINT at) {
    if (!bar_) return false;
    const LRESULT hit = ::SendMessageA(buttonsList_, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    const int row = LOWORD(hit);
    TSpeedItem* item = HIWORD(hit) ? nullptr : ItemAtRow(row);
    // Only the picture starts a drag; a press on the caption selects the row as usual.
    if (!item || at.x >= Scaled(bar_->BtnWidth() + 2)) return false;
    ::SetFocus(buttonsList_);
    ::SendMessageA(buttonsList_, LB_SETCURSEL, row, 0);
    UpdateHint();
    dragging_ = true;
    dragItem_ = item->Visible() ? nullptr : item; // a button already on the bar is not dragged
    // The copy goes onto the bar: it takes the bar's size on the screen.
    const SIZE size = bar_->ScreenButtonSize();
    if (dragItem_ && !copy_)
        copy_ = std::make_unique<TBtnControl>(*dragItem_, size.cx, size.cy, bar_->PixelsPerInch());
    ::SetCapture(buttonsList_);
    return true;
}

void TSpeedbarSetupWindow::ListMouseMove(POINT at) {
    POINT screen = at;
    ::ClientToScreen(buttonsList_, &screen);
    if (dragItem_ && copy_) {
        copy_->MoveTo(screen);
        copy_->ShowCopy(true);
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    } else {
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_NO)));
    }
}

void TSpeedbarSetupWindow::ListMouseUp(POINT at) {
    POINT screen = at;
    ::ClientToScreen(buttonsList_, &screen);
    TSpeedItem* item = dragItem_;
    dragging_ = false;
    dragItem_ = nullptr;
    copy_.reset();
    if (::GetCapture() == buttonsList_) ::ReleaseCapture();
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    if (!item || !bar_ || !bar_->Handle()) return;
    // The copy hung from the pointer by its bottom-right corner: its top-left corner is the drop point.
    const SIZE size = bar_->ScreenButtonSize();
    POINT drop{screen.x - size.cx, screen.y - size.cy};
    HWND target = ::WindowFromPoint(drop);
    while (target && target != bar_->Handle()) {
        target = (::GetWindowLongPtrA(target, GWL_STYLE) & WS_CHILD) ? ::GetParent(target) : nullptr;
    }
    if (!target) return;
    ::ScreenToClient(bar_->Handle(), &drop);
    if (bar_->PlaceItemAtClient(*item, drop)) FillButtons(SelectedCategory());
}

void TSpeedbarSetupWindow::CancelListDrag() {
    if (!dragging_) return;
    dragging_ = false;
    dragItem_ = nullptr;
    copy_.reset();
}

// ---- The bar's side ------------------------------------------------------------------------------

void TSpeedBar::Customize(int helpContext) {
    TSpeedbarSetupWindow* window = TSpeedbarSetupWindow::FindFor(this);
    if (!window) {
        window = &TSpeedbarSetupWindow::CreateNew(Handle() ? ::GetAncestor(Handle(), GA_ROOT) : nullptr, dpi_);
        window->SetSpeedBar(this);
    }
    if (helpContext > 0) window->HelpContext = helpContext;
    try {
        window->ShowWindowFor();
    } catch (...) {
        ::DestroyWindow(window->Handle());
        throw;
    }
}

} // namespace nv
