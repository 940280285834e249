// TSpeedBar: the sectioned toolbar on the screen. A panel docked to one edge of its parent that holds
// flat glyph buttons at free places on a grid; it can be dragged to another edge, resized in whole
// rows while its customize window is open, and customized by drag and drop (SpeedBarSetup.h).
//
// Use from a parent window:
//   bar.BeginLoading(); set options, sizes, sections and items; bar.EndLoading();
//   bar.CreateWnd(parent, id);
//   bar.OnRequestAlign = [..] { lay the parent's docked controls out again, calling bar.SetBounds };
//   bar.DockedSiblings = [..] { the parent's other docked controls, for the outline of a move };
//   bar.SetIniStorage(&placement);  // the layout is saved and restored with the window placement
// The model (sections, items, grid, stored layout) is TCustomSpeedBar in SpeedBarCore.h. It keeps every
// size and place in design pixels (96 DPI), which is also what the stored layout holds; the bar shows
// them at its window's DPI (SetPixelsPerInch), so a DPI change leaves the model as it was.
#pragma once

#include "base/DpiRules.h"
#include "base/Handles.h"
#include "base/Window.h"
#include "placement/Placement.h"
#include "toolbar/SpeedBarCore.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

namespace nv {

class TSpeedbarButton;
class TBtnControl;

// How a button is drawn.
struct TButtonDrawState {
    bool Enabled = true;
    bool Flat = false; // frameless unless hot or pressed
    bool Hot = false;  // the mouse is over it
    bool Pressed = false;
    bool Down = false;   // a toggle that is down
    bool Grayed = false; // the glyph greyed, as for a disabled button
};

// Draws a button of an item, glyph and caption, into `rect` of `dc`, at `dpi`.
void DrawItemButton(HDC dc, const RECT& rect, const TSpeedItem& item, const TButtonDrawState& state,
                    int dpi = kDesignDpi);
// Draws image `index` of a glyph resource, from the glyph set for `dpi`, with its transparent colour
// left out; false when the resource cannot be loaded.
bool DrawGlyph(HDC dc, int x, int y, int resource, int numGlyphs, int index, int dpi = kDesignDpi);
// The size of one image of a glyph resource at `dpi` ({0, 0} when it cannot be loaded).
SIZE GlyphSize(int resource, int numGlyphs, int dpi = kDesignDpi);
// The cursor shown while the toolbar or one of its buttons is carried, at `dpi`.
HCURSOR ToolbarDragCursor(int dpi = kDesignDpi);

// The floating copy of a button that follows the mouse while it is carried: a borderless, disabled,
// topmost tool window that never takes the focus.
class TBtnControl : public WindowBase {
public:
    // `width` and `height` in pixels of `dpi`, at which it draws the button.
    TBtnControl(const TSpeedItem& item, int width, int height, int dpi);
    ~TBtnControl() override;
    // Shows the copy with its bottom-right corner at `screen`, without activating it.
    void MoveTo(POINT screen);
    void ShowCopy(bool show);
    POINT TopLeft() const;
    SIZE Size() const { return {width_, height_}; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    const TSpeedItem& item_;
    int width_, height_;
    int dpi_;
};

class TSpeedBar : public TCustomSpeedBar, public WindowBase {
public:
    TSpeedBar();
    ~TSpeedBar() override;

    // Takes the parent's DPI unless one was set.
    void CreateWnd(HWND parent, int id);
    bool HandleAllocated() const { return Handle() != nullptr; }

    // The DPI the bar is shown at; a change lays the buttons out again and asks for the parent's layout.
    int PixelsPerInch() const { return dpi_; }
    void SetPixelsPerInch(int dpi);
    // Design pixels at the bar's DPI, and back.
    int Scaled(int designPixels) const { return DpiScaled(designPixels, dpi_); }
    int Unscaled(int pixels) const { return DesignPixels(pixels, dpi_); }
    // The parent's layout places the bar in its own pixels; its thickness there.
    void SetScreenBounds(int left, int top, int width, int height);
    int ScreenThickness() const { return Scaled(Thickness()); }
    // A button's size on the screen.
    SIZE ScreenButtonSize() const { return {Scaled(BtnWidth()), Scaled(BtnHeight())}; }
    // PlaceItemAt for a point in the bar's client pixels.
    bool PlaceItemAtClient(TSpeedItem& item, POINT client);

