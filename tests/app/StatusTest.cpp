// The status panels that describe the text, and the edit commands' states, in the real window.
#include "tests/app/FormFixture.h"
#include "tests/support/SampleTexts.h"

#include "app/StatusText.h"
#include "base/Handles.h"

#include <richedit.h>

#include <random>
#include <vector>

namespace nv::test {
namespace {

using Status = FormTest;

TEST_F(Status, CaretPanelsShowCodeAndPosition) {
    Start();
    form->TextField.SetWholeText("abc");
    form->TextField.MoveCaret(1);
    EXPECT_EQ(form->PanelText(1), "#98");
    EXPECT_EQ(form->PanelText(2), "Pos: 1  1@1");

    form->TextField.SetWholeText("ab\r\ncd");
    form->TextField.MoveCaret(4); // before d
    EXPECT_EQ(form->PanelText(1), "#100");
    EXPECT_EQ(form->PanelText(2), "Pos: 4  1@2");
    form->TextField.MoveCaret(2); // on the line break
    EXPECT_EQ(form->PanelText(1), "#13");

    form->TextField.MoveCaret(5); // the very end
    EXPECT_EQ(form->PanelText(1), "#0");
    EXPECT_EQ(form->PanelText(2), "Pos: 5  2@2");

    form->TextField.SetWholeText("caf\xE9");
    form->TextField.MoveCaret(3);
    EXPECT_EQ(form->PanelText(1), "#233");

    form->TextField.SetWholeText("");
    EXPECT_EQ(form->PanelText(1), "ASCII");
    EXPECT_EQ(form->PanelText(2), "Pos:");
}

TEST_F(Status, SizeCountsLineBreaksTwiceWithThousands) {
    Start();
    Type("ab\rcd");
    EXPECT_EQ(form->PanelText(3), "6 Bytes");
    form->TextField.SetWholeText(std::string(1234567, 'x'));
    EXPECT_EQ(form->PanelText(3), "1,234,567 Bytes");
}

TEST_F(Status, ThePositionPanelHoldsTheLongestPositionOfTheText) {
    Start();
    TnvStatusPanel& panel = form->StatusBar.Panels()[2];
    const int design = panel.Width(), sizeDesign = form->StatusBar.Panels()[3].Width();
    std::string text;
    for (int i = 0; i < 100000; ++i) text += std::string(30, 'x') + "\r\n";
    form->TextField.SetWholeText(text);
    form->TextField.MoveCaret(form->TextField.TextLength() - 1);
    ASSERT_EQ(form->PanelText(2), "Pos: 3099999  30@100000");
    EXPECT_GE(panel.Width(), form->StatusBar.FittingWidth(form->PanelText(2)));
    EXPECT_EQ(panel.Width() + form->StatusBar.Panels()[3].Width(), design + sizeDesign) << "the size panel gave way";
    form->TextField.SetWholeText("abc");
    EXPECT_EQ(panel.Width(), design);
}

TEST_F(Status, WithWordWrapTheCodeIsStillTheCharacterAtTheCaret) {
    Start();
    form->WordWrap1Click(nullptr);
    std::string text;
    for (int i = 0; i < 40; ++i) text += "word" + std::to_string(i) + " ";
    text += "\r\nZ";
    form->TextField.SetWholeText(text);
    ASSERT_GT(form->TextField.LineOfPosition(static_cast<long>(text.size()) - 3), 1) << "the paragraph wraps";
    const long z = form->TextField.TextLength() - 1;
    form->TextField.MoveCaret(z);
    EXPECT_EQ(form->PanelText(1), "#90");
    form->TextField.MoveCaret(z + 1);
    EXPECT_EQ(form->PanelText(1), "#0");
}

TEST_F(Status, HiddenStatusBarKeepsPanelsButCutCopyFollow) {
    Start();
    Type("hello");
    form->StatusBar.SetVisible(false);
    const std::string code = form->PanelText(1), position = form->PanelText(2), size = form->PanelText(3);
    form->TextField.MoveCaret(0);
    form->TextField.SetSelectionLength(2);
    Type("J");
    EXPECT_EQ(form->PanelText(1), code);
    EXPECT_EQ(form->PanelText(2), position);
    EXPECT_EQ(form->PanelText(3), size);
    form->TextField.SetSelectionLength(2);
    EXPECT_TRUE(form->Enabled(IDM_CUT));
    EXPECT_TRUE(form->Enabled(IDM_COPY));
}

TEST_F(Status, ASlowComputationFreezesAndClicksComputeOnRequest) {
    Start();
    unsigned long now = 1000;
    form->TickCount = [&now] { return now += 126; }; // each computation looks 126 ms long
    Type("ab");
    EXPECT_TRUE(form->SizeCalcEnabled) << "126 ms stays live";
    form->TickCount = [&now] { return now += 251; };
    Type("c");
    EXPECT_FALSE(form->SizeCalcEnabled);
    EXPECT_EQ(form->PanelText(3), "3 Bytes") << "the size just computed still shows";
    form->TextField.MoveCaret(1);
    EXPECT_EQ(form->PanelText(1), "ASCII");
    EXPECT_EQ(form->PanelText(2), "Pos:");
    Type("d");
    EXPECT_EQ(form->PanelText(3), "Size calculation disabled due to large file");

    form->StatusBarPanels1Click(nullptr);
    EXPECT_EQ(form->PanelText(1), "#98");
    form->StatusBarPanels2Click(nullptr);
    EXPECT_EQ(form->PanelText(2), "Pos: 2  2@1");
    EXPECT_FALSE(form->SizeCalcEnabled) << "clicks on panels 1 and 2 compute once";
    form->TextField.MoveCaret(0);
    EXPECT_EQ(form->PanelText(1), "ASCII");

    form->TickCount = [&now] { return now += 10; };
    form->StatusBarPanels3Click(nullptr);
    EXPECT_TRUE(form->SizeCalcEnabled) << "a click on the size panel returns to live";
    EXPECT_EQ(form->PanelText(3), "4 Bytes");
    form->TextField.MoveCaret(1);
    EXPECT_EQ(form->PanelText(1), "#100");
}

TEST_F(Status, TheBarIsPaintedWithCalculatingBeforeTheSizeIsCounted) {
    Start();
    ::InvalidateRect(form->StatusBar.Handle(), nullptr, TRUE); // a paint still pending
    std::vector<std::string> shown;
    std::vector<bool> pending;
    unsigned long now = 1000;
    int reads = 0;
    form->TickCount = [&] {
        if (++reads % 2 == 0) { // the read after the count
            shown.push_back(form->PanelText(3));
            pending.push_back(::GetUpdateRect(form->StatusBar.Handle(), nullptr, FALSE) != FALSE);
        }
        return now += 5;
    };
    Type("x");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Calculating...");
    EXPECT_FALSE(pending[0]) << "nothing of the bar is left unpainted while the size is counted";
    EXPECT_EQ(form->PanelText(3), "1 Bytes");
}

// Ink as a picture shows it: one string per pixel column from the first inked column to the last, a
// '#' for each inked row. Ink is whatever differs from the picture's top-left corner.
using Ink = std::vector<std::string>;
Ink InkIn(HDC dc, const RECT& r) {
    const COLORREF background = ::GetPixel(dc, r.left, r.top);
    Ink columns;
    for (int x = r.left; x < r.right; ++x) {
        std::string column;
        for (int y = r.top; y < r.bottom; ++y) column += ::GetPixel(dc, x, y) == background ? '.' : '#';
        columns.push_back(column);
    }
    const auto inked = [](const std::string& column) { return column.find('#') != std::string::npos; };
    while (!columns.empty() && !inked(columns.back())) columns.pop_back();
    columns.erase(columns.begin(), std::find_if(columns.begin(), columns.end(), inked));
    return columns;
}

RECT PanelInside(const TnvStatusBar& bar, int index) {
    RECT r = bar.PanelRect(index);
    ::InflateRect(&r, -1, -1);
    return r;
}

// What the panel shows on the screen.
Ink ShownInk(const TnvStatusBar& bar, int index) {
    ::UpdateWindow(bar.Handle());
    WindowDC dc(bar.Handle());
    return InkIn(dc.get(), PanelInside(bar, index));
}

// `text` drawn with the bar's font in a picture as high as the panel's inside, where nothing cuts it.
Ink WholeInk(const TnvStatusBar& bar, int index, const std::string& text) {
    const RECT inside = PanelInside(bar, index);
    const int width = 400, height = inside.bottom - inside.top;
    WindowDC screen(bar.Handle());
    MemoryDC dc(::CreateCompatibleDC(screen.get()));
    GdiObject bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    SelectedObject keepBitmap(dc.get(), bitmap.get());
    SelectedObject keepFont(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(bar.Handle(), WM_GETFONT, 0, 0)));
    RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_BTNTEXT));
    RECT place{4, 0, width, height};
    ::DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &place,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return InkIn(dc.get(), all);
}

