#include "base/Application.h"

#include <algorithm>

namespace nv {

namespace {
constexpr char kClassName[] = "TApplication";
} // namespace

TApplication& Application() {
    static TApplication application;
    return application;
}

int TApplication::HookMainWindow(TWindowHook hook) {
    if (!hook) return 0;
    if (!Handle()) {
        RegisterClassOnce(kClassName, 0, nullptr);
        // A tool window is never listed in the taskbar, even if something shows it.
        if (!Create(kClassName, "Notova", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr, nullptr)) return 0;
    }
    hooks_.push_back({++lastId_, std::move(hook)});
    return lastId_;
}

void TApplication::UnhookMainWindow(int id) noexcept {
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const Hook& h) { return h.id == id; }),
                 hooks_.end());
}

void TApplication::AddModelessDialog(HWND dialog) {
    if (dialog && std::find(dialogs_.begin(), dialogs_.end(), dialog) == dialogs_.end()) dialogs_.push_back(dialog);
}

void TApplication::RemoveModelessDialog(HWND dialog) noexcept {
    dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), dialog), dialogs_.end());
}

bool TApplication::DialogMessage(MSG& msg) const {
    for (HWND dialog : dialogs_) {
        // Only a dialog that holds the message's window is asked: IsDialogMessage would otherwise
        // take keys meant for the main window.
        if (!::IsWindow(dialog) || !::IsWindowVisible(dialog)) continue;
        if ((msg.hwnd == dialog || ::IsChild(dialog, msg.hwnd)) && ::IsDialogMessageA(dialog, &msg)) return true;
    }
    return false;
}

LRESULT TApplication::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A hook may unhook itself or others while it runs: each is looked up again before its call,
    // so none runs after it was removed.
    std::vector<int> ids;
    ids.reserve(hooks_.size());
    for (const Hook& hook : hooks_) ids.push_back(hook.id);
    for (int id : ids) {
        auto found = std::find_if(hooks_.begin(), hooks_.end(), [id](const Hook& h) { return h.id == id; });
        if (found == hooks_.end()) continue;
        const TWindowHook hook = found->hook;
        LRESULT result = 0;
        if (hook(msg, wParam, lParam, result)) return result;
    }
    return Default(msg, wParam, lParam);
}

} // namespace nv
