// The status panels that describe the text: character code, position and size.
#include "app/MainF.h"
#include "app/StatusText.h"
#include "base/Dpi.h"
#include "widgets/Fonts.h"

#include <windows.h>

#include <algorithm>

namespace nv {

namespace {
constexpr int kStatusBarId = 101;
constexpr int kPositionPanelWidth = 120;

// The user's thousands separator, no decimals.
std::string FormatCount(unsigned long long count) {
    char separator[8] = ",";
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator);
    char decimal[8] = ".";
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    NUMBERFMTA format{};
    format.NumDigits = 0;
    format.LeadingZero = 1; // without it Wine formats zero as an empty string
    format.Grouping = 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = separator;
    format.NegativeOrder = 1;
    const std::string digits = std::to_string(count);
    char formatted[64] = {};
    if (::GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, formatted, sizeof formatted) > 0) {
        return formatted;
    }
    return GroupThousands(count, separator);
}


struct PanelDesign {
    const char* text;
    TAlignment alignment;
    int width; // at 96 DPI
    TnvStatusPanelType type;
    void (TForm1::*click)(TObject*);
};
const PanelDesign kPanels[] = {
    {" UnChanged", taLeftJustify, 70, sptNormal, nullptr},
    {"ASCII", taCenter, 50, sptNormal, &TForm1::StatusBarPanels1Click},
    {"Line:", taCenter, kPositionPanelWidth, sptNormal, &TForm1::StatusBarPanels2Click},
    // Its longest text is cut at its end, with an ellipsis, where the window is too narrow for it.
    {"0 Bytes", taRightJustify, 205, sptEllipsisText, &TForm1::StatusBarPanels3Click},
    {" NUM ", taLeftJustify, 34, sptNumLock, nullptr},
    {" CAPS ", taLeftJustify, 38, sptCapsLock, nullptr},
};

TFont StatusBarFont() {
    TFont font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    return font;
}
} // namespace

void TForm1::CreateStatusBar() {
    StatusBar.SetPixelsPerInch(dpi_);
    StatusBar.CreateWnd(Handle(), kStatusBarId);
    StatusBar.SetFont(FontAtDpi(StatusBarFont(), dpi_));
    StatusBar.Panels().BeginUpdate();
    for (const PanelDesign& design : kPanels) {
        TnvStatusPanel& panel = StatusBar.Panels().Add();
        panel.SetText(design.text);
        panel.SetAlignment(design.alignment);
        panel.SetWidth(Scaled(design.width));
        panel.SetPanelType(design.type);
        if (design.type == sptNumLock || design.type == sptCapsLock) panel.SetAutoFit(true);
        if (design.click) {
            auto click = design.click;
            panel.OnClick = [this, click](TObject* sender) { (this->*click)(sender); };
        }
    }
    StatusBar.Panels().EndUpdate();
    positionWidth_ = Scaled(kPositionPanelWidth);
}

void TForm1::ScaleStatusBar() {
    StatusBar.SetPixelsPerInch(dpi_);
    StatusBar.SetFont(FontAtDpi(StatusBarFont(), dpi_)); // the lock panels fit themselves again
    for (int i = 0; i < 2; ++i) StatusBar.Panels()[i].SetWidth(Scaled(kPanels[i].width));
    // The position panel is fitted anew, and the size panel takes what is left.
    positionFittedTo_ = 0;
    positionWidth_ = Scaled(kPositionPanelWidth);
    FitPositionPanel();
    FormResize(this);
}

std::string TForm1::PanelText(int index) const { return StatusBar.Panels()[index].Text(); }

void TForm1::SetPanelText(int index, const std::string& text) {
    // While the caret panels are frozen the size panel's room follows both texts: laid out before the
    // new text is drawn.
    if ((index == 2 || index == 3) && (!SizeCalcEnabled || StatusBar.Panels()[2].Width() != positionWidth_)) {
        LayOutStatusPanels(index == 2 ? text : PanelText(2), index == 3 ? text : PanelText(3));
    }
    StatusBar.Panels()[index].SetText(text);
}

