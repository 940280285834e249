// Times whole-text work through the field next to the bare control doing the same work the
// cheapest way it can. Not a test: it prints a table.
#include "editor/NvRichEd.h"
#include "editor/RichEditLibrary.h"
#include "tests/support/TestHost.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace nv {
namespace {

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string MakeText(size_t bytes, char salt) {
    std::string text;
    text.reserve(bytes + 64);
    int n = 0;
    while (text.size() < bytes) {
        text += "Line " + std::to_string(n++) + " of the benchmark text, some words to fill it up ";
        text += salt;
        text += "\r\n";
    }
    return text;
}

struct Cursor {
    const std::string* text;
    size_t at;
};
DWORD CALLBACK FeedPlain(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* read) {
    auto* cursor = reinterpret_cast<Cursor*>(cookie);
    size_t n = std::min(static_cast<size_t>(capacity), cursor->text->size() - cursor->at);
    // Hold a CR back so no CR LF pair is split between two chunks.
    if (n > 1 && cursor->at + n < cursor->text->size() && (*cursor->text)[cursor->at + n - 1] == '\r') --n;
    memcpy(buffer, cursor->text->data() + cursor->at, n);
    cursor->at += n;
    *read = static_cast<LONG>(n);
    return 0;
}
DWORD CALLBACK Collect(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer), count);
    *written = count;
    return 0;
}

// The bare control, set up as plainly as the field's window.
HWND CreateBare(HWND parent) {
    HWND bare = ::CreateWindowExA(0, RichEditClassName(), "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 0,
                                  0, 400, 300, parent, nullptr, nullptr, nullptr);
    ::SendMessageA(bare, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO, 0);
    ::SendMessageA(bare, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    return bare;
}
void BareStreamIn(HWND bare, const std::string& text) {
    Cursor cursor{&text, 0};
    EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&cursor), 0, &FeedPlain};
    ::SendMessageA(bare, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&in));
}

TEST(Benchmark, WholeTextOperations) {
    test::TestHost host;
    std::printf("\n%-12s %6s %10s %10s %7s\n", "operation", "MB", "field s", "control s", "ratio");
    auto row = [](const char* op, size_t mb, double field, double control) {
        std::printf("%-12s %6zu %10.3f %10.3f %7.2f\n", op, mb, field, control, control > 0 ? field / control : 0.0);
        std::fflush(stdout);
    };
    for (size_t mb : {1u, 5u, 20u}) {
        const std::string first = MakeText(mb << 20, 'a'), second = MakeText(mb << 20, 'b');
        double field = 0, control = 0;
        {
            TNvRichEdit edit;
            edit.CreateWnd(host.Handle(), host.Client(), 100);
            HWND bare = CreateBare(host.Handle());
            field = Seconds([&] { edit.SetWholeText(first); });
            control = Seconds([&] { BareStreamIn(bare, first); });
            row("set", mb, field, control);

            field = Seconds([&] { edit.SetWholeText(second); });
            control = Seconds([&] {
                ::DestroyWindow(bare);
                bare = CreateBare(host.Handle());
                BareStreamIn(bare, second);
            });
            row("replace", mb, field, control);

            std::string out;
            field = Seconds([&] { out = edit.GetWholeText(); });
            control = Seconds([&] {
                std::string collected;
                collected.reserve(second.size());
                EDITSTREAM streamOut{reinterpret_cast<DWORD_PTR>(&collected), 0, &Collect};
                ::SendMessageA(bare, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&streamOut));
            });
            row("stream-out", mb, field, control);

            test::TempDir dir;
            field = Seconds([&] { edit.WriteToFile(dir.File("x.txt")); });
            row("write file", mb, field, control);

            field = Seconds([&] { edit.SetWordWrap(true); });
            control = Seconds([&] {
                std::string collected;
                EDITSTREAM streamOut{reinterpret_cast<DWORD_PTR>(&collected), 0, &Collect};
                ::SendMessageA(bare, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&streamOut));
                ::DestroyWindow(bare);
                bare = CreateBare(host.Handle());
                BareStreamIn(bare, collected);
            });
            row("rebuild", mb, field, control);

            field = Seconds([&] { edit.ClearText(); });
            control = Seconds([&] {
                ::DestroyWindow(bare);
                bare = CreateBare(host.Handle());
            });
            row("clear", mb, field, control);
            ::DestroyWindow(bare);
        }
    }
}

} // namespace
} // namespace nv
