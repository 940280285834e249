#include "editor/TextRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nv {

TEST(Conversions, ExtensionChoosesTheFormatWithoutRegardToCase) {
    const auto plain = TStreamFormat::sfPlainText, rich = TStreamFormat::sfRichText;
    EXPECT_EQ(FormatForPath("C:\\x\\a.rtf", plain), rich);
    EXPECT_EQ(FormatForPath("C:\\x\\a.RTF", plain), rich);
    EXPECT_EQ(FormatForPath("C:\\x\\a.txt", rich), plain);
    EXPECT_EQ(FormatForPath("C:\\x\\a.md", plain), plain);
    EXPECT_EQ(FormatForPath("C:\\x\\a", plain), plain);
    EXPECT_EQ(FormatForPath("C:\\x.rtf\\a", plain), plain) << "a folder's extension does not count";
    EXPECT_EQ(FormatForPath("C:\\x\\a.rtf.bak", plain), plain);
}

TEST(Conversions, OnlyATextThatStartsAsRtfMarkupIsMarkup) {
    const struct {
        const char* start;
        bool markup;
    } rows[] = {
        {"{\\rtf1\\ansi", true}, {"{\\rtf", true}, {"{\\rt", false}, {"", false},
        {" {\\rtf1", false},    {"{\\RTF1", false}, {"{\\urtf1", false}, {"plain {\\rtf1", false},
    };
    for (const auto& row : rows) EXPECT_EQ(IsRtfMarkup(row.start), row.markup) << row.start;
}

TEST(TextLimit, LongTextsGetRoomToType) {
    EXPECT_EQ(TextLimitFor(0), kDefaultTextLimit);
    EXPECT_EQ(TextLimitFor(1000), kDefaultTextLimit);
    const long big = 20'000'000;
    EXPECT_GE(TextLimitFor(big), big + kTypingRoom);
    // Close below the default limit there must still be room left.
    EXPECT_GT(TextLimitFor(kDefaultTextLimit - 10), kDefaultTextLimit);
    EXPECT_EQ(TextLimitFor(10, 500), 500);
    EXPECT_EQ(TextLimitFor(900, 500), 900) << "an explicit limit never cuts a text";
}

TEST(Printing, PageRectangleIsInTwips) {
    TwipsRect letter = PageRectTwips(2400, 3150, 300, 300); // 8 x 10.5 inches at 300 dpi
    EXPECT_EQ(letter.left, 0);
    EXPECT_EQ(letter.top, 0);
    EXPECT_EQ(letter.right, 8 * 1440);
    EXPECT_EQ(letter.bottom, 15120);
    TwipsRect odd = PageRectTwips(601, 100, 600, 72);
    EXPECT_EQ(odd.right, 1442); // 1442.4 rounds down
    EXPECT_EQ(odd.bottom, 2000);
}

TEST(Printing, PageLoopFollowsTheControlAndEndsWithoutProgress) {
    int newPages = 0;
    auto countNewPage = [&] { ++newPages; };

    // 250 characters at 100 a page: three pages.
    std::vector<long> starts;
    int pages = PrintPages(
        250, [&](long start) { starts.push_back(start); return start + 100 > 250 ? 250 : start + 100; },
        countNewPage);
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(newPages, 2);
    EXPECT_EQ(starts, (std::vector<long>{0, 100, 200}));

    // An empty text prints one empty page.
    newPages = 0;
    EXPECT_EQ(PrintPages(0, [](long) { return 0L; }, countNewPage), 1);
    EXPECT_EQ(newPages, 0);

    // -1 stops.
    EXPECT_EQ(PrintPages(500, [](long) { return -1L; }, countNewPage), 1);

    // A control that reports no progress must not loop for ever.
    newPages = 0;
    int calls = 0;
    pages = PrintPages(500, [&](long start) { ++calls; return start < 100 ? 100L : 100L; }, countNewPage);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(calls, 2);

    // Where the control stalls, the rest is printed by the fallback from the current page on.
    newPages = 0;
    std::vector<long> restStarts;
    pages = PrintPages(
        500, [](long start) { return start == 0 ? 200L : start; }, countNewPage,
        [&](long start) { restStarts.push_back(start); return 2; });
    EXPECT_EQ(pages, 4) << "one page by the control, then the stalled page and two more by the fallback";
    EXPECT_EQ(newPages, 1);
    EXPECT_EQ(restStarts, (std::vector<long>{200}));
    // The end of the text and -1 never reach the fallback.
    restStarts.clear();
    const auto noteRest = [&](long start) {
        restStarts.push_back(start);
        return 0;
    };
    EXPECT_EQ(PrintPages(0, [](long) { return 0L; }, countNewPage, noteRest), 1);
    EXPECT_EQ(PrintPages(9, [](long) { return -1L; }, countNewPage, noteRest), 1);
    EXPECT_TRUE(restStarts.empty());
}

