// Keyboard lock panels: the shared hook, registrations, the grey off state and the refreshes.
#include "base/Application.h"
#include "tests/statusbar/BarFixture.h"

namespace nv {
namespace {

using namespace test;

constexpr LPARAM kFirstPress = 0x00450001;
constexpr LPARAM kRepeat = kFirstPress | (1 << 30);
constexpr LPARAM kRelease = static_cast<LPARAM>(static_cast<std::uint32_t>(kFirstPress) | 0xC0000000u);

class LockPanel : public BarFixture {
protected:
    void SetUp() override {
        BarFixture::SetUp();
        SetToggle(VK_NUMLOCK, false);
        SetToggle(VK_CAPITAL, false);
        ASSERT_FALSE(KeyboardHookInstalled()) << "a previous test left lock panels registered";
    }
    // New windows bring late activation changes from the X server; let them pass and clear the
    // refresh-all they may leave.
    void Quiet() {
        Paint();
        Paint();
        KeyboardHookProc(HC_ACTION, 0, kRelease);
        PumpMessages();
    }
    void TearDown() override {
        SetToggle(VK_NUMLOCK, false);
        SetToggle(VK_CAPITAL, false);
    }
    // NUM, CAPS and a normal panel last, so the size grip covers no lock panel.
    void AddLockPanels() {
        bar.Panels().Add().SetPanelType(sptNumLock);
        bar.Panels().Add().SetPanelType(sptCapsLock);
        bar.Panels().Add().SetText("x");
        Paint();
    }
    bool Grey(int index) const { return DrawnIn(index, ::GetSysColor(COLOR_GRAYTEXT)); }
    bool Black(int index) const { return DrawnIn(index, RGB(0, 0, 0)); }
    static int RunRepaints(const TnvStatusBar& of) {
        return DispatchPosted(of.Handle(), TnvStatusBar::kRepaintLockPanelsMessage);
    }
};

TEST_F(LockPanel, TheTextStaysAndIsGreyWhileTheLockIsOff) {
    Create();
    AddLockPanels();
    EXPECT_EQ(bar.Panels()[1].Text(), " CAPS ");
    EXPECT_TRUE(bar.Panels()[1].AutoFit());
    EXPECT_TRUE(Grey(1));
    EXPECT_FALSE(Black(1));
    SetToggle(VK_CAPITAL, true);
    bar.RedrawPanel(1);
    EXPECT_FALSE(Grey(1));
    EXPECT_TRUE(Black(1));
    EXPECT_TRUE(Grey(0)) << "NUM follows its own key";

    bar.Panels()[0].SetText("Num"); // a form's stored text, applied after the type
    bar.Panels()[0].SetPanelType(sptNormal);
    EXPECT_EQ(bar.Panels()[0].Text(), "Num");
    EXPECT_FALSE(bar.Panels()[0].AutoFit());
    EXPECT_FALSE(Grey(0)) << "a former NUM panel is drawn in the normal colour";
    EXPECT_TRUE(Black(0));
}

TEST_F(LockPanel, TheHookComesWithTheFirstLockPanelAndGoesWithTheLast) {
    Create();
    TnvStatusPanel& caps = bar.Panels().Add();
    caps.SetPanelType(sptCapsLock);
    EXPECT_TRUE(KeyboardHookInstalled());
    {
        TestHost otherHost;
        TnvStatusBar other;
        other.CreateWnd(otherHost.Handle(), 1);
        other.Panels().Add().SetPanelType(sptNumLock);
        other.Panels().Add().SetPanelType(sptNumLock);
        EXPECT_EQ(RegisteredLockPanelCount(), 3u);
        other.Panels().Delete(0);
        EXPECT_EQ(RegisteredLockPanelCount(), 2u);
    }
    EXPECT_EQ(RegisteredLockPanelCount(), 1u) << "a destroyed bar's panels leave the shared list";
    EXPECT_TRUE(LockPanelRegistered(caps));
    caps.SetPanelType(sptNormal);
    EXPECT_FALSE(KeyboardHookInstalled());
}

TEST_F(LockPanel, EnableChangesRegisterOnceAndDisabledPanelsAreNotListed) {
    Create();
    TnvStatusPanel& num = bar.Panels().Add();
    num.SetPanelType(sptNumLock);
    num.SetEnabled(false);
    EXPECT_FALSE(KeyboardHookInstalled());
    for (int i = 0; i < 3; ++i) num.SetEnabled(true);
    EXPECT_EQ(RegisteredLockPanelCount(), 1u);
    bar.SetEnabled(false);
    EXPECT_FALSE(LockPanelRegistered(num)) << "the bar's Enabled counts";
    bar.SetEnabled(true);
    EXPECT_EQ(RegisteredLockPanelCount(), 1u);
    num.SetEnabled(false);
    num.SetPanelType(sptCapsLock);
    EXPECT_FALSE(LockPanelRegistered(num)) << "a type change does not register a disabled panel";
}

TEST_F(LockPanel, OnlyAFirstPressRepaintsAndOnlyThePanelsOfThatKeyInEveryBar) {
    Create();
    AddLockPanels();
    TestHost otherHost(300, 100);
    TnvStatusBar other;
    other.CreateWnd(otherHost.Handle(), 1);
    other.Panels().Add().SetPanelType(sptNumLock);
    other.Panels().Add();
    Quiet();
    auto markAll = [&] {
        MarkPanel(0);
        MarkPanel(1);
        MarkPanel(other, 0);
    };

    markAll();
    KeyboardHookProc(HC_ACTION, VK_NUMLOCK, kRepeat);
    KeyboardHookProc(HC_ACTION, VK_NUMLOCK, kRelease);
    KeyboardHookProc(HC_ACTION, 'A', kFirstPress);
    KeyboardHookProc(-1, VK_NUMLOCK, kFirstPress);
    EXPECT_EQ(RunRepaints(bar) + RunRepaints(other), 0) << "repeats, releases, other keys, negative codes";

    KeyboardHookProc(HC_ACTION, VK_NUMLOCK, kFirstPress);
    EXPECT_TRUE(Marked(0)) << "the repaint waits until the key message has changed the key state";
    EXPECT_EQ(RunRepaints(bar), 1);
    EXPECT_EQ(RunRepaints(other), 1);
    EXPECT_FALSE(Marked(0));
    EXPECT_FALSE(Marked(other, 0));
    EXPECT_TRUE(Marked(1)) << "not the CAPS panel";

    markAll();
    SetToggle(VK_CAPITAL, true);
    KeyboardHookProc(HC_ACTION, VK_CAPITAL, kFirstPress);
    EXPECT_EQ(RunRepaints(bar), 1);
    EXPECT_EQ(RunRepaints(other), 0) << "the other bar has no CAPS panel";
    EXPECT_TRUE(Marked(0));
    EXPECT_TRUE(Black(1)) << "repainted with the new state";
}

TEST_F(LockPanel, ActivationChangesRefreshAndADeactivationRefreshesAllOnTheNextKey) {
    Create();
    AddLockPanels();
    Quiet();
    ::SendMessageA(Application().Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(RefreshAllPending());

    SetToggle(VK_CAPITAL, true); // pressed while another application had the keyboard
    MarkPanel(1);
    MarkPanel(2);
    EXPECT_EQ(DispatchPosted(bar.Handle(), TnvStatusBar::kRefreshLockPanelsMessage), 1);
    EXPECT_TRUE(Black(1));
    EXPECT_TRUE(Marked(2)) << "the lock panels at once, the rest in the next paint cycle";
    RECT update{};
    ::GetUpdateRect(bar.Handle(), &update, FALSE);
    EXPECT_EQ(update.right, host.Client().right) << "the whole bar is invalidated";
    ::ValidateRect(bar.Handle(), nullptr);

    MarkPanel(0);
    MarkPanel(1);
    MarkPanel(2);
    KeyboardHookProc(HC_ACTION, 'A', kRelease);
    EXPECT_FALSE(RefreshAllPending());
    EXPECT_EQ(RunRepaints(bar), 1);
    EXPECT_FALSE(Marked(0) || Marked(1));
    EXPECT_TRUE(Marked(2)) << "only lock panels";

    ::SendMessageA(Application().Handle(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_FALSE(RefreshAllPending()) << "an activation asks for no refresh of all";
    EXPECT_EQ(DispatchPosted(bar.Handle(), TnvStatusBar::kRefreshLockPanelsMessage), 1);
}

TEST_F(LockPanel, APressOfTheRealKeyShowsTheNewState) {
    Create();
    AddLockPanels();
    ::SetForegroundWindow(host.Handle());
    PumpMessages();
    if (::GetForegroundWindow() != host.Handle()) GTEST_SKIP() << "the test window cannot take the keyboard";
    auto press = [] {
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_CAPITAL;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, keys, sizeof(INPUT));
        for (int i = 0; i < 20; ++i, ::Sleep(10)) PumpMessages();
    };
    const bool before = ::GetKeyState(VK_CAPITAL) & 1;
    MarkPanel(1);
    press();
    const bool after = ::GetKeyState(VK_CAPITAL) & 1;
    const bool repainted = !Marked(1);
    const bool black = Black(1);
    if (after != before) press(); // the toggle would outlive the test in the X server
    ASSERT_NE(after, before) << "the key press did not reach this thread";
    EXPECT_TRUE(repainted);
    EXPECT_EQ(black, after);
}

} // namespace
} // namespace nv
