// Find and replace in the text field, with the real control and the system's dialogs.
#include "editor/NvRichEd.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nv {
namespace {

using test::PumpMessages;

class FindField : public ::testing::Test {
  protected:
    void SetUp() override {
        field.SetUndoLimit(10);
        field.SetWordWrap(false);
        field.SetHideSelection(false);
        field.CreateWnd(host.Handle(), host.Client(), 100);
        host.OnMessage = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
            result = 0;
            return field.HandleFindMessage(msg, lParam);
        };
        field.OnChange = [this](TObject*) { ++changes; };
        field.OnSelectionChange = [this](TObject*) { ++selections; };
        field.OnTextNotFound = [this](TObject*, const std::string& text) {
            notFound.push_back(text);
            // A redraw switched off hides the window until it is switched on again.
            EXPECT_TRUE(::IsWindowVisible(field.Handle())) << "the field draws while the not-found box shows";
        };
    }
    void Select(long start, long end) {
        CHARRANGE range{start, end};
        ::SendMessageA(field.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    std::pair<long, long> Selection() const {
        return {field.SelectionStart(), field.SelectionStart() + field.SelectionLength()};
    }

    test::TestHost host;
    TNvRichEdit field;
    int changes = 0, selections = 0;
    std::vector<std::string> notFound;
};

struct ReplaceCase {
    const char* what;
    std::string text;
    long selStart, selEnd;
    std::string find, replacement;
    bool down, matchCase, wholeWord;
};

struct ReplaceOutcome {
    std::string text;
    std::pair<long, long> selection;
    std::vector<std::string> undone; // the text after each undo the control still offers
    int changes = 0, selections = 0;
    std::vector<std::string> notFound;
};

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

class ReplaceAllWays : public FindField {
  protected:
    ReplaceOutcome Run(const ReplaceCase& c, bool inMemory) {
        field.ReplaceAllInMemory = inMemory;
        field.SetWholeText(c.text);
        Select(c.selStart, c.selEnd);
        field.ShowReplaceDialog(c.find, c.replacement);
        TReplaceDialog& dialog = *field.ReplaceDialog();
        dialog.SetFindText(c.find);
        dialog.SetReplaceText(c.replacement);
        dialog.SetDown(c.down);
        dialog.SetMatchCase(c.matchCase);
        dialog.SetWholeWord(c.wholeWord);
        changes = selections = 0;
        notFound.clear();
        field.ReplaceWithDialog(dialog, true);
        ReplaceOutcome out;
        out.changes = changes;
        out.selections = selections;
        out.notFound = notFound;
        out.text = field.GetWholeText();
        out.selection = Selection();
        for (int i = 0; i < 12 && field.UndoAvailable(); ++i) {
            field.UndoLast();
            out.undone.push_back(field.GetWholeText());
        }
        return out;
    }
};

TEST_F(ReplaceAllWays, InMemoryAndThroughTheSelectionGiveTheSameTextSelectionAndUndoSteps) {
    const std::string prose =
        Repeat("the cat sat on the mat; Cat catalog cat\r\nconcat cat_cat cat.\r\n", 12);
    const ReplaceCase cases[] = {
        {"down from the start", prose, 0, 0, "cat", "dog", true, false, false},
        {"down, match case, longer", prose, 0, 0, "Cat", "Tiger", true, true, false},
        {"down, whole word", prose, 0, 0, "cat", "x", true, false, true},
        {"up from the end", prose, static_cast<long>(prose.size()), static_cast<long>(prose.size()), "cat",
         "ca", false, false, false},
        {"up, whole word, from the middle", prose, 900, 905, "cat", "CAT", false, false, true},
        {"down from the middle, replacement holds the text", prose, 700, 700, "at", "that", true, false,
         false},
        {"whole word with occurrences side by side", Repeat("catcat cat cat-cat ", 20), 0, 0, "cat", "c-",
         true, false, true},
        {"to nothing", Repeat("ab\r\n", 40), 0, 0, "b", "", true, true, false},
        {"fewer than undo keeps", "a cat, a cat, a cat", 0, 0, "cat", "dog", true, false, false},
        {"nothing to find", "no such thing", 0, 0, "cat", "dog", true, false, false},
        {"letters beyond ASCII beside the search's", Repeat("C\xe4t c\xc4t CAT cAt\r\n\xe4\xc4 ", 8), 3, 3,
         "cat", "\xe4", true, false, false},
        {"up, letters beyond ASCII", Repeat("x\xe4X \xc4x\xe4 ", 9), 50, 50, "x\xe4", "-", false, false,
         false},
        {"up, case matched", Repeat("Ab ab AB\r\n", 9), 60, 60, "ab", "ba", false, true, false},
    };
    for (const ReplaceCase& c : cases) {
        const ReplaceOutcome loop = Run(c, false);
        const ReplaceOutcome fast = Run(c, true);
        EXPECT_EQ(fast.text, loop.text) << c.what;
        EXPECT_EQ(fast.selection, loop.selection) << c.what;
        EXPECT_EQ(fast.undone, loop.undone) << c.what;
        EXPECT_EQ(fast.changes, loop.changes) << c.what;
        EXPECT_EQ(fast.selections, loop.selections) << c.what;
        EXPECT_EQ(fast.notFound, loop.notFound) << c.what;
        EXPECT_LE(loop.undone.size(), 10u) << c.what;
    }
}

TEST_F(FindField, SearchTextRunsDownOrUpWithinItsRangeAndSelectsOnlyWhenAsked) {
    field.SetWholeText("abc ABC abcabc");
    struct Row {
        std::string text;
        long start, length;
        TSearchTypes options;
        long found;
    } rows[] = {
        {"abc", 0, 15, 0, 0},
        {"abc", 1, 14, 0, 4}, // case-blind by default
        {"abc", 1, 14, stMatchCase, 8},
        {"abc", 1, 14, stWholeWord | stMatchCase, -1},
        {"abc", 14, 15, stBackward, 11}, // up from the end: the nearest before
        {"abc", 11, 12, stBackward, 8},
        {"abc", 2, 3, stBackward, -1}, // a match must end before the start
        {"abc", 1, 3, 0, -1},          // the range ends at 4
        {"", 0, 15, 0, -1},
    };
    for (const Row& r : rows) {
        field.MoveCaret(0);
        EXPECT_EQ(field.SearchText(r.text, r.start, r.length, r.options), r.found)
            << r.start << "+" << r.length;
        EXPECT_EQ(field.SelectionStart(), 0) << "no selection without SelectMatch";
    }
    EXPECT_EQ(field.SearchText("ABC", 0, 15, stSelectMatch | stMatchCase), 4);
    EXPECT_EQ(Selection(), (std::pair<long, long>{4, 7}));
}

TEST_F(FindField, TheDialogMovesOffTheMatchItCovers) {
    ::SetWindowPos(host.Handle(), nullptr, 0, 0, 600, 500, SWP_NOZORDER);
    ::ShowWindow(host.Handle(), SW_SHOW);
    field.SetBounds(host.Client());
    field.SetWholeText(Repeat("line\r\n", 10) + "target");
    field.ShowFindDialog("target");
    HWND dialog = field.FindDialog()->Handle();
    ASSERT_TRUE(dialog);
    POINTL at{};
    ::SendMessageA(field.Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 60);
    POINT match{at.x, at.y};
    ::ClientToScreen(field.Handle(), &match);
    RECT rect{};
    ::GetWindowRect(dialog, &rect);
    ::SetWindowPos(dialog, nullptr, match.x - 10, match.y - 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    field.MoveCaret(0);
    ASSERT_TRUE(field.SearchWithDialog(*field.FindDialog(), true, false))
        << field.FindDialog()->FindText() << " down " << field.FindDialog()->Down();
    RECT moved{};
    ::GetWindowRect(dialog, &moved);
    EXPECT_EQ(moved.left, match.x - 10) << "the dialog keeps its horizontal place";
    const long height = rect.bottom - rect.top;
    if (height + 20 < match.y) {
        EXPECT_EQ(moved.bottom, match.y - 20);
    } else {
        EXPECT_EQ(moved.top, match.y + 40);
    }
    field.FindDialog()->CloseDialog();
    PumpMessages();
}

} // namespace
} // namespace nv
