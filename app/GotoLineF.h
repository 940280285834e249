// TGotoLine: the goto-line window. A small window above the main window that does not block it:
// the user types a line number into LineNr, Enter moves the text field's caret to the start of that
// line and hides the window, Escape hides it. Made on first use, hidden rather than closed, and
// released by the main window's close handling.
#pragma once

#include "base/Events.h"
#include "base/Subclass.h"
#include "editor/NvRichEd.h"
#include "widgets/FormDesign.h"

#include <windows.h>

#include <string>

namespace nv {

class TGotoLine : public TObject, private ControlSubclass {
public:
    // Makes the (hidden) window, owned by `owner`, for the text field `field`, laid out for `dpi`
    // (0: the owner's). Throws EError when the window cannot be made.
    TGotoLine(HWND owner, TNvRichEdit& field, int dpi = 0);
    ~TGotoLine() override;
    TGotoLine(const TGotoLine&) = delete;
    TGotoLine& operator=(const TGotoLine&) = delete;

    HWND Handle() const noexcept { return hwnd_; }
    HWND LineNr() const noexcept { return lineNr_; }
    // The DPI the window is laid out for; WM_DPICHANGED lays it out again.
    int PixelsPerInch() const noexcept { return dpi_; }

    // Shows the window without waiting for it, with the number entered last time all selected, so
    // that typing replaces it. Throws EError when the window is gone.
    void Show();
    void Hide();

    void LineNrKeyPress(TObject* Sender, char& Key);
    void LineNrKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void PlaceControls(const TFormDesign& design);
    void OnDpiChanged(int dpi, LPARAM suggested);
    void Release() noexcept;
    std::string LineNrText() const;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnControlDestroyed(HWND control) override;

    TNvRichEdit& field_;
    HWND hwnd_ = nullptr;
    HWND lineNr_ = nullptr;
    int dpi_ = 96;
    TFormFont font_;
};

} // namespace nv
