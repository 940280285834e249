// The image menus: the main menu and the text field's popup draw their items with the pictures of
// ImageList, which the items' tags select.
#include "app/MainF.h"
#include "forms/resource.h"

namespace nv {

namespace {
constexpr COLORREF kTransparent = RGB(128, 128, 0); // the pictures' background
constexpr int kItemHeight = 19;
} // namespace

void TForm1::CreateMenus() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    ImageList.AddMaskedResource(instance, IDB_MENUIMAGES, kTransparent);

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

void TForm1::NvMainMenu1GetImageIndex(TObject*, const TNvMenuItem& Item, TMenuOwnerDrawState,
                                      int& ImageIndex) {
    if (Item.Tag > 0) ImageIndex = Item.Tag - 1;
}

void TForm1::NvMainMenu1MeasureItem(TObject*, const TNvMenuItem& Item, int&, int& Height) {
    if (!Item.IsSeparator()) Height = kItemHeight;
}

void TForm1::TextFieldPopupGetImageIndex(TObject*, const TNvMenuItem& Item, TMenuOwnerDrawState,
                                         int& ImageIndex) {
    if (Item.Tag >= 0) ImageIndex = Item.Tag;
}

void TForm1::TextFieldPopupMeasureItem(TObject*, const TNvMenuItem& Item, int&, int& Height) {
    if (!Item.IsSeparator()) Height = kItemHeight;
}

} // namespace nv
