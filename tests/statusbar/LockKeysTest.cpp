#include "statusbar/LockKeys.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

constexpr std::uint32_t kFirstPress = 0x003A0001; // repeat count 1, scan code, bits 30 and 31 clear
constexpr std::uint32_t kRepeat = kFirstPress | (1u << 30);
constexpr std::uint32_t kRelease = kFirstPress | (1u << 30) | (1u << 31);

TEST(DecideKeyHook, OnlyAFirstPressOfALockKeyRepaintsItsType) {
    bool refreshAll = false;
    EXPECT_EQ(DecideKeyHook(0, 20, kFirstPress, refreshAll).Type, sptCapsLock);
    EXPECT_EQ(DecideKeyHook(0, 144, kFirstPress, refreshAll).Type, sptNumLock);
    const KeyHookDecision scroll = DecideKeyHook(0, 145, kFirstPress, refreshAll);
    EXPECT_EQ(scroll.Action, TKeyHookAction::RefreshLockType);
    EXPECT_EQ(scroll.Type, sptScrollLock);
    EXPECT_EQ(DecideKeyHook(0, 20, kRepeat, refreshAll).Action, TKeyHookAction::Pass) << "auto-repeat";
    EXPECT_EQ(DecideKeyHook(0, 20, kRelease, refreshAll).Action, TKeyHookAction::Pass) << "release";
    EXPECT_EQ(DecideKeyHook(0, 20, kFirstPress | (1u << 31), refreshAll).Action, TKeyHookAction::Pass);
    EXPECT_EQ(DecideKeyHook(0, 'A', kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
}

TEST(DecideKeyHook, APendingRefreshAllWinsOnceAndNegativeCodesLeaveItAlone) {
    bool refreshAll = true;
    EXPECT_EQ(DecideKeyHook(-1, 20, kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
    EXPECT_TRUE(refreshAll);
    EXPECT_EQ(DecideKeyHook(3, 'A', kRelease, refreshAll).Action, TKeyHookAction::RefreshAll)
        << "any non-negative code, any key";
    EXPECT_FALSE(refreshAll);
    EXPECT_EQ(DecideKeyHook(0, 'A', kFirstPress, refreshAll).Action, TKeyHookAction::Pass);
}

TEST(LockTypes, FollowTheirKeysAndRegisterOnlyWhenEnabledOnAnEnabledBar) {
    EXPECT_EQ(DefaultLockText(sptCapsLock), " CAPS ");
    EXPECT_EQ(DefaultLockText(sptNumLock), " NUM ");
    EXPECT_EQ(DefaultLockText(sptScrollLock), " SCROLL ");
    EXPECT_EQ(LockKeyOf(sptNumLock), 144u);
    EXPECT_TRUE(ShouldRegisterLockPanel(sptNumLock, true, true));
    EXPECT_FALSE(ShouldRegisterLockPanel(sptNumLock, false, true));
    EXPECT_FALSE(ShouldRegisterLockPanel(sptCapsLock, true, false));
    EXPECT_FALSE(ShouldRegisterLockPanel(sptDate, true, true));
}

TEST(RegistrationList, HoldsEachItemOnceInOrder) {
    int a, b, c;
    RegistrationList<int> list;
    EXPECT_TRUE(list.Add(&a));
    EXPECT_TRUE(list.Add(&b));
    EXPECT_FALSE(list.Add(&a)) << "registering again must not list it twice";
    EXPECT_TRUE(list.Add(&c));
    EXPECT_TRUE(list.Remove(&b));
    EXPECT_FALSE(list.Remove(&b));
    EXPECT_EQ(list.Snapshot(), (std::vector<int*>{&a, &c}));
}

} // namespace
} // namespace nv
