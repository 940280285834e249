#include "statusbar/LockKeys.h"

namespace nv {

bool IsLockType(TnvStatusPanelType type) { return LockKeyOf(type) != 0; }

unsigned LockKeyOf(TnvStatusPanelType type) {
    switch (type) {
    case sptCapsLock: return kVkCapital;
    case sptNumLock: return kVkNumLock;
    case sptScrollLock: return kVkScroll;
    default: return 0;
    }
}

TnvStatusPanelType LockTypeOfKey(unsigned key) {
    switch (key) {
    case kVkCapital: return sptCapsLock;
    case kVkNumLock: return sptNumLock;
    case kVkScroll: return sptScrollLock;
    default: return sptNormal;
    }
}

std::string DefaultLockText(TnvStatusPanelType type) {
    switch (type) {
    case sptCapsLock: return " CAPS ";
    case sptNumLock: return " NUM ";
    case sptScrollLock: return " SCROLL ";
    default: return {};
    }
}

bool ShouldRegisterLockPanel(TnvStatusPanelType type, bool panelEnabled, bool barEnabled) {
    return IsLockType(type) && panelEnabled && barEnabled;
}

KeyHookDecision DecideKeyHook(int code, unsigned key, std::uint32_t flags, bool& refreshAllPending) {
    if (code < 0) return {};
    if (refreshAllPending) {
        refreshAllPending = false;
        return {TKeyHookAction::RefreshAll, sptNormal};
    }
    constexpr std::uint32_t kReleased = 1u << 31;
    constexpr std::uint32_t kWasDown = 1u << 30;
    const TnvStatusPanelType type = LockTypeOfKey(key);
    if (type == sptNormal || (flags & (kReleased | kWasDown)) != 0) return {};
    return {TKeyHookAction::RefreshLockType, type};
}

} // namespace nv
