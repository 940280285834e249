// TnvStatusBar: the panelled status bar on the native status-bar window. Every panel owns one native
// part and paints its inside itself; the native control draws only the bevels.
//
// Use from a parent window:
//   TnvStatusBar bar;                        // panels may be added before or after CreateWnd
//   bar.CreateWnd(parent, IDC_STATUSBAR);    // bottom of the parent, Height() pixels high (19)
//   TnvStatusPanel& p = bar.Panels().Add();
//   p.SetText("Line:"); p.SetAlignment(taCenter); p.SetWidth(120);
//   p.OnClick = [](TObject* sender) { ... };  // sender is the panel
//   parent's procedure:  if (ReflectToChild(msg, wParam, lParam, result)) return result;
//                        (covers WM_DRAWITEM; or call bar.HandleParentDrawItem(*dis) yourself)
//   parent's WM_SIZE:    bar.Realign(); then lay out the rest above bar.Height() when bar.Visible()
#pragma once

#include "base/Colors.h"
#include "base/Events.h"
#include "base/Handles.h"
#include "base/Subclass.h"
#include "editor/TextRules.h"
#include "statusbar/LockKeys.h"
#include "statusbar/NVKb.h"
#include "statusbar/PanelLayout.h"
#include "statusbar/PanelTypes.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace nv {

class TnvStatusBar;
class TnvStatusPanels;
class TnvStatusPanel;

// Bar level: called before each panel is painted. Panel level: paints an sptOwnerDraw panel.
using TnvDrawPanelEvent = std::function<void(TObject* Sender, TnvStatusPanel* Panel, const RECT& Rect)>;
using TnvPanelHintTextEvent = std::function<void(TObject* Sender, TnvStatusPanel* Panel, std::string& Hint)>;

// The colour a TColor paints with.
COLORREF ColorRefOf(TColor color);
// One line of panel text, vertically centred, no prefix processing, in the DC's current text colour.
void DrawPanelText(HDC dc, RECT rect, const std::string& text, const TextPlacement& placement,
                   UINT extraFormat = 0);

class TnvStatusPanel : public TObject {
    struct Key {
        explicit Key() = default;
    };
    friend class TnvStatusPanels;
    friend class TnvStatusBar;

public:
    // Adds a panel to `collection`, which must be a TnvStatusPanels.
    static TnvStatusPanel& Create(TObject* collection);
    TnvStatusPanel(Key, TnvStatusPanels& collection);
    ~TnvStatusPanel() override;
    TnvStatusPanel(const TnvStatusPanel&) = delete;
    TnvStatusPanel& operator=(const TnvStatusPanel&) = delete;

    TnvStatusPanels& Collection() const { return *collection_; }
    TnvStatusBar& Bar() const;
    int Index() const;

    TnvStatusPanelType PanelType() const { return type_; }
    void SetPanelType(TnvStatusPanelType value);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel value);
    int Width() const { return width_; }
    void SetWidth(int value);
    bool AutoFit() const { return autoFit_; }
    void SetAutoFit(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // The panel's own Enabled and the bar's together.
    bool EffectivelyEnabled() const;
    std::string Hint;

    TnvDrawPanelEvent OnDrawPanel;
    TnvPanelHintTextEvent OnHintText;
    TNotifyEvent OnClick;

    // Copies the stored properties and the events of another panel.
    void Assign(const TnvStatusPanel& source);

private:
    void Fit();
    void Repaint();
    void RenewRegistrations();
    void WithdrawRegistrations() noexcept;

    TnvStatusPanels* collection_;
    TnvStatusPanelType type_ = sptNormal;
    std::string text_;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    int width_ = 50;
    bool autoFit_ = false;
    bool enabled_ = true;
};

class TnvStatusPanels : public TObject {
public:
    explicit TnvStatusPanels(TnvStatusBar& owner) : owner_(owner) {}
    ~TnvStatusPanels() override = default;
    TnvStatusPanels(const TnvStatusPanels&) = delete;
    TnvStatusPanels& operator=(const TnvStatusPanels&) = delete;

    TnvStatusBar& Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws EListError "List index out of bounds (%d)" outside 0..Count()-1.
    TnvStatusPanel& Items(int index) const;
    TnvStatusPanel& operator[](int index) const { return Items(index); }
    int IndexOf(const TnvStatusPanel* panel) const;

    TnvStatusPanel& Add();
    void Delete(int index);
    void Clear();
    // Replaces the panels with copies of another collection's, item by item.
    void Assign(const TnvStatusPanels& source);

    // Inside an update the parts are laid out once, when the outermost update ends; that end also
    // repaints the whole bar.
    void BeginUpdate() { ++updateCount_; }
    bool Updating() const { return updateCount_ > 0; }
    void EndUpdate() noexcept;
    class UpdateScope {
    public:
        explicit UpdateScope(TnvStatusPanels& panels) : panels_(panels) { panels_.BeginUpdate(); }
        ~UpdateScope() { panels_.EndUpdate(); }
        UpdateScope(const UpdateScope&) = delete;
        UpdateScope& operator=(const UpdateScope&) = delete;