// The size text of a document too large to follow, at the window's design width and narrower.
TEST_F(Status, TheFrozenSizeTextIsWholeAtTheDesignWidthAndElseCutAtItsEnd) {
    Start();
    RECT outer{};
    ::GetWindowRect(form->Handle(), &outer);
    ASSERT_EQ(outer.right - outer.left, 500) << "the window opens at its design width";
    std::string text;
    for (int i = 0; i < 100000; ++i) text += std::string(30, 'x') + "\r\n";
    form->TextField.SetWholeText(text);
    const int liveWidth = form->StatusBar.Panels()[2].Width();
    ASSERT_GT(liveWidth, 120) << "a position panel as wide as a large file's";
    unsigned long now = 1000;
    form->TickCount = [&now] { return now += 251; };
    Type("xx"); // the first one's count took too long
    form->TextField.MoveCaret(5);
    const std::string frozen = "Size calculation disabled due to large file";
    ASSERT_EQ(form->PanelText(3), frozen);
    ASSERT_EQ(form->PanelText(2), "Pos:");
    const TnvStatusBar& bar = form->StatusBar;
    const Ink whole = WholeInk(bar, 3, frozen);
    EXPECT_EQ(ShownInk(bar, 3), whole) << "whole at the design width";
    EXPECT_EQ(ShownInk(bar, 2), WholeInk(bar, 2, "Pos:"));

    // Where it cannot be whole, its start stays and an ellipsis ends it.
    const auto cutAtItsEnd = [&](const Ink& shown) {
        for (size_t n = frozen.size() - 1; n > 0; --n) {
            if (shown == WholeInk(bar, 3, frozen.substr(0, n) + "...")) return true;
        }
        return false;
    };
    form->TextField.MoveCaret(form->TextField.TextLength());
    form->StatusBarPanels2Click(nullptr); // a long position shown once takes its room back
    const std::string position = form->PanelText(2);
    ASSERT_EQ(position.substr(0, 5), "Pos: ");
    EXPECT_EQ(ShownInk(bar, 2), WholeInk(bar, 2, position));
    EXPECT_TRUE(cutAtItsEnd(ShownInk(bar, 3)));
    form->TextField.MoveCaret(6);
    EXPECT_EQ(ShownInk(bar, 3), whole) << "and gives it again";
    ::SetWindowPos(form->Handle(), nullptr, 0, 0, 400, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(cutAtItsEnd(ShownInk(bar, 3))) << "a narrower window";
    EXPECT_EQ(ShownInk(bar, 2), WholeInk(bar, 2, "Pos:"));
    ::SetWindowPos(form->Handle(), nullptr, 0, 0, 500, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ShownInk(bar, 3), whole);

    form->TickCount = [&now] { return now += 10; };
    form->StatusBarPanels3Click(nullptr); // live again: the position panel is as wide as before
    EXPECT_EQ(bar.Panels()[2].Width(), liveWidth);
}

TEST_F(Status, ClicksOnAnEmptyTextFallBack) {
    Start();
    form->StatusBarPanels1Click(nullptr);
    EXPECT_EQ(form->PanelText(1), "ASCII");
    form->StatusBarPanels2Click(nullptr);
    EXPECT_EQ(form->PanelText(2), "Line:");
}

using EditCommands = FormTest;

TEST_F(EditCommands, CutAndCopyFollowTheSelectionInMenuAndPopup) {
    Start();
    Type("abc");
    for (int id : {IDM_CUT, IDM_COPY, IDM_CUTPOP, IDM_COPYPOP}) EXPECT_FALSE(form->Enabled(id)) << id;
    form->TextField.MoveCaret(0);
    form->TextField.SetSelectionLength(1);
    for (int id : {IDM_CUT, IDM_COPY, IDM_CUTPOP, IDM_COPYPOP}) EXPECT_TRUE(form->Enabled(id)) << id;
    form->TextField.MoveCaret(2);
    for (int id : {IDM_CUT, IDM_COPY, IDM_CUTPOP, IDM_COPYPOP}) EXPECT_FALSE(form->Enabled(id)) << id;
}

TEST_F(EditCommands, CommandsWorkFromTheMenuAndThePopup) {
    Start();
    Type("hello world");
    Command(IDM_SELECTALL);
    EXPECT_EQ(form->TextField.SelectionLength(), 11);
    form->TextField.MoveCaret(0);
    form->TextField.SetSelectionLength(5);
    Command(IDM_COPYPOP);
    form->TextField.MoveCaret(11);
    Command(IDM_PASTE);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello worldhello");
    form->TextField.MoveCaret(0);
    form->TextField.SetSelectionLength(6);
    Command(IDM_CUT);
    EXPECT_EQ(form->TextField.GetWholeText(), "worldhello");
    Command(IDM_UNDO);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello worldhello");
    Command(IDM_REDO);
    EXPECT_EQ(form->TextField.GetWholeText(), "worldhello");
    Command(IDM_PASTEPOP);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello worldhello");
}

TEST_F(EditCommands, UndoWithNothingToUndoMarksTheDocumentChanged) {
    Start();
    ASSERT_FALSE(form->DocumentModified);
    Command(IDM_UNDO);
    EXPECT_EQ(form->TextField.GetWholeText(), "");
    EXPECT_TRUE(form->DocumentModified);
    EXPECT_EQ(form->PanelText(0), " Changed");
    EXPECT_FALSE(form->Enabled(IDM_UNDO));
}

// Puts text on the clipboard from another process: this test program, run again for one test.
bool SetClipboardFromAnotherProcess(const std::string& text) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::SetEnvironmentVariableA("NOTOVA_CLIPBOARD_TEXT", text.c_str());
    std::string commandLine = std::string("\"") + self +
                              "\" --gtest_also_run_disabled_tests --gtest_filter=ClipboardChild.DISABLED_SetsText";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process)) {
        return false;
    }
    KernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
    // Keep handling messages while the child works: the clipboard notifications arrive here.
    for (int i = 0; i < 400 && ::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT; ++i) {
        PumpMessages();
        ::Sleep(25);
    }
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    return exitCode == 0;
}

