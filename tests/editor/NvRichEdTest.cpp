// The text field with the real rich-edit control, in a real window.
#include "base/Errors.h"
#include "base/Platform.h"
#include "editor/NvRichEd.h"
#include "editor/RichEditLibrary.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <thread>

namespace nv {
namespace {

using test::PumpMessages;
using test::ReadFileBytes;
using test::TempDir;

class TextField : public ::testing::Test {
protected:
    void SetUp() override {
        field.SetUndoLimit(10);
        field.SetWordWrap(false);
        field.SetHideSelection(false);
        field.CreateWnd(host.Handle(), host.Client(), 100);
    }

    void Type(const std::string& chars) {
        for (char c : chars) ::SendMessageA(field.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }

    // Holds a modifier key down in the thread's key state, as the keyboard would.
    static void SetKeyDown(int key, bool down) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[key] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    test::TestHost host;
    TNvRichEdit field;
};

TEST_F(TextField, RunsAtTheLevelTheLibraryChose) {
    EXPECT_EQ(RichEditVersion(), 3);
    EXPECT_STREQ(RichEditClassName(), "RichEdit20A");
    char cls[64] = {};
    ::GetClassNameA(field.Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "RichEdit20A");
    const LONG style = ::GetWindowLongA(field.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_NOHIDESEL);
    EXPECT_TRUE(style & ES_SELECTIONBAR);
    EXPECT_TRUE(style & ES_AUTOHSCROLL) << "no word wrap: the text scrolls sideways";
    const LRESULT mode = ::SendMessageA(field.Handle(), EM_GETTEXTMODE, 0, 0);
    EXPECT_EQ(mode & (TM_PLAINTEXT | TM_RICHTEXT | TM_SINGLELEVELUNDO | TM_MULTILEVELUNDO),
              TM_PLAINTEXT | TM_MULTILEVELUNDO);
    EXPECT_EQ(::SendMessageA(field.Handle(), EM_GETEVENTMASK, 0, 0), 0x42C0001);
    EXPECT_EQ(field.UndoLimit(), 10);
}

TEST_F(TextField, PositionsCountALineBreakOnceAndTheWholeTextCarriesCrLf) {
    field.SetWholeText("ab\r\ncd");
    EXPECT_EQ(field.TextLength(), 5);
    EXPECT_EQ(field.GetWholeText(), "ab\r\ncd");
    field.MoveCaret(3); // before c
    EXPECT_EQ(field.SelectionStart(), 3);
    EXPECT_EQ(field.SelectionLength(), 0);
    EXPECT_EQ(field.LineOfPosition(3), 1);
    EXPECT_EQ(field.LineOfPosition(2), 0) << "the break belongs to the first line";
    EXPECT_EQ(field.LineStart(-1), 3) << "line -1 is the caret's line";
    EXPECT_EQ(field.LineStart(0), 0);
    EXPECT_EQ(field.LineStart(1), 3);
    EXPECT_EQ(field.LineStart(2), -1) << "past the last line";
    EXPECT_EQ(field.LineLength(0), 2) << "without the line break";
    EXPECT_EQ(field.LineLength(4), 2);
    EXPECT_EQ(field.TextRange(1, 4), "b\rc");
}

TEST_F(TextField, EveryLineBreakFormComesInAsOneBreakAndGoesOutAsCrLf) {
    field.SetWholeText("a\rb\nc\r\nd");
    EXPECT_EQ(field.GetWholeText(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(field.TextLength(), 7);
    field.SetWholeText("x\n\ry");
    EXPECT_EQ(field.GetWholeText(), "x\r\n\r\ny") << "LF CR is two breaks";
    field.SetWholeText("x\r\r\ny");
    EXPECT_EQ(field.GetWholeText(), "x\r\n\r\ny") << "CR CR LF is two breaks, not a space";
    EXPECT_EQ(field.LineCount(), 3);
    field.SetWholeText(std::string("ab\0cd", 5));
    EXPECT_EQ(field.GetWholeText(), "ab") << "a zero ends the text";
}

TEST_F(TextField, SetWholeTextBehavesAsTheBareControlDoes) {
    // The field replaces its window to set a text; the results must be those of WM_SETTEXT.
    HWND bare = ::CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 100, 100, host.Handle(),
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(bare);
    ::SendMessageA(bare, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO, 0);
    ::SendMessageA(bare, WM_CHAR, 'x', 1);
    ::SendMessageA(bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("one\r\ntwo"));
    CHARRANGE bareSelection{};
    ::SendMessageA(bare, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&bareSelection));
    const bool bareModified = ::SendMessageA(bare, EM_GETMODIFY, 0, 0) != 0;
    const bool bareCanUndo = ::SendMessageA(bare, EM_CANUNDO, 0, 0) != 0;
    ::DestroyWindow(bare);

    Type("typed");
    int changes = 0, selections = 0;
    field.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &field);
        ++changes;
    };
    field.OnSelectionChange = [&](TObject*) { ++selections; };
    field.SetWholeText("one\r\ntwo");
    EXPECT_EQ(changes, 1);
    EXPECT_GE(selections, 1);
    EXPECT_EQ(field.Modified(), bareModified);
    EXPECT_EQ(field.UndoAvailable(), bareCanUndo) << "a whole-text replacement clears the undo history";
    EXPECT_EQ(field.SelectionStart(), bareSelection.cpMin);
    EXPECT_EQ(field.SelectionLength(), bareSelection.cpMax - bareSelection.cpMin);
    Type("!");
    EXPECT_EQ(field.GetWholeText(), "!one\r\ntwo") << "typing goes on after a whole-text replacement";
    EXPECT_EQ(changes, 2);
}

TEST_F(TextField, ClearTextEmptiesAndClearsTheModifiedFlag) {
    field.SetWholeText("something");
    field.SetModifiedFlag(true);
    int changes = 0;
    field.OnChange = [&](TObject*) { ++changes; };
    field.ClearText();
    EXPECT_EQ(field.GetWholeText(), "");
    EXPECT_FALSE(field.Modified());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(field.UndoAvailable());
}

TEST_F(TextField, AFreshTextHasNothingToUndo) {
    field.SetAutoURLDetect(true);
    field.SetWordSelection(true);
    TFont font;
    font.Name = "Courier New";
    field.SetFont(font);
    field.ClearText();
    EXPECT_FALSE(field.UndoAvailable());
    field.UndoLast();
    EXPECT_FALSE(field.UndoAvailable());
    field.SetWholeText("abc");
    EXPECT_FALSE(field.UndoAvailable());
}

TEST_F(TextField, MoveCaretKeepsTheCaretInsideTheText) {
    field.SetWholeText("abc\r\ndef");
    field.MoveCaret(5);
    field.MoveCaret(-1);
    EXPECT_EQ(field.SelectionStart(), 0);
    EXPECT_EQ(field.SelectionLength(), 0);
    field.MoveCaret(1000);
    EXPECT_EQ(field.SelectionStart(), 7);
    EXPECT_EQ(field.SelectionLength(), 0);
    field.MoveCaret(2);
    field.SetSelectionLength(3);
    EXPECT_EQ(field.SelectionStart(), 2);
    EXPECT_EQ(field.SelectionLength(), 3);
    EXPECT_EQ(field.SelectedText(), "c\rd");
    field.SelectWholeText();
    EXPECT_EQ(field.SelectionStart(), 0);
    EXPECT_EQ(field.SelectionLength(), 7);
    EXPECT_EQ(field.SelectedText(), "abc\rdef");
}

TEST_F(TextField, ReplaceSelectionSelectsTheInsertedTextAndCanBeUndone) {
    field.SetWholeText("abc");
    field.MoveCaret(1);
    field.ReplaceSelection("XYZ");
    EXPECT_EQ(field.GetWholeText(), "aXYZbc");
    EXPECT_EQ(field.SelectionStart(), 1);
    EXPECT_EQ(field.SelectionLength(), 3);
    EXPECT_TRUE(field.UndoAvailable()) << "undo is forced on with an undo limit of 2 or more";
    field.UndoLast();
    EXPECT_EQ(field.GetWholeText(), "abc");
    EXPECT_TRUE(field.RedoAvailable());
    field.RedoLast();
    EXPECT_EQ(field.GetWholeText(), "aXYZbc");

    field.MoveCaret(0);
    field.SetSelectionLength(2);
    field.ReplaceSelection("");
    EXPECT_EQ(field.GetWholeText(), "YZbc");
    EXPECT_EQ(field.SelectionLength(), 0);
}

TEST_F(TextField, UndoLimitTenKeepsTenOfElevenPastes) {
    test::SetClipboardText("x");
    for (int i = 0; i < 11; ++i) field.PasteClipboard();
    EXPECT_EQ(field.GetWholeText(), std::string(11, 'x'));
    int undos = 0;
    while (field.UndoAvailable() && undos < 20) {
        field.UndoLast();
        ++undos;
    }
    EXPECT_EQ(undos, 10);
    EXPECT_EQ(field.GetWholeText(), "x");
}

TEST_F(TextField, PasteReplacesOnlyTheSelection) {
    test::SetClipboardText("there\r\nnow");
    field.SetWholeText("hello world");
    field.MoveCaret(6);
    field.SetSelectionLength(5);
    field.PasteClipboard();
    EXPECT_EQ(field.GetWholeText(), "hello there\r\nnow");
    field.UndoLast();
    EXPECT_EQ(field.GetWholeText(), "hello world");

    // The keyboard's paste commands take the same road.
    field.MoveCaret(0);
    field.SetSelectionLength(5);
    SetKeyDown(VK_CONTROL, true);
    ::SendMessageA(field.Handle(), WM_KEYDOWN, 'V', 1);
    SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(field.GetWholeText(), "there\r\nnow world");

    field.MoveCaret(field.TextLength());
    SetKeyDown(VK_SHIFT, true);
    ::SendMessageA(field.Handle(), WM_KEYDOWN, VK_INSERT, 1);
    SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(field.GetWholeText(), "there\r\nnow worldthere\r\nnow");

    ::SendMessageA(field.Handle(), EM_SETSEL, 0, 5);
    ::SendMessageA(field.Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(field.GetWholeText(), "there\r\nnow\r\nnow worldthere\r\nnow");
    EXPECT_TRUE(field.PasteAvailable());
}

TEST_F(TextField, TheWindowKeepsItsBoundsWithTheSelectionBar) {
    // The selection bar's style bit is also the maximize bit of a child window.
    const RECT bounds{10, 20, 210, 120};
    field.SetBounds(bounds);
    for (int round = 0; round < 2; ++round) {
        field.SetSelectionBar(round == 0 ? false : true); // a rebuild each time
        RECT rect{};
        ::GetWindowRect(field.Handle(), &rect);
        ::MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, 10);
        EXPECT_EQ(rect.top, 20);
        EXPECT_EQ(rect.right, 210);
        EXPECT_EQ(rect.bottom, 120);
    }
    field.SetWholeText("x");
    RECT rect{};
    ::GetWindowRect(field.Handle(), &rect);
    EXPECT_EQ(rect.bottom - rect.top, 100);
}

TEST_F(TextField, RebuildKeepsTextAndModifiedFlag) {
    field.SetWholeText("line one\r\nline two");
    field.SetModifiedFlag(true);
    HWND before = field.Handle();
    field.SetWordWrap(true);
    EXPECT_NE(field.Handle(), before) << "word wrap is a creation style";
    EXPECT_EQ(field.GetWholeText(), "line one\r\nline two");
    EXPECT_TRUE(field.Modified());
    EXPECT_EQ(field.SelectionStart(), 0);
    EXPECT_FALSE(::GetWindowLongA(field.Handle(), GWL_STYLE) & WS_HSCROLL);

    field.SetModifiedFlag(false);
    field.SetSelectionBar(false);
    EXPECT_EQ(field.GetWholeText(), "line one\r\nline two");
    EXPECT_FALSE(field.Modified());
    EXPECT_FALSE(::GetWindowLongA(field.Handle(), GWL_STYLE) & ES_SELECTIONBAR);

    // Setting a property to its current value does not rebuild.
    HWND same = field.Handle();
    field.SetWordWrap(true);
    field.SetSelectionBar(false);
    field.SetUndoLimit(10);
    field.SetAutoURLDetect(false);
    EXPECT_EQ(field.Handle(), same);
}

TEST_F(TextField, WordWrapCountsWrappedRowsAsLines) {
    std::string paragraph;
    for (int i = 0; i < 60; ++i) paragraph += "word ";
    field.SetWholeText(paragraph);
    EXPECT_EQ(field.LineCount(), 1);
    field.SetWordWrap(true);
    EXPECT_GT(field.LineCount(), 1);
    EXPECT_GT(field.LineOfPosition(field.TextLength()), 0);
}

// A key's edit is reported as the change, then the selection once, when the control is done with the
// key: whoever shows the selection on the change report has it as it stands.
TEST_F(TextField, AKeysEditReportsTheChangeThenTheSelectionOnce) {
    struct Row {
        UINT msg;
        WPARAM key;
        const char* reports;
    };
    const Row rows[] = {
        {WM_CHAR, 'a', "change sel "},  {WM_KEYDOWN, VK_RETURN, "change sel "}, {WM_KEYDOWN, VK_BACK, "change sel "},
        {WM_KEYDOWN, VK_LEFT, "sel "}, {WM_KEYDOWN, VK_DELETE, "change "}, {WM_KEYDOWN, VK_HOME, "sel "},
    };
    field.SetWholeText("one two");
    field.MoveCaret(3);
    std::string reports;
    field.OnChange = [&](TObject*) { reports += "change "; };
    field.OnSelectionChange = [&](TObject*) { reports += "sel "; };
    for (const Row& row : rows) {
        reports.clear();
        ::SendMessageA(field.Handle(), row.msg, row.key, 1);
        EXPECT_EQ(reports, row.reports) << "message " << row.msg << ", key " << row.key;
    }
}

TEST_F(TextField, NotificationsFireAndStopWhenDetached) {
    int changes = 0, selections = 0;
    WORD lastKey = 0;
    TShiftState lastShift = 99;
    field.OnChange = [&](TObject*) { ++changes; };
    field.OnSelectionChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &field);
        ++selections;
    };
    field.OnKeyUp = [&](TObject*, WORD& key, TShiftState shift) {
        lastKey = key;
        lastShift = shift;
    };
    Type("ab");
    EXPECT_EQ(changes, 2);
    EXPECT_GE(selections, 2);
    const int selectionsBefore = selections;
    field.MoveCaret(0);
    EXPECT_GT(selections, selectionsBefore) << "the program's own caret moves are reported";
    ::SendMessageA(field.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_EQ(lastKey, 0) << "a key pressed in another window and released here is not the field's";
    ::SendMessageA(field.Handle(), WM_KEYDOWN, VK_F5, 0x00000001);
    ::SendMessageA(field.Handle(), WM_KEYUP, VK_F5, 0xC0000001);
    EXPECT_EQ(lastKey, VK_F5);
    EXPECT_EQ(lastShift, 0u);

    field.OnChange = nullptr; // detached
    Type("c");
    field.SetWholeText("quiet");
    field.ReplaceSelection("z");
    EXPECT_EQ(changes, 2);
}

TEST_F(TextField, HandlerMayDetachItselfWhileRunning) {
    int changes = 0;
    field.OnChange = [&](TObject*) {
        ++changes;
        field.OnChange = nullptr;
    };
    Type("ab");
    EXPECT_EQ(changes, 1);
}

class LinkClicks : public TextField {
protected:
    // Sends the notification the control sends for a mouse message over a link.
    void Link(UINT mouseMessage, long cpMin, long cpMax) {
        ENLINK link{};
        link.nmhdr.hwndFrom = field.Handle();
        link.nmhdr.idFrom = 100;
        link.nmhdr.code = EN_LINK;
        link.msg = mouseMessage;
        link.chrg = {cpMin, cpMax};
        ::SendMessageA(host.Handle(), WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&link));
    }
    struct Click {
        std::string text;
        TMouseButton button;
    };
    std::vector<Click> clicks;
    void SetUp() override {
        TextField::SetUp();
        field.SetAutoURLDetect(true);
        field.SetWholeText("see http://a.example/x and http://b.example/y");
        field.OnURLClick = [this](TObject*, const std::string& url, TMouseButton button) {
            clicks.push_back({url, button});
        };
    }
};

