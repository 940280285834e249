// TAbout: the About box. Made for one showing and freed when it closes: the program's name and
// version, the author's name and address, and two link labels, the author's e-mail and web site.
#pragma once

#include "base/Events.h"
#include "base/Handles.h"
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

    // Shows the box modally over `owner` until OK, Enter, Esc or the close button; answers the
    // modal result, 2 (Cancel) however it closed.
    int ShowModal(HWND owner);
    // The box's window while it shows.
    HWND Handle() const noexcept { return hwnd_; }

    TNvLabel NvLabel1;
    TURLLabel URLLabel1; // the author's e-mail address
    TURLLabel URLLabel2; // the author's web site
    // Where the links go; both labels get it when the box opens.
    TShellExecute ShellOpen = ShellExecuteCall;

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND dialog);
    void PlaceControls();

    HWND hwnd_ = nullptr;
    GdiObject picture_;
};

// The box while it shows, else none.
extern TAbout* About;

} // namespace nv