TEST(ClipboardChild, DISABLED_SetsText) {
    char text[256] = {};
    ASSERT_GT(::GetEnvironmentVariableA("NOTOVA_CLIPBOARD_TEXT", text, sizeof text), 0u);
    SetClipboardText(text);
}

TEST_F(EditCommands, PasteFollowsTheClipboard) {
    Start();
    {
        ClipboardOpen clipboard(nullptr);
        ASSERT_TRUE(clipboard);
        ::EmptyClipboard();
    }
    PumpMessages();
    EXPECT_FALSE(form->Enabled(IDM_PASTE));
    ASSERT_TRUE(SetClipboardFromAnotherProcess("from elsewhere"));
    for (int i = 0; i < 50 && !form->Enabled(IDM_PASTE); ++i) {
        PumpMessages();
        ::Sleep(10);
    }
    EXPECT_TRUE(form->Enabled(IDM_PASTE));
    EXPECT_TRUE(form->Enabled(IDM_PASTEPOP));
    Command(IDM_PASTE);
    EXPECT_EQ(form->TextField.GetWholeText(), "from elsewhere");
    {
        ClipboardOpen clipboard(nullptr);
        ASSERT_TRUE(clipboard);
        ::EmptyClipboard();
    }
    for (int i = 0; i < 50 && form->Enabled(IDM_PASTE); ++i) {
        PumpMessages();
        ::Sleep(10);
    }
    EXPECT_FALSE(form->Enabled(IDM_PASTE));
    EXPECT_FALSE(form->Enabled(IDM_PASTEPOP));
}

