#include "tests/support/Dialogs.h"

#include "base/Unicode.h"

#include <algorithm>

namespace nv::test {

namespace {
DialogResponder* gActive = nullptr;

// WM_GETTEXT rather than GetWindowText: it also reads controls of another process. Wide, in UTF-8 as
// the program's messages are: a name in a message may lie outside the code page.
std::string WindowText(HWND wnd) {
    wchar_t buffer[4096] = {};
    ::SendMessageW(wnd, WM_GETTEXT, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(buffer));
    return Utf8(std::wstring(buffer));
}

std::string ClassOf(HWND wnd) {
    char buffer[256] = {};
    ::GetClassNameA(wnd, buffer, sizeof buffer);
    return buffer;
}

UINT IconKind(HICON icon) {
    struct Known {
        LPCSTR id;
        UINT kind;
    };
    static const Known known[] = {{IDI_HAND, MB_ICONERROR},
                                  {IDI_EXCLAMATION, MB_ICONWARNING},
                                  {IDI_QUESTION, MB_ICONQUESTION},
                                  {IDI_ASTERISK, MB_ICONINFORMATION}};
    for (const Known& k : known) {
        if (::LoadIconA(nullptr, k.id) == icon) return k.kind;
    }
    return icon ? 0xFFFFu : 0u;
}
} // namespace

SeenDialog DescribeDialog(HWND dialog) {
    SeenDialog seen;
    seen.ClassName = ClassOf(dialog);
    seen.Caption = WindowText(dialog);
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::string cls = ClassOf(child);
        const LONG style = ::GetWindowLongA(child, GWL_STYLE);
        if (_stricmp(cls.c_str(), "Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                seen.Icon = IconKind(reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0)));
            } else if (seen.Text.empty()) {
                seen.Text = WindowText(child);
            }
        } else if (_stricmp(cls.c_str(), "Button") == 0 && ::IsWindowVisible(child)) {
            seen.Buttons.push_back(::GetDlgCtrlID(child));
        }
    }
    std::sort(seen.Buttons.begin(), seen.Buttons.end());
    return seen;
}

std::string DialogItemText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

void PressButton(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

DialogResponder::DialogResponder() {
    gActive = this;
    hook_ = ::SetWindowsHookExA(WH_CBT, &DialogResponder::CbtProc, nullptr, ::GetCurrentThreadId());
}

DialogResponder::~DialogResponder() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
    if (timer_) ::KillTimer(nullptr, timer_);
    gActive = nullptr;
}

void DialogResponder::Press(int buttonId) {
    answers_.push_back([buttonId](HWND dialog) { PressButton(dialog, buttonId); });
}

void DialogResponder::ChooseFile(const std::string& path) {
    answers_.push_back([path](HWND dialog) {
        // 1148 is the file name box of the common file dialogs.
        HWND name = ::GetDlgItem(dialog, 1148);
        ::SetWindowTextW(name ? name : ::GetDlgItem(dialog, 1152), Wide(path).c_str());
        PressButton(dialog, IDOK);
    });
}

void DialogResponder::Then(std::function<void(HWND)> action) { answers_.push_back(std::move(action)); }

LRESULT CALLBACK DialogResponder::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && gActive) {
        HWND wnd = reinterpret_cast<HWND>(wParam);
        if (ClassOf(wnd) == "#32770" &&
            std::find(gActive->arrived_.begin(), gActive->arrived_.end(), wnd) == gActive->arrived_.end()) {
            gActive->arrived_.push_back(wnd);
            // Answer from the dialog's own modal loop, once it has finished setting itself up.
            gActive->timer_ = ::SetTimer(nullptr, gActive->timer_, 20, &DialogResponder::TimerProc);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogResponder::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
    DialogResponder* self = gActive;
    if (!self) return;
    ::KillTimer(nullptr, self->timer_);
    self->timer_ = 0;
    std::vector<HWND> dialogs;
    dialogs.swap(self->arrived_);
    for (HWND dialog : dialogs) {
        if (::IsWindow(dialog)) self->Handle(dialog);
    }
}

void DialogResponder::Handle(HWND dialog) {
    if (leaveAlone_ && leaveAlone_(dialog)) return;
    seen_.push_back(DescribeDialog(dialog));
    if (answers_.empty()) {
        ++unexpected_;
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    auto answer = std::move(answers_.front());
    answers_.pop_front();
    answer(dialog);
}

} // namespace nv::test
