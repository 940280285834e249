#include "app/GotoLineF.h"

#include "app/NavigateRules.h"
#include "base/Application.h"
#include "base/Dpi.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "forms/resource.h"
#include "widgets/FormDesign.h"

#include <vector>

namespace nv {

namespace {
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

TGotoLine::TGotoLine(HWND owner, TNvRichEdit& field, int dpi) : field_(field) {
    RegisterFormClass();
    dpi_ = dpi > 0 ? dpi : WindowDpi(owner);
    // Read before the window exists: a design that cannot be read leaves no window behind.
    TFormDesign design;
    if (!LoadFormDesign(IDR_GOTOLINELAYOUT, design, dpi_)) throw EError("Error loading the GotoLine form");
    ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GOTOLINE), owner, &TGotoLine::DialogProc,
                         reinterpret_cast<LPARAM>(this));
    if (!hwnd_) throw EError("Error creating window GotoLine");
    // No destructor runs for an object whose constructor throws: the window goes here, or it would
    // outlive the object it points at.
    try {
        lineNr_ = ::GetDlgItem(hwnd_, IDC_LINENR);
        if (!lineNr_) throw EError("Error creating window GotoLine");
        AttachSubclass(lineNr_);
        KeepDialogScalingOwn(hwnd_);
        PlaceControls(design);
        SizeAndCentre(hwnd_, design);
        // Its keys go to it before the main window's shortcuts: Enter or Ctrl+V typed here stay here.
        Application().AddModelessDialog(hwnd_);
    } catch (...) {
        Release();
        throw;
    }
}

TGotoLine::~TGotoLine() { Release(); }

void TGotoLine::Release() noexcept {
    if (lineNr_) DetachSubclass(lineNr_);
    lineNr_ = nullptr;
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
        return self->OnDialogMessage(msg, wParam, lParam);
    } catch (...) {
        ShowCurrentError(dialog);
        return TRUE;
    }
}

INT_PTR TGotoLine::OnDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: return TRUE;
    case kDpiChangedMessage: OnDpiChanged(DpiOfDpiChanged(wParam), lParam); return TRUE;
    case kGetDpiScaledSizeMessage: {
        TFormDesign design;
        if (!LoadFormDesign(IDR_GOTOLINELAYOUT, design, static_cast<int>(wParam))) return FALSE;
        *reinterpret_cast<SIZE*>(lParam) = FormSize(hwnd_, design);
        ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    // The dialog manager turns the press of Enter and Escape into these; the window acts on the
    // key's release (LineNrKeyUp), as its edit field sees it.
    case WM_COMMAND: return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
    case WM_CLOSE: Hide(); return TRUE;
    case WM_NCDESTROY:
        Application().RemoveModelessDialog(hwnd_);
        ::SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        hwnd_ = nullptr;
        return FALSE;
    default: return FALSE;
    }
}

// The form's design is in pixels at 96 pixels per inch, scaled for the window's DPI. The label sizes
// itself to its caption, as the form's label does.
void TGotoLine::PlaceControls(const TFormDesign& design) {
    font_.Apply(hwnd_, design.Dpi);
    PlaceDesignedControls(hwnd_, design);
}

void TGotoLine::OnDpiChanged(int dpi, LPARAM suggested) {
    TFormDesign design;
    if (dpi <= 0 || !LoadFormDesign(IDR_GOTOLINELAYOUT, design, dpi)) return;
    dpi_ = dpi;
    PlaceControls(design);
    TakeDpiChangedPlace(hwnd_, suggested, FormSize(hwnd_, design), {design.ClientWidth, design.ClientHeight});
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