// What was copied stays on the clipboard whatever the field does with its window afterwards.
TEST_F(EditCommands, CopiedTextOutlivesTheFieldsWindow) {
    const std::string text = Prose(2000000);
    const std::string path = dir.File("prose.txt");
    WriteFileBytes(path, text);
    Start();
    Open(path);
    Command(IDM_SELECTALL);
    Command(IDM_COPY);
    Command(IDM_NEW);
    ASSERT_EQ(form->TextField.TextLength(), 0);
    PumpMessages();
    EXPECT_TRUE(form->Enabled(IDM_PASTE));
    EXPECT_TRUE(ClipboardText() == text) << ClipboardText().size() << " characters";

    // A cut of most of the text leaves the old window hidden for undo; the next edit lets it go.
    Open(path);
    form->TextField.MoveCaret(10);
    form->TextField.SetSelectionLength(form->TextField.TextLength());
    Command(IDM_CUT);
    Type("x");
    EXPECT_TRUE(ClipboardText() == text.substr(10)) << ClipboardText().size() << " characters";
    dialogs.Press(IDNO); // not saved
    Command(IDM_NEW);
    EXPECT_TRUE(ClipboardText() == text.substr(10)) << ClipboardText().size() << " characters";
}

// What the panels, captions and command states show once keys stop, however fast they came: keys
// posted all at once (so each report finds the next keys waiting and merges with them) against the
// same keys each handled before the next is sent.
struct KeyPress {
    UINT message;
    WPARAM key;
};

