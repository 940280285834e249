// Times one caret move and one typed character on long texts in the real main window, next to
// the same panel values computed from a whole-text read. Not a test: it prints a table.
#include "app/MainF.h"
#include "app/StatusText.h"
#include "tests/support/BareControl.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace nv {
namespace {

double Milliseconds(const std::function<void()>& work, int repeats) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / repeats;
}

// Lines of `width` characters (line break included) up to `bytes`.
std::string TextOf(size_t bytes, size_t width) {
    std::string text;
    text.reserve(bytes + width);
    const std::string filler = "0123456789abcdefghijklmnopqrstuvwxyz_ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (int n = 0; text.size() < bytes; ++n) {
        const size_t start = text.size();
        text += "Line" + std::to_string(n) + ":";
        while (text.size() - start < width - 2) text += filler.substr(0, width - 2 - (text.size() - start));
        text += "\r\n";
    }
    return text;
}

// The panel values as a whole-text read gives them: code at P + L of the CR LF text, size its length.
void WholeTextStatus(TNvRichEdit& field, std::string& code, std::string& position, std::string& size) {
    const std::string text = field.GetWholeText();
    const long caret = field.SelectionStart();
    const long line = field.LineOfPosition(caret);
    const long start = field.LineStart(line);
    const size_t index = static_cast<size_t>(caret + line);
    code = CharCodeText(index < text.size() ? static_cast<unsigned char>(text[index]) : 0);
    position = PositionText(caret, caret - start, line + 1);
    size = SizeTextFor(GroupThousands(text.size(), ","));
}

void Type(TForm1& form, char c) { ::SendMessageA(form.TextField.Handle(), WM_CHAR, static_cast<WPARAM>(c), 1); }

TEST(Benchmark, StatusPanelsOnLongTexts) {
    TForm1 form;
    form.StartUp({});
    std::printf("\n%-24s %4s %10s %14s\n", "work", "MB", "ours ms", "whole-text ms");
    for (size_t mb : {1u, 5u, 20u}) {
        // Lines wider than the window: the horizontal scroll bar is there from the start (its
        // appearance is timed apart below).
        form.TextField.SetWholeText(TextOf(mb << 20, 120));
        form.SizeCalcEnabled = true;
        long caret = form.TextField.TextLength() / 2;
        form.TextField.MoveCaret(caret);
        const double firstEdit = Milliseconds([&] { Type(form, 'x'); }, 1);

        const int repeats = 20;
        const double move = Milliseconds([&] { form.TextField.MoveCaret(caret += 7); }, repeats);
        const double type = Milliseconds([&] { Type(form, 'x'); }, repeats);

        // The same events answered by reading the whole text: once for the caret panels, and once
        // more for the size on a change.
        auto change = form.TextField.OnChange;
        auto selection = form.TextField.OnSelectionChange;
        std::string code, position, size;
        form.TextField.OnSelectionChange = [&](TObject*) { WholeTextStatus(form.TextField, code, position, size); };
        form.TextField.OnChange = [&](TObject*) {
            WholeTextStatus(form.TextField, code, position, size);
            WholeTextStatus(form.TextField, code, position, size);
        };
        const int wholeRepeats = mb >= 20 ? 2 : 5;
        const double moveWhole = Milliseconds([&] { form.TextField.MoveCaret(caret += 7); }, wholeRepeats);
        const double typeWhole = Milliseconds([&] { Type(form, 'x'); }, wholeRepeats);
        form.TextField.OnChange = change;
        form.TextField.OnSelectionChange = selection;

        std::printf("%-24s %4zu %10.2f %14.2f\n", "selection change", mb, move, moveWhole);
        std::printf("%-24s %4zu %10.2f %14.2f\n", "text change", mb, type, typeWhole);
        std::printf("%-24s %4zu %10.2f\n", "  first edit after load", mb, firstEdit);
        std::fflush(stdout);
        EXPECT_TRUE(form.SizeCalcEnabled) << "the live status stayed on at " << mb << " MB";
        if (mb == 5) {
            EXPECT_LT(move, 10.0) << "a caret move at 5 MB";
            EXPECT_LT(type, 10.0) << "a typed character at 5 MB";
        }
    }

    // The control lays the whole text out again whenever its client area changes size, which
    // happens once when a line first grows wider than the window and the horizontal scroll bar
    // appears.
    for (size_t mb : {1u, 5u}) {
        form.TextField.SetWholeText(TextOf(mb << 20, 40));
        long caret = form.TextField.LineStart(form.TextField.LineOfPosition(form.TextField.TextLength() / 2)) + 38;
        form.TextField.MoveCaret(caret);
        double slowest = 0;
        for (int i = 0; i < 100 && slowest < 100; ++i) {
            slowest = std::max(slowest, Milliseconds([&] { Type(form, 'x'); }, 1));
        }
        std::printf("%-24s %4zu %10.2f\n", "scroll bar appears", mb, slowest);
        std::fflush(stdout);
    }
    form.DocumentModified = false;
}