// The size panel takes what the others leave of the bar, so NUM and CAPS stay whole beside the size
// grip whatever the window's width and the system's fonts. While the caret panels are frozen, the
// position panel shows "Pos:" or the one position a click asked for: it gives the size panel what that
// one's text needs, down to the width of its own text, so the frozen size text is whole at the
// window's design width.
void TForm1::LayOutStatusPanels(const std::string& positionText, const std::string& sizeText) {
    if (!StatusBar.Handle()) return;
    TnvStatusPanels& panels = StatusBar.Panels();
    const int last = panels.Count() - 1;
    RECT bar{};
    ::GetClientRect(StatusBar.Handle(), &bar);
    // The bar keeps gaps between its parts: they come off the room too, as the bar has placed them.
    int before = 0;
    for (int i = 0; i < last; ++i) before += panels[i].Width();
    const int gaps = std::max(0, static_cast<int>(StatusBar.PanelRect(last).left) - before);
    int room = static_cast<int>(bar.right - bar.left) - (MetricForDpi(SM_CXVSCROLL, dpi_) + Scaled(1)) - gaps;
    for (int i = 0; i <= last; ++i) {
        if (i != 2 && i != 3) room -= panels[i].Width();
    }
    int position = positionWidth_;
    int size = std::max(0, room - position);
    if (!SizeCalcEnabled) {
        const int least = std::min(position, StatusBar.FittingWidth(positionText));
        const int given = std::clamp(StatusBar.FittingWidth(sizeText) - size, 0, position - least);
        position -= given;
        size += given;
    }
    if (panels[2].Width() != position) panels[2].SetWidth(position);
    if (panels[3].Width() != size) panels[3].SetWidth(size);
}

// The code of the character at the caret and the position text, read from the control around the
// caret alone: a caret move never reads the whole text.
bool TForm1::CaretValues(unsigned char& code, std::string& position) const {
    const long length = TextField.TextLength();
    if (length <= 0) return false;
    const long caret = TextField.SelectionStart();
    const long line = TextField.LineOfPosition(caret);
    const long lineStart = TextField.LineStart(line);
    const std::string atCaret = caret < length ? TextField.TextRange(caret, caret + 1) : std::string();
    code = atCaret.empty() ? 0 : static_cast<unsigned char>(atCaret[0]);
    position = PositionText(caret, caret - lineStart, line + 1);
    return true;
}

void TForm1::TextFieldSelectionChange(TObject* Sender) { Report(PendingReports::kSelection, Sender); }

namespace {
// A key already in the queue (typed or repeating) will report again before a user could read this one.
// Key-ups are not counted: they change nothing, so nothing would show what waited for them.
bool KeysWaiting() {
    MSG msg;
    for (UINT message : {WM_KEYDOWN, WM_CHAR, WM_SYSKEYDOWN, WM_SYSCHAR})
        if (::PeekMessageA(&msg, nullptr, message, message, PM_NOREMOVE | PM_NOYIELD)) return true;
    return false;
}
} // namespace

void TForm1::Report(unsigned reports, TObject* sender) {
    if (reports_.Note(reports, sender && KeysWaiting()) || !sender) {
        ShowReports();
        return;
    }
    if (!reportTimer_) reportTimer_ = ::SetTimer(Handle(), kReportTimerId, PendingReports::kFallbackDelay, nullptr) != 0;
    if (!reportTimer_) ShowReports(); // no timer to show them later: shown now
}

