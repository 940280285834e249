// The application object: a hidden top-level window that stands for the program as a whole. The
// system sends it the application-wide messages (WM_ACTIVATEAPP goes to every top-level window of
// the thread), and parts of the program hook its message stream instead of subclassing the main
// window, which would put a lookup in front of every message the main window gets.
#pragma once

#include "base/Window.h"

#include <functional>
#include <vector>

namespace nv {

class TApplication : public WindowBase {
public:
    // Sees a message before the window's own processing; true when it took the message, with the
    // result set.
    using TWindowHook = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    TApplication() = default;

    // Creates the hidden window on first use. Returns an id for UnhookMainWindow, 0 on failure.
    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id) noexcept;

    // The thread's open modeless dialogs (find, replace, goto line). The message loop offers each
    // message to them before the main window's shortcuts, so Enter, Tab or Ctrl+C typed in a dialog
    // work there and never reach the editor.
    void AddModelessDialog(HWND dialog);
    void RemoveModelessDialog(HWND dialog) noexcept;
    // True when one of the modeless dialogs took the message (IsDialogMessage).
    bool DialogMessage(MSG& msg) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Hook {
        int id;
        TWindowHook hook;
    };
    std::vector<Hook> hooks_;
    std::vector<HWND> dialogs_;
    int lastId_ = 0;
};

// The one application object of the process.
TApplication& Application();

} // namespace nv
