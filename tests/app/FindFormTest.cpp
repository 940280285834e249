// Find, Find Next and Replace in the main window, driven through the system's dialogs.
#include "tests/app/FormFixture.h"

#include <dlgs.h>
#include <richedit.h>

#include <utility>

namespace nv::test {
namespace {

using Range = std::pair<long, long>;

class FindForm : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        Start();
        form->Beep = [this] { ++beeps; };
    }
    void Load(const std::string& text, long selStart, long selEnd) {
        form->TextField.SetWholeText(text);
        Select(selStart, selEnd);
    }
    void Select(long start, long end) {
        CHARRANGE range{start, end};
        ::SendMessageA(form->TextField.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    Range Selection() const {
        const long start = form->TextField.SelectionStart();
        return {start, start + form->TextField.SelectionLength()};
    }
    HWND FindWindow() const { return form->TextField.FindDialog()->Handle(); }
    HWND ReplaceWindow() const { return form->TextField.ReplaceDialog()->Handle(); }
    // Sets the dialog's controls as a user would; the options travel with the next request.
    static void Fill(HWND dialog, const std::string& text, bool down, bool matchCase = false,
                     bool wholeWord = false) {
        ::SetDlgItemTextA(dialog, edt1, text.c_str());
        ::CheckRadioButton(dialog, rad1, rad2, down ? rad2 : rad1);
        ::CheckDlgButton(dialog, chx1, wholeWord ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(dialog, chx2, matchCase ? BST_CHECKED : BST_UNCHECKED);
    }
    void Click(HWND dialog, int id) {
        PressButton(dialog, id);
        PumpLikeProgram();
    }
    void ExpectNotFoundBox(const std::string& text) {
        ASSERT_FALSE(dialogs.Seen().empty());
        EXPECT_EQ(LastDialog().Text, "Text \"" + text + "\" not found.");
        EXPECT_EQ(LastDialog().Icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(LastDialog().Buttons, std::vector<int>{IDOK});
    }
    int beeps = 0;
};

TEST_F(FindForm, FindNextRunsDownThenUpWithoutWrappingAndReportsTheEnd) {
    Load("abcabc", 0, 0);
    Command(IDM_FIND);
    ASSERT_TRUE(FindWindow());
    Fill(FindWindow(), "abc", true);
    Click(FindWindow(), IDOK);
    EXPECT_EQ(Selection(), (Range{0, 3}));
    Click(FindWindow(), IDOK);
    EXPECT_EQ(Selection(), (Range{3, 6}));
    dialogs.Press(IDOK);
    Click(FindWindow(), IDOK);
    ExpectNotFoundBox("abc");
    EXPECT_EQ(Selection(), (Range{3, 6}));
    EXPECT_EQ(beeps, 0) << "the dialog's search does not beep";

    dialogs.Press(IDOK);
    Command(IDM_FINDNEXT); // F3 repeats it: the box, then a beep
    EXPECT_EQ(dialogs.Seen().size(), 2u);
    EXPECT_EQ(beeps, 1);

    Select(6, 6);
    Fill(FindWindow(), "abc", false);
    Click(FindWindow(), IDOK);
    EXPECT_EQ(Selection(), (Range{3, 6}));
    Command(IDM_FINDNEXT); // with the options the dialog sent last
    EXPECT_EQ(Selection(), (Range{0, 3}));
    EXPECT_EQ(::GetFocus(), form->TextField.Handle()) << "F3 gives the text field the focus";
}

TEST_F(FindForm, FindNextBeforeAnySearchOnlyBeeps) {
    Load("abc", 0, 0);
    Command(IDM_FINDNEXT);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(dialogs.Seen().empty());
    Command(IDM_FIND); // a dialog with an empty text searches nothing
    Command(IDM_FINDNEXT);
    EXPECT_EQ(beeps, 2);
}

TEST_F(FindForm, MatchCaseAndWholeWordTravelWithTheRequest) {
    struct Row {
        const char* text;
        bool matchCase, wholeWord;
        Range found;
    } rows[] = {
        {"ABC", false, false, {0, 3}},
        {"ABC", true, false, {4, 7}},
        {"ab", false, true, {8, 10}}, // not the ab inside abc
        {"ab", true, true, {8, 10}},
    };
    form->TextField.SetWholeText("abc ABC ab");
    Command(IDM_FIND);
    for (const Row& r : rows) {
        Select(0, 0);
        Fill(FindWindow(), r.text, true, r.matchCase, r.wholeWord);
        Click(FindWindow(), IDOK);
        EXPECT_EQ(Selection(), r.found) << r.text << r.matchCase << r.wholeWord;
    }
}

TEST_F(FindForm, TheDialogTakesTheSelectionCutTo255AndKeepsItsTextForAnEmptySelection) {
    std::string longText;
    for (int i = 0; longText.size() < 300; ++i)
        longText += static_cast<char>('a' + i % 26);
    Load(longText + " tail", 0, 300);
    Command(IDM_FIND);
    EXPECT_EQ(DialogItemText(FindWindow(), edt1), longText.substr(0, 255));
    EXPECT_EQ(form->TextField.FindDialog()->FindText(), longText.substr(0, 255));

    Select(301, 305);
    ::SetWindowPos(FindWindow(), nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Click(FindWindow(), IDCANCEL);
    EXPECT_FALSE(FindWindow()) << "closed";
    Command(IDM_FIND);
    EXPECT_EQ(DialogItemText(FindWindow(), edt1), "tail");
    Click(FindWindow(), IDCANCEL);
    Select(2, 2);
    Command(IDM_FIND);
    EXPECT_EQ(DialogItemText(FindWindow(), edt1), "tail") << "an empty selection keeps the text";
    RECT rect{};
    ::GetWindowRect(FindWindow(), &rect);
    EXPECT_EQ(rect.left, 40) << "it opens where it closed";
    EXPECT_EQ(rect.top, 50);

    Command(IDM_REPLACE); // made now: it starts with the find dialog's text
    EXPECT_EQ(DialogItemText(ReplaceWindow(), edt1), "tail");
}

// What the user typed or set stays without a request, however the dialog goes: the Cancel button
// (and Esc), the close box, or the program closing it.
TEST_F(FindForm, ClosingADialogKeepsItsTextsAndOptions) {
    enum class Way { Cancel, CloseBox, Program };
    const struct Row {
        bool replace;
        Way way;
        const char* text;
        const char* replacement;
        bool down, matchCase, wholeWord;
    } rows[] = {
        {false, Way::Cancel, "a", "", false, true, false},
        {false, Way::CloseBox, "bc", "", true, false, true},
        {false, Way::Program, "d", "", false, false, false},
        {true, Way::Cancel, "a", "aa", true, true, false},
        {true, Way::CloseBox, "b", "", true, false, true},
        {true, Way::Program, "c", "cc", true, true, true},
    };
    form->TextField.SetWholeText("ab ab");
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.replace ? "replace " : "find ") + r.text);
        Select(0, 0);
        Command(r.replace ? IDM_REPLACE : IDM_FIND);
        TFindDialog& dialog = r.replace ? *form->TextField.ReplaceDialog() : *form->TextField.FindDialog();
        Fill(dialog.Handle(), r.text, r.down, r.matchCase, r.wholeWord);
        if (r.replace) ::SetDlgItemTextA(dialog.Handle(), edt2, r.replacement);
        if (r.way == Way::Cancel) Click(dialog.Handle(), IDCANCEL);
        if (r.way == Way::CloseBox) ::SendMessageA(dialog.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        if (r.way == Way::Program) dialog.CloseDialog();
        PumpLikeProgram();
        ASSERT_FALSE(dialog.Handle()) << "closed";
        EXPECT_EQ(dialog.FindText(), r.text);
        EXPECT_EQ(dialog.MatchCase(), r.matchCase);
        EXPECT_EQ(dialog.WholeWord(), r.wholeWord);
        if (!r.replace) {
            EXPECT_EQ(dialog.Down(), r.down);
        }

        Command(r.replace ? IDM_REPLACE : IDM_FIND);
        EXPECT_EQ(DialogItemText(dialog.Handle(), edt1), r.text);
        if (r.replace) {
            EXPECT_EQ(DialogItemText(dialog.Handle(), edt2), r.replacement);
        }
        EXPECT_EQ(::IsDlgButtonChecked(dialog.Handle(), chx2) == BST_CHECKED, r.matchCase);
        EXPECT_EQ(::IsDlgButtonChecked(dialog.Handle(), chx1) == BST_CHECKED, r.wholeWord);
        if (!r.replace) {
            EXPECT_EQ(::IsDlgButtonChecked(dialog.Handle(), rad2) == BST_CHECKED, r.down);
        }
        Click(dialog.Handle(), IDCANCEL);
    }
    EXPECT_TRUE(dialogs.Seen().empty());
}

TEST_F(FindForm, ReplaceAllRunsFromTheSelectionOnAndReportsOneChange) {
    Load("aaa", 0, 0);
    Command(IDM_REPLACE);
    Fill(ReplaceWindow(), "a", true, true);
    ::SetDlgItemTextA(ReplaceWindow(), edt2, "aa");
    form->DocumentModified = false;
    Click(ReplaceWindow(), psh2);
    EXPECT_EQ(form->TextField.GetWholeText(), "aaaaaa");
    EXPECT_TRUE(form->DocumentModified) << "the change handler ran";
    EXPECT_EQ(Selection(), (Range{4, 6}));

    // The system's replace dialog always searches down (the text field's tests take the other way).
    Load("x x x x", 3, 3);
    Fill(ReplaceWindow(), "x", true);
    ::SetDlgItemTextA(ReplaceWindow(), edt2, "y");
    Click(ReplaceWindow(), psh2);
    EXPECT_EQ(form->TextField.GetWholeText(), "x x y y") << "the occurrences before the caret stay";

    Load("x", 0, 0);
    Fill(ReplaceWindow(), "q", true);
    dialogs.Press(IDOK);
    form->DocumentModified = false;
    Click(ReplaceWindow(), psh2);
    ExpectNotFoundBox("q");
    EXPECT_FALSE(form->DocumentModified);
}

TEST_F(FindForm, ReplaceSkipsTheSelectedOccurrence) {
    Load("abc abc abc", 0, 3);
    Command(IDM_REPLACE);
    EXPECT_EQ(DialogItemText(ReplaceWindow(), edt1), "abc");
    ::SetDlgItemTextA(ReplaceWindow(), edt2, "X");
    Click(ReplaceWindow(), psh1);
    EXPECT_EQ(form->TextField.GetWholeText(), "abc X abc");
    EXPECT_EQ(Selection(), (Range{4, 5}));
    Click(ReplaceWindow(), psh1);
    EXPECT_EQ(form->TextField.GetWholeText(), "abc X X");
}

TEST_F(FindForm, KeysTypedInTheDialogStayThere) {
    Load("hello hello", 0, 5);
    SetClipboardText("CLIP");
    Command(IDM_FIND);
    HWND edit = ::GetDlgItem(FindWindow(), edt1);
    ASSERT_TRUE(edit);
    auto post = [&](WPARAM key, bool control) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::PostMessageA(edit, WM_KEYDOWN, key, 1);
        ::PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
        PumpLikeProgram();
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
    };
    // Upper case in the dialog, so its own text never equals the field's selection.
    ::SetDlgItemTextA(FindWindow(), edt1, "LO");
    ::SendMessageA(edit, EM_SETSEL, 0, 0);
    post(VK_RETURN, false); // the dialog's default button: Find Next
    EXPECT_EQ(Selection(), (Range{9, 11}));
    Select(0, 5);
    post('C', true);
    EXPECT_NE(ClipboardText(), "hello") << "Ctrl+C copied the text field's selection";
    SetClipboardText("CLIP");
    post('V', true);
    EXPECT_EQ(form->TextField.GetWholeText(), "hello hello") << "Ctrl+V pasted into the text field";
    EXPECT_TRUE(dialogs.Seen().empty());
}

} // namespace
} // namespace nv::test
