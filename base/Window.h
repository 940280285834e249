// The base of the program's own windows: binds the object to its HWND and keeps exceptions
// inside the window procedure.
#pragma once

#include <windows.h>

namespace nv {

// Notifications a parent hands back to the child control that sent them (ATL's numbering).
constexpr UINT kReflectBase = WM_USER + 0x1C00;
constexpr UINT kReflectedCommand = kReflectBase + WM_COMMAND;
constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;
constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;

// Sends WM_COMMAND / WM_NOTIFY / a control's WM_DRAWITEM from a child back to that child. Returns
// true when a child took it. Owner-drawn menu items are not reflected: they have no child window.
bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND Handle() const noexcept { return hwnd_; }

protected:
    // Registers the class once per process; the procedure binds the object passed to Create.
    static void RegisterClassOnce(const char* className, UINT style = CS_HREDRAW | CS_VREDRAW,
                                  HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HWND Create(const char* className, const char* caption, DWORD style, DWORD exStyle, int x, int y, int w,
                int h, HWND parent, HMENU menuOrId);
    void Destroy();

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcA(hwnd_, msg, wParam, lParam); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

} // namespace nv
