// Keyboard lock panels: one keyboard hook on the user-interface thread, shared by the lock panels of
// every status bar, repaints them when their key goes down; the bar re-reads them when the application
// is activated or deactivated.
#pragma once

#include "statusbar/PanelTypes.h"

#include <windows.h>

#include <cstddef>

namespace nv {

class TnvStatusBar;
class TnvStatusPanel;

// Lists the panel for keyboard notices; installs the shared hook when none is installed.
void RegisterLockPanel(TnvStatusPanel& panel);
// Takes the panel off the list; the last one off removes the hook.
void UnregisterLockPanel(TnvStatusPanel& panel) noexcept;
// Lists the panel for the bar's activation notices; the first one starts the watch.
void WatchActivation(TnvStatusBar& bar, TnvStatusPanel& panel);
// The last one off stops the watch.
void UnwatchActivation(TnvStatusBar& bar, TnvStatusPanel& panel) noexcept;

// Paints a lock panel's text: the bar's font colour while the lock is on, grey while it is off.
void DrawKeyLockState(const TnvStatusPanel& panel, HDC dc, RECT rect);
// Repaints the bar's lock panels and then the whole bar.
void RefreshLockPanels(TnvStatusBar& bar);
// Repaints the bar's registered lock panels of one type, or all of them for sptNormal.
void RepaintLockPanels(TnvStatusBar& bar, TnvStatusPanelType type);
// Decides on the key; the repaint itself is posted to the bars, to run once the key has changed the
// thread's key state.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM key, LPARAM flags);

// The shared state, for the bar and for tests.
bool KeyboardHookInstalled();
bool LockPanelRegistered(const TnvStatusPanel& panel);
size_t RegisteredLockPanelCount();
bool RefreshAllPending();
// The application was activated (true) or deactivated (false).
void ApplicationActivated(TnvStatusBar& bar, bool active);

// Hands the application's WM_ACTIVATEAPP to one bar, through a hook on the application window.
class ActivationWatch {
public:
    ActivationWatch() = default;
    ~ActivationWatch() { Detach(); }
    ActivationWatch(const ActivationWatch&) = delete;
    ActivationWatch& operator=(const ActivationWatch&) = delete;

    void Attach(TnvStatusBar& bar) noexcept;
    void Detach() noexcept;
    bool Watching() const noexcept { return hookId_ != 0; }

private:
    int hookId_ = 0;
};

} // namespace nv
