// Keyboard lock panels: the shared hook, registrations, the grey off state and the refreshes.
#include "tests/statusbar/BarFixture.h"

#include <memory>

namespace nv {
namespace {

using test::BarFixture;
using test::PumpMessages;

constexpr LPARAM kFirstPress = 0x00450001;
constexpr LPARAM kRepeat = kFirstPress | (1 << 30);
constexpr LPARAM kRelease = static_cast<LPARAM>(static_cast<std::uint32_t>(kFirstPress) | 0xC0000000u);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class LockPanel : public BarFixture {
protected:
    void SetUp() override {
        BarFixture::SetUp();
        SetToggle(VK_NUMLOCK, false);
        SetToggle(VK_CAPITAL, false);
        ASSERT_FALSE(KeyboardHookInstalled()) << "a previous test left lock panels registered";
        // A late deactivation seen by an earlier test may have left the refresh-all flag set.
        KeyboardHookProc(HC_ACTION, 0, kRelease);
    }
    void TearDown() override {
        SetToggle(VK_NUMLOCK, false);
        SetToggle(VK_CAPITAL, false);
        PumpMessages();
    }

    // NUM, CAPS and a normal panel last, so the size grip covers none of the lock panels.
    void AddLockPanels() {
        bar.Panels().Add().SetPanelType(sptNumLock);
        bar.Panels().Add().SetPanelType(sptCapsLock);
        bar.Panels().Add().SetText("x");
        Paint();
    }

    int Grey(int index) const { return CountColor(Inner(index), ::GetSysColor(COLOR_GRAYTEXT)); }
    int Black(int index) const { return CountColor(Inner(index), kBlack); }

    int RunRepaints(HWND window) { return DispatchPosted(window, TnvStatusBar::kRepaintLockPanelsMessage); }

    static bool RefreshPosted(HWND bar) {
        MSG msg;
        return ::PeekMessageA(&msg, bar, TnvStatusBar::kRefreshLockPanelsMessage,
                              TnvStatusBar::kRefreshLockPanelsMessage, PM_NOREMOVE) != FALSE;
    }
};

TEST_F(LockPanel, BecomingALockTypeGivesTheDefaultTextAndAutoFitAndAStoredTextWins) {
    Create();
    TnvStatusPanel& panel = bar.Panels().Add();
    panel.SetPanelType(sptCapsLock);
    EXPECT_EQ(panel.Text(), " CAPS ");
    EXPECT_TRUE(panel.AutoFit());
    panel.SetPanelType(sptScrollLock);
    EXPECT_EQ(panel.Text(), " SCROLL ");
    panel.SetPanelType(sptNumLock);
    panel.SetText(" NUM ");
    EXPECT_EQ(panel.Text(), " NUM ");
}

TEST_F(LockPanel, TheTextIsGreyWhileTheLockIsOffAndInTheFontColourWhileOn) {
    Create();
    AddLockPanels();
    EXPECT_GT(Grey(1), 0);
    EXPECT_EQ(Black(1), 0);
    SetToggle(VK_CAPITAL, true);
    bar.RedrawPanel(1);
    EXPECT_EQ(Grey(1), 0);
    EXPECT_GT(Black(1), 0) << "the text is kept, only its colour changes";
    EXPECT_EQ(bar.Panels()[1].Text(), " CAPS ");
    EXPECT_GT(Grey(0), 0) << "NUM follows its own key";
}

TEST_F(LockPanel, TheHookComesWithTheFirstLockPanelAndGoesWithTheLast) {
    Create();
    TnvStatusPanel& num = bar.Panels().Add();
    num.SetPanelType(sptNumLock);
    EXPECT_TRUE(KeyboardHookInstalled());
    EXPECT_TRUE(LockPanelRegistered(num));
    TnvStatusPanel& caps = bar.Panels().Add();
    caps.SetPanelType(sptCapsLock);
    EXPECT_EQ(RegisteredLockPanelCount(), 2u);
    bar.Panels().Delete(0);
    EXPECT_TRUE(KeyboardHookInstalled());
    EXPECT_EQ(RegisteredLockPanelCount(), 1u);
    caps.SetPanelType(sptNormal);
    EXPECT_EQ(RegisteredLockPanelCount(), 0u);
    EXPECT_FALSE(KeyboardHookInstalled());
}

TEST_F(LockPanel, DestroyingABarTakesItsPanelsOffTheSharedList) {
    Create();
    bar.Panels().Add().SetPanelType(sptNumLock);
    {
        test::TestHost other;
        TnvStatusBar second;
        second.CreateWnd(other.Handle(), 1);
        second.Panels().Add().SetPanelType(sptCapsLock);
        second.Panels().Add().SetPanelType(sptNumLock);
        EXPECT_EQ(RegisteredLockPanelCount(), 3u);
    }
    EXPECT_EQ(RegisteredLockPanelCount(), 1u);
    bar.Panels().Clear();
    EXPECT_FALSE(KeyboardHookInstalled());
}

TEST_F(LockPanel, EnableChangesRegisterOnceAndDisabledPanelsAreNotListed) {
    Create();
    TnvStatusPanel& num = bar.Panels().Add();
    num.SetPanelType(sptNumLock);
    num.SetEnabled(false);
    EXPECT_FALSE(LockPanelRegistered(num));
    EXPECT_FALSE(KeyboardHookInstalled());
    for (int i = 0; i < 3; ++i) num.SetEnabled(true);
    EXPECT_EQ(RegisteredLockPanelCount(), 1u);
    bar.SetEnabled(false);
    EXPECT_FALSE(LockPanelRegistered(num)) << "the bar's Enabled counts";
    bar.SetEnabled(true);
    bar.SetEnabled(true);
    EXPECT_EQ(RegisteredLockPanelCount(), 1u);

    num.SetEnabled(false);
    num.SetPanelType(sptCapsLock);
    EXPECT_FALSE(LockPanelRegistered(num)) << "a disabled panel is not registered by a type change";
}

TEST_F(LockPanel, ANumLockPanelTurnedNormalKeepsItsTextAndDrawsItInTheNormalColour) {
    Create();
    AddLockPanels();
    TnvStatusPanel& num = bar.Panels()[0];
    ASSERT_GT(Grey(0), 0);
    num.SetPanelType(sptNormal);
    EXPECT_EQ(num.Text(), " NUM ");
    EXPECT_FALSE(num.AutoFit());
    EXPECT_FALSE(LockPanelRegistered(num));
    EXPECT_EQ(Grey(0), 0);
    EXPECT_GT(Black(0), 0);
}

TEST_F(LockPanel, OnlyAFirstPressRepaintsAndOnlyThePanelsOfThatKeyInEveryBar) {
    Create();
    AddLockPanels();
    test::TestHost otherHost(300, 100);
    TnvStatusBar other;
    other.SetColor(test::kBarColor);
    other.CreateWnd(otherHost.Handle(), 1);
    other.Panels().Add().SetPanelType(sptNumLock);
    other.Panels().Add();
    other.Repaint();
    Settle();

    auto markAll = [&] {
        MarkPanel(0);
        MarkPanel(1);
        WindowDC dc(other.Handle());
        GdiObject brush(::CreateSolidBrush(test::kSentinel));
        RECT r = other.PanelRect(0);
        ::InflateRect(&r, -1, -1);
        ::FillRect(dc.get(), &r, static_cast<HBRUSH>(brush.get()));
    };
    auto otherMarked = [&] {
        RECT r = other.PanelRect(0);
        WindowDC dc(other.Handle());
        return ::GetPixel(dc.get(), r.left + 1, r.top + 1) == test::kSentinel;
    };

    markAll();
    KeyboardHookProc(HC_ACTION, VK_NUMLOCK, kRepeat);
    KeyboardHookProc(HC_ACTION, VK_NUMLOCK, kRelease);
    KeyboardHookProc(HC_ACTION, 'A', kFirstPress);
    KeyboardHookProc(-1, VK_NUMLOCK, kFirstPress);
    EXPECT_EQ(RunRepaints(bar.Handle()) + RunRepaints(other.Handle()), 0);
    EXPECT_TRUE(Marked(0) && Marked(1) && otherMarked()) << "repeats, releases, other keys and negative codes";

    KeyboardHookProc(HC_ACTION, VK_NUMLOCK, kFirstPress);
    EXPECT_TRUE(Marked(0)) << "the repaint waits until the key message has been taken";
    EXPECT_EQ(RunRepaints(bar.Handle()), 1);
    EXPECT_EQ(RunRepaints(other.Handle()), 1);
    EXPECT_FALSE(Marked(0));
    EXPECT_FALSE(otherMarked()) << "NUM panels of every bar";
    EXPECT_TRUE(Marked(1)) << "not the CAPS panel";

    markAll();
    SetToggle(VK_CAPITAL, true);
    KeyboardHookProc(HC_ACTION, VK_CAPITAL, kFirstPress);
    EXPECT_EQ(RunRepaints(bar.Handle()), 1);
    EXPECT_EQ(RunRepaints(other.Handle()), 0) << "the other bar has no CAPS panel";
    EXPECT_TRUE(Marked(0));
    EXPECT_FALSE(Marked(1));
    EXPECT_GT(Black(1), 0) << "repainted with the new state";
}

TEST_F(LockPanel, ActivationChangesPostARefreshAndADeactivationRefreshesAllOnTheNextKey) {
    Create();
    AddLockPanels();
    ::SendMessageA(host.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(RefreshAllPending());
    EXPECT_TRUE(RefreshPosted(bar.Handle()));

    // Caps Lock pressed while another application had the keyboard.
    SetToggle(VK_CAPITAL, true);
    MarkPanel(1);
    MarkPanel(2);
    EXPECT_EQ(DispatchPosted(bar.Handle(), TnvStatusBar::kRefreshLockPanelsMessage), 1);
    EXPECT_FALSE(Marked(1));
    EXPECT_GT(Black(1), 0);
    EXPECT_TRUE(Marked(2)) << "the lock panels at once, the rest in the next paint cycle";
    RECT update{};
    EXPECT_TRUE(::GetUpdateRect(bar.Handle(), &update, FALSE));
    EXPECT_EQ(update.right - update.left, host.Client().right) << "the whole bar is invalidated";
    Settle();

    MarkPanel(0);
    MarkPanel(1);
    MarkPanel(2);
    KeyboardHookProc(HC_ACTION, 'A', kRelease);
    EXPECT_FALSE(RefreshAllPending());
    EXPECT_EQ(RunRepaints(bar.Handle()), 1);
    EXPECT_FALSE(Marked(0));
    EXPECT_FALSE(Marked(1));
    EXPECT_TRUE(Marked(2)) << "only lock panels";

    ::SendMessageA(host.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(RefreshAllPending()) << "an activation does not ask for a refresh of all";
    EXPECT_TRUE(RefreshPosted(bar.Handle()));
    PumpMessages();
}

TEST_F(LockPanel, ABarWithoutLockPanelsDoesNotWatchActivation) {
    Create();
    bar.Panels().Add();
    ::SendMessageA(host.Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(RefreshPosted(bar.Handle()));
    EXPECT_FALSE(RefreshAllPending());

    TnvStatusPanel& num = bar.Panels().Add();
    num.SetPanelType(sptNumLock);
    num.SetEnabled(false);
    ::SendMessageA(host.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(RefreshPosted(bar.Handle())) << "a disabled lock panel watches nothing";
    num.SetEnabled(true);
    ::SendMessageA(host.Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(RefreshPosted(bar.Handle()));
    PumpMessages();
}

TEST_F(LockPanel, APressOfTheRealKeyShowsTheNewState) {
    Create();
    AddLockPanels();
    ::SetForegroundWindow(host.Handle());
    PumpMessages();
    if (::GetForegroundWindow() != host.Handle()) GTEST_SKIP() << "the test window cannot take the keyboard";
    const bool before = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    auto press = [] {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_CAPITAL;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
        for (int i = 0; i < 20; ++i) {
            ::Sleep(10);
            PumpMessages();
        }
    };
    MarkPanel(1);
    press();
    const bool after = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    const bool repainted = !Marked(1);
    const int black = Black(1);
    if (after != before) press(); // the toggle outlives the test in the X server
    ASSERT_NE(after, before) << "the key press did not reach this thread";
    EXPECT_TRUE(repainted);
    EXPECT_EQ(black > 0, after);
}

} // namespace
} // namespace nv
