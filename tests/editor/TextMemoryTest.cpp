#include "editor/TextMemory.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace nv {

TEST(TextMemory, ShapeCountsLinesDigitRunsAndWrappedRows) {
    struct Row {
        std::string text;
        std::uint64_t charsPerRow;
        std::uint64_t lines, digitRuns, signs, wrappedRows, wrappedRowCharacters;
    };
    const Row rows[] = {
        {"", 0, 1, 0, 0, 0, 0},
        {"a\r\nb\rc\nd", 0, 4, 0, 0, 0, 0},        // CR LF, lone CR and lone LF each break once
        {"\n\r", 0, 3, 0, 0, 0, 0},                // LF CR is two breaks
        {"12 ab 345,6\r\n7", 0, 2, 4, 1, 0, 0},    // a line break ends a run of digits
        {"0123456789", 0, 1, 1, 0, 0, 0},
        {"\t[x] = \xE9;", 0, 1, 0, 6, 0, 0},       // tabs, brackets, signs and letters above ASCII
        {"abcdefghij", 4, 1, 0, 0, 2, 20},         // 10 characters in rows of 4: two more rows of a 10-long line
        {"abcd\r\nabcde", 4, 2, 0, 0, 1, 5},       // exactly one row's width does not wrap
        {"abcdefgh", 0, 1, 0, 0, 0, 0},            // no wrap, no rows
    };
    for (const Row& row : rows) {
        const TextShape shape = MeasureTextShape(row.text, row.charsPerRow);
        // Piece by piece, a CR LF split between two pieces included, it counts the same.
        TextShapeCounter counter(row.charsPerRow);
        for (size_t at = 0; at < row.text.size(); at += 2) counter.Add(std::string_view(row.text).substr(at, 2));
        const TextShape pieces = counter.Finish();
        EXPECT_EQ(pieces.Lines, shape.Lines) << row.text;
        EXPECT_EQ(pieces.DigitRuns, shape.DigitRuns) << row.text;
        EXPECT_EQ(pieces.WrappedRowCharacters, shape.WrappedRowCharacters) << row.text;
        EXPECT_EQ(shape.Characters, row.text.size()) << row.text;
        EXPECT_EQ(shape.Lines, row.lines) << row.text;
        EXPECT_EQ(shape.DigitRuns, row.digitRuns) << row.text;
        EXPECT_EQ(shape.Signs, row.signs) << row.text;
        EXPECT_EQ(shape.WrappedRows, row.wrappedRows) << row.text;
        EXPECT_EQ(shape.WrappedRowCharacters, row.wrappedRowCharacters) << row.text;
    }
}

// A paste joins the line around it; a replacement costs what it has more of than what it replaces.
TEST(TextMemory, WhatAJoinedTextAndAReplacementAdd) {
    struct Row {
        TextShape shape;
        std::uint64_t characters, lines, signs, wrappedRows, wrappedRowCharacters;
    };
    const Row rows[] = {
        {MeasureJoinedShape("abcd", 0, 0, 4), 4, 0, 0, 0, 0},
        {MeasureJoinedShape("abcd", 6, 2, 4), 4, 0, 0, 1, 16},    // 8 in rows of 4 took 1 more row, 12 take 2
        {MeasureJoinedShape("ab\r\ncd", 6, 6, 4), 6, 1, 0, 0, 0}, // two lines of 8: no more rows than one of 12
        {MeasureJoinedShape("ab", 100, 0, 0), 2, 0, 0, 0, 0},      // unwrapped, the line's length costs nothing
        {ReplacementGrowth(" ", ",", 1000), 0, 0, 1000, 0, 0},     // same length, but every comma is a sign
        {ReplacementGrowth("abc", "x", 1000), 0, 0, 0, 0, 0},
        {ReplacementGrowth("x", "a\r\nb", 3), 9, 3, 0, 0, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.shape.Characters, row.characters);
        EXPECT_EQ(row.shape.Lines, row.lines);
        EXPECT_EQ(row.shape.Signs, row.signs);
        EXPECT_EQ(row.shape.WrappedRows, row.wrappedRows);
        EXPECT_EQ(row.shape.WrappedRowCharacters, row.wrappedRowCharacters);
    }
}

TEST(TextMemory, NeedAddsEveryCostToTheReserveAndSaturates) {
    const ControlMemoryCosts costs{10, 100, 1000, 300, 10000, 2};
    TextShape shape;
    shape.Characters = 5;
    shape.Lines = 2;
    shape.DigitRuns = 3;
    shape.Signs = 4;
    shape.WrappedRows = 1;
    shape.WrappedRowCharacters = 7;
    const std::uint64_t expected = kMemoryReserve + 5 * 11 + 2 * 100 + 3 * 1000 + 4 * 300 + 1 * 10000 + 7 * 2;
    EXPECT_EQ(MemoryNeedFor(shape, 0, costs).NeededBytes, expected);
    EXPECT_TRUE(MemoryNeedFor(shape, expected, costs).Fits());
    EXPECT_FALSE(MemoryNeedFor(shape, expected - 1, costs).Fits());

    const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    shape.Characters = max / 4;
    EXPECT_EQ(MemoryNeedFor(shape, max - 1, costs).NeededBytes, max) << "an absurd length never wraps round";
    EXPECT_FALSE(MemoryNeedFor(shape, max - 1, costs).Fits());
}

TEST(TextMemory, FiguresRoundToTheNearestMegabyte) {
    TextMemoryNeed need;
    const std::uint64_t mb = 1u << 20;
    for (auto [bytes, megabytes] : {std::pair<std::uint64_t, std::uint64_t>{0, 0}, {mb / 2 - 1, 0}, {mb / 2, 1},
                                    {3 * mb + mb / 2 - 1, 3}, {3 * mb + mb / 2, 4}}) {
        need.NeededBytes = bytes;
        EXPECT_EQ(need.NeededMB(), megabytes) << bytes;
    }
}

TEST(TextMemory, ProseOf40MBFitsTheLargeAddressSpaceOfA32BitProcessAndOf100MBDoesNot) {
    // What the shipped exe has left after start-up under Wine, measured: about 3.6 GB.
    const std::uint64_t freeIn32Bits = 3600ull << 20;
    const ControlMemoryCosts costs32 = ControlMemoryCostsOf(4);
    auto prose = [](std::uint64_t bytes) {
        TextShape shape = ShapeOfLength(bytes);
        shape.Lines = bytes / 68 + 1; // lines of 66 characters and CR LF, each ending in a full stop
        shape.Signs = shape.Lines;
        return shape;
    };
    EXPECT_TRUE(MemoryNeedFor(prose(40ull << 20), freeIn32Bits, costs32).Fits());
    EXPECT_FALSE(MemoryNeedFor(prose(100ull << 20), freeIn32Bits, costs32).Fits());
    EXPECT_FALSE(MemoryNeedFor(ShapeOfLength(200ull << 20), freeIn32Bits, costs32).Fits())
        << "the length alone refuses a file before it is read";
}

} // namespace nv
