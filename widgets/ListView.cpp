#include "widgets/ListView.h"

#include "base/Dpi.h"
#include "base/Errors.h"
#include "widgets/Fonts.h"

#include <commctrl.h>

#include <algorithm>

namespace nv {

namespace {

int ColumnFormat(TAlignment alignment) {
    switch (alignment) {
    case taCenter: return LVCFMT_CENTER;
    case taRightJustify: return LVCFMT_RIGHT;
    default: return LVCFMT_LEFT;
    }
}
} // namespace

TListView::~TListView() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    DetachSubclass(window);
    hwnd_ = nullptr;
    ::DestroyWindow(window);
}

void TListView::CreateWnd(HWND parent, int id) {
    hwnd_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                              WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_SINGLESEL, 0, 0,
                              DpiScaled(width_, dpi_), 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) throw EError("Error creating window class SysListView32");
    AttachSubclass(hwnd_);
    ::SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (font_) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (visible_) ::ShowWindow(hwnd_, SW_SHOWNA);
}

void TListView::SetPixelsPerInch(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    if (hasFont_) SetFont(designFont_);
    for (int column = 0; hwnd_ && column < static_cast<int>(columnWidths_.size()); ++column) {
        ::SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                       MAKELPARAM(DpiScaled(columnWidths_[static_cast<size_t>(column)], dpi_), 0));
    }
}

int TListView::ColumnWidth(int column) const {
    return hwnd_ ? static_cast<int>(::SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)) : 0;
}

int TListView::Width() const {
    int columns = 0;
    for (int width : columnWidths_) columns += DpiScaled(width, dpi_);
    int frame = 0;
    if (hwnd_) {
        frame = WindowSizeForClient(0, 0, static_cast<DWORD>(::GetWindowLongPtrA(hwnd_, GWL_STYLE)) & ~WS_VSCROLL,
                                    false, static_cast<DWORD>(::GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)), dpi_)
                    .cx;
    }
    return std::max<int>(DpiScaled(width_, dpi_), columns + MetricForDpi(SM_CXVSCROLL, dpi_) + frame);
}

void TListView::SetVisible(bool visible) {
    visible_ = visible;
    if (hwnd_) ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void TListView::SetBounds(const RECT& bounds) {
    if (!hwnd_) return;
    // Wine's list view, made taller while scrolled to its end, moves its rows down into the new room
    // without repainting them, so the picture kept from before the move shows stale, repeated rows: none
    // of it is kept, and the list paints itself whole.
    ::SetWindowPos(hwnd_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void TListView::SetFont(const TFont& font) {
    designFont_ = font;
    hasFont_ = true;
    GdiObject made = CreateFontOf(FontAtDpi(font, dpi_));
    if (!made) return;
    if (hwnd_) ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE);
    font_ = std::move(made); // the old font goes once the list no longer draws with it
}

bool TListView::SetFocus() {
    if (!hwnd_ || !::IsWindowVisible(hwnd_)) return false;
    ::SetFocus(hwnd_);
    return ::GetFocus() == hwnd_;
}

void TListView::AddColumn(const std::string& caption, int width, TAlignment alignment) {
    if (!hwnd_) return;
    std::string text = caption;
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = ColumnFormat(alignment);
    const int columns = static_cast<int>(columnWidths_.size());
    column.cx = DpiScaled(width, dpi_);
    column.pszText = text.data();
    column.iSubItem = columns;
    if (::SendMessageA(hwnd_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(columns), reinterpret_cast<LPARAM>(&column)) >= 0)
        columnWidths_.push_back(width);
}

void TListView::AddItem(const std::string& caption, const std::vector<std::string>& subItems) {
    if (!hwnd_) return;
    std::string text = caption;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ItemCount();
    item.pszText = text.data();
    const int index = static_cast<int>(::SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) throw EError("Error adding a list item");
    for (size_t i = 0; i < subItems.size(); ++i) {
        std::string sub = subItems[i];
        LVITEMA cell{};
        cell.iSubItem = static_cast<int>(i) + 1;
        cell.pszText = sub.data();
        ::SendMessageA(hwnd_, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
    }
}

int TListView::ItemCount() const { return hwnd_ ? static_cast<int>(::SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)) : 0; }

std::string TListView::ItemText(int item, int column) const {
    if (!hwnd_) return {};
    char text[256] = {};
    LVITEMA cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    const LRESULT length =
        ::SendMessageA(hwnd_, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

int TListView::Selected() const {
    if (!hwnd_) return -1;
    return static_cast<int>(::SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetSelected(int item) {
    if (!hwnd_) return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    // Clear every row's selection, then select the one asked for.
    ::SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (item < 0) return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    ::SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
}

LRESULT TListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        HWND window = hwnd_;
        Raise(OnKeyDown, this, key, CurrentShiftState());
        if (key == 0 || !hwnd_) return 0;
        return CallPrevious(window, msg, key, lParam);
    }
    case WM_LBUTTONDBLCLK: {
        HWND window = hwnd_;
        const LRESULT result = CallPrevious(window, msg, wParam, lParam);
        Raise(OnDblClick, this);
        return result;
    }
    default: return CallPrevious(hwnd_, msg, wParam, lParam);
    }
}

void TListView::OnControlDestroyed(HWND control) {
    if (control == hwnd_) hwnd_ = nullptr; // destroyed with its parent
}

} // namespace nv