    // The parent's layout: called when the bar's edge, thickness or visibility changed.
    std::function<void()> OnRequestAlign;
    // The parent's other controls docked to an edge, in its client coordinates.
    std::function<std::vector<TDockedControl>()> DockedSiblings;

    // The context menu; its commands go to `commandTarget`.
    void SetPopupMenu(HMENU menu, HWND commandTarget);

    // The placement the layout is stored with; null to store nothing.
    void SetIniStorage(TFormPlacement* placement);
    TFormPlacement* IniStorage() const { return link_.Storage(); }
    // The section of the stored layout: the window's class name followed by the bar's name.
    std::string DefaultSection() const;

    // Opens the customize window for this bar, or brings the open one forward.
    void Customize(int helpContext);

    // While the bar is being moved or resized, or a button carried.
    bool Moving() const { return moving_; }
    bool Resizing() const { return resizing_; }
    bool Carrying() const { return carry_ != nullptr; }
    // The tooltip text of an item's button.
    std::string ToolText(const TSpeedbarButton& button) const;

    void Repaint();

protected:
    std::unique_ptr<TSpeedItemButton> CreateButton(TSpeedItem& item) override;
    void BoundsChanged() override;
    void Invalidate() override;
    void VisibleChanged() override;
    void RequestRealign() override;
    int ScreenPixelsPerInch() const override;
    int FormPixelsPerInch() const override;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TSpeedbarButton;

    // A rectangle of the model's design pixels in the bar's parent's pixels.
    RECT ScreenRect(int left, int top, int width, int height) const;
    void OnPaint();
    void PaintFrame(HDC dc, RECT& rect) const;
    void PaintBoundLines(HDC dc, const RECT& rect) const;
    void OnLeftButtonDown(POINT at);
    void OnMouseMove(POINT at);
    void OnLeftButtonUp(POINT at);
    bool OnSetCursor();
    void OnContextMenu(LPARAM lParam);
    void CancelDrag();

    // Moving the bar to another edge.
    TAlign EdgeAt(POINT screen) const;
    RECT OutlineFor(TAlign align) const;
    void DrawOutline(const RECT& rect) const;
    void SetOutline(const RECT& rect);
    void EndMove(POINT screen);
    // Carrying a button in edit mode: the bar holds the mouse, the copy follows it.
    void BeginCarry(TSpeedbarButton& button);
    void CarryTo(POINT screen);
    void EndCarry(POINT screen);
    bool OverClient(POINT screen) const;
    // Resizing in rows.
    bool CanResize() const;
    bool InResizeZoneAt(POINT client) const;
    void ResizeTo(POINT client);

    HWND tooltip_ = nullptr; // destroyed with the bar's window
    void AddTool(TSpeedbarButton& button);
    void RemoveTool(TSpeedbarButton& button);
    void UpdateTool(TSpeedbarButton& button);

    TIniLink link_;
    int dpi_ = kDesignDpi;
    bool dpiSet_ = false; // else CreateWnd takes the parent's
    bool placing_ = false; // SetScreenBounds moves the window itself
    HMENU popupMenu_ = nullptr;
    HWND popupTarget_ = nullptr;
    int alignSuspended_ = 0;
    bool alignPending_ = false;

    bool pressed_ = false; // a press on the bar that may become a move
    bool moving_ = false;
    bool resizing_ = false;
    POINT pressPoint_{};
    TAlign startAlign_ = alTop;
    TAlign acceptedAlign_ = alTop;
    RECT outline_{};
    bool outlineShown_ = false;
    TSpeedItem* carry_ = nullptr;
    std::unique_ptr<TBtnControl> copy_;
};

// An item's button on the bar.
class TSpeedbarButton : public TSpeedItemButton, public WindowBase {
public:
    TSpeedbarButton(TSpeedBar& bar, TSpeedItem& item);
    ~TSpeedbarButton() override;

    TSpeedItem& Item() const { return item_; }
    void EnsureHandle();

    void UpdateBounds() override;
    void UpdateShown() override;
    void UpdateLook() override;
    void SetFront(bool front) override;

    TButtonDrawState DrawState() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void OnMouseMove(POINT at);
    void OnLeftButtonDown(POINT at);
    void OnLeftButtonUp(POINT at);
    void SetHot(bool hot);
    bool CanBeHot() const;

    TSpeedBar& bar_;
    TSpeedItem& item_;
    bool hot_ = false;
    bool pressed_ = false;   // held down by the mouse
    bool pressedIn_ = false; // and the mouse is over it
};

} // namespace nv
