// TListView: a list in report view (columns of text, one row per item), read-only with whole-row
// single selection: the main window's ASCII chart. The parent window must reflect WM_NOTIFY back to
// the control (ReflectToChild) so that the list's own notifications reach it.
#pragma once

#include "base/DpiRules.h"
#include "base/Events.h"
#include "base/Handles.h"
#include "base/Subclass.h"
#include "editor/NvRichEd.h"
#include "statusbar/PanelTypes.h" // TAlignment

#include <windows.h>

#include <string>
#include <vector>

namespace nv {

class TListView : public TObject, private ControlSubclass {
public:
    TListView() = default;
    ~TListView() override;
    TListView(const TListView&) = delete;
    TListView& operator=(const TListView&) = delete;

    // Creates the list's window, hidden, as a child of `parent`.
    void CreateWnd(HWND parent, int id);
    // The DPI the list is laid out for. Its widths and its font are designed at 96 DPI; a change
    // sizes the columns and the font again.
    int PixelsPerInch() const { return dpi_; }
    void SetPixelsPerInch(int dpi);
    HWND Handle() const noexcept { return hwnd_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // The width the parent gives the list when it docks it to an edge, in pixels: never less than its
    // columns and a vertical scroll bar take, so that it needs no horizontal one.
    int Width() const;
    // In design pixels.
    void SetWidth(int width) { width_ = width; }
    void SetBounds(const RECT& bounds);
    void SetFont(const TFont& font);
    bool SetFocus();

    // `width` in design pixels.
    void AddColumn(const std::string& caption, int width, TAlignment alignment);
    // A column's width on the screen.
    int ColumnWidth(int column) const;
    // Appends a row: its caption (the first column) and the texts of the columns after it.
    void AddItem(const std::string& caption, const std::vector<std::string>& subItems);
    int ItemCount() const;
    std::string ItemText(int item, int column) const;
    // The selected row, or -1 when none is.
    int Selected() const;
    void SetSelected(int item);

    // A double click anywhere on the list, after the list has handled it.
    TNotifyEvent OnDblClick;
    // A key pressed while the list has the focus, before the list handles it; setting Key to 0
    // keeps it from the list.
    TKeyEvent OnKeyDown;

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnControlDestroyed(HWND control) override;

    HWND hwnd_ = nullptr;
    bool visible_ = false;
    int width_ = 0;
    int dpi_ = kDesignDpi;
    std::vector<int> columnWidths_; // as designed
    TFont designFont_;
    bool hasFont_ = false;
    GdiObject font_; // released after the window that draws with it
};

} // namespace nv
