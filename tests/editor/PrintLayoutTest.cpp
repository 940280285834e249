#include "editor/PrintLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nv {
namespace {

// Every character is 10 units wide.
size_t FitTens(std::string_view text, long width) {
    return std::min(text.size(), static_cast<size_t>(width / 10));
}

std::vector<std::string> Lines(const std::string& text, long width = 100, TFitFunction fit = FitTens) {
    TPrintLayout layout(text, width, 1000, 10, std::move(fit));
    std::vector<std::string> lines;
    TPrintedLine line;
    while (layout.Next(line)) lines.emplace_back(line.Text);
    return lines;
}

using L = std::vector<std::string>;

TEST(PrintLayout, BreaksParagraphsIntoLinesThatFit) {
    const struct {
        const char* text;
        L lines;
    } cases[] = {
        {"", L{}},
        {"abc", L{"abc"}},
        {"ab\r\ncd\rx\ny\r\n", L{"ab", "cd", "x", "y"}},         // every break form; no line after the last
        {"\r\n\r\n", L{"", ""}},                                  // empty paragraphs stay
        {"the quick brown fox jumps", L{"the quick", "brown fox", "jumps"}}, // after the last space that fits
        {"abcdefghijklmnopqrstuvwxy", L{"abcdefghij", "klmnopqrst", "uvwxy"}}, // a word wider than the page
        {"abcdefghij     \r\nk", L{"abcdefghij", "k"}},           // spaces at a break open no line
        {"abcdefghij", L{"abcdefghij"}},                          // exactly the width
        {" abcdefghijklm", L{" abcdefghi", "jklm"}},              // a leading space is no break
    };
    for (const auto& c : cases) EXPECT_EQ(Lines(c.text), c.lines) << c.text;
}

TEST(PrintLayout, AtLeastOneCharacterALineWhenNothingFits) {
    EXPECT_EQ(Lines("abc", 5), (L{"a", "b", "c"}));
    EXPECT_EQ(Lines("a b", 0, [](std::string_view, long) { return size_t{0}; }), (L{"a", "b"}));
}

TEST(PrintLayout, StacksLinesOnPages) {
    TPrintLayout layout("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7", 100, 35, 10, FitTens);
    EXPECT_EQ(layout.LinesPerPage(), 3);
    std::vector<std::pair<int, long>> placed;
    TPrintedLine line;
    while (layout.Next(line)) placed.emplace_back(line.Page, line.Top);
    EXPECT_EQ(placed, (std::vector<std::pair<int, long>>{
                          {0, 0}, {0, 10}, {0, 20}, {1, 0}, {1, 10}, {1, 20}, {2, 0}}));

    TPrintLayout tiny("a\nb", 100, 4, 10, FitTens);
    EXPECT_EQ(tiny.LinesPerPage(), 1) << "a line taller than the page still gets a page of its own";
}

TEST(PrintLayout, MeasuresALongParagraphPieceByPiece) {
    const std::string text(100000, 'a');
    size_t longest = 0, calls = 0;
    const auto lines = Lines(text, 500, [&](std::string_view piece, long width) {
        longest = std::max(longest, piece.size());
        ++calls;
        return FitTens(piece, width);
    });
    EXPECT_EQ(lines.size(), 2000u);
    EXPECT_EQ(calls, 2000u);
    EXPECT_LE(longest, TPrintLayout::kMaxMeasured);
}

TEST(PrintLayout, TabsBecomeSpacesToTheNextStop) {
    EXPECT_EQ(ExpandTabs("a\tb"), "a       b");
    EXPECT_EQ(ExpandTabs("\t"), std::string(8, ' '));
    EXPECT_EQ(ExpandTabs("abcdefgh\tx"), "abcdefgh        x");
    EXPECT_EQ(ExpandTabs("ab\r\n\tc"), "ab\r\n        c") << "columns count from the paragraph's start";
    EXPECT_EQ(ExpandTabs("a\tb\tc", 4), "a   b   c");
    EXPECT_EQ(ExpandTabs("no tabs"), "no tabs");
}

} // namespace
} // namespace nv
