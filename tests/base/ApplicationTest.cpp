#include "base/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace nv {
namespace {

TEST(Application, HooksSeeMessagesInOrderUntilOneTakesIt) {
    std::vector<int> calls;
    const int first = Application().HookMainWindow([&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_APP) calls.push_back(1);
        return false;
    });
    const int second = Application().HookMainWindow([&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_APP) return false;
        calls.push_back(2);
        result = 17;
        return true;
    });
    const int third = Application().HookMainWindow([&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_APP) calls.push_back(3);
        return false;
    });
    ASSERT_TRUE(first && second && third);
    HWND window = Application().Handle();
    ASSERT_TRUE(window);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(::GetAncestor(window, GA_ROOT), window) << "a top-level window";

    EXPECT_EQ(::SendMessageA(window, WM_APP, 0, 0), 17);
    EXPECT_EQ(calls, (std::vector<int>{1, 2}));

    Application().UnhookMainWindow(second);
    calls.clear();
    EXPECT_EQ(::SendMessageA(window, WM_APP, 0, 0), 0);
    EXPECT_EQ(calls, (std::vector<int>{1, 3}));
    Application().UnhookMainWindow(first);
    Application().UnhookMainWindow(third);
    EXPECT_EQ(Application().HookMainWindow(nullptr), 0) << "an empty hook is refused";
}

TEST(Application, AHookRemovedByAnEarlierHookIsNotCalled) {
    int later = 0;
    int laterId = 0;
    const int earlier = Application().HookMainWindow([&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_APP) Application().UnhookMainWindow(laterId);
        return false;
    });
    laterId = Application().HookMainWindow([&](UINT msg, WPARAM, LPARAM, LRESULT&) {
        if (msg == WM_APP) ++later;
        return false;
    });
    ::SendMessageA(Application().Handle(), WM_APP, 0, 0);
    EXPECT_EQ(later, 0);
    Application().UnhookMainWindow(earlier);
}

// The hidden window hears the application lose and regain the keyboard, as a visible main window does.
TEST(Application, TheHiddenWindowHearsActivationChanges) {
    std::vector<WPARAM> seen;
    const int id = Application().HookMainWindow([&](UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
        if (msg == WM_ACTIVATEAPP) seen.push_back(wParam);
        return false;
    });
    HWND mine = ::CreateWindowExA(0, "STATIC", "mine", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ::SetForegroundWindow(mine);
    auto pump = [] {
        MSG msg;
        for (int i = 0; i < 20; ++i) {
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
            ::Sleep(10);
        }
    };
    pump();
    seen.clear();

    // Another thread's window takes the foreground: this thread is deactivated.
    HANDLE shown = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        HWND theirs = ::CreateWindowExA(0, "STATIC", "theirs", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50, nullptr,
                                        nullptr, nullptr, nullptr);
        ::SetForegroundWindow(theirs);
        ::SetEvent(shown);
        MSG msg;
        while (::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        }
        ::DestroyWindow(theirs);
    });
    ::WaitForSingleObject(shown, 5000);
    pump();
    ::SetForegroundWindow(mine);
    pump();
    ::SetEvent(done);
    other.join();
    ::CloseHandle(shown);
    ::CloseHandle(done);
    ::DestroyWindow(mine);
    Application().UnhookMainWindow(id);

    // The X server may report late focus changes after these; only their order matters here.
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], static_cast<WPARAM>(FALSE)) << "deactivated first";
    EXPECT_NE(std::find(seen.begin() + 1, seen.end(), static_cast<WPARAM>(TRUE)), seen.end()) << "then activated";
}

} // namespace
} // namespace nv
