#include "base/Window.h"

#include "base/Platform.h"

namespace nv {

bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    if (msg == WM_COMMAND && lParam != 0) {
        child = reinterpret_cast<HWND>(lParam);
    } else if (msg == WM_NOTIFY && lParam != 0) {
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    } else if (msg == WM_DRAWITEM && lParam != 0) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU) child = item->hwndItem;
    }
    if (!child || !::IsWindow(child)) return false;
    result = ::SendMessageA(child, kReflectBase + msg, wParam, lParam);
    return true;
}

WindowBase::~WindowBase() { Destroy(); }

void WindowBase::RegisterClassOnce(const char* className, UINT style, HBRUSH background) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), className, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &WindowBase::WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    ::RegisterClassExA(&wc);
}

HWND WindowBase::Create(const char* className, const char* caption, DWORD style, DWORD exStyle, int x, int y,
                        int w, int h, HWND parent, HMENU menuOrId) {
    return ::CreateWindowExA(exStyle, className, caption, style, x, y, w, h, parent, menuOrId,
                             ::GetModuleHandleA(nullptr), this);
}

void WindowBase::Destroy() {
    if (hwnd_) ::DestroyWindow(hwnd_);
}

LRESULT WindowBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return Default(msg, wParam, lParam); }

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcA(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ShowCurrentError(hwnd);
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace nv
