// Times one caret move and one typed character on long texts in the real main window, next to
// the same panel values computed from a whole-text read. Not a test: it prints a table.
#include "app/MainF.h"
#include "app/StatusText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
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

} // namespace
} // namespace nv