    private:
        TnvStatusPanels& panels_;
    };

private:
    void CheckIndex(int index) const;

    TnvStatusBar& owner_;
    std::vector<std::unique_ptr<TnvStatusPanel>> items_;
    int updateCount_ = 0;
};

class TnvStatusBar : public TObject, private ControlSubclass {
public:
    static constexpr int kDefaultHeight = 19;
    // Posted to the bar after the application is activated or deactivated.
    static constexpr UINT kRefreshLockPanelsMessage = WM_APP + 230;
    // Posted by the keyboard hook; wParam is the lock type to repaint, sptNormal for every lock panel.
    static constexpr UINT kRepaintLockPanelsMessage = WM_APP + 231;

    TnvStatusBar();
    ~TnvStatusBar() override;
    TnvStatusBar(const TnvStatusBar&) = delete;
    TnvStatusBar& operator=(const TnvStatusBar&) = delete;

    // Creates the native window as a child at the bottom of `parent`, which receives its WM_DRAWITEM.
    void CreateWnd(HWND parent, int id);
    HWND Handle() const noexcept { return hwnd_; }
    bool HandleAllocated() const noexcept { return hwnd_ != nullptr; }

    // Keeps the bar along the bottom of its parent; call from the parent's WM_SIZE.
    void Realign();
    // The bar's height in pixels; it is set in design pixels, which the bar's DPI scales.
    int Height() const { return height_; }
    void SetHeight(int designPixels);
    // The DPI the bar is laid out for: its height and the margin of fitted panels follow it. Panel
    // widths and the font are the owner's, in pixels of this DPI.
    int PixelsPerInch() const { return dpi_; }
    void SetPixelsPerInch(int dpi);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // Paints whatever is waiting to be painted now.
    void Update();
    // Invalidates the whole bar and paints it now.
    void Repaint();
    void Invalidate();

    // For a parent that does not reflect WM_DRAWITEM: true when the item was this bar's.
    bool HandleParentDrawItem(const DRAWITEMSTRUCT& item);

    // The width a panel needs to show the text whole in the bar's font; 0 when it cannot be measured.
    int FittingWidth(const std::string& text) const;
    TnvStatusPanels& Panels() { return panels_; }
    const TnvStatusPanels& Panels() const { return panels_; }
    void SetPanels(const TnvStatusPanels& value) { panels_.Assign(value); }

    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value) { sizeGrip_ = value; } // a creation style
    // The monitor-library mode is not built: switching it on falls back to off, as it does when the
    // library cannot be loaded.
    bool UseMonitorDLL() const { return false; }
    void SetUseMonitorDLL(bool) {}
    std::string Version() const { return "TnvStatusBar v1.12"; }

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    std::string Hint;

    // Form-style loading: widths of AutoFit panels are accepted and fitting waits for EndLoading.
    void BeginLoading() { loading_ = true; }
    void EndLoading();
    bool Loading() const { return loading_; }

    // The part rectangle of a panel as the native control reports it; empty without a window or part.
    RECT PanelRect(int index) const;
    // The panel at a point in client coordinates, or -1.
    int PanelAtPos(POINT client) const;
    // Paints one panel at once on the bar's own surface. Throws EListError for a bad index.
    void RedrawPanel(int index);
    // The hint for a point in client coordinates and the area it covers; false when there is none.
    bool HintAt(POINT client, std::string& hint, RECT& area);

    TnvDrawPanelEvent OnDrawPanel;
    TNotifyEvent OnClick;

private:
    friend class TnvStatusPanel;
    friend class TnvStatusPanels;
    friend void WatchActivation(TnvStatusBar& bar, TnvStatusPanel& panel);
    friend void UnwatchActivation(TnvStatusBar& bar, TnvStatusPanel& panel) noexcept;

    void LayoutParts();
    void RefreshMeasuringFont();
    void FitAll();
    int MeasureText(const std::string& text) const;
    void PaintPanel(TnvStatusPanel& panel, HDC dc);
    void DrawContent(TnvStatusPanel& panel, HDC dc, RECT rect);
    void Click();
    void SyncActivationWatch() noexcept;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnControlDestroyed(HWND control) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnSize();
    void OnLeftButtonDown();
    void OnLeftButtonUp(LPARAM lParam);
    LRESULT Call(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(hwnd_, msg, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
    int designHeight_ = kDefaultHeight;
    int dpi_ = kDesignDpi;
    int height_ = kDefaultHeight;
    bool visible_ = true;
    bool simplePanel_ = false;
    bool sizeGrip_ = true;
    TColor color_ = clBtnFace;
    TFont font_;
    bool enabled_ = true;
    bool loading_ = false;
    bool destroying_ = false;
    bool pressed_ = false;
    bool layoutPending_ = false;
    std::vector<WPARAM> partStyles_; // what each native part was last given

    // Measures panel texts with the same font copy that paints them, so widths agree.
    MemoryDC measureDC_;
    GdiObject fontCopy_;
    HGDIOBJ replacedFont_ = nullptr;

    RegistrationList<TnvStatusPanel> activationPanels_;
    ActivationWatch activationWatch_;
    TnvStatusPanels panels_{*this};
};

} // namespace nv
