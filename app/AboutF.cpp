#include "app/AboutF.h"

#include "app/Texts.h"
#include "base/Dpi.h"
#include "base/Platform.h"
#include "forms/resource.h"
#include "widgets/Fonts.h"
#include "widgets/FormDesign.h"

#include <algorithm>

namespace nv {

TAbout* About = nullptr;

namespace {
// The picture is designed 75 by 103 pixels.
constexpr int kPictureWidth = 75, kPictureHeight = 103;

// Plain labels size themselves to their text, as the link labels do.
bool IsPlainLabel(int id) { return id >= IDC_LABEL5 && id <= IDC_LABEL4; }

int PictureLeft(const TFormDesign& design) {
    for (const TDesignedControl& item : design.Controls) {
        if (item.Id == IDC_IMAGE1) return item.Bounds.left;
    }
    return design.ClientWidth;
}
} // namespace

int TAbout::ShowModal(HWND owner, int dpi) {
    dpi_ = dpi > 0 ? dpi : WindowDpi(owner);
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
        case kDpiChangedMessage:
            if (DpiOfDpiChanged(wParam) > 0) {
                self->dpi_ = DpiOfDpiChanged(wParam);
                self->Layout(false);
                TFormDesign design;
                if (LoadFormDesign(IDR_ABOUTLAYOUT, design, self->dpi_))
                    TakeDpiChangedPlace(dialog, lParam, FormSize(dialog, design),
                                        {design.ClientWidth, design.ClientHeight});
            }
            return TRUE;
        case kGetDpiScaledSizeMessage: {
            TFormDesign design;
            if (!LoadFormDesign(IDR_ABOUTLAYOUT, design, static_cast<int>(wParam))) return FALSE;
            *reinterpret_cast<SIZE*>(lParam) = FormSize(dialog, design);
            ::SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        case WM_NCDESTROY: self->hwnd_ = nullptr; return FALSE;
        default: return FALSE;
        }
    } catch (...) {
        ShowCurrentError(dialog);
        return TRUE;
    }
}

namespace {
TFont TitleFont() {
    TFont title;
    title.Name = "Comic Sans MS";
    title.Height = -32;
    title.Style = fsBold | fsItalic | fsUnderline;
    title.Color = clRed;
    return title;
}

TFont LinkFont() {
    TFont link;
    link.Name = "MS Sans Serif";
    link.Height = -11;
    link.Style = fsUnderline;
    link.Color = clBlue;
    return link;
}
} // namespace

void TAbout::OnInitDialog(HWND dialog) {
    hwnd_ = dialog;
    KeepDialogScalingOwn(dialog);
    NvLabel1.Attach(::GetDlgItem(dialog, IDC_NVLABEL1));
    NvLabel1.SetShadowColor(0xFFFFFF);
    NvLabel1.SetShadowPos(spRightBottom);
    // Where the design's face is missing, the face put in for it may be wider.
    NvLabel1.SetFitText(true);

    const struct {
        TURLLabel* label;
        int id;
        UINT caption;
        TLabelType type;
    } links[] = {{&URLLabel1, IDC_URLLABEL1, IDS_AUTHOREMAIL, hmMAIL},
                 {&URLLabel2, IDC_URLLABEL2, IDS_AUTHORWEB, hmHTTP}};
    for (const auto& design : links) {
        design.label->Attach(::GetDlgItem(dialog, design.id));
        design.label->SetLabelType(design.type);
        design.label->SetCaption(LoadText(design.caption));
        design.label->ShellOpen = ShellOpen;
    }
    Layout(true);
}

void TAbout::Layout(bool centre) {
    font_.Apply(hwnd_, dpi_, {IDC_NVLABEL1, IDC_URLLABEL1, IDC_URLLABEL2});
    NvLabel1.SetShadowSize(DpiScaled(1, dpi_));
    NvLabel1.SetFont(FontAtDpi(TitleFont(), dpi_));
    for (TURLLabel* label : {&URLLabel1, &URLLabel2}) {
        label->SetPixelsPerInch(dpi_);
        label->SetFont(FontAtDpi(LinkFont(), dpi_));
    }
    // The picture for this DPI replaces the one shown, which goes once the control has let it go.
    GdiObject picture = LoadImageStrip(IDB_ABOUTPICTURE, 1, kPictureWidth, kPictureHeight, dpi_, false);
    ::SendDlgItemMessageA(hwnd_, IDC_IMAGE1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
    picture_ = std::move(picture);
    TFormDesign design;
    if (!LoadFormDesign(IDR_ABOUTLAYOUT, design, dpi_)) return;
    if (centre) SizeAndCentre(hwnd_, design);
    PlaceControls(design);
}

// The form's design is in pixels at 96 pixels per inch, scaled for the box's DPI.
void TAbout::PlaceControls(const TFormDesign& design) {
    for (const TDesignedControl& item : design.Controls) {
        HWND control = ::GetDlgItem(hwnd_, item.Id);
        if (!control) continue;
        const RECT& r = item.Bounds;
        int width = IsPlainLabel(item.Id) ? CaptionWidth(control) : r.right - r.left;
        int height = r.bottom - r.top;
        // The design's title reaches under the picture; it ends where the picture starts.
        if (item.Id == IDC_NVLABEL1) width = std::min<int>(width, PictureLeft(design) - r.left);
        // The picture at its own size: never stretched by the control.
        BITMAP shown{};
        if (item.Id == IDC_IMAGE1 && ::GetObjectA(picture_.get(), sizeof shown, &shown)) {
            width = shown.bmWidth;
            height = shown.bmHeight;
        }
        const bool sizesItself = item.Id == IDC_URLLABEL1 || item.Id == IDC_URLLABEL2;
        ::SetWindowPos(control, nullptr, r.left, r.top, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE | (sizesItself ? SWP_NOSIZE : 0));
    }
}

} // namespace nv
