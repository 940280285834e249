#include "app/ViewDialogs.h"

#include "base/Platform.h"
#include "statusbar/nvStatusBar.h"
#include "widgets/Fonts.h"

#include <commdlg.h>

namespace nv {

bool TFontDialog::Execute(HWND owner) {
    const int screen = ScreenPixelsPerInch(), dpi = PixelsPerInch > 0 ? PixelsPerInch : screen;
    LOGFONTA logFont = LogFontOf(Font);
    logFont.lfHeight = ::MulDiv(logFont.lfHeight, screen, dpi);
    CHOOSEFONTA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpLogFont = &logFont;
    request.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS;
    request.rgbColors = ColorRefOf(Font.Color);
    if (!::ChooseFontA(&request)) return false;
    // A system colour the user left alone stays the system colour, so it keeps following the system.
    const TColor chosen = static_cast<TColor>(request.rgbColors & 0xFFFFFF);
    const bool systemKept =
        (Font.Color & clSystemColor) == clSystemColor && request.rgbColors == ColorRefOf(Font.Color);
    TFont font = FontOf(logFont, systemKept ? Font.Color : chosen);
    font.Height = request.iPointSize > 0 ? -::MulDiv(request.iPointSize, dpi, 720) : ::MulDiv(font.Height, dpi, screen);
    Font = font;
    return true;
}

bool TPrintDialog::Execute(HWND owner) {
    PRINTDLGA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hDevMode = devMode_.release();
    request.hDevNames = devNames_.release();
    request.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = ::PrintDlgA(&request);
    // The dialog may have replaced the settings' blocks; whatever it hands back is ours.
    devMode_.reset(request.hDevMode);
    devNames_.reset(request.hDevNames);
    printer_.reset(chosen ? request.hDC : nullptr);
    if (!chosen) {
        if (request.hDC) ::DeleteDC(request.hDC);
        return false;
    }
    toFile_ = (request.Flags & PD_PRINTTOFILE) != 0;
    if (GlobalLock names{devNames_.get()}; names.data()) {
        const auto* header = static_cast<const DEVNAMES*>(names.data());
        const char* port = static_cast<const char*>(names.data()) + header->wOutputOffset;
        if (lstrcmpiA(port, "FILE:") == 0) toFile_ = true;
    }
    return static_cast<bool>(printer_);
}

} // namespace nv