TEST(UndoKinds, MaskedToSevenBitsAndUnknownAbovePaste) {
    EXPECT_EQ(NormalizeUndoKind(1), 1);
    EXPECT_EQ(NormalizeUndoKind(5), 5);
    EXPECT_EQ(NormalizeUndoKind(6), 0);
    EXPECT_EQ(NormalizeUndoKind(0x80 | 4), 4);
    EXPECT_EQ(NormalizeUndoKind(0x7F), 0);
}

namespace {
std::string StreamAll(const std::string& text, size_t chunk, std::vector<std::string>* chunks = nullptr) {
    LineBreakStreamer streamer(text);
    std::string out;
    std::vector<char> buffer(chunk);
    for (;;) {
        size_t n = streamer.Read(buffer.data(), buffer.size());
        if (n == 0) break;
        if (chunks) chunks->emplace_back(buffer.data(), n);
        out.append(buffer.data(), n);
    }
    return out;
}
} // namespace

TEST(LineBreakStreamer, EveryBreakBecomesOneParagraphMark) {
    EXPECT_EQ(StreamAll("a\r\nb\nc\rd", 64), "a\rb\rc\rd");
    EXPECT_EQ(StreamAll("x\n\ry", 64), "x\r\ry") << "LF CR is two breaks";
    EXPECT_EQ(StreamAll("x\r\r\ny", 64), "x\r\ry") << "CR CR LF is two breaks";
    EXPECT_EQ(StreamAll("\r\n\r\n", 64), "\r\r");
    EXPECT_EQ(StreamAll("", 64), "");
    EXPECT_EQ(StreamAll(std::string("ab\0cd", 5), 64), "ab") << "a zero ends the text";
}

TEST(LineBreakStreamer, PairsSplitAcrossChunkBoundariesStayOneBreak) {
    std::string text;
    for (int i = 0; i < 500; ++i) text += "line " + std::to_string(i) + "\r\n";
    std::string expected;
    for (int i = 0; i < 500; ++i) expected += "line " + std::to_string(i) + "\r";
    for (size_t chunk : {1u, 2u, 3u, 7u, 64u, 4096u}) {
        std::vector<std::string> chunks;
        EXPECT_EQ(StreamAll(text, chunk, &chunks), expected) << "chunk size " << chunk;
        for (const std::string& c : chunks) EXPECT_LE(c.size(), chunk);
    }
}

