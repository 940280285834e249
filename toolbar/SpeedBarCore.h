// The toolbar's model without windows: sections of items at free places on a grid, the bar's edge
// and orientation, offsets, scaling, edit mode and the stored layout. TSpeedBar (SpeedBar.h) puts it
// on the screen; the window-free tests drive it directly.
#pragma once

#include "base/Events.h"
#include "placement/IniSections.h"
#include "toolbar/SpeedBarRules.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nv {

enum TBarPosition { bpAuto, bpCustom };
enum TBarOrientation { boHorizontal, boVertical };

enum TSpeedbarOption : unsigned {
    sbAllowDrag = 1u << 0,
    sbAllowResize = 1u << 1,
    sbFlatBtns = 1u << 2,
    sbGrayedBtns = 1u << 3,
    sbTransparentBtns = 1u << 4,
    sbStretchBitmap = 1u << 5,
};
using TSpeedbarOptions = unsigned;

enum TBoundLine : unsigned { blTop = 1u << 0, blBottom = 1u << 1, blLeft = 1u << 2, blRight = 1u << 3 };
using TBoundLines = unsigned;

enum TPanelBevel { bvNone, bvLowered, bvRaised };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// What the bar tells its customize window.
enum TSpeedbarNotification {
    sbnItemsChanged = 0, // a button was dragged off the bar
    sbnDestroyed = 1,    // the bar goes away
    sbnItemMoved = 2,    // subject: the item
    sbnSizeChanged = 3,  // button size or orientation changed
};

using TApplyAlignEvent = std::function<void(TObject* Sender, TAlign Align, bool& Apply)>;

class TCustomSpeedBar;
class TSpeedbarSection;
class TSpeedItem;

// The customize window as the bar sees it.
class TSpeedbarEditor {
public:
    virtual void BarNotify(TSpeedbarNotification code, TObject* subject) = 0;

protected:
    ~TSpeedbarEditor() = default;
};

// An item's button as the item sees it; the bar makes one for every item.
class TSpeedItemButton {
public:
    virtual ~TSpeedItemButton() = default;
    virtual void UpdateBounds() = 0; // the item's place or the bar's button size changed
    virtual void UpdateShown() = 0;  // the item's Visible or the bar's visibility changed
    virtual void UpdateLook() = 0;   // enabled, down, edit mode, flat look, glyph, hint
    virtual void SetFront(bool front) = 0;
};

class TSpeedItem : public TObject {
public:
    TSpeedItem(TSpeedbarSection& section, std::string name);
    ~TSpeedItem() override;
    TSpeedItem(const TSpeedItem&) = delete;
    TSpeedItem& operator=(const TSpeedItem&) = delete;

    const std::string& Name() const { return name_; }
    TSpeedbarSection& Section() const { return *section_; }
    TCustomSpeedBar& Bar() const;
    int Index() const;

    std::string Caption; // the item's name in the customize window
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    // The tooltip: the hint's part before "|".
    std::string ShortHint() const;
    const std::string& BtnCaption() const { return btnCaption_; }
    void SetBtnCaption(const std::string& value);

    int Left() const { return left_; }
    int Top() const { return top_; }
    void SetLeft(int value) { SetPosition(value, top_); }
    void SetTop(int value) { SetPosition(left_, value); }
    void SetPosition(int left, int top);

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // What the button shows: every button is usable in edit mode; otherwise the item's and the bar's
    // Enabled together.
    bool ButtonEnabled() const;

    bool Down() const { return down_; }
    void SetDown(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);

