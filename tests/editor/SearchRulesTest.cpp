#include "editor/SearchRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nv {

TEST(DialogSearch, DownRunsFromTheSelectionEndPastTheTextUpFromItsStartToTheBeginning) {
    struct Row {
        long selStart, selEnd, wholeLength;
        bool down;
        long start, length;
        bool backward;
    } rows[] = {
        {0, 0, 6, true, 0, 7, false},  // caret at 0: the whole text and one more
        {0, 3, 6, true, 3, 4, false},  // a found match: the next search starts after it
        {6, 6, 6, true, 6, 1, false},  // at the end nothing is left to search
        {4, 2, 10, true, 4, 7, false}, // the larger end, whichever way round
        {6, 6, 6, false, 6, 7, true},  // up from the end
        {3, 6, 6, false, 3, 4, true},  // up from a found match
        {5, 2, 9, false, 2, 3, true},  // the smaller end
        {0, 0, 6, false, 0, 1, true},
    };
    for (const Row& r : rows) {
        const SearchSpan span = DialogSearchSpan(r.selStart, r.selEnd, r.wholeLength, r.down);
        EXPECT_EQ(span.Start, r.start) << r.selStart << ".." << r.selEnd << (r.down ? " down" : " up");
        EXPECT_EQ(span.Length, r.length) << r.selStart << ".." << r.selEnd << (r.down ? " down" : " up");
        EXPECT_EQ(span.Backward, r.backward);
    }
    struct Bounds {
        long start, length;
        bool backward;
        PositionRange range;
    } bounds[] = {
        {3, 4, false, {3, 7}}, {3, -4, false, {3, 7}}, // the length's absolute value
        {6, 7, true, {6, 0}},  {3, 4, true, {3, 0}},   // up: from the start to the beginning
        {5, 2, true, {5, 4}},  {2, 9, true, {2, 0}},   // never below 0
    };
    for (const Bounds& b : bounds) {
        EXPECT_EQ(SearchBounds(b.start, b.length, b.backward), b.range) << b.start << "," << b.length;
    }
}

TEST(DialogSearch, TheDialogMovesAboveOrBelowAMatchItCovers) {
    const ScreenRect dialog{100, 200, 400, 350}; // 150 high
    const long screen = 768;
    struct Row {
        const char* what;
        ScreenPoint a, b;
        long screenHeight;
        std::optional<long> top;
    } rows[] = {
        {"covers the start, room above", {150, 300}, {150, 500}, screen, 130},      // 300 - 20 - 150
        {"covers the end only, no room above", {50, 160}, {150, 210}, screen, 200}, // 160 + 40
        {"one pixel of room above", {50, 171}, {150, 210}, screen, 1},
        {"no pixel of room above", {50, 170}, {150, 210}, screen, 210},
        {"covers neither point", {50, 300}, {450, 320}, screen, std::nullopt},
        {"right and bottom edges are outside", {400, 300}, {150, 350}, screen, std::nullopt},
        {"no room above or below", {150, 160}, {150, 210}, 310, std::nullopt}, // 160 + 150 reaches 310
        {"room below by one pixel", {150, 160}, {150, 210}, 311, 200},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DialogTopOffMatch(dialog, r.a, r.b, r.screenHeight), r.top) << r.what;
    }
}

TEST(ReplaceAllPlan, OnlyTheOccurrencesUndoCannotReachAreMadeInMemory) {
    struct Row {
        size_t matches;
        int undo;
        size_t inMemory;
    } rows[] = {{0, 10, 0}, {10, 10, 0}, {11, 10, 1}, {20000, 10, 19990}, {5, 0, 4}, {5, -1, 4}};
    for (const Row& r : rows)
        EXPECT_EQ(InMemoryReplacements(r.matches, r.undo), r.inMemory) << r.matches;
}

