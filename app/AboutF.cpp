#include "app/AboutF.h"

#include "app/Texts.h"
#include "base/Platform.h"
#include "forms/resource.h"
#include "widgets/FormDesign.h"

#include <algorithm>

namespace nv {

TAbout* About = nullptr;

namespace {
// Plain labels size themselves to their text, as the link labels do.
bool IsPlainLabel(int id) { return id >= IDC_LABEL5 && id <= IDC_LABEL4; }

int PictureLeft(const TFormDesign& design) {
    for (const TDesignedControl& item : design.Controls) {
        if (item.Id == IDC_IMAGE1) return item.Bounds.left;
    }
    return design.ClientWidth;
}
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
        case WM_INITDIALOG:
            self->OnInitDialog(dialog);
            // OK, not the first link, has the focus at first, so Enter closes the box.
            ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
            return FALSE;
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
    // Where the design's face is missing, the face put in for it may be wider.
    NvLabel1.SetFitText(true);

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
    TFormDesign design;
    if (!LoadFormDesign(IDR_ABOUTLAYOUT, design)) return;
    SizeAndCentre(hwnd_, design);
    for (const TDesignedControl& item : design.Controls) {
        HWND control = ::GetDlgItem(hwnd_, item.Id);
        if (!control) continue;
        const RECT& r = item.Bounds;
        int width = IsPlainLabel(item.Id) ? CaptionWidth(control) : r.right - r.left;
        // The design's title reaches under the picture; it ends where the picture starts.
        if (item.Id == IDC_NVLABEL1) width = std::min<int>(width, PictureLeft(design) - r.left);
        const bool sizesItself = item.Id == IDC_URLLABEL1 || item.Id == IDC_URLLABEL2;
        ::SetWindowPos(control, nullptr, r.left, r.top, width, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | (sizesItself ? SWP_NOSIZE : 0));
    }
}

} // namespace nv