TEST_F(LinkClicks, PressAndReleaseOfOneButtonOnOneLinkClicks) {
    Link(WM_LBUTTONDOWN, 4, 22);
    Link(WM_LBUTTONUP, 4, 22);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].text, "http://a.example/x");
    EXPECT_EQ(clicks[0].button, TMouseButton::mbLeft);

    Link(WM_RBUTTONDOWN, 27, 45);
    Link(WM_RBUTTONUP, 27, 45);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[1].text, "http://b.example/y");
    EXPECT_EQ(clicks[1].button, TMouseButton::mbRight);
}

TEST_F(LinkClicks, MixedButtonsOrLinksClickNothing) {
    Link(WM_LBUTTONDOWN, 4, 20);
    Link(WM_RBUTTONUP, 4, 20);
    Link(WM_RBUTTONDOWN, 4, 20);
    Link(WM_LBUTTONUP, 4, 20);
    Link(WM_LBUTTONDOWN, 4, 20);
    Link(WM_LBUTTONUP, 25, 43);
    Link(WM_LBUTTONUP, 4, 20); // the press was forgotten at the last release
    Link(WM_MOUSEMOVE, 4, 20);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(LinkClicks, TheControlReportsRealClicksOnADetectedLink) {
    POINT at{};
    ::SendMessageA(field.Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 8);
    const LPARAM where = MAKELPARAM(at.x + 2, at.y + 4);
    ::SendMessageA(field.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageA(field.Handle(), WM_LBUTTONUP, 0, where);
    PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].text, "http://a.example/x");
}

