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
    void AttachSubclass(HWND control);
    void DetachSubclass(HWND control);
    // Messages to the control; unhandled ones go to DefSubclassProc.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // The control's window is being destroyed (WM_NCDESTROY); the subclass is already removed.
    virtual void OnControlDestroyed(HWND control) = 0;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR refData);
};

} // namespace nv
