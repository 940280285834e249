// TAbout: the About box. Made for one showing and freed when it closes: the program's name and
// version, the author's name and address, and two link labels, the author's e-mail and web site.
#pragma once

#include "base/Events.h"
#include "base/Handles.h"
#include "widgets/FormDesign.h"
#include "widgets/NvLabel.h"
#include "widgets/ShellLaunch.h"
#include "widgets/urllabel.h"

#include <windows.h>

namespace nv {

class TAbout : public TObject {
public:
    TAbout() = default;
    TAbout(const TAbout&) = delete;
    TAbout& operator=(const TAbout&) = delete;

    // Shows the box modally over `owner`, laid out for `dpi` (0: the owner's), until OK, Enter, Esc or
    // the close button; answers the modal result, 2 (Cancel) however it closed.
    int ShowModal(HWND owner, int dpi = 0);
    // The box's window while it shows.
    HWND Handle() const noexcept { return hwnd_; }
    // The DPI the box is laid out for; WM_DPICHANGED lays it out again.
    int PixelsPerInch() const noexcept { return dpi_; }
    // The picture as shown, at the box's DPI.
    HBITMAP Picture() const noexcept { return static_cast<HBITMAP>(picture_.get()); }

    TNvLabel NvLabel1;
    TURLLabel URLLabel1; // the author's e-mail address
    TURLLabel URLLabel2; // the author's web site
    // Where the links go; both labels get it when the box opens.
    TShellExecute ShellOpen = ShellExecuteCall;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND dialog);
    // Fonts, picture and places at the box's DPI; the box keeps its place unless `centre`.
    void Layout(bool centre);
    void PlaceControls(const TFormDesign& design);

    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    GdiObject picture_;
    TFormFont font_;
};

// The box while it shows, else none.
extern TAbout* About;

} // namespace nv