TEST_F(TextField, TheKeyboardsContextMenuOpensAtTheCaret) {
    field.SetWholeText("first line\r\nsecond line");
    ASSERT_TRUE(field.TakeFocus());
    field.MoveCaret(15);
    POINT caret{};
    ASSERT_TRUE(::GetCaretPos(&caret));
    ::ClientToScreen(field.Handle(), &caret);
    std::vector<POINT> opened;
    field.OnContextPopup = [&](TObject* sender, POINT at) {
        EXPECT_EQ(sender, &field);
        opened.push_back(at);
    };
    ::SendMessageA(field.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field.Handle()), MAKELPARAM(-1, -1));
    ::SendMessageA(field.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field.Handle()), MAKELPARAM(300, 200));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].x, caret.x);
    EXPECT_EQ(opened[0].y, caret.y);
    EXPECT_GT(caret.x, 0) << "the caret is inside the second line, not at the origin";
    EXPECT_EQ(opened[1].x, 300) << "a mouse click's point is kept";
    EXPECT_EQ(opened[1].y, 200);
}

TEST_F(TextField, FontIsTheDefaultFormatWithAutomaticColourAddedToTheStyle) {
    field.SetWholeText("text");
    TFont font;
    font.Name = "Courier New";
    font.Height = -16;
    font.Style = fsItalic;
    font.Color = clWindowText;
    font.Charset = ANSI_CHARSET;
    field.SetFont(font);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    ::SendMessageA(field.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwEffects & CFE_ITALIC);
    EXPECT_TRUE(format.dwEffects & CFE_AUTOCOLOR);
    EXPECT_FALSE(format.dwEffects & CFE_BOLD);
    EXPECT_STREQ(format.szFaceName, "Courier New");
    EXPECT_EQ(format.yHeight, 12 * 20 * 96 / ::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY));

    field.SelectWholeText();
    CHARFORMAT2A shown{};
    shown.cbSize = sizeof shown;
    ::SendMessageA(field.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&shown));
    EXPECT_TRUE(shown.dwEffects & CFE_ITALIC) << "the whole text shows the font";

    font.Style = fsBold;
    font.Color = 0x0000FF;
    field.SetFont(font);
    ::SendMessageA(field.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(format.crTextColor, 0x0000FFu);

    // A rebuild keeps the font.
    field.SetWordWrap(true);
    ::SendMessageA(field.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    EXPECT_STREQ(format.szFaceName, "Courier New");
}

TEST_F(TextField, UndoKindNamesTheNextAction) {
    Type("abc");
    if (RunningOnWine()) GTEST_SKIP() << "Wine's EM_GETUNDONAME and EM_GETREDONAME always answer 0";
    EXPECT_EQ(field.NextUndoKind(), 1);
}

class WriteToFile : public TextField {
protected:
    TempDir dir;
};

TEST_F(WriteToFile, PlainTextIsWrittenByteForByteWithCrLf) {
    field.SetWholeText("first\nsecond\rthird\r\n\xE9nd");
    for (const char* name : {"a.txt", "a.md", "noextension", "a.rtf.bak"}) {
        const std::string path = dir.File(name);
        field.WriteToFile(path);
        EXPECT_EQ(ReadFileBytes(path), "first\r\nsecond\r\nthird\r\n\xE9nd") << name;
    }
    EXPECT_EQ(field.StreamFormat(), TStreamFormat::sfPlainText);
}

TEST_F(WriteToFile, OverwritesAnExistingFileWhole) {
    const std::string path = dir.File("old.txt");
    test::WriteFileBytes(path, std::string(1000, 'z'));
    field.SetWholeText("short");
    field.WriteToFile(path);
    EXPECT_EQ(ReadFileBytes(path), "short");
}

TEST_F(WriteToFile, SelectionModeWritesOnlyTheSelection) {
    field.SetWholeText("alpha\r\nbeta\r\ngamma");
    field.MoveCaret(3);
    field.SetSelectionLength(6); // "ha", break, "bet"
    field.SetSelectionStreamMode(true);
    field.WriteToFile(dir.File("sel.txt"));
    EXPECT_EQ(ReadFileBytes(dir.File("sel.txt")), "ha\r\nbet");
    field.MoveCaret(2);
    field.WriteToFile(dir.File("empty.txt"));
    EXPECT_TRUE(test::FileExists(dir.File("empty.txt")));
    EXPECT_EQ(ReadFileBytes(dir.File("empty.txt")), "") << "an empty selection writes an empty file";
    field.SetSelectionStreamMode(false);
    field.WriteToFile(dir.File("all.txt"));
    EXPECT_EQ(ReadFileBytes(dir.File("all.txt")), "alpha\r\nbeta\r\ngamma");
}

TEST_F(WriteToFile, RtfExtensionWritesRichTextWithTheFont) {
    TFont font;
    font.Name = "Courier New";
    font.Height = -13;
    field.SetFont(font);
    field.SetWholeText("Rich line\r\nnext");
    for (const char* name : {"a.rtf", "b.RTF"}) {
        const std::string bytes = ReadFileBytes((field.WriteToFile(dir.File(name)), dir.File(name)));
        EXPECT_EQ(bytes.rfind("{\\rtf", 0), 0u) << name;
        EXPECT_NE(bytes.find("Rich line"), std::string::npos);
        EXPECT_NE(bytes.find("next"), std::string::npos);
        EXPECT_NE(bytes.find("Courier New"), std::string::npos);
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(bytes.back(), '\0') << "no stray zero byte at the end";
        EXPECT_EQ(bytes.find('\0'), std::string::npos);
    }
    EXPECT_EQ(field.StreamFormat(), TStreamFormat::sfPlainText) << "the stream format is restored";
}

// An .rtf file opened as text is its own markup: written again, whole or in part, it is the same
// document; a text that does not start as markup is still wrapped into a new one.
TEST_F(WriteToFile, ATextThatIsRtfMarkupIsWrittenAsItIs) {
    const std::string markup = "{\\rtf1\\ansi {\\b bold} \\'e9\\par\r\n}";
    const struct {
        const char* what;
        std::string text;
        long start, length; // a selection, or none with length -1
        bool asItIs;
    } rows[] = {
        {"the whole markup", markup, 0, -1, true},
        {"markup after other text", "x" + markup, 0, -1, false},
        {"a selection that starts with the markup", "x" + markup, 1, 12, true},
        {"a selection shorter than the markup's signature", "x" + markup, 1, 4, false},
    };
    const std::string path = dir.File("doc.rtf");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        field.SetWholeText(row.text);
        const bool selection = row.length >= 0;
        if (selection) {
            field.MoveCaret(row.start);
            field.SetSelectionLength(row.length);
        }
        field.SetSelectionStreamMode(selection);
        field.WriteToFile(path);
        field.SetSelectionStreamMode(false);
        const std::string bytes = ReadFileBytes(path);
        const std::string part =
            selection ? row.text.substr(static_cast<size_t>(row.start), static_cast<size_t>(row.length))
                      : row.text;
        if (row.asItIs) {
            EXPECT_EQ(bytes, part);
        } else {
            EXPECT_EQ(bytes.rfind("{\\rtf", 0), 0u) << bytes;
            EXPECT_NE(bytes.find("\\{\\\\rt"), std::string::npos)
                << "the markup is escaped as text: " << bytes;
        }
    }
}