std::vector<KeyPress> RandomKeys(unsigned seed, int count) {
    static const KeyPress kKeys[] = {
        {WM_CHAR, 'a'},       {WM_CHAR, 'Z'},        {WM_CHAR, ' '},       {WM_CHAR, '\r'},
        {WM_CHAR, 0xE9},    {WM_KEYDOWN, VK_BACK}, {WM_KEYDOWN, VK_DELETE}, {WM_KEYDOWN, VK_LEFT},
        {WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, VK_UP},  {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_HOME},
        {WM_KEYDOWN, VK_END},   {WM_KEYDOWN, VK_SHIFT}, // a key that reports nothing: what waited shows anyway
    };
    std::mt19937 random(seed);
    std::vector<KeyPress> keys;
    for (int i = 0; i < count; ++i) keys.push_back(kKeys[random() % std::size(kKeys)]);
    return keys;
}

void Post(HWND field, const KeyPress& press) {
    ::PostMessageA(field, press.message, press.key, 1);
    if (press.message == WM_KEYDOWN) ::PostMessageA(field, WM_KEYUP, press.key, 0xC0000001);
}

bool KeysQueued() {
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) != FALSE;
}

std::string ShownState(TForm1& form) {
    char caption[MAX_PATH * 2] = {};
    ::GetWindowTextA(form.Handle(), caption, sizeof caption);
    std::string state = caption;
    for (int i = 0; i < form.StatusBar.Panels().Count(); ++i) state += "|" + form.PanelText(i);
    for (int id : {IDM_UNDO, IDM_REDO}) state += "|" + form.Caption(id);
    for (int id : {IDM_UNDO, IDM_REDO, IDM_CUT, IDM_COPY, IDM_CUTPOP, IDM_COPYPOP})
        state += form.Enabled(id) ? "+" : "-";
    for (TSpeedItem* button : {form.SaveBtn, form.UndoBtn, form.RedoBtn, form.CutBtn, form.CopyBtn})
        state += button->Enabled() ? "+" : "-";
    return state + "|" + form.TextField.GetWholeText();
}

// Pumps until the keys are handled and what waited for them is shown, as a user who stops typing sees.
void Settle(const TForm1& form) {
    const DWORD until = ::GetTickCount() + 5000;
    do {
        PumpMessages();
        ::Sleep(1);
    } while (::GetTickCount() < until && (KeysQueued() || form.ReportsWaiting()));
}

