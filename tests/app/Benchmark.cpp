// Times one caret move and one typed character on long texts in the real main window, next to
// the same panel values computed from a whole-text read. Not a test: it prints a table.
#include "app/MainF.h"
#include "app/StatusText.h"
#include "tests/support/TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace nv {
namespace {

double Milliseconds(const std::function<void()>& work, int repeats = 5) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i) work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / repeats;
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

TEST(Benchmark, StatusPanelsOnLongTexts) {
    TForm1 form;
    form.StartUp({});
    std::printf("\n%-18s %4s %10s %14s\n", "work", "MB", "ours ms", "whole-text ms");
    for (size_t mb : {1u, 5u, 20u}) {
        std::string text;
        text.reserve((mb << 20) + 100);
        for (int n = 0; text.size() < (mb << 20); ++n) {
            text += "Line" + std::to_string(n) + ":0123456789abcdefghijklmnopqrstuvwxyz_ABCDEFGHIJKLMNOP\r\n";
        }
        form.TextField.SetWholeText(text);
        form.SizeCalcEnabled = true;
        long caret = form.TextField.TextLength() / 2;
        form.TextField.MoveCaret(caret);
        // The first edits after a load cost the Wine control a pass over the whole text (its link
        // detection, which the main window has on by default); they are timed apart.
        const double firstEdits = Milliseconds([&] { ::SendMessageA(form.TextField.Handle(), WM_CHAR, 'x', 1); }, 2) * 2;

        const double move = Milliseconds([&] { form.TextField.MoveCaret(caret += 7); });
        const double type = Milliseconds([&] { ::SendMessageA(form.TextField.Handle(), WM_CHAR, 'x', 1); });

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
        const double moveWhole = Milliseconds([&] { form.TextField.MoveCaret(caret += 7); });
        const double typeWhole = Milliseconds([&] { ::SendMessageA(form.TextField.Handle(), WM_CHAR, 'x', 1); });
        form.TextField.OnChange = change;
        form.TextField.OnSelectionChange = selection;

        std::printf("%-18s %4zu %10.2f %14.2f\n", "selection change", mb, move, moveWhole);
        std::printf("%-18s %4zu %10.2f %14.2f\n", "text change", mb, type, typeWhole);
        std::printf("%-18s %4zu %10.2f\n", "  first two edits", mb, firstEdits);
        std::fflush(stdout);
        EXPECT_TRUE(form.SizeCalcEnabled) << "the live status stayed on at " << mb << " MB";
    }
    form.DocumentModified = false;
}

} // namespace
} // namespace nv
