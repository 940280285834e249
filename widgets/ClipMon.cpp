#include "widgets/ClipMon.h"

#include "base/Errors.h"
#include "base/Platform.h"

namespace nv {

namespace {
constexpr char kClassName[] = "NotovaClipboardMonitor";
}

TClipboardMonitor::TClipboardMonitor(HWND owner) : owner_(owner) {
    RegisterClassOnce(kClassName, 0, nullptr);
    // A message-only window is enough: the chain notifications are sent to it directly, also from
    // other processes, and it stays out of broadcasts and window enumeration.
    if (!Create(kClassName, "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr))
        throw EError("Cannot create the clipboard monitor window");
}

TClipboardMonitor::~TClipboardMonitor() {
    OnChange = nullptr;
    SetEnabled(false);
    Destroy();
}

void TClipboardMonitor::SetEnabled(bool value) {
    if (value == enabled_) return;
    if (value) {
        // Once the window is gone (destroyed from outside) there is nothing to put in the chain;
        // SetClipboardViewer(nullptr) would cut the chain instead.
        if (!Handle()) return;
        enabled_ = true;
        // The system sends the first WM_DRAWCLIPBOARD before this returns; there is no next viewer
        // yet to pass it to.
        nextViewer_ = ::SetClipboardViewer(Handle());
    } else {
        enabled_ = false;
        ::ChangeClipboardChain(Handle(), nextViewer_);
        nextViewer_ = nullptr;
    }
}

LRESULT TClipboardMonitor::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DRAWCLIPBOARD: OnDrawClipboard(wParam, lParam); return 0;
    case WM_DESTROYCLIPBOARD: Change(); return 0;
    case WM_CHANGECBCHAIN: OnChangeChain(wParam, lParam); return 0;
    case WM_DESTROY: SetEnabled(false); return 0;
    default: return Default(msg, wParam, lParam);
    }
}

void TClipboardMonitor::OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
    // The rest of the chain hears of the change before the handler runs, which may sit in a
    // modal error box for a while.
    if (nextViewer_) ::SendMessageA(nextViewer_, WM_DRAWCLIPBOARD, wParam, lParam);
    Change();
}

void TClipboardMonitor::OnChangeChain(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) == nextViewer_) {
        nextViewer_ = reinterpret_cast<HWND>(lParam);
    } else if (nextViewer_) {
        ::SendMessageA(nextViewer_, WM_CHANGECBCHAIN, wParam, lParam);
    }
}

void TClipboardMonitor::Change() {
    // The owner may already be gone while the program shuts down; the box then stands alone.
    HWND errorOwner = owner_ && ::IsWindow(owner_) ? owner_ : nullptr;
    Guarded(errorOwner, [this] { Raise(OnChange, this); });
}

} // namespace nv