TEST_F(Status, ABurstOfKeysShowsWhatTheSameKeysSentSlowlyShow) {
    WriteFileBytes(dir.File("burst.txt"), NumberedProse(20000));
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const std::vector<KeyPress> keys = RandomKeys(seed, 250);
        std::mt19937 random(seed);
        std::vector<size_t> pauses; // where the typist stops and reads
        for (size_t at = 0; at < keys.size(); at += 1 + random() % 20) pauses.push_back(at);
        pauses.push_back(keys.size());
        const auto run = [&](bool burst) {
            Restart({dir.File("burst.txt")});
            form->TextField.MoveCaret(form->TextField.LineStart(100));
            std::vector<std::string> shown;
            for (size_t p = 1; p < pauses.size(); ++p) {
                for (size_t k = pauses[p - 1]; k < pauses[p]; ++k) {
                    Post(form->TextField.Handle(), keys[k]);
                    if (!burst) PumpMessages();
                }
                Settle(*form);
                shown.push_back(ShownState(*form));
            }
            return shown;
        };
        const std::vector<std::string> burst = run(true);
        const unsigned long merged = form->MergedReports();
        const std::vector<std::string> slow = run(false);
        // Slowly sent keys merge only where a key-down queues its character or another key.
        EXPECT_GT(merged, form->MergedReports() + 50) << "seed " << seed << ": the burst's reports did not wait";
        for (size_t p = 0; p < burst.size(); ++p)
            ASSERT_EQ(burst[p], slow[p]) << "seed " << seed << ", after key " << pauses[p + 1];
    }
}

// What the caret panels show, read afresh from the control.
std::string CaretPanelsOf(TForm1& form) {
    TNvRichEdit& field = form.TextField;
    const long start = field.SelectionStart(), length = field.TextLength();
    if (length == 0) return "ASCII|Pos:";
    const long line = field.LineOfPosition(start);
    const std::string at = start < length ? field.TextRange(start, start + 1) : std::string();
    return CharCodeText(at.empty() ? 0 : static_cast<unsigned char>(at[0])) + "|" +
           PositionText(start, start - field.LineStart(line), line + 1);
}

// A selection that only grows or shrinks keeps the caret panels as they are; whatever else happens
// between, they show what the control says of the selection's start.
TEST_F(Status, TheCaretPanelsFollowTheSelectionsStartWhateverChangesItsLength) {
    Start();
    unsigned long kept = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        form->TextField.SetWholeText(NumberedProse(6000));
        const unsigned long keptBefore = form->CaretPanelsKept();
        for (int step = 0; step < 150; ++step) {
            HWND field = form->TextField.Handle();
            const long length = form->TextField.TextLength();
            const long start = form->TextField.SelectionStart();
            const auto select = [field](long from, long to) {
                CHARRANGE range{from, to};
                ::SendMessageA(field, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            };
            const unsigned op = random() % 11;
            if (op < 4) {
                select(start, std::min<long>(length, start + static_cast<long>(random() % 300)));
            } else if (op < 6) {
                const long from = static_cast<long>(random() % (length + 1));
                select(from, std::min<long>(length, from + static_cast<long>(random() % 50)));
            } else if (op == 6) {
                const long to = static_cast<long>(random() % (length + 1)); // the anchor after the caret
                select(std::min<long>(length, to + static_cast<long>(random() % 50)), to);
            } else if (op == 7) {
                ::SendMessageA(field, WM_CHAR, random() % 3 ? 'x' : '\r', 1);
            } else if (op == 8) {
                ::SendMessageA(field, WM_UNDO, 0, 0);
            } else if (op == 9) {
                Command(IDM_WORDWRAP);
            } else {
                // Wrapped lines move under the selection's start.
                ::SetWindowPos(form->Handle(), nullptr, 0, 0, 250 + static_cast<int>(random() % 600), 400,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                if (random() % 2) {
                    PumpMessages();
                    select(start, std::min<long>(length, start + static_cast<long>(random() % 300)));
                }
            }
            PumpMessages();
            ASSERT_EQ(form->PanelText(1) + "|" + form->PanelText(2), CaretPanelsOf(*form))
                << "seed " << seed << ", step " << step << ", operation " << op;
        }
        kept += form->CaretPanelsKept() - keptBefore;
    }
    EXPECT_GT(kept, 100u) << "the panels were read again for every length";
}

} // namespace
} // namespace nv::test
