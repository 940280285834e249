#include "editor/FindDialogs.h"

#include "base/Application.h"
#include "base/Platform.h"

#include <dlgs.h>

#include <algorithm>
#include <cstring>

namespace nv {

UINT FindReplaceMessage() {
    static const UINT message = ::RegisterWindowMessageA(FINDMSGSTRINGA);
    return message;
}

namespace {
void CopyCut(char (&buffer)[TFindDialog::kMaxText + 1], const std::string& text) {
    const size_t n = std::min(text.size(), TFindDialog::kMaxText);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}
} // namespace

TFindDialog::TFindDialog() {
    data_.lStructSize = sizeof data_;
    data_.Flags = FR_DOWN;
    data_.lpstrFindWhat = findWhat_;
    data_.wFindWhatLen = sizeof findWhat_;
    data_.lpstrReplaceWith = replaceWith_;
    data_.wReplaceWithLen = sizeof replaceWith_;
}

TFindDialog::~TFindDialog() {
    CloseDialog();
}

void TFindDialog::SetFindText(const std::string& text) {
    CopyCut(findWhat_, text);
}

void TReplaceDialog::SetReplaceText(const std::string& text) {
    CopyCut(replaceWith_, text);
}

void TFindDialog::Execute(HWND owner) {
    if (hwnd_ && ::IsWindow(hwnd_)) {
        ::ShowWindow(hwnd_, SW_SHOW);
        ::SetForegroundWindow(hwnd_);
        ::SetActiveWindow(hwnd_);
        return;
    }
    hwnd_ = nullptr;
    data_.hwndOwner = owner;
    constexpr DWORD kOptions = FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD;
    data_.Flags = (data_.Flags & ~(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM | kOptions)) |
                  (options_ & kOptions);
    HWND window = OpenWindow(data_);
    if (!window) return;
    hwnd_ = window;
    UseProgramFont();
    if (hasPosition_) {
        ::SetWindowPos(hwnd_, nullptr, position_.x, position_.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Its keys go to it before the main window's shortcuts see them.
    Application().AddModelessDialog(hwnd_);
    ::ShowWindow(hwnd_, SW_SHOW);
}

// In the system dialogs' own face Wine draws the underline of an access key inside a caption a letter
// or more to its right ("Replace A_ll_" for Alt+A), and the user presses a key that does nothing; in
// the face of the program's other windows it stands under its letter.
void TFindDialog::UseProgramFont() {
    if (!font_) {
        font_.reset(::CreateFontA(-::MulDiv(11, ScreenPixelsPerInch(), 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    }
    if (!font_) return;
    const WPARAM font = reinterpret_cast<WPARAM>(font_.get());
    ::SendMessageA(hwnd_, WM_SETFONT, font, FALSE);
    for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_SETFONT, font, TRUE);
}

void TFindDialog::KeepWhatIsShown() noexcept {
    if (!hwnd_ || !::IsWindow(hwnd_)) return;
    ::GetDlgItemTextA(hwnd_, edt1, findWhat_, sizeof findWhat_);
    if (::GetDlgItem(hwnd_, edt2)) ::GetDlgItemTextA(hwnd_, edt2, replaceWith_, sizeof replaceWith_);
    const auto keep = [this](int id, DWORD flag) {
        if (HWND box = ::GetDlgItem(hwnd_, id)) SetFlag(flag, ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED);
    };
    keep(chx1, FR_WHOLEWORD);
    keep(chx2, FR_MATCHCASE);
    // The replace dialog has no direction; a hidden one keeps what the program chose.
    if (!(data_.Flags & FR_HIDEUPDOWN)) keep(rad2, FR_DOWN);
}

void TFindDialog::Forget() noexcept {
    if (!hwnd_) return;
    KeepWhatIsShown();
    RECT rect{};
    if (::GetWindowRect(hwnd_, &rect)) {
        position_ = {rect.left, rect.top};
        hasPosition_ = true;
    }
    Application().RemoveModelessDialog(hwnd_);
    hwnd_ = nullptr;
}

void TFindDialog::CloseDialog() {
    if (!hwnd_) return;
    HWND window = hwnd_;
    const bool alive = ::IsWindow(window) != FALSE;
    if (alive) {
        Forget();
        ::DestroyWindow(window);
    } else {
        Application().RemoveModelessDialog(window); // went with its owner
        hwnd_ = nullptr;
    }
}

TFindDialog::TRequest TFindDialog::TakeRequest() {
    const DWORD flags = data_.Flags;
    if (flags & FR_DIALOGTERM) {
        Forget(); // the system destroys the window right after this message
        return TRequest::Closed;
    }
    // A request carries the options as the user has set them.
    options_ = (options_ & ~(FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD)) |
               (flags & (FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD));
    if (flags & FR_REPLACEALL) return TRequest::ReplaceAll;
    if (flags & FR_REPLACE) return TRequest::Replace;
    if (flags & FR_FINDNEXT) return TRequest::FindNext;
    return TRequest::None;
}

} // namespace nv