    bool Stored = true; // listed in the stored layout while visible
    int Tag = 0;
    int ImageIndex = -1;
    int Spacing = 4;
    int Margin = -1;
    TButtonLayout Layout = blGlyphLeft;
    // The glyph: a bitmap resource holding NumGlyphs images side by side (normal, then disabled).
    int GlyphResource() const { return glyph_; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetGlyph(int resource, int numGlyphs);

    TNotifyEvent OnClick;

    // A click on the button: a group button toggles, then OnClick runs.
    void Click();

    TSpeedItemButton* Button() const { return button_.get(); }

private:
    friend class TCustomSpeedBar;
    void Look() const;

    TSpeedbarSection* section_;
    std::string name_;
    std::string hint_;
    std::string btnCaption_;
    int left_ = 0, top_ = 0;
    bool visible_ = false;
    bool enabled_ = true;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    int glyph_ = 0;
    int numGlyphs_ = 1;
    std::unique_ptr<TSpeedItemButton> button_;
};

class TSpeedbarSection : public TObject {
public:
    TSpeedbarSection(TCustomSpeedBar& bar, std::string caption);
    ~TSpeedbarSection() override;
    TSpeedbarSection(const TSpeedbarSection&) = delete;
    TSpeedbarSection& operator=(const TSpeedbarSection&) = delete;

    TCustomSpeedBar& Bar() const { return *bar_; }
    int Index() const;
    const std::string& Caption() const { return caption_; }
    // Throws EError "String list does not allow duplicates" when another section has the caption.
    void SetCaption(const std::string& value);

    int Count() const { return static_cast<int>(items_.size()); }
    TSpeedItem& Items(int index) const;

private:
    friend class TCustomSpeedBar;
    friend class TSpeedItem;
    TCustomSpeedBar* bar_;
    std::string caption_;
    std::vector<std::unique_ptr<TSpeedItem>> items_;
};

class TCustomSpeedBar : public TObject {
public:
    TCustomSpeedBar();
    ~TCustomSpeedBar() override;
    TCustomSpeedBar(const TCustomSpeedBar&) = delete;
    TCustomSpeedBar& operator=(const TCustomSpeedBar&) = delete;

    std::string Name;
    int Version = 0;

    // ---- Sections and items -----------------------------------------------------------------------
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    TSpeedbarSection& Sections(int index) const;
    // A caption already in use gets " (n)" appended, with the first n from 1 that is free.
    TSpeedbarSection& AddSection(const std::string& caption);
    // The index of the section with this caption (ignoring case), or -1.
    int SearchSection(const std::string& caption) const;
    // Adds an item as a form does: to the section of that caption; an unknown caption means the first
    // section, and a bar without sections gets one with an empty caption.
    TSpeedItem& AddItem(const std::string& sectionCaption, const std::string& name);
    // The same for a form that names the section by its index: a negative index means the first
    // section, one past the last the last section.
    TSpeedItem& AddItem(int sectionIndex, const std::string& name);
    int ItemsCount() const;
    // Searching sections in order and items in order, ignoring case.
    TSpeedItem* FindItemByName(const std::string& name) const;
    void ForEachItem(const std::function<void(TSpeedItem&)>& action) const;

    // ---- Edge, orientation, options ---------------------------------------------------------------
    TAlign Align() const { return align_; }
    // Throws EError for alNone and alClient while Position is bpAuto.
    void SetAlign(TAlign value);
    TBarPosition Position() const { return position_; }
    void SetPosition(TBarPosition value);
    TBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TBarOrientation value); // with bpCustom; bpAuto takes it from Align
    bool Horizontal() const { return orientation_ == boHorizontal; }
    TSpeedbarOptions Options() const { return options_; }
    void SetOptions(TSpeedbarOptions value);
    TBoundLines BoundLines() const { return boundLines_; }
    void SetBoundLines(TBoundLines value);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    TPanelBevel BevelInner() const { return bevelInner_; }
    int BevelWidth() const { return bevelWidth_; }
    int BorderWidth() const { return borderWidth_; }
    void SetBevel(TPanelBevel outer, TPanelBevel inner, int bevelWidth, int borderWidth);

