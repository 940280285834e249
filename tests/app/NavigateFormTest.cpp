// Goto line, auto-indent and the ASCII chart in the real window, with keys handed out as the
// program's message loop hands them out.
#include "app/GotoLineF.h"
#include "base/Handles.h"
#include "tests/app/FormFixture.h"

#include <commctrl.h>
#include <richedit.h>

namespace nv::test {
namespace {

class Navigate : public FormTest {
protected:
    void OpenText(const std::string& text) {
        WriteFileBytes(dir.File("doc.txt"), text);
        Open(dir.File("doc.txt"));
    }
    void Select(long start, long length) {
        form->TextField.MoveCaret(start);
        form->TextField.SetSelectionLength(length);
    }
    long Caret() const { return form->TextField.SelectionStart(); }
    long Right(HWND control) const {
        RECT r{};
        ::GetWindowRect(control, &r);
        ::MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r.right;
    }
    HWND LineNr() const { return form->GotoLineWindow ? form->GotoLineWindow->LineNr() : nullptr; }
    bool GotoShowing() const { return form->GotoLineWindow && ::IsWindowVisible(form->GotoLineWindow->Handle()); }
    void Post(HWND target, UINT msg, WPARAM key) {
        ::PostMessageA(target, msg, key, msg == WM_KEYUP ? 0xC0000001 : 1);
        PumpLikeProgram();
    }
    void Press(HWND target, WORD key) {
        Post(target, WM_KEYDOWN, key);
        Post(target, WM_KEYUP, key);
    }
    std::string LineNrText() const {
        char text[64] = {};
        ::GetWindowTextA(LineNr(), text, sizeof text);
        return text;
    }
    // Opens the window, types over the number it shows and presses `key`.
    void GotoLine(const std::string& number, WORD key = VK_RETURN) {
        Command(IDM_GOTOLINE);
        ASSERT_TRUE(GotoShowing());
        for (char c : number) Post(LineNr(), WM_CHAR, static_cast<unsigned char>(c));
        Press(LineNr(), key);
    }
    // The line break comes with the press, the indentation with the release.
    void Enter(int presses) {
        for (int i = 0; i < presses; ++i) Type("\r");
        ::SendMessageA(form->TextField.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    }
    void ChartKey(WORD key) { ::SendMessageA(form->ListView1.Handle(), WM_KEYDOWN, key, 1); }
};

TEST_F(Navigate, GotoLineMovesTheCaretToTheLinesStart) {
    Start();
    OpenText("ab\r\ncdefg\r\nhij\r\nk"); // lines start at 0, 3, 9 and 13
    const struct {
        const char* number;
        long selStart, selLength, caret;
    } rows[] = {{"1", 5, 2, 0},  {"3", 1, 0, 9},  {"0", 7, 0, 3} /* the caret's own line */,
                {"", 11, 1, 9},  {"5", 1, 0, 13} /* past the last line: the last line's start */,
                {"4000000000", 4, 0, 3} /* out of range counts as 0 */};
    for (const auto& row : rows) {
        Select(row.selStart, row.selLength);
        GotoLine(std::string("\b") + row.number); // the last number is all selected: Backspace empties it
        EXPECT_EQ(Caret(), row.caret) << row.number;
        EXPECT_EQ(form->TextField.SelectionLength(), 0) << row.number;
        EXPECT_FALSE(GotoShowing()) << "Enter hides the window";
        EXPECT_EQ(::GetFocus(), form->TextField.Handle()) << "back to the text";
    }
    EXPECT_EQ(form->TextField.GetWholeText(), "ab\r\ncdefg\r\nhij\r\nk");
    EXPECT_FALSE(form->DocumentModified);

    std::string text;
    for (int i = 1; i <= 300; ++i) text += "line " + std::to_string(i) + "\r\n";
    OpenText(text);
    auto firstVisible = [this] { return ::SendMessageA(form->TextField.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0); };
    GotoLine("250");
    EXPECT_EQ(Caret(), form->TextField.LineStart(249));
    EXPECT_GT(firstVisible(), 200) << "scrolled to it";
    GotoLine("1");
    EXPECT_EQ(firstVisible(), 0);
}

TEST_F(Navigate, GotoLineTakesOnlyDigitsAndEscapeKeepsTheCaret) {
    Start();
    OpenText("one\r\ntwo\r\nthree");
    GotoLine("3");
    form->TextField.MoveCaret(5);
    GotoLine("a- 2x\t\x16+", VK_ESCAPE);
    EXPECT_FALSE(GotoShowing());
    EXPECT_EQ(Caret(), 5) << "Escape leaves the caret";
    Command(IDM_GOTOLINE);
    EXPECT_EQ(LineNrText(), "2") << "letters, signs, spaces and control characters are refused";
    DWORD from = 1, to = 0;
    ::SendMessageA(LineNr(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(to - from, 1u) << "the last number, all selected";
}

TEST_F(Navigate, WithWordWrapLinesAreTheDisplayedRows) {
    Start();
    Command(IDM_WORDWRAP);
    Command(IDM_AUTOINTEND);
    std::string paragraph = "    ";
    for (int i = 0; i < 60; ++i) paragraph += "word" + std::to_string(i) + " ";
    OpenText(paragraph + "end");
    ASSERT_GT(form->TextField.LineCount(), 2) << "the paragraph wraps";
    GotoLine("2");
    EXPECT_GT(Caret(), 4) << "line 2 is the paragraph's second row";
    EXPECT_EQ(Caret(), form->TextField.LineStart(1));
    form->TextField.MoveCaret(static_cast<long>(paragraph.size()) + 3);
    Enter(1);
    EXPECT_EQ(form->TextField.GetWholeText(), paragraph + "end\r\n") << "the row above is the unindented tail";
}

TEST_F(Navigate, AFailedShowingWarnsAndTheNextGotoLineWorks) {
    Start();
    Command(IDM_GOTOLINE);
    ::DestroyWindow(form->GotoLineWindow->Handle()); // gone behind the program's back
    dialogs.Press(IDOK);
    Command(IDM_GOTOLINE);
    ASSERT_EQ(dialogs.Seen().size(), 1u);
    EXPECT_EQ(LastDialog().Text, "An unknown error occurred, if you find consistency please report to "
                                 "www.korvel.example.\r\nYou should save your file(s) and restart Notova");
    EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(LastDialog().Buttons, std::vector<int>{IDOK});
    Command(IDM_GOTOLINE);
    EXPECT_TRUE(GotoShowing());
}

TEST_F(Navigate, KeysTypedInTheGotoWindowRunNoEditorCommand) {
    Start();
    const struct {
        WORD key;
        bool ctrl;
        const char* inField; // the text when the text field gets the keys
    } rows[] = {{'V', true, "PASTED world"}, {'X', true, " world"}, {VK_RETURN, false, "\r\n world"}};
    BYTE saved[256], state[256];
    ::GetKeyboardState(saved);
    for (const auto& row : rows) {
        for (bool inGoto : {true, false}) {
            form->TextField.SetWholeText("hello world");
            Select(0, 5);
            SetClipboardText("PASTED");
            if (inGoto) Command(IDM_GOTOLINE);
            std::copy(saved, saved + 256, state);
            state[VK_CONTROL] = row.ctrl ? 0x80 : 0;
            ::SetKeyboardState(state);
            Press(inGoto ? LineNr() : form->TextField.Handle(), row.key);
            ::SetKeyboardState(saved);
            PumpLikeProgram();
            EXPECT_EQ(form->TextField.GetWholeText(), inGoto ? "hello world" : row.inField) << row.key << inGoto;
            if (GotoShowing()) Press(LineNr(), VK_ESCAPE);
        }
    }
}

TEST_F(Navigate, EnterCopiesTheIndentationOfTheLineAbove) {
    Start();
    const struct {
        const char* text;
        long caret;
        int presses;
        bool on;
        const char* after;
        long caretAfter;
        const char* afterUndo; // empty: not undone
    } rows[] = {
        {"  word", 6, 1, true, "  word\r\n  ", 9, "  word\r\n"},
        {"\t x", 3, 1, true, "\t x\r\n\t ", 6, ""},
        {"word", 4, 1, true, "word\r\n", 5, ""},
        {"a\r\n", 2, 1, true, "a\r\n\r\n", 3, ""}, // empty line above
        {"    ", 4, 1, true, "    \r\n    ", 9, ""},
        {"  ab  cd", 4, 1, true, "  ab\r\n    cd", 7, "  ab\r\n  cd"},
        {"  word", 6, 2, true, "  word\r\n\r\n", 8, ""}, // Enter held down
        {"  word", 6, 1, false, "  word\r\n", 7, ""},
    };
    for (const auto& row : rows) {
        if (form->Checked(IDM_AUTOINTEND) != row.on) Command(IDM_AUTOINTEND);
        OpenText(row.text);
        form->TextField.MoveCaret(row.caret);
        Enter(row.presses);
        EXPECT_EQ(form->TextField.GetWholeText(), row.after) << row.text;
        EXPECT_EQ(Caret(), row.caretAfter) << row.text;
        EXPECT_EQ(form->TextField.SelectionLength(), 0) << row.text;
        EXPECT_EQ(form->PanelText(0), " Changed") << row.text;
        if (*row.afterUndo == '\0') continue;
        Command(IDM_UNDO);
        EXPECT_EQ(form->TextField.GetWholeText(), row.afterUndo) << row.text << ": the line break stays";
    }
}

TEST_F(Navigate, TheChartDocksAtTheRightEdgeWithARowPerCode) {
    Start();
    HWND list = form->ListView1.Handle();
    EXPECT_FALSE(::IsWindowVisible(list)) << "hidden at first";
    ASSERT_EQ(form->ListView1.ItemCount(), 256);
    for (int code : {0, 48, 65, 233, 255}) {
        const std::string character = code ? std::string(1, static_cast<char>(code)) : std::string();
        EXPECT_EQ(form->ListView1.ItemText(code, 0), character) << code;
        EXPECT_EQ(form->ListView1.ItemText(code, 1), character) << code;
        EXPECT_EQ(form->ListView1.ItemText(code, 2), std::to_string(code)) << code;
    }
    for (int i : {0, 1, 2}) EXPECT_EQ(::SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0), i ? 55 : 0) << i;

    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    Command(IDM_VIEWASCII);
    EXPECT_EQ(::GetFocus(), list);
    EXPECT_EQ(Right(list), client.right);
    RECT chart{};
    ::GetWindowRect(list, &chart);
    const int width = chart.right - chart.left;
    // Its two columns and the vertical scroll bar fit: 130 pixels with the classic 16-pixel bar.
    EXPECT_EQ(width, std::max(130, 2 + 55 + 55 + ::GetSystemMetrics(SM_CXVSCROLL) + 2));
    EXPECT_FALSE(::GetWindowLongPtrA(list, GWL_STYLE) & WS_HSCROLL) << "no horizontal scroll bar";
    EXPECT_EQ(Right(form->TextField.Handle()), client.right - width) << "the text field takes what is left";
    form->SpeedBar.SetAlign(alRight); // a toolbar at the same edge goes inside the chart
    EXPECT_EQ(Right(list), client.right);
    EXPECT_EQ(Right(form->SpeedBar.Handle()), client.right - width);
    form->SpeedBar.SetAlign(alTop);
    Command(IDM_VIEWASCII);
    EXPECT_FALSE(::IsWindowVisible(list));
    EXPECT_EQ(::GetFocus(), form->TextField.Handle());
    EXPECT_EQ(Right(form->TextField.Handle()), client.right);
}

// What the screen shows of a window, row by row.
std::vector<COLORREF> ScreenPixels(HWND window) {
    RECT place{};
    ::GetWindowRect(window, &place);
    const int width = place.right - place.left, height = place.bottom - place.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    WindowDC screen(nullptr);
    MemoryDC memory(::CreateCompatibleDC(screen.get()));
    GdiObject picture(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture || width <= 0 || height <= 0) return {};
    SelectedObject selected(memory.get(), picture.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), place.left, place.top, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const COLORREF*>(bits);
    return std::vector<COLORREF>(first, first + static_cast<size_t>(width) * height);
}

// Scrolled to its end, the chart looks after every resize as it does when drawn anew.
TEST_F(Navigate, TheChartRepaintsWholeAfterAResize) {
    Start();
    Command(IDM_VIEWASCII);
    HWND list = form->ListView1.Handle();
    ChartKey(VK_END);
    ASSERT_EQ(form->ListView1.Selected(), 255);
    RECT outer{};
    ::GetWindowRect(form->Handle(), &outer);
    // As a person sizes the window: a step at a time, smaller and then much larger.
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    std::vector<SIZE> steps;
    for (int h = height; h >= height - 120; h -= 8) steps.push_back({width, h});
    for (int h = height - 120; h <= height + 240; h += 8) steps.push_back({width, h});
    for (int w = width; w <= width + 64; w += 8) steps.push_back({w, height + 240});
    for (size_t i = 0; i < steps.size(); ++i) {
        ::SetWindowPos(form->Handle(), nullptr, 0, 0, steps[i].cx, steps[i].cy, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
        if (i + 1 < steps.size() && i % 5 != 0) continue;
        const std::vector<COLORREF> shown = ScreenPixels(list);
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
        EXPECT_TRUE(shown == ScreenPixels(list)) << steps[i].cx << " by " << steps[i].cy;
    }
    EXPECT_EQ(form->ListView1.Selected(), 255);
}

TEST_F(Navigate, ChoosingAChartRowInsertsItsCharacterAtTheCaret) {
    Start();
    Command(IDM_VIEWASCII);
    const struct {
        const char* text;
        long selStart, selLength;
        int row; // -1: none selected
        bool doubleClick;
        const char* after;
        long caretAfter; // -1: nothing changes
    } rows[] = {
        {"abcdef", 3, 0, 65, true, "abcAdef", 4},
        {"abc\r\ndef", 5, 0, 88, false, "abc\r\ndXef", 6}, // the second line
        {"xbcx", 1, 2, 97, false, "xax", 2},
        {"ab", 1, 0, 13, true, "a\r\nb", 2},
        {"ab\r\ncd", 1, 2, 0, false, "ab\r\ncd", -1}, // the zero character
        {"ab", 1, 0, -1, true, "ab", -1},
    };
    for (const auto& row : rows) {
        OpenText(row.text);
        Select(row.selStart, row.selLength);
        form->ListView1.SetSelected(row.row);
        if (row.doubleClick) {
            ::SendMessageA(form->ListView1.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        } else {
            ChartKey(VK_RETURN);
        }
        EXPECT_EQ(form->TextField.GetWholeText(), row.after) << row.text;
        EXPECT_EQ(Caret(), row.caretAfter < 0 ? row.selStart : row.caretAfter) << row.text;
        EXPECT_EQ(form->TextField.SelectionLength(), row.caretAfter < 0 ? row.selLength : 0) << row.text;
        EXPECT_EQ(form->DocumentModified, row.caretAfter >= 0) << row.text;
        EXPECT_EQ(::GetFocus(), form->ListView1.Handle()) << row.text << ": the chart keeps the focus";
    }
    Type("q");
    form->ListView1.SetSelected(33);
    ChartKey(VK_RETURN);
    Command(IDM_UNDO);
    EXPECT_EQ(form->TextField.GetWholeText(), "aqb") << "one undo step, the history kept";
}

TEST_F(Navigate, ChartArrowsMoveTheCaretAndEscapeReturnsToTheText) {
    Start();
    OpenText("abcdefgh");
    Command(IDM_VIEWASCII);
    for (int i = 0; i < 5; ++i) ChartKey(VK_RIGHT);
    EXPECT_EQ(form->PanelText(2), "Pos: 5  5@1");
    for (int i = 0; i < 7; ++i) ChartKey(VK_LEFT);
    EXPECT_EQ(Caret(), 0) << "Left at the start stays there";
    form->TextField.MoveCaret(8);
    ChartKey(VK_RIGHT);
    EXPECT_EQ(Caret(), 8) << "Right at the end stays there";
    ChartKey(VK_ESCAPE);
    EXPECT_EQ(::GetFocus(), form->TextField.Handle());
    EXPECT_TRUE(form->ASCIIChartVisible());
    EXPECT_EQ(form->TextField.GetWholeText(), "abcdefgh");
}

} // namespace
} // namespace nv::test