TEST(ReplaceAllPlan, ReplacesInTheWholeTextByPositionsAndSelectsTheLastReplacementMade) {
    // "ab\r\ncab\r\nab": positions a0 b1 |2 c3 a4 b5 |6 a7 b8.
    const std::string text = "ab\r\ncab\r\nab";
    struct Row {
        const char* what;
        std::vector<PositionRange> matches;
        size_t count;
        std::string replacement;
        std::string result;
        PositionRange selection;
    } rows[] = {
        {"down, all", {{0, 2}, {4, 6}, {7, 9}}, 3, "XYZ", "XYZ\r\ncXYZ\r\nXYZ", {9, 12}},
        {"down, the first two", {{0, 2}, {4, 6}, {7, 9}}, 2, "X", "X\r\ncX\r\nab", {3, 4}},
        {"up, the last two in the text", {{7, 9}, {4, 6}, {0, 2}}, 2, "", "ab\r\nc\r\n", {4, 4}},
        {"a match over a line break", {{1, 4}}, 1, "-", "a-ab\r\nab", {1, 2}},
        {"none", {{0, 2}}, 0, "X", text, {0, 0}},
    };
    for (const Row& r : rows) {
        const InMemoryReplaceResult result = ReplaceInMemory(text, r.matches, r.count, r.replacement);
        EXPECT_EQ(result.Text, r.result) << r.what;
        EXPECT_EQ(result.Selection, r.selection) << r.what;
    }
}

TEST(ReplaceAllPlan, AnOccurrenceRightAfterAReplacementIsLeftToTheLoop) {
    struct Row {
        std::string text;
        std::vector<PositionRange> matches;
        std::string search;
        bool down;
        bool touches;
    } rows[] = {
        {"ab ab", {{0, 2}, {3, 5}}, "ab", true, false},
        {"abab x", {{0, 2}}, "ab", true, true}, // 'a' follows the first: a candidate the loop may see
        {"abAB x", {{0, 2}}, "ab", true, true}, // case-blind
        {"ab\r\nab", {{0, 2}, {3, 5}}, "ab", true, false},
        {"x abab", {{4, 6}}, "ab", false, true}, // up: 'b' before the match
        {"ab ab", {{3, 5}, {0, 2}}, "ab", false, false},
        {"\xe4"
         "b\xc4"
         "b",
         {{2, 4}},
         "\xe4"
         "b",
         false,
         true}, // letters beyond ASCII may fold
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MayTouchNextOccurrence(r.text, r.matches, r.search, r.down), r.touches) << r.text;
    }
}

} // namespace nv

namespace nv {
TEST(ReplaceAllPlan, OccurrencesInMemoryComeInTheLoopsOrderAsPositions) {
    // "aXa\r\naxa": positions a0 X1 a2 |3 a4 x5 a6.
    const std::string text = "aXa\r\naxa";
    struct Row {
        std::string search;
        bool matchCase;
        long from;
        bool down;
        std::vector<PositionRange> found;
    } rows[] = {
        {"ax", false, 0, true, {{0, 2}, {4, 6}}},
        {"ax", true, 0, true, {{4, 6}}},
        {"ax", false, 1, true, {{4, 6}}},
        {"aa", false, 0, true, {}},             // never across a line break
        {"ax", false, 7, false, {{4, 6}, {0, 2}}},
        {"ax", false, 5, false, {{0, 2}}},      // an occurrence must end at or before the start
        {"a", false, 7, false, {{6, 7}, {4, 5}, {2, 3}, {0, 1}}},
        {"aa", false, 0, true, {}},
        {"xa", false, 0, true, {{1, 3}, {5, 7}}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FindOccurrences(text, r.search, r.matchCase, r.from, r.down), r.found) << r.search << r.from;
    }
    EXPECT_EQ(FindOccurrences("aaaa", "aa", true, 0, true), (std::vector<PositionRange>{{0, 2}, {2, 4}}));
    EXPECT_EQ(FindOccurrences("aaaaa", "aa", true, 5, false), (std::vector<PositionRange>{{3, 5}, {1, 3}}));
    EXPECT_TRUE(FindOccurrences("\xe4", "\xc4", false, 0, true).empty()) << "only ASCII letters fold";
}
} // namespace nv
