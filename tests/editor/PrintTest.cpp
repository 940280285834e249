// Printing through a PostScript file printer that the test adds: Wine has no printers of its own.
#include "editor/NvRichEd.h"
#include "tests/support/FilePrinter.h"
#include "tests/support/TestHost.h"

#include <commdlg.h>

#include <gtest/gtest.h>

namespace nv {
namespace {

class PrintText : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        if (test::EnsureFilePrinter(why).empty()) GTEST_SKIP() << "no file printer could be added: " << why;
        // The default printer's DC, as the print dialog hands it to the program.
        PRINTDLGA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        ASSERT_TRUE(::PrintDlgA(&dialog)) << "PrintDlg error " << ::CommDlgExtendedError();
        printer.reset(dialog.hDC);
        if (dialog.hDevMode) ::GlobalFree(dialog.hDevMode);
        if (dialog.hDevNames) ::GlobalFree(dialog.hDevNames);
        ASSERT_TRUE(printer) << "the default printer's DC";
        field.CreateWnd(host.Handle(), host.Client(), 100);
        TFont font;
        font.Name = "Courier New";
        font.Height = -16;
        field.SetFont(font);
    }

    std::string Print(const std::string& title, int* pages = nullptr) {
        // A file of its own for every job: Wine's spooler writes over an old file without shortening it.
        const std::string out = dir.File("out" + std::to_string(++jobs) + ".ps");
        const int n = field.PrintText(title, PrintTarget{printer.get(), out});
        if (pages) *pages = n;
        return test::ReadFileBytes(out);
    }

    test::TestHost host;
    TNvRichEdit field;
    MemoryDC printer;
    test::TempDir dir;
    int jobs = 0;
};

TEST_F(PrintText, EmptyTextPrintsOneEmptyPageWithTheTitle) {
    ::SetMapMode(printer.get(), MM_LOENGLISH);
    int pages = 0;
    const std::string ps = Print("C:\\docs\\notes.txt", &pages);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
    EXPECT_EQ(test::PrintedPages(ps), (std::vector<std::vector<std::string>>{{}}));
    EXPECT_EQ(test::PrintedTitle(ps), "C:\\docs\\notes.txt");
    EXPECT_EQ(::GetMapMode(printer.get()), MM_LOENGLISH) << "the mapping mode is restored";
}

std::string Numbered(int count, const char* trailer = "\r\n") {
    std::string text;
    for (int i = 0; i < count; ++i) text += "Line " + std::to_string(i) + (i + 1 < count ? "\r\n" : trailer);
    return text;
}

// Where the control renders nothing (Wine's answers no progress), the field draws the text itself:
// every line once, in order, the same number of lines on every full page, no page left blank.
TEST_F(PrintText, TheTextGoesOnPagesLineByLine) {
    field.SetWholeText(Numbered(400));
    int pages = 0;
    const std::string ps = Print("", &pages);
    const auto printed = test::PrintedPages(ps);
    ASSERT_EQ(static_cast<int>(printed.size()), pages);
    ASSERT_GT(pages, 2) << "400 lines fill more than two pages";
    const size_t perPage = printed[0].size();
    std::vector<std::string> all;
    for (size_t page = 0; page < printed.size(); ++page) {
        if (page + 1 < printed.size()) {
            EXPECT_EQ(printed[page].size(), perPage) << "page " << page;
        }
        EXPECT_FALSE(printed[page].empty()) << "page " << page << " is blank";
        all.insert(all.end(), printed[page].begin(), printed[page].end());
    }
    ASSERT_EQ(all.size(), 400u);
    for (int i = 0; i < 400; ++i) EXPECT_EQ(all[static_cast<size_t>(i)], "Line " + std::to_string(i));
    EXPECT_NE(ps.find("%%EOF"), std::string::npos) << "the job was ended";

    // Exactly two pages of lines, with the line break files usually end with: no blank third page.
    field.SetWholeText(Numbered(static_cast<int>(perPage) * 2, "\r\n"));
    EXPECT_EQ(test::PrintedPages(Print("", &pages)).size(), 2u);
    EXPECT_EQ(pages, 2);
}

TEST_F(PrintText, ALineWiderThanThePageWrapsAtSpaces) {
    std::string words;
    for (int i = 0; i < 60; ++i) words += "word" + std::to_string(i) + " ";
    words.pop_back();
    field.SetWholeText(words + "\r\nlast");
    const auto printed = test::PrintedPages(Print(""));
    ASSERT_EQ(printed.size(), 1u);
    ASSERT_GT(printed[0].size(), 2u) << "the long line takes several printed lines";
    std::string joined;
    for (size_t i = 0; i + 1 < printed[0].size(); ++i) {
        EXPECT_NE(printed[0][i].back(), ' ');
        joined += (i ? " " : "") + printed[0][i];
    }
    EXPECT_EQ(joined, words);
    EXPECT_EQ(printed[0].back(), "last");
}

} // namespace
} // namespace nv