void TForm1::ShowReports() {
    if (reportTimer_) {
        ::KillTimer(Handle(), kReportTimerId);
        reportTimer_ = false;
    }
    const unsigned reports = reports_.Take();
    if (reports & PendingReports::kText) {
        ShowModifiedState();
        ShowUndoState();
        if (StatusBar.Visible()) ShowTextSize();
    }
    if (!(reports & PendingReports::kSelection)) return;
    const SelectionShown now = CurrentSelection();
    // A selection report alone has nothing to show when all the panels depend on is as last shown,
    // and no caret panel to refresh when only the selection's length changed (Shift with a key, a
    // drag): they show where the selection starts, and each reading of it walks the whole text.
    // Wrapped lines are the exception: a resize or a font moves the start to another displayed line.
    const bool selectionOnly = reports == PendingReports::kSelection;
    if (selectionOnly && now == selectionShown_) return;
    const bool startAsShown = selectionOnly && now.live && !now.wrapped && now.StartsAs(selectionShown_);
    ShowSelectionState(now, startAsShown);
}

TForm1::SelectionShown TForm1::CurrentSelection() const {
    RECT field{};
    const bool wrapped = TextField.WordWrap();
    if (wrapped && TextField.Handle()) ::GetClientRect(TextField.Handle(), &field);
    return {TextField.Handle(), TextField.SelectionStart(), TextField.SelectionLength(), TextField.TextLength(),
            textChanges_,       SizeCalcEnabled,            StatusBar.Visible(),
            wrapped,            static_cast<int>(field.right - field.left)};
}

void TForm1::ShowSelectionState(const SelectionShown& now, bool caretPanelsCurrent) {
    selectionShown_ = now;
    if (caretPanelsCurrent) {
        ++caretPanelsKept_;
    } else if (StatusBar.Visible()) {
        unsigned char code = 0;
        std::string position;
        if (SizeCalcEnabled && CaretValues(code, position)) {
            SetPanelText(1, CharCodeText(code));
            SetPanelText(2, position);
        } else {
            SetPanelText(1, "ASCII");
            SetPanelText(2, "Pos:");
        }
    }
    UpdateCutCopy();
}

std::string TForm1::SizeText() {
    if (!SizeCalcEnabled) return kSizeDisabledText;
    const unsigned long start = TickCount();
    SetPanelText(3, kCalculatingText);
    // The panel draws its new text at once; flushing what else is pending shows the bar current
    // without repainting every panel on each keystroke.
    StatusBar.Update();
    // Line breaks count two, as they are saved.
    const std::string text = SizeTextFor(FormatCount(static_cast<unsigned long long>(TextField.TextLengthAsCrLf())));
    if (TookTooLong(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(TickCount()))) {
        SizeCalcEnabled = false;
    }
    return text;
}

void TForm1::ShowTextSize() {
    FitPositionPanel();
    SetPanelText(3, SizeText());
}

// No position in this text has more digits than its length, nor its line count more than the line
// count: the panel is refitted only when their digits change, so typing measures nothing.
void TForm1::FitPositionPanel() {
    const long length = TextField.TextLength();
    const std::string widest = PositionText(length, length, TextField.LineCount());
    if (widest.size() == positionFittedTo_) return;
    positionFittedTo_ = widest.size();
    const int width = std::max(Scaled(kPositionPanelWidth), StatusBar.FittingWidth(widest));
    if (width == positionWidth_) return;
    positionWidth_ = width;
    FormResize(this); // the size panel takes what is left
}

void TForm1::StatusBarPanels1Click(TObject*) {
    SetPanelText(1, kCalculatingText);
    StatusBar.Repaint();
    unsigned char code = 0;
    std::string position;
    SetPanelText(1, CaretValues(code, position) ? CharCodeText(code) : "ASCII");
}

void TForm1::StatusBarPanels2Click(TObject*) {
    SetPanelText(2, kCalculatingText);
    StatusBar.Repaint();
    unsigned char code = 0;
    std::string position;
    SetPanelText(2, CaretValues(code, position) ? position : "Line:");
}

void TForm1::StatusBarPanels3Click(TObject*) {
    SetPanelText(3, kCalculatingText);
    StatusBar.Repaint();
    SizeCalcEnabled = true;
    SetPanelText(3, SizeText());
}

} // namespace nv
