#include "base/Subclass.h"

#include "base/Platform.h"

#include <commctrl.h>

#include <exception>

namespace nv {

namespace {
constexpr UINT_PTR kSubclassId = 1;
} // namespace

void ControlSubclass::AttachSubclass(HWND control) {
    ::SetWindowSubclass(control, &ControlSubclass::Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void ControlSubclass::DetachSubclass(HWND control) {
    ::RemoveWindowSubclass(control, &ControlSubclass::Procedure, kSubclassId);
}

LRESULT CALLBACK ControlSubclass::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR refData) {
    auto* self = reinterpret_cast<ControlSubclass*>(refData);
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &ControlSubclass::Procedure, kSubclassId);
        self->OnControlDestroyed(hwnd);
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ShowGeneralError(::GetAncestor(hwnd, GA_ROOT), e);
        return 0;
    }
}

} // namespace nv