// One line of `chars` characters: numbered words ("0000001 0000002 ...") or words of letters.
std::string LongLine(size_t chars, bool numbers) {
    std::string line;
    line.reserve(chars + 16);
    char word[16];
    for (int n = 1; line.size() < chars; ++n) {
        if (numbers) {
            std::snprintf(word, sizeof word, "%07d ", n);
        } else {
            for (int i = 0; i < 7; ++i) word[i] = static_cast<char>('a' + (n * 7 + i * 3) % 26);
            word[7] = ' ';
            word[8] = '\0';
        }
        line += word;
    }
    line.resize(chars);
    return line;
}

// A keystroke and a caret move in the middle of one long line, in the real main window and in the
// bare control set up the same way (the design font, URL detection on as the design has it).
TEST(Benchmark, TypingInALongLine) {
    std::printf("\n%-8s %7s %10s %10s %10s %10s %10s %10s %10s %10s\n", "words", "chars", "ours ms", "control ms",
                "ours ms", "control ms", "ratio", "ours ms", "control ms", "ratio");
    std::printf("%-8s %7s %21s %32s %32s\n", "", "", "- first keystroke -", "------- later keystrokes ------",
                "--------- caret move --------");
    TForm1 form;
    form.StartUp({});
    ::ShowWindow(form.Handle(), SW_SHOW);
    for (bool numbers : {true, false}) {
        for (size_t chars : {20000u, 50000u, 200000u}) {
            if (const char* only = std::getenv("NOTOVA_BENCH_CHARS"); only && std::to_string(chars) != only) continue;
            const std::string line = LongLine(chars, numbers);
            const int repeats = chars >= 200000 ? (numbers ? 1 : 3) : chars >= 50000 ? 5 : 10;

            test::TestHost host(500, 400);
            ::ShowWindow(host.Handle(), SW_SHOW);
            HWND bare = test::CreateBareControl(host.Handle(), form.TextField.Font(), true);
            test::BareStreamIn(bare, line);
            long caret = static_cast<long>(chars / 2);
            CHARRANGE at{caret, caret};
            ::SendMessageA(bare, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
            // The first change after a load settles the layout (the scroll bars' range): timed apart.
            const double bareFirst = Milliseconds([&] { ::SendMessageA(bare, WM_CHAR, 'x', 1); }, 1);
            const double bareType = Milliseconds([&] { ::SendMessageA(bare, WM_CHAR, 'x', 1); }, repeats);
            const int moves = 20;
            const double bareMove = Milliseconds(
                [&] {
                    CHARRANGE next{caret + 7, caret + 7};
                    caret += 7;
                    ::SendMessageA(bare, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&next));
                },
                moves);
            ::DestroyWindow(bare);

            form.TextField.SetWholeText(line);
            caret = static_cast<long>(chars / 2);
            form.TextField.MoveCaret(caret);
            const double first = Milliseconds([&] { Type(form, 'x'); }, 1);
            const double type = Milliseconds([&] { Type(form, 'x'); }, repeats);
            const double move = Milliseconds([&] { form.TextField.MoveCaret(caret += 7); }, moves);
            std::printf("%-8s %7zu %10.1f %10.1f %10.1f %10.1f %10.2f %10.1f %10.1f %10.2f\n",
                        numbers ? "numbers" : "letters", chars, first, bareFirst, type, bareType, type / bareType, move,
                        bareMove, move / bareMove);
            std::fflush(stdout);
        }
    }
    form.DocumentModified = false;
}

} // namespace
} // namespace nv
