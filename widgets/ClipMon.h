// TClipboardMonitor: follows the system clipboard through the clipboard viewer chain and reports
// every change of its content.
#pragma once

#include "base/Events.h"
#include "base/Window.h"

#include <windows.h>

namespace nv {

class TClipboardMonitor : public TObject, private WindowBase {
public:
    // `owner` (the main window, or none) owns the error box of a failing OnChange handler.
    // The monitor starts outside the chain; set Enabled to join it.
    explicit TClipboardMonitor(HWND owner = nullptr);
    ~TClipboardMonitor() override;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool value);

    // Fired when the clipboard's content changed, and once while joining the chain.
    TNotifyEvent OnChange;

    // The monitor's hidden message window, which is what the chain knows it by.
    using WindowBase::Handle;
    // The window that follows the monitor in the chain, or none.
    HWND NextViewer() const noexcept { return nextViewer_; }

private:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDrawClipboard(WPARAM wParam, LPARAM lParam);
    void OnChangeChain(WPARAM wParam, LPARAM lParam);
    void Change();

    HWND owner_;
    HWND nextViewer_ = nullptr;
    bool enabled_ = false;
};

} // namespace nv
