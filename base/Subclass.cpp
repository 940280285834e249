#include "base/Subclass.h"

#include "base/Platform.h"

#include <exception>
#include <mutex>
#include <unordered_map>

namespace nv {

namespace {

struct Layer {
    ControlSubclass* owner = nullptr; // empty once detached while another subclass sat above ours
    WNDPROC previous = nullptr;
    bool unicode = false;
};

// The control keeps its character set: an ANSI control gets ANSI messages, unconverted.
WNDPROC CurrentProcedure(HWND control, bool unicode) {
    return reinterpret_cast<WNDPROC>(unicode ? ::GetWindowLongPtrW(control, GWLP_WNDPROC)
                                             : ::GetWindowLongPtrA(control, GWLP_WNDPROC));
}

WNDPROC ReplaceProcedure(HWND control, bool unicode, WNDPROC procedure) {
    const auto value = reinterpret_cast<LONG_PTR>(procedure);
    return reinterpret_cast<WNDPROC>(unicode ? ::SetWindowLongPtrW(control, GWLP_WNDPROC, value)
                                             : ::SetWindowLongPtrA(control, GWLP_WNDPROC, value));
}

LRESULT CallProcedure(const Layer& layer, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return layer.unicode ? ::CallWindowProcW(layer.previous, control, msg, wParam, lParam)
                         : ::CallWindowProcA(layer.previous, control, msg, wParam, lParam);
}

LRESULT DefaultProcedure(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::IsWindowUnicode(control) ? ::DefWindowProcW(control, msg, wParam, lParam)
                                      : ::DefWindowProcA(control, msg, wParam, lParam);
}

std::mutex gLayersLock;

std::unordered_map<HWND, Layer>& Layers() {
    static std::unordered_map<HWND, Layer> layers;
    return layers;
}

Layer FindLayer(HWND hwnd) {
    std::lock_guard<std::mutex> lock(gLayersLock);
    auto found = Layers().find(hwnd);
    return found == Layers().end() ? Layer{} : found->second;
}

} // namespace

void ControlSubclass::AttachSubclass(HWND control) {
    std::lock_guard<std::mutex> lock(gLayersLock);
    auto found = Layers().find(control);
    if (found != Layers().end()) {
        found->second.owner = this; // our procedure is still in the chain
        return;
    }
    const bool unicode = ::IsWindowUnicode(control) != FALSE;
    const WNDPROC previous = ReplaceProcedure(control, unicode, &ControlSubclass::Procedure);
    if (previous) Layers()[control] = Layer{this, previous, unicode};
}

void ControlSubclass::DetachSubclass(HWND control) noexcept {
    std::lock_guard<std::mutex> lock(gLayersLock);
    auto found = Layers().find(control);
    if (found == Layers().end()) return;
    const Layer& layer = found->second;
    if (CurrentProcedure(control, layer.unicode) == &ControlSubclass::Procedure) {
        ReplaceProcedure(control, layer.unicode, layer.previous);
        Layers().erase(found);
    } else {
        // Someone subclassed after us: unhooking now would cut them off, so pass messages through.
        found->second.owner = nullptr;
    }
}

LRESULT ControlSubclass::CallPrevious(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Layer layer = FindLayer(control);
    return layer.previous ? CallProcedure(layer, control, msg, wParam, lParam) : 0;
}

LRESULT CALLBACK ControlSubclass::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Layer layer = FindLayer(hwnd);
    if (!layer.previous) return DefaultProcedure(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        {
            std::lock_guard<std::mutex> lock(gLayersLock);
            Layers().erase(hwnd);
        }
        if (CurrentProcedure(hwnd, layer.unicode) == &ControlSubclass::Procedure) {
            ReplaceProcedure(hwnd, layer.unicode, layer.previous);
        }
        if (layer.owner) layer.owner->OnControlDestroyed(hwnd);
        return CallProcedure(layer, hwnd, msg, wParam, lParam);
    }
    if (!layer.owner) return CallProcedure(layer, hwnd, msg, wParam, lParam);
    try {
        return layer.owner->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        ShowCurrentError(::GetAncestor(hwnd, GA_ROOT));
        return 0;
    }
}

} // namespace nv
