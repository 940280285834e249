// Goto line, auto-indent and the ASCII chart: moving the caret by line number, copying the line
// above's indentation to a new line, and inserting characters chosen from the chart.
#include "app/GotoLineF.h"
#include "app/MainF.h"
#include "app/NavigateRules.h"
#include "app/Texts.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "forms/resource.h"

#include <algorithm>

namespace nv {

namespace {
constexpr int kChartWidth = 130;
} // namespace

void TForm1::BindNavigateCommands() {
    Bind(IDM_GOTOLINE, &TForm1::Gotoline1Click);
    Bind(IDM_AUTOINTEND, &TForm1::Autointend1Click);
    Bind(IDM_VIEWASCII, &TForm1::View1Click);
    TextField.OnKeyUp = [this](TObject* sender, WORD& key, TShiftState shift) { TextFieldKeyUp(sender, key, shift); };
}

// ---- Goto line -----------------------------------------------------------------------------------

void TForm1::Gotoline1Click(TObject*) {
    try {
        if (!GotoLineWindow) GotoLineWindow = std::make_unique<TGotoLine>(Handle(), TextField, dpi_);
        GotoLineWindow->Show();
    } catch (const EError&) {
        GotoLineWindow.reset(); // the next Goto line makes a new window
        Ask(Handle(), Format(LoadText(IDS_GOTOLINEFAILED).c_str(), LoadText(IDS_AUTHORWEB)),
            MB_OK | MB_ICONWARNING);
    }
}

// ---- Auto-indent ---------------------------------------------------------------------------------

void TForm1::Autointend1Click(TObject*) { SetChecked(IDM_AUTOINTEND, !Checked(IDM_AUTOINTEND)); }

void TForm1::TextFieldKeyUp(TObject*, WORD& Key, TShiftState) {
    if (Key != VK_RETURN || !Checked(IDM_AUTOINTEND)) return;
    // The caret stands at the start of the new line; the line above is the displayed one. An Enter that
    // made no line break (one the control refused, or a wrapped row) indents nothing.
    const long caret = TextField.SelectionStart();
    const std::string before = TextField.TextRange(caret - 1, caret);
    if (before.empty() || (before[0] != '\r' && before[0] != '\n')) return;
    const long above = TextField.LineStart(TextField.LineOfPosition(caret) - 1);
    TextField.MoveCaret(above);
    TextField.SetSelectionLength(TextField.LineLength(above));
    const std::string line = TextField.SelectedText();
    const size_t indent = IndentLength(line);
    TextField.MoveCaret(caret);
    if (indent == 0) {
        TextField.ScrollToCaret(); // the look at the line above may have scrolled away
        return;
    }
    // One undoable step of its own: undo takes the indentation away and leaves the line break.
    TextField.ReplaceSelection(line.substr(0, indent));
    TextField.MoveCaret(TextField.SelectionStart() + TextField.SelectionLength());
}

// ---- ASCII chart ---------------------------------------------------------------------------------

void TForm1::CreateASCIIChart() {
    ListView1.SetPixelsPerInch(dpi_);
    ListView1.SetWidth(kChartWidth); // the list scales its design
    ListView1.CreateWnd(Handle(), IDC_LISTVIEW1);
    TFont font;
    font.Name = "MS Sans Serif";
    font.Height = -13;
    font.Style = fsBold;
    ListView1.SetFont(font);
    ListView1.AddColumn("", 0, taLeftJustify); // the row's caption, hidden
    ListView1.AddColumn("Ansi", 55, taCenter);
    ListView1.AddColumn("ASCII", 55, taCenter);
    ListView1.OnDblClick = [this](TObject* sender) { ListView1DblClick(sender); };
    ListView1.OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) {
        ListView1KeyDown(sender, key, shift);
    };
}

void TForm1::FillASCIIChart() {
    ::SendMessageA(ListView1.Handle(), WM_SETREDRAW, FALSE, 0);
    for (int code = 0; code < kChartRows; ++code) {
        const std::string character(1, static_cast<char>(code));
        ListView1.AddItem(character, {character, std::to_string(code)});
    }
    ::SendMessageA(ListView1.Handle(), WM_SETREDRAW, TRUE, 0);
}

void TForm1::AlignASCIIChart(RECT& area) {
    if (!ListView1.Visible()) return;
    const int width = std::clamp(ListView1.Width(), 0, static_cast<int>(area.right - area.left));
    ListView1.SetBounds(RECT{area.right - width, area.top, area.right, area.bottom});
    area.right -= width;
}

void TForm1::View1Click(TObject*) {
    SetASCIIChartVisible(!ASCIIChartVisible());
    if (ASCIIChartVisible()) {
        ListView1.SetFocus();
    } else {
        TextField.TakeFocus();
    }
}

void TForm1::ListView1DblClick(TObject*) {
    // The zero character would end the text where it stands: its row inserts nothing.
    const int row = ListView1.Selected();
    if (!ChartRowInserts(row)) return;
    // Through the field, as typing would: undoable, and no reading of the whole text.
    const long start = TextField.SelectionStart();
    TextField.ReplaceSelection(std::string(1, static_cast<char>(row)));
    TextField.MoveCaret(start + 1);
}

void TForm1::ListView1KeyDown(TObject* Sender, WORD& Key, TShiftState) {
    switch (Key) {
    case VK_RETURN: ListView1DblClick(Sender); break;
    case VK_ESCAPE: TextField.TakeFocus(); break;
    // The field keeps the caret inside the text at either end.
    case VK_LEFT: TextField.MoveCaret(TextField.SelectionStart() - 1); break;
    case VK_RIGHT: TextField.MoveCaret(TextField.SelectionStart() + 1); break;
    default: break;
    }
}

} // namespace nv
