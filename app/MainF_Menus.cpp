// The image menus: the main menu and the text field's popup draw their items with the pictures of
// ImageList, which the items' tags select.
#include "app/MainF.h"
#include "base/Dpi.h"
#include "base/Errors.h"
#include "forms/resource.h"

namespace nv {

namespace {
constexpr COLORREF kTransparent = RGB(128, 128, 0); // the pictures' background
constexpr int kItemHeight = 19;
// The strip's images: 22 of 16 by 16 at 96 DPI.
constexpr int kImageCount = 22, kImageSize = 16;
static_assert(IDB_SETSTEP == kImageSetStep, "the resources of the image sets follow one another so");
} // namespace

void TForm1::CreateMenus() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    CreateMenuImages();

    NvMainMenu1.SetPixelsPerInch(dpi_);
    NvMainMenu1.Attach(mainMenu_, Handle());
    NvMainMenu1.LoadTags(instance, IDR_MAINMENUTAGS);
    NvMainMenu1.SetShowCheckMarks(false);
    NvMainMenu1.OnGetImageIndex = [this](TObject* sender, const TNvMenuItem& item, TMenuOwnerDrawState state,
                                         int& index) {
        NvMainMenu1GetImageIndex(sender, item, state, index);
    };
    NvMainMenu1.OnMeasureItem = [this](TObject* sender, const TNvMenuItem& item, int& width, int& height) {
        NvMainMenu1MeasureItem(sender, item, width, height);
    };
    NvMainMenu1.SetImages(&ImageList);

    TextFieldPopup.SetPixelsPerInch(dpi_);
    TextFieldPopup.Attach(::GetSubMenu(textFieldPopupMenu_.get(), 0), Handle());
    TextFieldPopup.LoadTags(instance, IDR_TEXTFIELDPOPUPTAGS);
    TextFieldPopup.SetShowCheckMarks(false);
    TextFieldPopup.OnGetImageIndex = [this](TObject* sender, const TNvMenuItem& item,
                                            TMenuOwnerDrawState state, int& index) {
        TextFieldPopupGetImageIndex(sender, item, state, index);
    };
    TextFieldPopup.OnMeasureItem = [this](TObject* sender, const TNvMenuItem& item, int& width, int& height) {
        TextFieldPopupMeasureItem(sender, item, width, height);
    };
    TextFieldPopup.SetImages(&ImageList);
}

void TForm1::CreateMenuImages() {
    const int size = ShownImageSize(kImageSize, dpi_);
    GdiObject strip = LoadImageStrip(IDB_MENUIMAGES, kImageCount, kImageSize, kImageSize, dpi_, true);
    if (!strip) throw EError("Bitmap resource not found");
    if (size != ImageList.Width() || ImageList.Count() > 0) ImageList.Resize(size, size);
    ImageList.AddMasked(static_cast<HBITMAP>(strip.get()), kTransparent);
}

void TForm1::NvMainMenu1GetImageIndex(TObject*, const TNvMenuItem& Item, TMenuOwnerDrawState,
                                      int& ImageIndex) {
    if (Item.Tag > 0) ImageIndex = Item.Tag - 1;
}

void TForm1::NvMainMenu1MeasureItem(TObject*, const TNvMenuItem& Item, int&, int& Height) {
    if (!Item.IsSeparator()) Height = Scaled(kItemHeight);
}

void TForm1::TextFieldPopupGetImageIndex(TObject*, const TNvMenuItem& Item, TMenuOwnerDrawState,
                                         int& ImageIndex) {
    if (Item.Tag >= 0) ImageIndex = Item.Tag;
}

void TForm1::TextFieldPopupMeasureItem(TObject*, const TNvMenuItem& Item, int&, int& Height) {
    if (!Item.IsSeparator()) Height = Scaled(kItemHeight);
}

} // namespace nv
