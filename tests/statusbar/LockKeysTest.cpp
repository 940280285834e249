#include "statusbar/LockKeys.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

constexpr std::uint32_t kFirstPress = 0x003A0001; // repeat count 1, scan code, bits 30 and 31 clear
constexpr std::uint32_t kRepeat = kFirstPress | (1u << 30);
constexpr std::uint32_t kRelease = kFirstPress | (1u << 30) | (1u << 31);

TEST(LockTypes, FollowTheirKeysAndStartWithBlankPaddedTexts) {
    EXPECT_EQ(LockKeyOf(sptCapsLock), 20u);
    EXPECT_EQ(LockKeyOf(sptNumLock), 144u);
    EXPECT_EQ(LockKeyOf(sptScrollLock), 145u);
    EXPECT_EQ(LockKeyOf(sptNormal), 0u);
    EXPECT_EQ(DefaultLockText(sptCapsLock), " CAPS ");
    EXPECT_EQ(DefaultLockText(sptNumLock), " NUM ");
    EXPECT_EQ(DefaultLockText(sptScrollLock), " SCROLL ");
    EXPECT_FALSE(IsLockType(sptDate));
    EXPECT_EQ(static_cast<int>(sptOwnerDraw), 11) << "stored ordinals";
}

TEST(DecideKeyHook, OnlyAFirstPressOfALockKeyRepaintsItsType) {
    bool refreshAll = false;
    KeyHookDecision d = DecideKeyHook(0, 20, kFirstPress, refreshAll);
    EXPECT_EQ(d.Action, TKeyHookAction::RefreshLockType);
    EXPECT_EQ(d.Type, sptCapsLock);
    EXPECT_EQ(DecideKeyHook(0, 144, kFirstPress, refreshAll).Type, sptNumLock);
    EXPECT_EQ(DecideKeyHook(0, 145, kFirstPress, refreshAll).Type, sptScrollLock);
    EXPECT_EQ(DecideKeyHook(0, 20, kRepeat, refreshAll).Action, TKeyHookAction::Pass) << "auto-repeat";
    EXPECT_EQ(DecideKeyHook(0, 20, kRelease, refreshAll).Action, TKeyHookAction::Pass) << "release";
    EXPECT_EQ(DecideKeyHook(0, 20, kFirstPress | (1u << 31), refreshAll).Action, TKeyHookAction::Pass)
        << "a release with the previous-state bit somehow clear is still a release";
    EXPECT_EQ(DecideKeyHook(0, 'A', kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
    EXPECT_EQ(DecideKeyHook(0, 0x10014, kFirstPress, refreshAll).Action, TKeyHookAction::Pass)
        << "only the exact key code counts";
}

TEST(DecideKeyHook, APendingRefreshAllWinsOverTheKeyAndIsConsumedOnce) {
    bool refreshAll = true;
    EXPECT_EQ(DecideKeyHook(0, 'A', kRelease, refreshAll).Action, TKeyHookAction::RefreshAll);
    EXPECT_FALSE(refreshAll);
    EXPECT_EQ(DecideKeyHook(0, 'A', kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
    refreshAll = true;
    EXPECT_EQ(DecideKeyHook(3, 20, kFirstPress, refreshAll).Action, TKeyHookAction::RefreshAll)
        << "HC_NOREMOVE is a non-negative code too";
}

TEST(DecideKeyHook, NegativeCodesAreOnlyPassedOnAndKeepTheFlag) {
    bool refreshAll = true;
    EXPECT_EQ(DecideKeyHook(-1, 20, kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
    EXPECT_TRUE(refreshAll);
    refreshAll = false;
    EXPECT_EQ(DecideKeyHook(-1, 20, kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
}

TEST(ShouldRegisterLockPanel, NeedsALockTypeAndBothEnables) {
    EXPECT_TRUE(ShouldRegisterLockPanel(sptNumLock, true, true));
    EXPECT_FALSE(ShouldRegisterLockPanel(sptNumLock, false, true));
    EXPECT_FALSE(ShouldRegisterLockPanel(sptCapsLock, true, false));
    EXPECT_FALSE(ShouldRegisterLockPanel(sptNormal, true, true));
}

struct FakePanel {};

TEST(RegistrationList, HoldsEachItemOnceInOrder) {
    FakePanel a, b, c;
    RegistrationList<FakePanel> list;
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(list.Add(&a));
    EXPECT_TRUE(list.Add(&b));
    EXPECT_FALSE(list.Add(&a)) << "registering again must not list it twice";
    EXPECT_TRUE(list.Add(&c));
    EXPECT_EQ(list.Snapshot(), (std::vector<FakePanel*>{&a, &b, &c}));
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    EXPECT_EQ(list.Snapshot(), (std::vector<FakePanel*>{&a, &c}));
    list.Remove(&a);
    list.Remove(&c);
    EXPECT_TRUE(list.Empty());
}

} // namespace
} // namespace nv
