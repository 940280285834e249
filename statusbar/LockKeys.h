// Window-free rules of the keyboard lock panels: which key each lock type follows, when the keyboard
// hook repaints, and the registration lists.
#pragma once

#include "statusbar/PanelTypes.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace nv {

constexpr unsigned kVkCapital = 20;
constexpr unsigned kVkNumLock = 144;
constexpr unsigned kVkScroll = 145;

bool IsLockType(TnvStatusPanelType type);
// The virtual-key code a lock type follows; 0 for other types.
unsigned LockKeyOf(TnvStatusPanelType type);
// The lock type following a virtual-key code; sptNormal for other keys.
TnvStatusPanelType LockTypeOfKey(unsigned key);
// The text a panel gets when it becomes this lock type (blank-padded, as the status bar shows it).
std::string DefaultLockText(TnvStatusPanelType type);

// A lock panel is listed for keyboard and activation notices exactly while this holds.
bool ShouldRegisterLockPanel(TnvStatusPanelType type, bool panelEnabled, bool barEnabled);

// What the keyboard hook does with one call.
enum class TKeyHookAction { Pass, RefreshAll, RefreshLockType };
struct KeyHookDecision {
    TKeyHookAction Action = TKeyHookAction::Pass;
    TnvStatusPanelType Type = sptNormal; // with RefreshLockType: the panels to repaint
};
// `flags` is the hook's lParam: bit 31 set on a release, bit 30 set on an auto-repeat.
// A pending refresh-all wins over the key and is consumed by any call with a non-negative code.
KeyHookDecision DecideKeyHook(int code, unsigned key, std::uint32_t flags, bool& refreshAllPending);

// An ordered list holding each item at most once: the shared lock-panel list and each bar's
// activation list.
template <class T> class RegistrationList {
public:
    // False when the item was already listed.
    bool Add(T* item) {
        if (Contains(item)) return false;
        items_.push_back(item);
        return true;
    }
    // False when the item was not listed.
    bool Remove(T* item) {
        auto at = std::find(items_.begin(), items_.end(), item);
        if (at == items_.end()) return false;
        items_.erase(at);
        return true;
    }
    bool Contains(const T* item) const { return std::find(items_.begin(), items_.end(), item) != items_.end(); }
    bool Empty() const { return items_.empty(); }
    size_t Count() const { return items_.size(); }
    // A copy, so repainting may change the list while the caller walks it.
    std::vector<T*> Snapshot() const { return items_; }

private:
    std::vector<T*> items_;
};

} // namespace nv