TEST_F(WriteToFile, AnErrorInsideTheControlsStreamComesBackAfterItReturned) {
    const std::string text = std::string(300000, 'x') + "\r\nend";
    field.SetWholeText(text);
    const std::string path = dir.File("kept.txt");
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        auto fail = [kind](TObject*, int) {
            if (kind == 0) throw std::bad_alloc();
            throw 42;
        };
        field.OnSaveProgress = fail;
        if (kind == 0) {
            EXPECT_THROW(field.WriteToFile(path), std::bad_alloc);
        } else {
            EXPECT_THROW(field.WriteToFile(path), int);
        }
        field.OnSaveProgress = nullptr;
        EXPECT_EQ(field.GetWholeText(), text) << "the text is untouched";
        field.WriteToFile(path);
        EXPECT_EQ(ReadFileBytes(path), text) << "and the next write is whole";

        field.OnLoadProgress = fail;
        if (kind == 0) {
            EXPECT_THROW(field.SetWholeText("new text"), std::bad_alloc);
        } else {
            EXPECT_THROW(field.SetWholeText("new text"), int);
        }
        field.OnLoadProgress = nullptr;
        field.SetWholeText(text);
        EXPECT_EQ(field.GetWholeText(), text) << "the field takes a text again";
    }
}

TEST_F(WriteToFile, ErrorsCarryTheirMessages) {
    const std::string missing = dir.File("no such folder\\x.txt");
    try {
        field.WriteToFile(missing);
        FAIL() << "expected an error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + missing);
    }

    // A pipe whose reader went away accepts the open but refuses the write.
    const std::string pipeName = "\\\\.\\pipe\\notova-test-" + std::to_string(::GetCurrentProcessId());
    HANDLE server = ::CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    field.SetWholeText(std::string(100000, 'q'));
    // Closing the server end before the write makes every write fail.
    std::thread closer([server] {
        ::ConnectNamedPipe(server, nullptr);
        ::CloseHandle(server);
    });
    bool opened = true;
    try {
        ::Sleep(0);
        field.WriteToFile(pipeName);
        FAIL() << "expected an error";
    } catch (const EFCreateError&) {
        opened = false;
    } catch (const EStreamError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to Save Stream");
    }
    closer.join();
    if (!opened) GTEST_SKIP() << "this Wine does not open a pipe for CREATE_ALWAYS";
}

} // namespace
} // namespace nv
