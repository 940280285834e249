#include "app/GotoLineF.h"

#include "app/NavigateRules.h"
#include "base/Application.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "forms/resource.h"

#include <vector>

namespace nv {

namespace {
// The label sizes itself to its caption, as the form's label does.
int TextWidth(HWND control) {
    char text[256] = {};
    ::GetWindowTextA(control, text, sizeof text);
    WindowDC dc(control);
    SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.get(), text, lstrlenA(text), &extent);
    return extent.cx;
}

constexpr char kClassName[] = "TGotoLine";

// A dialog's window class under the form's own name.
void RegisterFormClass() {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(::GetModuleHandleA(nullptr), kClassName, &existing)) return;
    WNDCLASSEXA form{};
    form.cbSize = sizeof form;
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = &::DefDlgProcA;
    form.cbWndExtra = DLGWINDOWEXTRA;
    form.hInstance = ::GetModuleHandleA(nullptr);
    form.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kClassName;
    if (!::RegisterClassExA(&form)) throw EError("Error creating window class TGotoLine");
}

} // namespace

TGotoLine::TGotoLine(HWND owner, TNvRichEdit& field) : field_(field) {
    RegisterFormClass();
    ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GOTOLINE), owner, &TGotoLine::DialogProc,
                         reinterpret_cast<LPARAM>(this));
    if (!hwnd_) throw EError("Error creating window GotoLine");
    lineNr_ = ::GetDlgItem(hwnd_, IDC_LINENR);
    AttachSubclass(lineNr_);
    PlaceControls();
    // Its keys go to it before the main window's shortcuts: Enter or Ctrl+V typed here stay here.
    Application().AddModelessDialog(hwnd_);
}

TGotoLine::~TGotoLine() {
    if (lineNr_) DetachSubclass(lineNr_);
    if (hwnd_) ::DestroyWindow(hwnd_); // WM_NCDESTROY takes it off the application's list
}

INT_PTR CALLBACK TGotoLine::DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<TGotoLine*>(lParam)->hwnd_ = dialog;
    }
    auto* self = reinterpret_cast<TGotoLine*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    try {
        return self->OnDialogMessage(msg, wParam);
    } catch (...) {
        ShowCurrentError(dialog);
        return TRUE;
    }
}

INT_PTR TGotoLine::OnDialogMessage(UINT msg, WPARAM wParam) {
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    // The dialog manager turns the press of Enter and Escape into these; the window acts on the
    // key's release (LineNrKeyUp), as its edit field sees it.
    case WM_COMMAND: return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
    case WM_CLOSE: Hide(); return TRUE;
    case WM_NCDESTROY:
        Application().RemoveModelessDialog(hwnd_);
        hwnd_ = nullptr;
        return FALSE;
    default: return FALSE;
    }
}

// The form's design is in pixels at 96 pixels per inch; the screen's resolution scales it.
void TGotoLine::PlaceControls() {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_GOTOLINELAYOUT), RT_RCDATA);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* values = static_cast<const WORD*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!values) throw EError("Error loading the GotoLine form");
    const size_t count = ::SizeofResource(module, resource) / sizeof(WORD);
    const int dpi = ScreenPixelsPerInch();
    auto scale = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };
    if (count >= 2) {
        RECT frame{0, 0, scale(values[0]), scale(values[1])};
        ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        // Centred on the screen.
        ::SetWindowPos(hwnd_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (size_t i = 2; i + 5 <= count; i += 5) {
        HWND control = ::GetDlgItem(hwnd_, values[i]);
        if (!control) continue;
        const int width = values[i + 3] == 0 ? TextWidth(control) : scale(values[i + 3]);
        ::SetWindowPos(control, nullptr, scale(values[i + 1]), scale(values[i + 2]), width, scale(values[i + 4]),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TGotoLine::Show() {
    if (!hwnd_ || !::IsWindow(hwnd_) || !lineNr_) throw EError("The GotoLine window is gone");
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetFocus(lineNr_);
    ::SendMessageA(lineNr_, EM_SETSEL, 0, -1);
}

void TGotoLine::Hide() {
    if (hwnd_) ::ShowWindow(hwnd_, SW_HIDE);
}

std::string TGotoLine::LineNrText() const {
    const int length = ::GetWindowTextLengthA(lineNr_);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    ::GetWindowTextA(lineNr_, text.data(), length + 1);
    return text.data();
}

void TGotoLine::LineNrKeyPress(TObject*, char& Key) { Key = FilterLineNrKey(Key); }

void TGotoLine::LineNrKeyUp(TObject*, WORD& Key, TShiftState) {
    switch (Key) {
    case VK_RETURN: {
        // Line 0 asks for line -1, the start of the caret's own line.
        const long line = static_cast<long>(LineNumberOf(LineNrText())) - 1;
        long start = field_.LineStart(line);
        // A number past the last line goes to the last line's start.
        if (start < 0) start = field_.LineStart(field_.LineCount() - 1);
        field_.MoveCaret(start);
        field_.ScrollToCaret();
        Hide();
        break;
    }
    case VK_ESCAPE: Hide(); break;
    default: break;
    }
}

LRESULT TGotoLine::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CHAR: {
        char key = static_cast<char>(wParam);
        LineNrKeyPress(this, key);
        if (key == 0) return 0;
        return CallPrevious(lineNr_, msg, static_cast<unsigned char>(key), lParam);
    }
    case WM_KEYUP: {
        WORD key = static_cast<WORD>(wParam);
        HWND edit = lineNr_;
        LineNrKeyUp(this, key, CurrentShiftState());
        return CallPrevious(edit, msg, wParam, lParam);
    }
    default: return CallPrevious(lineNr_, msg, wParam, lParam);
    }
}

void TGotoLine::OnControlDestroyed(HWND control) {
    if (control == lineNr_) lineNr_ = nullptr;
}

} // namespace nv