TEST(ScrollBarSample, AsManyLinesAsTheTextWithItsLongestFirst) {
    struct Row {
        std::string text;
        size_t maxLines, maxLineLength;
        std::string sample;
    } rows[] = {
        {"", 1000, 4096, ""},
        {"abc", 1000, 4096, "abc"},
        {"ab\r\nlongest\nc\rd", 1000, 4096, "longest\r\r\r"},
        {"a\r\n\r\n", 1000, 4096, "a\r\r"},
        {"x\r\r\ny\n\rz", 1000, 4096, "x\r\r\r\r"}, // CR CR LF and LF CR are two breaks each, as streamed
        {"one\r\ntwo\r\nthree\r\nfour", 2, 4096, "three\r"},
        {"short\r\n" + std::string(50, 'w'), 1000, 8, "wwwwwwww\r"},
        {std::string("ab\0cd\r\nlonger", 14), 1000, 4096, "ab"}, // a zero ends the text
    };
    for (const Row& r : rows) EXPECT_EQ(ScrollBarSample(r.text, r.maxLines, r.maxLineLength), r.sample) << r.text;
}

TEST(LinkClicks, OnlyAPressAndReleaseWithTheSameButtonOnTheSameLinkClick) {
    LinkClickTracker t;
    t.Press(TMouseButton::mbLeft, 5, 20);
    EXPECT_TRUE(t.Release(TMouseButton::mbLeft, 5, 20));
    EXPECT_FALSE(t.Release(TMouseButton::mbLeft, 5, 20)) << "the range is forgotten after a release";

    t.Press(TMouseButton::mbRight, 5, 20);
    EXPECT_TRUE(t.Release(TMouseButton::mbRight, 5, 20));

    t.Press(TMouseButton::mbLeft, 5, 20);
    EXPECT_FALSE(t.Release(TMouseButton::mbRight, 5, 20));
    t.Press(TMouseButton::mbRight, 5, 20);
    EXPECT_FALSE(t.Release(TMouseButton::mbLeft, 5, 20));
    t.Press(TMouseButton::mbLeft, 5, 20);
    EXPECT_FALSE(t.Release(TMouseButton::mbLeft, 30, 40)) << "released on another link";
    EXPECT_FALSE(t.Release(TMouseButton::mbLeft, 5, 20)) << "nothing pending without a press";
}

TEST(Fonts, SizeFollowsHeightAndScreenResolution) {
    TFont font;
    font.Height = -12;
    EXPECT_EQ(font.Size(96), 9);
    font.Height = -16;
    EXPECT_EQ(font.Size(96), 12);
    font.SetSize(10, 96);
    EXPECT_EQ(font.Height, -13);
    EXPECT_EQ(font.Size(120), 8);
}

TEST(Fonts, CharacterFormatOfAFont) {
    TFont font;
    font.Name = "A face name that is far longer than thirty-one characters";
    font.Height = -12;
    font.Style = fsItalic | fsUnderline;
    font.Color = clWindowText;
    font.Charset = 0;
    auto rgb = [](TColor c) { return static_cast<std::uint32_t>(c) & 0xFFFFFF; };
    CharFormatSpec wanted = MakeCharFormatSpec(font, 96, rgb);
    EXPECT_EQ(wanted.FaceName.size(), 31u);
    EXPECT_EQ(wanted.TwentiethsOfPoint, 180);
    EXPECT_TRUE(wanted.Italic);
    EXPECT_TRUE(wanted.Underline);
    EXPECT_FALSE(wanted.Bold);
    EXPECT_FALSE(wanted.StrikeOut);
    EXPECT_EQ(wanted.Weight, 400);
    EXPECT_TRUE(wanted.AutoColor) << "the window-text colour is the automatic colour";

    font.Style = fsBold | fsStrikeOut;
    font.Color = clDefault;
    wanted = MakeCharFormatSpec(font, 96, rgb);
    EXPECT_TRUE(wanted.AutoColor);
    EXPECT_TRUE(wanted.Bold);
    EXPECT_TRUE(wanted.StrikeOut);
    EXPECT_EQ(wanted.Weight, 700);

    font.Color = 0x0000FF; // red
    wanted = MakeCharFormatSpec(font, 96, rgb);
    EXPECT_FALSE(wanted.AutoColor);
    EXPECT_EQ(wanted.Rgb, 0x0000FFu);
}

} // namespace nv
