// Image menus: TNvMainMenu (a window's menu bar) and TNvPopupMenu (a context menu) draw their items
// themselves, with a picture from an image list beside each caption whose item selects one, check
// marks in sunken cells, a shared shortcut column per drop-down menu, embossed disabled items and
// etched separators.
//
// The menus stay ordinary Win32 menus: every item keeps its text ("caption\tshortcut"), state and id,
// so code that reads or changes items by id goes on working. Owner drawing only adds MFT_OWNERDRAW
// to the items, again before each drop-down opens, so items inserted or retyped at run time (the
// recent files, the favorites) are drawn by the same rules. An item's Tag lives in its item data.
//
// Requests reach the menus this way: the main window hands its messages to TNvMainMenu first
// (HandleMenuMessage); every TNvPopupMenu is tracked with one shared hidden window as its owner,
// which offers the requests to the registered popups in turn and passes a chosen command on to the
// popup's command window.
#pragma once

#include "base/DpiRules.h"
#include "base/Events.h"
#include "menus/ImageList.h"
#include "menus/MenuLayout.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>

namespace nv {

enum class TNvMenuStyle { msStandard, msOwnerDraw, msBtnLowered, msBtnRaised };

// The owner-draw state of an item: ODS_SELECTED, ODS_GRAYED, ODS_DISABLED, ODS_CHECKED, ODS_FOCUS,
// ODS_DEFAULT.
using TMenuOwnerDrawState = UINT;

// One item of a menu, as the events see it.
struct TNvMenuItem {
    HMENU Parent = nullptr; // the menu that holds the item
    int Position = -1;
    UINT Command = 0;
    std::string Caption; // with its "&" marks, without the shortcut
    std::string ShortCut;
    int Tag = 0;
    HMENU SubMenu = nullptr;
    UINT Type = 0;         // MFT_ flags
    UINT State = 0;        // MFS_ flags
    bool TopLevel = false; // an item of the menu bar itself

    bool IsSeparator() const { return (Type & MFT_SEPARATOR) != 0 || Caption == "-"; }
};

using TItemImageEvent =
    std::function<void(TObject* Sender, const TNvMenuItem& Item, TMenuOwnerDrawState State, int& ImageIndex)>;
using TMeasureMenuItemEvent =
    std::function<void(TObject* Sender, const TNvMenuItem& Item, int& Width, int& Height)>;
// Draws the whole item instead of the menu.
using TDrawMenuItemEvent = std::function<void(TObject* Sender, const TNvMenuItem& Item, HDC Canvas,
                                              const RECT& Rect, TMenuOwnerDrawState State)>;
// Lets the owner change an item's font and background colour (the menu colour when not selected), and
// give it a picture of its own: a bitmap of NumGlyphs pictures side by side, the first one normal, the
// second (when present) disabled; the bottom-left pixel's colour is transparent.
using TItemParamsEvent =
    std::function<void(TObject* Sender, const TNvMenuItem& Item, TMenuOwnerDrawState State, LOGFONTA& AFont,
                       COLORREF& Color, HBITMAP& Graphic, int& NumGlyphs)>;
using TDrawMarginEvent = std::function<void(TObject* Sender, HDC Canvas, const RECT& Rect)>;

class TNvMenu : public TObject {
  public:
    TNvMenu(const TNvMenu&) = delete;
    TNvMenu& operator=(const TNvMenu&) = delete;
    ~TNvMenu() override;

    HMENU Handle() const noexcept { return handle_; }

    TImageList* Images() const noexcept { return images_; }
    void SetImages(TImageList* images);
    bool ShowCheckMarks() const noexcept { return showCheckMarks_; }
    void SetShowCheckMarks(bool show);
    TNvMenuStyle Style() const noexcept { return style_; }
    void SetStyle(TNvMenuStyle style);
    unsigned MinTextOffset() const noexcept { return minTextOffset_; }
    void SetMinTextOffset(unsigned offset);
    // The DPI the items are measured and drawn at: the menu font and the platform's measures follow
    // it. A change has the items measured again.
    int PixelsPerInch() const noexcept { return dpi_; }
    void SetPixelsPerInch(int dpi);

    TItemImageEvent OnGetImageIndex;
    TMeasureMenuItemEvent OnMeasureItem;
    TDrawMenuItemEvent OnDrawItem;
    TItemParamsEvent OnGetItemParams;

    // The menu draws its items itself: a style other than msStandard, or images in the list.
    bool OwnerDraw() const noexcept { return ownerDraw_; }

