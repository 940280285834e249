// Times Replace All and Find Next on long texts: the text field's way next to the plain loop of
// searches and replacements through the selection. Not a test: it prints a table.
#include "editor/NvRichEd.h"
#include "tests/support/BareControl.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace nv {
namespace {

using test::Seconds;

// One "cat" per line of about 52 characters: 20,000 per MB.
std::string TextWithHits(size_t hits) {
    std::string text;
    text.reserve(hits * 54);
    for (size_t n = 0; n < hits; ++n) text += "Line " + std::to_string(n) + " with some words to fill it, a cat\r\n";
    return text;
}

struct Field {
    explicit Field(test::TestHost& host) {
        field.SetUndoLimit(10);
        field.SetWordWrap(false);
        field.CreateWnd(host.Handle(), host.Client(), 100);
        field.ShowReplaceDialog("cat", "dog");
        field.ReplaceDialog()->SetFindText("cat");
        field.ReplaceDialog()->SetReplaceText("dog");
    }
    TNvRichEdit field;
};

// The loop as it stands: change reports off, a search and a replacement per occurrence, redraw on.
// Stops after `limit` replacements.
long BareLoop(TNvRichEdit& field, long limit) {
    const LRESULT mask = ::SendMessageA(field.Handle(), EM_GETEVENTMASK, 0, 0);
    ::SendMessageA(field.Handle(), EM_SETEVENTMASK, 0, mask & ~ENM_CHANGE);
    long count = 0;
    while (count < limit && field.SearchWithDialog(*field.ReplaceDialog(), false, false)) {
        field.ReplaceSelection("dog");
        ++count;
    }
    ::SendMessageA(field.Handle(), EM_SETEVENTMASK, 0, mask);
    return count;
}

TEST(Benchmark, ReplaceAllAndFindNext) {
    test::TestHost host(900, 700);
    ::ShowWindow(host.Handle(), SW_SHOW);
    std::printf("\n%-34s %4s %8s %10s\n", "work", "MB", "hits", "seconds");
    auto row = [](const char* work, size_t mb, long hits, double seconds) {
        std::printf("%-34s %4zu %8ld %10.2f\n", work, mb, hits, seconds);
        std::fflush(stdout);
    };
    for (size_t mb : {1u, 5u}) {
        const std::string text = TextWithHits(mb * 20000);
        {
            Field f(host);
            f.field.SetWholeText(text);
            const double s = Seconds([&] { f.field.ReplaceWithDialog(*f.field.ReplaceDialog(), true); });
            row("Replace All", mb, static_cast<long>(mb * 20000), s);
        }
        {
            Field f(host);
            f.field.SetWholeText(text.substr(0, text.size() - 3) + "fox\r\n");
            f.field.FindDialog(); // the replace dialog's search, from the start to the last line
            const double s = Seconds([&] {
                f.field.ReplaceDialog()->SetFindText("fox");
                f.field.SearchWithDialog(*f.field.ReplaceDialog(), false, false);
            });
            row("Find Next across the text", mb, 1, s);
        }
        if (mb == 1) {
            Field f(host);
            f.field.SetWholeText(text);
            f.field.ReplaceAllInMemory = false;
            const double s = Seconds([&] { f.field.ReplaceWithDialog(*f.field.ReplaceDialog(), true); });
            row("loop, redraw off", mb, static_cast<long>(mb * 20000), s);
        }
        {
            // The bare loop at 5 MB would run for the better part of an hour: its first 2,000
            // replacements are timed and scaled.
            Field f(host);
            f.field.SetWholeText(text);
            const long limit = mb == 1 ? 20000 : 2000;
            long done = 0;
            const double s = Seconds([&] { done = BareLoop(f.field, limit); });
            const double whole = s * static_cast<double>(mb * 20000) / static_cast<double>(done);
            row(mb == 1 ? "bare loop" : "bare loop (estimate from 2,000)", mb, static_cast<long>(mb * 20000), whole);
        }
    }
}

} // namespace
} // namespace nv
