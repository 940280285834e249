// The base of objects that subclass a system control: messages reach HandleMessage inside the
// application's error guard, and the object hears when the control's window goes away.
#pragma once

#include <windows.h>

namespace nv {

class ControlSubclass {
public:
    ControlSubclass() = default;
    ControlSubclass(const ControlSubclass&) = delete;
    ControlSubclass& operator=(const ControlSubclass&) = delete;

protected:
    ~ControlSubclass() = default;
    // One subclass per control window. The window procedure is replaced directly rather than
    // through SetWindowSubclass, whose per-message window-property lookups cost a round trip to
    // the window server under Wine on every message the control gets.
    void AttachSubclass(HWND control);
    void DetachSubclass(HWND control) noexcept;
    // The control's own processing of a message; returns 0 once the window is gone.
    static LRESULT CallPrevious(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
    // Messages to the control; unhandled ones go to CallPrevious.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // The control's window is being destroyed (WM_NCDESTROY); the subclass is already removed.
    virtual void OnControlDestroyed(HWND control) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

} // namespace nv
