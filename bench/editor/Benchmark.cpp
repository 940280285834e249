// Times whole-text work through the field next to the bare control doing the same work the
// cheapest way it can. Not a test: it prints a table.
#include "editor/NvRichEd.h"
#include "editor/RichEditLibrary.h"
#include "tests/support/BareControl.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace nv {
namespace {

using test::Seconds;

// Prose (many short words) costs the Wine control far more per byte than dense lines, and grows
// faster than linearly there; both kinds are timed, the prose only up to 5 MB.
std::string MakeText(size_t bytes, char salt, bool prose) {
    std::string text;
    text.reserve(bytes + 64);
    int n = 0;
    while (text.size() < bytes) {
        text += prose ? "Line " + std::to_string(n++) + " of the benchmark text, some words to fill it up "
                      : "Line" + std::to_string(n++) + ":0123456789abcdefghijklmnopqrstuvwxyz_ABCDEFGHIJKLMNOP";
        text += salt;
        text += "\r\n";
    }
    return text;
}

DWORD CALLBACK Collect(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), count);
    *written = count;
    return 0;
}

HWND CreateBare(HWND parent) { return test::CreateBareControl(parent, TFont()); } // the field's default font
using test::BareStreamIn;
using test::ParagraphMarks;

// Each side runs alone: a second control holding a long text slows the first one down under Wine.
struct Timings {
    double set = 0, replace = 0, streamOut = 0, writeFile = 0, rebuild = 0, clear = 0;
};

Timings TimeField(HWND host, const RECT& bounds, const std::string& first, const std::string& second) {
    Timings t;
    TNvRichEdit edit;
    edit.SetWordWrap(false);
    edit.CreateWnd(host, bounds, 100);
    t.set = Seconds([&] { edit.SetWholeText(first); });
    t.replace = Seconds([&] { edit.SetWholeText(second); });
    std::string out;
    t.streamOut = Seconds([&] { out = edit.GetWholeText(); });
    test::TempDir dir;
    t.writeFile = Seconds([&] { edit.WriteToFile(dir.File("x.txt")); });
    t.rebuild = Seconds([&] { edit.SetSelectionBar(!edit.SelectionBar()); });
    t.clear = Seconds([&] { edit.ClearText(); });
    return t;
}

// The control's floor: its cheapest way to take the same text, which is with one CR per line break
// (CR LF pairs cost the Wine control several times more), converted before the clock starts.
Timings TimeControl(HWND host, const std::string& crlfFirst, const std::string& crlfSecond) {
    const std::string first = ParagraphMarks(crlfFirst), second = ParagraphMarks(crlfSecond);
    Timings t;
    HWND bare = CreateBare(host);
    t.set = Seconds([&] { BareStreamIn(bare, first); });
    t.replace = Seconds([&] {
        ::DestroyWindow(bare);
        bare = CreateBare(host);
        BareStreamIn(bare, second);
    });
    auto streamOut = [&] {
        std::string collected;
        collected.reserve(second.size());
        EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&collected), 0, &Collect};
        ::SendMessageA(bare, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&out));
        return collected;
    };
    t.streamOut = Seconds([&] { streamOut(); });
    t.writeFile = t.streamOut; // the control's floor for writing is its stream-out
    t.rebuild = Seconds([&] {
        const std::string collected = ParagraphMarks(streamOut());
        ::DestroyWindow(bare);
        bare = CreateBare(host);
        BareStreamIn(bare, collected);
    });
    t.clear = Seconds([&] {
        ::DestroyWindow(bare);
        bare = CreateBare(host);
    });
    ::DestroyWindow(bare);
    return t;
}

TEST(Benchmark, WholeTextOperations) {
    test::TestHost host;
    std::printf("\n%-12s %-6s %4s %10s %10s %7s\n", "operation", "text", "MB", "field s", "control s", "ratio");
    struct Case {
        bool prose;
        size_t mb;
    };
    for (const Case& c : {Case{false, 1}, Case{false, 5}, Case{false, 20}, Case{true, 1}, Case{true, 5}}) {
        const size_t mb = c.mb;
        auto row = [&c](const char* op, size_t size, double field, double control) {
            std::printf("%-12s %-6s %4zu %10.3f %10.3f %7.2f\n", op, c.prose ? "prose" : "dense", size, field, control,
                        control > 0 ? field / control : 0.0);
            std::fflush(stdout);
        };
        const std::string first = MakeText(mb << 20, 'a', c.prose), second = MakeText(mb << 20, 'b', c.prose);
        const Timings field = TimeField(host.Handle(), host.Client(), first, second);
        const Timings control = TimeControl(host.Handle(), first, second);
        row("set", mb, field.set, control.set);
        row("replace", mb, field.replace, control.replace);
        row("stream-out", mb, field.streamOut, control.streamOut);
        row("write file", mb, field.writeFile, control.writeFile);
        row("rebuild", mb, field.rebuild, control.rebuild);
        row("clear", mb, field.clear, control.clear);
    }
}

} // namespace
} // namespace nv
