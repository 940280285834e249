#include "statusbar/NVKb.h"

#include "base/Application.h"
#include "base/Handles.h"
#include "base/Platform.h"
#include "statusbar/LockKeys.h"
#include "statusbar/nvStatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace nv {

namespace {

// Shared by the lock panels of every bar; touched only on the user-interface thread.
struct KeyboardMonitor {
    Hook hook;
    RegistrationList<TnvStatusPanel> panels;
    // Set by a deactivation: lock keys may change while another application has the keyboard.
    bool refreshAll = false;
};

KeyboardMonitor& Monitor() noexcept {
    static KeyboardMonitor monitor;
    return monitor;
}

// The bars that hold a panel of the list the hook's decision names, each once.
std::vector<TnvStatusBar*> BarsToRepaint(const KeyHookDecision& decision) {
    std::vector<TnvStatusBar*> bars;
    for (TnvStatusPanel* panel : Monitor().panels.Snapshot()) {
        if (decision.Action == TKeyHookAction::RefreshLockType && panel->PanelType() != decision.Type) continue;
        TnvStatusBar* bar = &panel->Bar();
        if (std::find(bars.begin(), bars.end(), bar) == bars.end()) bars.push_back(bar);
    }
    return bars;
}

} // namespace

void RegisterLockPanel(TnvStatusPanel& panel) {
    KeyboardMonitor& monitor = Monitor();
    // A failed install leaves the handle empty; the next registration tries again.
    if (!monitor.hook) {
        monitor.hook.reset(::SetWindowsHookExA(WH_KEYBOARD, &KeyboardHookProc, nullptr, ::GetCurrentThreadId()));
    }
    monitor.panels.Add(&panel);
}

void UnregisterLockPanel(TnvStatusPanel& panel) noexcept {
    KeyboardMonitor& monitor = Monitor();
    if (monitor.panels.Remove(&panel) && monitor.panels.Empty()) monitor.hook.reset();
}

void WatchActivation(TnvStatusBar& bar, TnvStatusPanel& panel) {
    if (bar.activationPanels_.Add(&panel)) bar.SyncActivationWatch();
}

void UnwatchActivation(TnvStatusBar& bar, TnvStatusPanel& panel) noexcept {
    if (bar.activationPanels_.Remove(&panel)) bar.SyncActivationWatch();
}

void DrawKeyLockState(const TnvStatusPanel& panel, HDC dc, RECT rect) {
    const COLORREF previous = ::GetTextColor(dc);
    const bool on = (::GetKeyState(static_cast<int>(LockKeyOf(panel.PanelType()))) & 1) != 0;
    // The text stays; only its colour tells the state.
    ::SetTextColor(dc, on ? ColorRefOf(panel.Bar().Font().Color) : ::GetSysColor(COLOR_GRAYTEXT));
    DrawPanelText(dc, rect, panel.Text(), PlaceText(panel.Alignment(), panel.AutoFit(), true));
    ::SetTextColor(dc, previous);
}

void RefreshLockPanels(TnvStatusBar& bar) {
    TnvStatusPanels& panels = bar.Panels();
    TnvStatusPanels::UpdateScope update(panels);
    for (int i = 0; i < panels.Count(); ++i) {
        if (IsLockType(panels[i].PanelType())) bar.RedrawPanel(i);
    }
}

void RepaintLockPanels(TnvStatusBar& bar, TnvStatusPanelType type) {
    TnvStatusPanels& panels = bar.Panels();
    for (int i = 0; i < panels.Count(); ++i) {
        const TnvStatusPanel& panel = panels[i];
        if (!LockPanelRegistered(panel)) continue;
        if (type == sptNormal || panel.PanelType() == type) bar.RedrawPanel(i);
    }
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM key, LPARAM flags) {
    KeyboardMonitor& monitor = Monitor();
    try {
        const KeyHookDecision decision = DecideKeyHook(code, static_cast<unsigned>(key),
                                                       static_cast<std::uint32_t>(flags), monitor.refreshAll);
        if (decision.Action != TKeyHookAction::Pass) {
            // The thread's key state, toggle bits included, changes only when the key message leaves
            // the queue, after this hook: painting now would show the state before the press.
            const WPARAM type = decision.Action == TKeyHookAction::RefreshAll ? sptNormal : decision.Type;
            for (TnvStatusBar* bar : BarsToRepaint(decision)) {
                if (bar->Handle()) ::PostMessageA(bar->Handle(), TnvStatusBar::kRepaintLockPanelsMessage, type, 0);
            }
        }
    } catch (...) {
        ShowCurrentError(::GetActiveWindow());
    }
    return ::CallNextHookEx(monitor.hook.get(), code, key, flags);
}

bool KeyboardHookInstalled() { return static_cast<bool>(Monitor().hook); }
bool LockPanelRegistered(const TnvStatusPanel& panel) { return Monitor().panels.Contains(&panel); }
size_t RegisteredLockPanelCount() { return Monitor().panels.Count(); }
bool RefreshAllPending() { return Monitor().refreshAll; }

void ApplicationActivated(TnvStatusBar& bar, bool active) {
    if (!active) Monitor().refreshAll = true;
    if (bar.Handle()) ::PostMessageA(bar.Handle(), TnvStatusBar::kRefreshLockPanelsMessage, 0, 0);
}

// ---- ActivationWatch -----------------------------------------------------------------------------

void ActivationWatch::Attach(TnvStatusBar& bar) noexcept {
    Detach();
    TnvStatusBar* watched = &bar;
    try {
        hookId_ = Application().HookMainWindow([watched](UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
            if (msg == WM_ACTIVATEAPP) ApplicationActivated(*watched, wParam != 0);
            return false; // never taken here: the window's own processing follows
        });
    } catch (...) {
        hookId_ = 0; // no activation notices; the lock panels still follow paints and keys
    }
}

void ActivationWatch::Detach() noexcept {
    if (hookId_ == 0) return;
    Application().UnhookMainWindow(hookId_);
    hookId_ = 0;
}

} // namespace nv
