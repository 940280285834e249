// Large replacements made through a new window, and long texts handed over after a sample of their
// scroll bars, leave the text, the selection, the modified flag and undo as the control leaves them
// doing the same work itself.
#include "editor/NvRichEd.h"
#include "tests/support/SampleTexts.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace nv {
namespace {

struct State {
    std::string text;
    long start = 0, end = 0;
    bool canUndo = false, canRedo = false, modified = false, changed = false;
    bool operator==(const State& o) const {
        return text == o.text && start == o.start && end == o.end && canUndo == o.canUndo &&
               canRedo == o.canRedo && modified == o.modified && changed == o.changed;
    }
};

std::ostream& operator<<(std::ostream& out, const State& s) {
    return out << "[" << s.text << "] " << s.start << "-" << s.end << " undo " << s.canUndo << " redo "
               << s.canRedo << " modified " << s.modified << " changed " << s.changed;
}

using Step = std::function<void(TNvRichEdit&)>;

void Key(TNvRichEdit& f, WPARAM key) {
    ::SendMessageA(f.Handle(), WM_KEYDOWN, key, 1);
    ::SendMessageA(f.Handle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}
// The key pressed with a modifier (VK_CONTROL, VK_SHIFT) held down.
void KeyWith(WPARAM modifier, TNvRichEdit& f, WPARAM key) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[modifier] = 0x80;
    ::SetKeyboardState(keys);
    Key(f, key);
    keys[modifier] = 0;
    ::SetKeyboardState(keys);
}
Step SelectAll() {
    return [](TNvRichEdit& f) { f.SelectWholeText(); };
}
Step Select(long start, long end) {
    return [=](TNvRichEdit& f) {
        CHARRANGE range{start, end};
        ::SendMessageA(f.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    };
}
Step Press(WPARAM key) {
    return [=](TNvRichEdit& f) { Key(f, key); };
}
Step Control(WPARAM key) {
    return [=](TNvRichEdit& f) { KeyWith(VK_CONTROL, f, key); };
}
Step Type(char c) {
    return [=](TNvRichEdit& f) { ::SendMessageA(f.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1); };
}
Step Paste(const std::string& text) {
    return [=](TNvRichEdit& f) {
        test::SetClipboardText(text);
        f.PasteClipboard();
    };
}
Step Cut() {
    return [](TNvRichEdit& f) { f.CutSelection(); };
}
Step Undo() {
    return [](TNvRichEdit& f) { f.UndoLast(); };
}
Step Redo() {
    return [](TNvRichEdit& f) { f.RedoLast(); };
}
Step Replace(const std::string& text) {
    return [=](TNvRichEdit& f) { f.ReplaceSelection(text); };
}

class LargeEdits : public ::testing::Test {
  protected:
    void SetUp() override {
        field.SetUndoLimit(10);
        field.SetWordWrap(false);
        field.SetHideSelection(false);
        field.CreateWnd(host.Handle(), host.Client(), 100);
        field.OnChange = [this](TObject*) { changed = true; };
    }
    State Now() {
        State s;
        s.text = field.GetWholeText();
        s.start = field.SelectionStart();
        s.end = s.start + field.SelectionLength();
        s.canUndo = field.UndoAvailable();
        s.canRedo = field.RedoAvailable();
        s.modified = field.Modified();
        s.changed = std::exchange(changed, false);
        return s;
    }
    // The state after every step, then after every undo the field offers, then after every redo.
    std::vector<State> Run(const std::string& text, const std::vector<Step>& steps, long largeFrom) {
        field.LargeEditFrom = largeFrom;
        field.SetWholeText(text);
        field.MoveCaret(3);
        changed = false;
        std::vector<State> states;
        for (const Step& step : steps) {
            step(field);
            states.push_back(Now());
        }
        for (int i = 0; i < 12 && field.UndoAvailable(); ++i) {
            field.UndoLast();
            states.push_back(Now());
        }
        for (int i = 0; i < 12 && field.RedoAvailable(); ++i) {
            field.RedoLast();
            states.push_back(Now());
        }
        return states;
    }

    test::TestHost host;
    TNvRichEdit field;
    bool changed = false;
};

TEST_F(LargeEdits, ThroughANewWindowTheyEndAsTheControlLeavesThem) {
    const std::string text = "one two\r\nthree four\r\nfive six seven\r\n\r\neight nine ten\r\neleven";
    const long end = 55;
    struct Row {
        const char* what;
        std::vector<Step> steps;
    } rows[] = {
        {"Ctrl+A Delete, undo, redo, undo", {SelectAll(), Press(VK_DELETE), Undo(), Redo(), Undo()}},
        {"Backspace, then typing", {SelectAll(), Press(VK_BACK), Type('q'), Type('r')}},
        {"typing over everything", {SelectAll(), Type('x'), Type('y'), Undo(), Redo()}},
        {"typing after typing elsewhere", {Type('A'), SelectAll(), Type('x')}},
        {"Enter over everything", {SelectAll(), Press(VK_RETURN), Type('a')}},
        {"paste over everything, then typing", {SelectAll(), Paste("pasted\r\ntext"), Type('q')}},
        {"a paste longer than the text",
         {Paste(std::string(30, 'p') + "\r\n" + std::string(30, 'q')), Type('z')}},
        {"a paste over most of the text, undone and redone",
         {Select(2, end), Paste("new\r\ntext"), Undo(), Redo()}},
        {"cut everything", {SelectAll(), Cut()}},
        {"Shift+Delete is cut",
         {SelectAll(), [](TNvRichEdit& f) { KeyWith(VK_SHIFT, f, VK_DELETE); }}},
        {"most of the text from the middle", {Select(4, end - 3), Press(VK_DELETE), Undo()}},
        {"a selection taking the final mark", {Select(0, -1), Press(VK_DELETE)}},
        {"an earlier step stays within reach",
         {Replace("abc"), SelectAll(), Press(VK_DELETE), Undo(), Undo()}},
        {"an edit after the undo ends the redo", {SelectAll(), Press(VK_DELETE), Undo(), Type('z')}},
        {"undo and redo of older steps between",
         {Replace("abc"), SelectAll(), Press(VK_DELETE), Undo(), Undo(), Redo()}},
        {"the keys Ctrl+Z and Ctrl+Y",
         {SelectAll(), Press(VK_DELETE), Control('Z'), Control('Y'), Control('Z')}},
        {"a small selection stays with the control", {Select(0, 5), Press(VK_DELETE)}},
    };
    for (const Row& row : rows) {
        const std::vector<State> plain = Run(text, row.steps, 0);
        const std::string plainClipboard = test::ClipboardText();
        const std::vector<State> kept = Run(text, row.steps, 1);
        EXPECT_EQ(kept, plain) << row.what;
        EXPECT_EQ(test::ClipboardText(), plainClipboard) << row.what;
    }
}

TEST_F(LargeEdits, ALongTextTakesTheWayOnItsOwnAndTheKeptWindowGoesWithTheText) {
    const std::string text = test::NumberedProse(100'000);
    ASSERT_GT(field.LargeEditFrom, 0) << "on by default under Wine";
    field.SetWholeText(text);
    const long length = field.TextLength();
    field.SelectWholeText();
    const HWND before = field.Handle();
    int keyUps = 0;
    field.OnKeyUp = [&](TObject*, WORD&, TShiftState) { ++keyUps; };
    Key(field, VK_DELETE);
    EXPECT_NE(field.Handle(), before);
    EXPECT_EQ(keyUps, 1) << "the key the new window took is released like any other";
    EXPECT_FALSE(::IsWindowVisible(before));
    EXPECT_EQ(field.KeptTextLength(), length);
    field.UndoLast();
    EXPECT_EQ(field.Handle(), before);
    EXPECT_TRUE(field.GetWholeText() == text);
    field.SetWholeText("new");
    EXPECT_EQ(field.KeptTextLength(), 0);
    EXPECT_FALSE(field.RedoAvailable());
    EXPECT_FALSE(::IsWindow(before));
}

TEST_F(LargeEdits, ALongTextComesInWholeWithTheScrollBarsItNeeds) {
    struct Row {
        const char* what;
        std::string text;
        bool horizontal;
    } rows[] = {
        {"short lines", test::ShortLines(200'000), false},
        {"lines wider than the window", test::LogLines(200'000), true},
        {"one long line", test::LongLine(100'000), true},
        {"lone line feeds", std::string(70'000, 'a').replace(30'000, 1, "\n"), true},
    };
    for (const Row& row : rows) {
        field.SetWholeText(row.text);
        std::string expected;
        for (size_t i = 0; i < row.text.size(); ++i) {
            if (row.text[i] == '\n' && (i == 0 || row.text[i - 1] != '\r')) expected += '\r';
            expected += row.text[i];
        }
        EXPECT_TRUE(field.GetWholeText() == expected) << row.what;
        EXPECT_EQ(field.SelectionStart(), 0) << row.what;
        EXPECT_EQ(field.SelectionLength(), 0) << row.what;
        EXPECT_FALSE(field.UndoAvailable()) << row.what;
        EXPECT_EQ((::GetWindowLongA(field.Handle(), GWL_STYLE) & WS_HSCROLL) != 0, row.horizontal)
            << row.what;
    }
}

} // namespace
} // namespace nv
