#include "app/AboutF.h"

#include "app/Texts.h"
#include "base/Platform.h"
#include "forms/resource.h"

namespace nv {

TAbout* About = nullptr;

namespace {
// Plain labels size themselves to their text, as the link labels do.
bool IsPlainLabel(int id) { return id >= IDC_LABEL5 && id <= IDC_LABEL4; }
} // namespace

int TAbout::ShowModal(HWND owner) {
    return static_cast<int>(::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                                              &TAbout::DialogProc, reinterpret_cast<LPARAM>(this)));
}

INT_PTR CALLBACK TAbout::DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<TAbout*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    try {
        switch (msg) {
        case WM_INITDIALOG: self->OnInitDialog(dialog); return TRUE;
        case WM_COMMAND:
            // OK is the cancel button too: Enter, Esc and the close button all end here.
            if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        case WM_NCDESTROY: self->hwnd_ = nullptr; return FALSE;
        default: return FALSE;
        }
    } catch (...) {
        ShowCurrentError(dialog);
        return TRUE;
    }
}

void TAbout::OnInitDialog(HWND dialog) {
    hwnd_ = dialog;
    NvLabel1.Attach(::GetDlgItem(dialog, IDC_NVLABEL1));
    TFont title;
    title.Name = "Comic Sans MS";
    title.Height = -32;
    title.Style = fsBold | fsItalic | fsUnderline;
    title.Color = clRed;
    NvLabel1.SetFont(title);
    NvLabel1.SetShadowColor(0xFFFFFF);
    NvLabel1.SetShadowPos(spRightBottom);
    NvLabel1.SetShadowSize(1);

    TFont link;
    link.Name = "MS Sans Serif";
    link.Height = -11;
    link.Style = fsUnderline;
    link.Color = clBlue;
    const struct {
        TURLLabel* label;
        int id;
        UINT caption;
        TLabelType type;
    } links[] = {{&URLLabel1, IDC_URLLABEL1, IDS_AUTHOREMAIL, hmMAIL},
                 {&URLLabel2, IDC_URLLABEL2, IDS_AUTHORWEB, hmHTTP}};
    for (const auto& design : links) {
        design.label->Attach(::GetDlgItem(dialog, design.id));
        design.label->SetFont(link);
        design.label->SetLabelType(design.type);
        design.label->SetCaption(LoadText(design.caption));
        design.label->ShellOpen = ShellOpen;
    }

    picture_.reset(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUTPICTURE), IMAGE_BITMAP,
                                0, 0, LR_DEFAULTCOLOR));
    ::SendDlgItemMessageA(dialog, IDC_IMAGE1, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(picture_.get()));
    PlaceControls();
}

// The form's design is in pixels at 96 pixels per inch; the screen's resolution scales it.
void TAbout::PlaceControls() {
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_ABOUTLAYOUT), RT_RCDATA);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* values = static_cast<const WORD*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!values) return;
    const size_t count = ::SizeofResource(module, resource) / sizeof(WORD);
    const int dpi = ScreenPixelsPerInch();
    auto scale = [dpi](int pixels) { return ::MulDiv(pixels, dpi, 96); };

    if (count >= 2) {
        RECT frame{0, 0, scale(values[0]), scale(values[1])};
        ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(::GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        // Centred on the screen.
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                  y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
        ::SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (size_t i = 2; i + 5 <= count; i += 5) {
        const int id = values[i];
        HWND control = ::GetDlgItem(hwnd_, id);
        if (!control) continue;
        int width = scale(values[i + 3]);
        if (IsPlainLabel(id)) {
            char text[256] = {};
            ::GetWindowTextA(control, text, sizeof text);
            WindowDC dc(control);
            SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
            SIZE extent{};
            ::GetTextExtentPoint32A(dc.get(), text, lstrlenA(text), &extent);
            width = extent.cx;
        }
        const bool sizesItself = id == IDC_URLLABEL1 || id == IDC_URLLABEL2;
        ::SetWindowPos(control, nullptr, scale(values[i + 1]), scale(values[i + 2]), width,
                       scale(values[i + 4]), SWP_NOZORDER | SWP_NOACTIVATE | (sizesItself ? SWP_NOSIZE : 0));
    }
}

} // namespace nv