    // The Tag of the item with this command id; tags select images through OnGetImageIndex.
    void SetTag(UINT command, int tag);
    // Tags from an RCDATA resource of 16-bit pairs: command id, tag.
    void LoadTags(HINSTANCE module, int resourceId);

    // This menu, or one of its drop-downs.
    bool Contains(HMENU menu) const;
    TNvMenuItem Item(HMENU menu, int position) const;
    // The first item of the menu tree with this command id.
    bool FindItem(UINT command, TNvMenuItem& item) const;
    // The picture an item shows, after OnGetImageIndex; -1 for none.
    int ImageIndex(const TNvMenuItem& item, TMenuOwnerDrawState state);

    // WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR for this menu's items, and WM_INITMENUPOPUP of its
    // drop-downs (which is never taken). True when taken, with the result to return.
    bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool MeasureItem(MEASUREITEMSTRUCT& request);
    bool DrawItem(const DRAWITEMSTRUCT& request);

  protected:
    explicit TNvMenu(bool menuBar) : menuBar_(menuBar) {}
    void SetHandle(HMENU menu);
    // Decides again whether to draw, and marks or unmarks every item.
    void RefreshOwnerDraw();
    // Marks the items of one menu (not its drop-downs) as the decision stands; `remeasure` has the
    // platform measure them again even where the mark stays.
    void ApplyOwnerDraw(HMENU menu, bool remeasure = false) const;
    virtual bool CanOwnerDraw() const { return true; }
    virtual void OwnerDrawApplied() {}
    // A band at the left of every drop-down item, drawn by DrawMargin.
    virtual int MarginWidth() const { return 0; }
    virtual void DrawMargin(HDC dc, const RECT& band);

  private:
    struct Columns {
        int Caption = 0;  // widest stripped caption + two tabs
        int ShortCut = 0; // widest shortcut + " "
    };
    struct Look; // the font, colours and picture of one item, in drawing order
    void ApplyOwnerDrawTree(HMENU menu, bool remeasure = false) const;
    bool ContainsBelow(HMENU tree, HMENU menu) const;
    bool FindIn(HMENU menu, UINT command, TNvMenuItem& item) const;
    Look ItemLook(const TNvMenuItem& item, TMenuOwnerDrawState state);
    TItemShape Shape(const TNvMenuItem& item, const Look& look) const;
    TItemMeasures Measures(HDC dc, const TNvMenuItem& item, bool recountColumns);
    Columns MenuColumns(HDC dc, HMENU menu) const;
    void DefaultDrawItem(HDC dc, const TNvMenuItem& item, RECT rect, TMenuOwnerDrawState state);
    LRESULT MenuChar(char key, HMENU menu) const;
    void ImagesChanged(bool destroyed);

    const bool menuBar_;
    HMENU handle_ = nullptr;
    TImageList* images_ = nullptr;
    int imagesSubscription_ = 0;
    bool showCheckMarks_ = true;
    TNvMenuStyle style_ = TNvMenuStyle::msStandard;
    unsigned minTextOffset_ = 0;
    int dpi_ = kDesignDpi;
    bool ownerDraw_ = false;
    std::map<HMENU, Columns> columns_; // per drop-down, counted again at each opening
};

class TNvMainMenu : public TNvMenu {
  public:
    TNvMainMenu() : TNvMenu(true) {}
    // The menu bar of a window; the window hands the menu its messages (HandleMenuMessage). Neither
    // is owned.
    void Attach(HMENU menuBar, HWND window);
    HWND Window() const noexcept { return window_; }

  protected:
    bool CanOwnerDraw() const override { return window_ != nullptr; }
    void OwnerDrawApplied() override;

  private:
    HWND window_ = nullptr;
};

class TNvPopupMenu : public TNvMenu {
  public:
    TNvPopupMenu();
    ~TNvPopupMenu() override;

    // The popup menu (not owned) and the window that gets the WM_COMMAND of a chosen item.
    void Attach(HMENU popup, HWND commandWindow);
    // Shows the menu at a screen point and returns when it closes; the command follows as a message.
    void Popup(int x, int y);

    unsigned LeftMargin() const noexcept { return leftMargin_; }
    void SetLeftMargin(unsigned margin);
    TDrawMarginEvent OnDrawMargin;

    // Sends a command of this menu to the command window; false when the id is not this menu's.
    bool DispatchCommand(UINT command);
    // The hidden window every image popup is shown with.
    static HWND PopupListWindow();

  protected:
    int MarginWidth() const override { return static_cast<int>(leftMargin_); }
    void DrawMargin(HDC dc, const RECT& band) override;

  private:
    HWND commandWindow_ = nullptr;
    unsigned leftMargin_ = 0;
};

} // namespace nv