    // ---- Buttons and grid -------------------------------------------------------------------------
    int BtnWidth() const { return btnWidth_; }
    int BtnHeight() const { return btnHeight_; }
    void SetBtnWidth(int value) { SetButtonSize(value, btnHeight_); }
    void SetBtnHeight(int value) { SetButtonSize(btnWidth_, value); }
    void SetButtonSize(int width, int height);
    int BtnOffsetHorz() const { return offsetHorz_; }
    int BtnOffsetVert() const { return offsetVert_; }
    void SetBtnOffsetHorz(int value);
    void SetBtnOffsetVert(int value);
    // 2 unless buttons are flat, plus the frame's border and bevels.
    int MinOffset() const;
    int GridStepX() const { return gridX_; }
    int GridStepY() const { return gridY_; }
    // The button thickness across the bar.
    int ButtonThickness() const { return Horizontal() ? btnHeight_ : btnWidth_; }
    int Offset() const { return Horizontal() ? offsetVert_ : offsetHorz_; }

    // Snaps the point to the grid and moves the item there; it shows when the snapped point lies in
    // the bar's client area, else it is hidden. Returns whether it ended up visible.
    bool PlaceItemAt(TSpeedItem& item, int x, int y);
    // Scales button size and offsets by m / d, as when the screen's pixels per inch differ.
    void ScaleBy(int m, int d);

    // ---- The bar's place in its parent -------------------------------------------------------------
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The bar's thickness across its length: its height when horizontal, its width when vertical.
    int Thickness() const { return Horizontal() ? height_ : width_; }
    void SetThickness(int value);
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const { return width_; }
    int ClientHeight() const { return height_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // ---- Edit mode --------------------------------------------------------------------------------
    // Attaches a customize window, or with null detaches it; leaving edit mode calls OnCustomize.
    void SetEditMode(TSpeedbarEditor* editor);
    TSpeedbarEditor* EditWindow() const { return editor_; }
    bool InEditMode() const { return editor_ != nullptr; }
    void NotifyEditor(TSpeedbarNotification code, TObject* subject);

    // ---- Stored layout ----------------------------------------------------------------------------
    void SaveLayout(TIniSections& storage, const std::string& section);
    void RestoreLayout(TIniSections& storage, const std::string& section);

    // ---- Form loading -----------------------------------------------------------------------------
    // While loading, an orientation change does not exchange sizes and places.
    void BeginLoading() { loading_ = true; }
    // Computes the grid, sizes every button and shows the visible ones.
    void EndLoading();
    bool Loading() const { return loading_; }

    TApplyAlignEvent OnApplyAlign;
    TNotifyEvent OnPosChanged;
    TNotifyEvent OnCustomize;
    TNotifyEvent OnVisibleChanged;

    // Asks OnApplyAlign about an edge; true when unassigned.
    bool ApplyAlign(TAlign align);

protected:
    // The window layer: each is called after the model has changed.
    virtual std::unique_ptr<TSpeedItemButton> CreateButton(TSpeedItem&) { return nullptr; }
    virtual void BoundsChanged() {}
    virtual void Invalidate() {}
    virtual void VisibleChanged() {}
    // The parent must lay its docked controls out again (edge or thickness changed).
    virtual void RequestRealign() {}
    virtual int ScreenPixelsPerInch() const { return 96; }
    // The pixels per inch of the window the bar sits on; 0 when it sits on none.
    virtual int FormPixelsPerInch() const { return 96; }

    // Destroys the sections and items while the derived bar still exists; a derived destructor calls it.
    void DestroyItems() noexcept;

private:
    friend class TSpeedItem;
    friend class TSpeedbarSection;

    void UpdateOrientation();
    void ExchangeOrientation();
    void UpdateGrid();
    void CheckOffsets();
    void MoveItems(int dx, int dy);
    void ResizeButtons();
    void RaiseOthersInGroup(const TSpeedItem& item);

    std::vector<std::unique_ptr<TSpeedbarSection>> sections_;
    TAlign align_ = alTop;
    TBarPosition position_ = bpAuto;
    TBarOrientation orientation_ = boHorizontal;
    TSpeedbarOptions options_ = sbAllowDrag | sbGrayedBtns;
    TBoundLines boundLines_ = 0;
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    int btnWidth_ = 24, btnHeight_ = 23;
    int offsetHorz_ = 0, offsetVert_ = 0;
    int gridX_ = 8, gridY_ = 23;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool loading_ = false;
    TSpeedbarEditor* editor_ = nullptr;
};

} // namespace nv
