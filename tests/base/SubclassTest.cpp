#include "base/Subclass.h"
#include "tests/support/Dialogs.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace nv {
namespace {

// Counts what reaches it, answers one private message itself, and throws on another.
class Recorder : public ControlSubclass {
public:
    static constexpr UINT kAnswer = WM_APP + 1;
    static constexpr UINT kThrow = WM_APP + 2;

    void Attach(HWND control) {
        control_ = control;
        AttachSubclass(control);
    }
    void Detach() { DetachSubclass(control_); }

    int seen = 0;
    std::vector<HWND> destroyed;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        ++seen;
        if (msg == kAnswer) return 42;
        if (msg == kThrow) {
            if (wParam == 1) throw std::bad_alloc();
            if (wParam == 2) throw 42;
            throw std::runtime_error("The subclass failed");
        }
        return CallPrevious(control_, msg, wParam, lParam);
    }
    void OnControlDestroyed(HWND control) override { destroyed.push_back(control); }

private:
    HWND control_ = nullptr;
};

HWND MakeEdit(bool unicode) {
    return unicode ? ::CreateWindowExW(0, L"EDIT", L"text", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr)
                   : ::CreateWindowExA(0, "EDIT", "text", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
}

std::string TextOf(HWND hwnd) {
    char buffer[64] = {};
    ::GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

TEST(Subclass, MessagesPassThroughInTheControlsOwnCharacterSetAndStopAtDestruction) {
    for (bool unicode : {false, true}) {
        HWND edit = MakeEdit(unicode);
        ASSERT_TRUE(edit);
        Recorder recorder;
        recorder.Attach(edit);
        EXPECT_EQ(::IsWindowUnicode(edit) != FALSE, unicode) << "the control keeps its character set";
        EXPECT_EQ(::SendMessageA(edit, Recorder::kAnswer, 0, 0), 42);
        ::SetWindowTextA(edit, "caf\xe9");
        EXPECT_EQ(TextOf(edit), "caf\xe9") << "an ANSI text round-trips through the subclass";
        EXPECT_GE(recorder.seen, 2);

        ::DestroyWindow(edit);
        ASSERT_EQ(recorder.destroyed.size(), 1u);
        EXPECT_EQ(recorder.destroyed[0], edit);
    }
}

TEST(Subclass, DetachingRestoresTheProcedureUnlessAnotherSubclassSitsAbove) {
    HWND edit = MakeEdit(false);
    const auto original = ::GetWindowLongPtrA(edit, GWLP_WNDPROC);
    {
        Recorder recorder;
        recorder.Attach(edit);
        recorder.Detach();
        EXPECT_EQ(::GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
        const int before = recorder.seen;
        ::SendMessageA(edit, Recorder::kAnswer, 0, 0);
        EXPECT_EQ(recorder.seen, before) << "nothing reaches a detached subclass";
    }

    // A comctl32 subclass installed after ours must keep working after we leave.
    Recorder recorder;
    recorder.Attach(edit);
    static int aboveSeen = 0;
    const SUBCLASSPROC above = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) CALLBACK -> LRESULT {
        if (msg == Recorder::kAnswer) ++aboveSeen;
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    };
    ASSERT_TRUE(::SetWindowSubclass(edit, above, 7, 0));
    recorder.Detach();
    const int before = recorder.seen;
    EXPECT_EQ(::SendMessageA(edit, Recorder::kAnswer, 0, 0), 0) << "the edit's own answer, not the recorder's";
    EXPECT_EQ(aboveSeen, 1);
    EXPECT_EQ(recorder.seen, before);
    ::SetWindowTextA(edit, "still works");
    EXPECT_EQ(TextOf(edit), "still works");

    // Attaching again takes the place that was kept.
    recorder.Attach(edit);
    EXPECT_EQ(::SendMessageA(edit, Recorder::kAnswer, 0, 0), 42);
    EXPECT_EQ(aboveSeen, 2);
    ::RemoveWindowSubclass(edit, above, 7);
    ::DestroyWindow(edit);
    EXPECT_EQ(recorder.destroyed.size(), 1u);
}

TEST(Subclass, AnErrorInTheHandlerIsShownAndTheControlGoesOn) {
    HWND edit = MakeEdit(false);
    Recorder recorder;
    recorder.Attach(edit);
    test::DialogResponder dialogs;
    const char* const texts[] = {"The subclass failed", "Out of memory", "An unknown error occurred"};
    for (WPARAM kind = 0; kind < 3; ++kind) {
        dialogs.Press(IDOK);
        EXPECT_EQ(::SendMessageA(edit, Recorder::kThrow, kind, 0), 0);
        ASSERT_EQ(dialogs.Seen().size(), kind + 1);
        EXPECT_EQ(dialogs.Seen()[kind].Text, texts[kind]);
        EXPECT_EQ(dialogs.Seen()[kind].Icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(::SendMessageA(edit, Recorder::kAnswer, 0, 0), 42);
    }
    ::DestroyWindow(edit);
}

} // namespace
} // namespace nv
