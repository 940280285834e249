// Printing the text field: the control renders the pages where it can; where it cannot (Wine's
// control answers no progress and draws nothing), the field lays out and draws its plain text itself.
#include "editor/NvRichEd.h"

#include "base/Errors.h"
#include "base/Platform.h"
#include "base/Unicode.h"
#include "editor/PrintLayout.h"
#include "editor/RichEditLibrary.h"

#include <richedit.h>

#include <algorithm>

namespace nv {

namespace {

// Restores the printer's state and the control's formatting cache on every way out of PrintText.
class PrintCleanup {
  public:
    PrintCleanup(HWND control, HDC printer) : control_(control), printer_(printer) {
        oldMapMode_ = ::SetMapMode(printer, MM_TEXT);
        ::SendMessageA(control_, EM_FORMATRANGE, 0, 0);
    }
    ~PrintCleanup() {
        ::SendMessageA(control_, EM_FORMATRANGE, 0, 0);
        if (oldMapMode_) ::SetMapMode(printer_, oldMapMode_);
    }
    PrintCleanup(const PrintCleanup&) = delete;
    PrintCleanup& operator=(const PrintCleanup&) = delete;

  private:
    HWND control_;
    HDC printer_;
    int oldMapMode_ = 0;
};

// A started print job that is aborted unless it was ended.
class PrintJob {
  public:
    PrintJob(HDC printer, const DOCINFOW& document) : printer_(printer) {
        if (::StartDocW(printer, &document) <= 0) throw EError("Printing failed");
    }
    ~PrintJob() {
        if (printer_) ::AbortDoc(printer_);
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    void End() {
        ::EndDoc(printer_);
        printer_ = nullptr;
    }

  private:
    HDC printer_;
};

// The field's font as the printer draws it: the same face, size in points, style and character set.
GdiObject PrinterFont(HDC printer, const TFont& font, int fontDpi) {
    const CharFormatSpec wanted = MakeCharFormatSpec(font, fontDpi, [](TColor) { return 0u; });
    LOGFONTA log{};
    log.lfHeight =
        -::MulDiv(static_cast<int>(wanted.TwentiethsOfPoint), ::GetDeviceCaps(printer, LOGPIXELSY), 1440);
    log.lfWeight = static_cast<LONG>(wanted.Weight);
    log.lfItalic = wanted.Italic;
    log.lfUnderline = wanted.Underline;
    log.lfStrikeOut = wanted.StrikeOut;
    log.lfCharSet = wanted.Charset;
    log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    log.lfQuality = DEFAULT_QUALITY;
    log.lfPitchAndFamily = wanted.Pitch;
    lstrcpynA(log.lfFaceName, wanted.FaceName.c_str(), LF_FACESIZE);
    return GdiObject(::CreateFontIndirectA(&log));
}

// Ink on paper: the automatic colour (the screen's window-text colour) prints black.
COLORREF PrinterTextColor(const TFont& font) {
    if ((font.Color & clSystemColor) == clSystemColor) return RGB(0, 0, 0);
    return static_cast<COLORREF>(font.Color) & 0xFFFFFF;
}

} // namespace

int TNvRichEdit::PrintText(const std::string& title, const PrintTarget& target) {
    if (!hwnd_ || !target.Printer) return 0;
    HDC printer = target.Printer;
    // Names, in UTF-8 as all of them.
    const std::wstring documentName = Wide(title), outputFile = Wide(target.OutputFile);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();
    document.lpszOutput = outputFile.empty() ? nullptr : outputFile.c_str();

    const int pixelsWide = ::GetDeviceCaps(printer, HORZRES), pixelsHigh = ::GetDeviceCaps(printer, VERTRES);
    const TwipsRect page = PageRectTwips(pixelsWide, pixelsHigh, ::GetDeviceCaps(printer, LOGPIXELSX),
                                         ::GetDeviceCaps(printer, LOGPIXELSY));
    long length = 0;
    if (RichEditVersion() >= 2) {
        GETTEXTLENGTHEX request{GTL_DEFAULT, CP_ACP};
        length = static_cast<long>(Call(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request)));
    } else {
        length = static_cast<long>(Call(WM_GETTEXTLENGTH));
    }

    PrintCleanup cleanup(hwnd_, printer);
    PrintJob job(printer, document);
    FORMATRANGE range{};
    range.hdc = printer;
    range.hdcTarget = printer;
    range.rc = RECT{page.left, page.top, page.right, page.bottom};
    range.rcPage = range.rc;
    ::StartPage(printer);
    const int pages = PrintPages(
        length,
        [&](long start) {
            range.chrg.cpMin = start;
            range.chrg.cpMax = length;
            return static_cast<long>(Call(EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
        },
        [&] {
            ::EndPage(printer);
            ::StartPage(printer);
        },
        [&](long start) {
            return PrintPlainText(printer, RECT{0, 0, pixelsWide, pixelsHigh}, start, length);
        });
    ::EndPage(printer);
    job.End();
    return pages;
}

// Draws the text from `start` on, line by line inside `area` (device pixels), beginning on the page
// that is open; answers how many further pages it started.
int TNvRichEdit::PrintPlainText(HDC printer, const RECT& area, long start, long length) {
    const std::string text = ExpandTabs(TextRange(start, length));
    GdiObject font = PrinterFont(printer, font_, PixelsPerInch());
    if (!font) throw EError("Printing failed");
    auto prepare = [&] {
        // A new page may come with the device context's defaults again.
        ::SelectObject(printer, font.get());
        ::SetTextColor(printer, PrinterTextColor(font_));
        ::SetBkMode(printer, TRANSPARENT);
        ::SetTextAlign(printer, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    };
    SelectedObject selected(printer, font.get()); // the printer lets go of the font before it is deleted
    prepare();
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(printer, &metrics);
    const long lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    TPrintLayout layout(text, area.right - area.left, area.bottom - area.top, lineHeight,
                        [printer](std::string_view piece, long width) {
                            INT fitting = 0;
                            SIZE size{};
                            ::GetTextExtentExPointA(printer, piece.data(), static_cast<int>(piece.size()),
                                                    static_cast<int>(width), &fitting, nullptr, &size);
                            return static_cast<size_t>(std::max(0, fitting));
                        });
    int page = 0;
    TPrintedLine line;
    while (layout.Next(line)) {
        if (line.Page != page) {
            ::EndPage(printer);
            ::StartPage(printer);
            prepare();
            page = line.Page;
        }
        if (!line.Text.empty()) {
            ::TextOutA(printer, area.left, area.top + line.Top, line.Text.data(),
                       static_cast<int>(line.Text.size()));
        }
    }
    return page;
}

} // namespace nv
