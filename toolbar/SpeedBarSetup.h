// TSpeedbarSetupWindow: the toolbar's customize window. It lists the bar's sections and, for the
// chosen one, every button with its picture; a button is put on the bar by dragging its picture
// there, and taken off by dragging it off the bar. While it is open the bar is in edit mode.
//
// Opened through TSpeedBar::Customize; one window per bar, closed and freed when the user closes it.
#pragma once

#include "base/DpiRules.h"
#include "base/Handles.h"
#include "base/Subclass.h"
#include "base/Window.h"
#include "toolbar/SpeedBar.h"

#include <memory>
#include <string>
#include <vector>

namespace nv {

class TSpeedbarSetupWindow : public WindowBase, public TSpeedbarEditor, public TObject {
public:
    // Laid out for `dpi`, the DPI of the bar it is opened for.
    TSpeedbarSetupWindow(HWND owner, int dpi);
    ~TSpeedbarSetupWindow() override;

    // The open window attached to `bar`, or null.
    static TSpeedbarSetupWindow* FindFor(const TSpeedBar* bar);
    // A new window over `owner`, kept by the program until it is closed.
    static TSpeedbarSetupWindow& CreateNew(HWND owner, int dpi);

    TSpeedBar* SpeedBar() const { return bar_; }
    // Detaches from the bar it serves (which leaves edit mode) and attaches to `bar`.
    void SetSpeedBar(TSpeedBar* bar);
    int HelpContext = 0;
    // Shows the window without making it modal; the help button only with a help context.
    void ShowWindowFor();

    // The hint of the button chosen in the list, as the window's status text.
    const std::string& HintText() const { return hint_; }

    HWND SectionList() const { return sectionList_; }
    HWND ButtonsList() const { return buttonsList_; }
    HWND CloseBtn() const { return closeBtn_; }
    HWND HelpBtn() const { return helpBtn_; }
    // The DPI the window is laid out for.
    int PixelsPerInch() const { return ppi_; }
    // The item a row of the buttons list stands for, or null.
    TSpeedItem* ItemAtRow(int row) const;
    int SelectedCategory() const;
    bool Dragging() const { return dragging_; }

    void BarNotify(TSpeedbarNotification code, TObject* subject) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    class ListSubclass;
    friend class ListSubclass;

    void CreateControls();
    // Places the controls and sets their font at the window's DPI.
    void PlaceControls();
    SIZE FrameSize(int dpi) const;
    int Scaled(int designPixels) const { return DpiScaled(designPixels, ppi_); }
    void OnDpiChanged(int dpi, LPARAM suggested);
    void SizeLists();
    void Fill(int category);
    void FillButtons(int category);
    void UpdateHint();
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    void OnCommand(int id, int code);
    void OnPaint();
    void OnDestroy();
    void KeepOnTop();
    void MoveFocus(HWND from, bool backwards);
    // Alt and a letter: true when the letter is the access key of a label or button.
    bool OnAccessKey(char key);

    // Dragging a picture from the buttons list; true when the message was taken.
    bool ListMouseDown(POINT at);
    void ListMouseMove(POINT at);
    void ListMouseUp(POINT at);
    void CancelListDrag();

    TSpeedBar* bar_ = nullptr;
    HWND sectionList_ = nullptr, buttonsList_ = nullptr, closeBtn_ = nullptr, helpBtn_ = nullptr;
    GdiObject font_;
    int ppi_ = 96;
    std::string hint_;
    std::vector<std::unique_ptr<ListSubclass>> subclasses_;
    bool dragging_ = false;
    TSpeedItem* dragItem_ = nullptr;
    std::unique_ptr<TBtnControl> copy_;
};

} // namespace nv
