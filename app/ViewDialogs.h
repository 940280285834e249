// The font and print dialogs of the main window. Both keep the last choice between showings.
#pragma once

#include "base/Handles.h"
#include "editor/TextRules.h"

#include <windows.h>

#include <string>

namespace nv {

class TFontDialog {
public:
    // The font shown at first, and the one chosen once Execute answers true; its height in pixels of
    // the DPI below (0: the screen's, which the system's dialog shows sizes at).
    TFont Font;
    int PixelsPerInch = 0;
    // The system font dialog with screen fonts, effects and colours, and no size limits. Cancelling
    // leaves Font as it was.
    bool Execute(HWND owner);
};

class TPrintDialog {
public:
    TPrintDialog() = default;
    TPrintDialog(const TPrintDialog&) = delete;
    TPrintDialog& operator=(const TPrintDialog&) = delete;

    // The system print dialog; true when the user chose to print. With no printer installed the
    // dialog shows its own message and answers false.
    bool Execute(HWND owner);
    // The chosen printer's device context, kept until the next Execute.
    HDC Printer() const noexcept { return printer_.get(); }
    // The job goes to a file: "Print to file" was checked or the printer's port is a file.
    bool PrintToFile() const noexcept { return toFile_; }

private:
    GlobalMemory devMode_;  // the printer and its settings, kept between showings
    GlobalMemory devNames_;
    MemoryDC printer_;
    bool toFile_ = false;
};

} // namespace nv
