// The image menus through the real main window: measure and draw requests answered into memory
// pictures, compared with the background and with the same texts and pictures drawn the same way.
#include "menus/NvMenus.h"
#include "tests/app/FormFixture.h"

#include <algorithm>

namespace nv::test {
namespace {

constexpr int kEdit = 1, kFile = 0, kFavorites = 3, kSetup = 4;
constexpr int kItemHeight = 19;

LOGFONTA MenuFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMenuFont;
}

COLORREF Sys(int index) {
    return ::GetSysColor(index);
}

// A 24-bit picture with the menu font selected, filled with the menu colour.
class Picture {
  public:
    Picture(int width, int height) : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        ::SelectObject(dc_.get(), bitmap_.get());
        const LOGFONTA font = MenuFont();
        font_.reset(::CreateFontIndirectA(&font));
        ::SelectObject(dc_.get(), font_.get());
        const RECT all{0, 0, width, height};
        GdiObject brush(::CreateSolidBrush(Sys(COLOR_MENU)));
        ::FillRect(dc_.get(), &all, static_cast<HBRUSH>(brush.get()));
    }
    HDC dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_.get(), x, y); }
    void Set(int x, int y, COLORREF color) { ::SetPixel(dc_.get(), x, y, color); }
    SIZE Extent(const std::string& text) const {
        SIZE size{};
        ::GetTextExtentPoint32A(dc_.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    // Text as the menus draw it: transparent, on one line, "&" underlining the next letter.
    void Text(const std::string& text, int x, int y, COLORREF color) {
        RECT area{x, y, width_, height_};
        ::SetBkMode(dc_.get(), TRANSPARENT);
        ::SetTextColor(dc_.get(), color);
        ::DrawTextA(dc_.get(), text.c_str(), static_cast<int>(text.size()), &area,
                    DT_SINGLELINE | DT_EXPANDTABS | DT_TOP | DT_NOCLIP | DT_LEFT);
    }
    // The first pixel where two pictures differ inside a rectangle, or "same".
    std::string Compare(const Picture& other, const RECT& area) const {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (At(x, y) != other.At(x, y)) {
                    char where[96];
                    std::snprintf(where, sizeof where, "differs at %d,%d: %06lx against %06lx", x, y,
                                  static_cast<unsigned long>(At(x, y)),
                                  static_cast<unsigned long>(other.At(x, y)));
                    return where;
                }
            }
        }
        return "same";
    }
    std::string Compare(const Picture& other) const { return Compare(other, RECT{0, 0, width_, height_}); }
    int Count(const RECT& area, COLORREF color) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == color;
        return count;
    }

  private:
    int width_, height_;
    MemoryDC dc_;
    GdiObject bitmap_;
    GdiObject font_;
};

// Menu colours in which every part stands out: the platform's own may make the menu, the highlight
// and the dither one colour. The previous colours come back at the end.
class DistinctMenuColors {
  public:
    DistinctMenuColors() {
        for (size_t i = 0; i < kCount; ++i)
            previous_[i] = ::GetSysColor(kIndexes[i]);
        ::SetSysColors(static_cast<int>(kCount), kIndexes, kColors);
    }
    ~DistinctMenuColors() { ::SetSysColors(static_cast<int>(kCount), kIndexes, previous_); }
    DistinctMenuColors(const DistinctMenuColors&) = delete;
    DistinctMenuColors& operator=(const DistinctMenuColors&) = delete;

  private:
    static constexpr size_t kCount = 7;
    static constexpr INT kIndexes[kCount] = {COLOR_MENU,          COLOR_MENUTEXT,  COLOR_HIGHLIGHT,
                                             COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT,
                                             COLOR_GRAYTEXT};
    static constexpr COLORREF kColors[kCount] = {RGB(212, 208, 200), RGB(0, 0, 0),       RGB(10, 36, 106),
                                                 RGB(255, 255, 255), RGB(128, 128, 128), RGB(255, 255, 250),
                                                 RGB(120, 120, 120)};
    COLORREF previous_[kCount];
};

class MenuForm : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        colors = std::make_unique<DistinctMenuColors>();
        Start();
        const DWORD check = ::GetMenuCheckMarkDimensions();
        g = (LOWORD(check) * 3 + 5) / 10;
        textX = g + 18 + g;
        Picture probe(1, 1);
        textY = (kItemHeight - probe.Extent("Ay").cy) / 2;
    }

    HMENU Menu(int index) const { return ::GetSubMenu(form->MainMenu(), index); }
    UINT Id(HMENU menu, int position) const {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        return info.wID;
    }
    UINT ItemType(HMENU menu, int position) const {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        return info.fType;
    }
    std::string Text(HMENU menu, int position) const {
        char text[256] = {};
        ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
        return text;
    }

    MEASUREITEMSTRUCT Measure(UINT id, HWND to = nullptr) {
        MEASUREITEMSTRUCT request{};
        request.CtlType = ODT_MENU;
        request.itemID = id;
        EXPECT_TRUE(
            ::SendMessageA(to ? to : form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&request)))
            << "measure request for " << id << " not taken";
        return request;
    }
    void Draw(Picture& picture, HMENU menu, UINT id, UINT state, HWND to = nullptr) {
        DRAWITEMSTRUCT request{};
        request.CtlType = ODT_MENU;
        request.itemID = id;
        request.itemAction = ODA_DRAWENTIRE;
        request.itemState = state;
        request.hwndItem = reinterpret_cast<HWND>(menu);
        request.hDC = picture.dc();
        request.rcItem = RECT{0, 0, picture.Width(), picture.Height()};
        EXPECT_TRUE(
            ::SendMessageA(to ? to : form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&request)))
            << "draw request for " << id << " not taken";
    }
    // The caption column of a drop-down: its widest stripped caption and two tabs.
    int CaptionColumn(HMENU menu) const {
        Picture probe(1, 1);
        int widest = 0;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            if (ItemType(menu, i) & MFT_SEPARATOR) continue;
            std::string caption = Text(menu, i);
            caption = caption.substr(0, caption.find('\t'));
            caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
            widest = std::max<int>(widest, probe.Extent(caption + "\t\t").cx);
        }
        return widest;
    }
    int ShortCutColumn(HMENU menu) const {
        Picture probe(1, 1);
        int widest = 0;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const std::string text = Text(menu, i);
            const size_t tab = text.find('\t');
            if (!(ItemType(menu, i) & MFT_SEPARATOR))
                widest = std::max<int>(
                    widest, probe.Extent((tab == std::string::npos ? "" : text.substr(tab + 1)) + " ").cx);
        }
        return widest;
    }

    void TearDown() override {
        FormTest::TearDown();
        colors.reset();
    }

    std::unique_ptr<DistinctMenuColors> colors;
    int g = 0, textX = 0, textY = 0;
};

TEST_F(MenuForm, MeasuresEveryKindOfItem) {
    Picture probe(1, 1);
    const MEASUREITEMSTRUCT file = Measure(Id(form->MainMenu(), 0));
    EXPECT_EQ(file.itemWidth, static_cast<UINT>(probe.Extent("File").cx)) << "a menu bar item is its caption";
    EXPECT_EQ(file.itemHeight, static_cast<UINT>(kItemHeight));

    const UINT separatorHeight = static_cast<UINT>(std::max<long>(probe.Extent("-").cy / 2, 9));
    for (int menuIndex : {kFile, kEdit, 2, kSetup, 5}) {
        HMENU menu = Menu(menuIndex);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const bool separator = ItemType(menu, i) & MFT_SEPARATOR;
            EXPECT_EQ(Measure(Id(menu, i)).itemHeight, separator ? separatorHeight : kItemHeight)
                << "menu " << menuIndex << " item " << i;
        }
    }

    // Items with shortcuts share the menu's caption and shortcut columns, pictures or not.
    HMENU edit = Menu(kEdit);
    const UINT shared = static_cast<UINT>(2 * g + CaptionColumn(edit) + ShortCutColumn(edit) + 18);
    for (UINT id : {IDM_UNDO, IDM_CUT, IDM_SELECTALL, IDM_FINDNEXT, IDM_VIEWASCII})
        EXPECT_EQ(Measure(id).itemWidth, shared) << id;
    // An item without a shortcut is measured alone.
    EXPECT_EQ(Measure(IDM_WORDSELECT).itemWidth,
              static_cast<UINT>(2 * g + probe.Extent("Word Select\t\t").cx + probe.Extent(" ").cx + 18));

    // The popup's requests come through the shared window.
    const HWND popupList = TNvPopupMenu::PopupListWindow();
    EXPECT_EQ(Measure(IDM_COPYPOP, popupList).itemHeight, static_cast<UINT>(kItemHeight));
    EXPECT_EQ(Measure(IDM_COPYPOP, popupList).itemWidth,
              static_cast<UINT>(2 * g + probe.Extent("Copy\t\t").cx + probe.Extent(" ").cx + 18));
    MEASUREITEMSTRUCT foreign{};
    foreign.CtlType = ODT_MENU;
    foreign.itemID = IDM_COPYPOP;
    EXPECT_FALSE(::SendMessageA(form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign)))
        << "the main menu leaves other menus' items alone";
}

TEST_F(MenuForm, OwnerDrawnItemsKeepTheirTextsAndTags) {
    HMENU edit = Menu(kEdit);
    for (int i = 0; i < ::GetMenuItemCount(edit); ++i)
        EXPECT_TRUE(ItemType(edit, i) & MFT_OWNERDRAW) << i;
    EXPECT_TRUE(ItemType(form->MainMenu(), 0) & MFT_OWNERDRAW);

    EXPECT_EQ(form->Caption(IDM_UNDO), "&Undo");
    form->SetCaption(IDM_UNDO, "&Undo Typing");
    EXPECT_EQ(Text(edit, 0), "&Undo Typing\tCtrl+Z");
    EXPECT_TRUE(ItemType(edit, 0) & MFT_OWNERDRAW);
    TNvMenuItem undo;
    ASSERT_TRUE(form->NvMainMenu1.FindItem(IDM_UNDO, undo));
    EXPECT_EQ(undo.Tag, 13);

    // The new caption and the kept shortcut are what the item draws.
    Picture drawn(260, kItemHeight), expected(260, kItemHeight);
    Draw(drawn, edit, IDM_UNDO, 0);
    form->ImageList.Draw(expected.dc(), 12, g + 1, (kItemHeight - 16) / 2);
    expected.Text("&Undo Typing", textX, textY, Sys(COLOR_MENUTEXT));
    expected.Text("Ctrl+Z", textX + CaptionColumn(edit), textY, Sys(COLOR_MENUTEXT));
    EXPECT_EQ(drawn.Compare(expected), "same");
}

TEST_F(MenuForm, ListEntriesAreDrawnByTheSameRules) {
    WriteFileBytes(dir.File("notes.txt"), "text");
    Open(dir.File("notes.txt"));
    HMENU file = Menu(kFile);
    const int entry = ::GetMenuItemCount(file) - 1;
    ::SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), kFile);
    EXPECT_TRUE(ItemType(file, entry) & MFT_OWNERDRAW) << "made owner-drawn before the menu opens";
    EXPECT_EQ(Text(file, entry), "notes.txt");
    EXPECT_EQ(Measure(Id(file, entry)).itemHeight, static_cast<UINT>(kItemHeight));

    Picture drawn(200, kItemHeight), expected(200, kItemHeight);
    Draw(drawn, file, Id(file, entry), 0);
    expected.Text("notes.txt", textX, textY, Sys(COLOR_MENUTEXT));
    EXPECT_EQ(drawn.Compare(expected), "same");

    // The favorites' items come and go at run time too.
    Command(static_cast<int>(Id(Menu(kFavorites), 0))); // "&Add"
    HMENU favorites = Menu(kFavorites);
    ::SendMessageA(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(favorites), kFavorites);
    ASSERT_EQ(::GetMenuItemCount(favorites), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(ItemType(favorites, i) & MFT_OWNERDRAW) << i;
    EXPECT_EQ(Text(favorites, 2), "notes.txt");
}

TEST_F(MenuForm, ImageCellsShowTheTaggedPictures) {
    Picture drawn(200, kItemHeight), expected(200, kItemHeight);
    Draw(drawn, Menu(kFile), IDM_NEW, 0);
    form->ImageList.Draw(expected.dc(), 0, g + 1, (kItemHeight - 16) / 2);
    const RECT cell{g - 1, 0, g + 19, kItemHeight};
    EXPECT_EQ(drawn.Compare(expected, cell), "same");
    EXPECT_GT(16 * 16 - drawn.Count(RECT{g + 1, 1, g + 17, 17}, Sys(COLOR_MENU)), 20) << "a picture shows";

    // The popup's Cut, Copy and Paste show the Edit menu's pictures 6, 8 and 10.
    const UINT mains[] = {IDM_CUT, IDM_COPY, IDM_PASTE}, pops[] = {IDM_CUTPOP, IDM_COPYPOP, IDM_PASTEPOP};
    for (int i = 0; i < 3; ++i) {
        Picture main(200, kItemHeight), pop(200, kItemHeight), picture(200, kItemHeight);
        Draw(main, Menu(kEdit), mains[i], 0);
        Draw(pop, form->TextFieldPopup.Handle(), pops[i], 0, TNvPopupMenu::PopupListWindow());
        form->ImageList.Draw(picture.dc(), 6 + 2 * i, g + 1, (kItemHeight - 16) / 2);
        EXPECT_EQ(pop.Compare(main, cell), "same") << pops[i];
        EXPECT_EQ(pop.Compare(picture, cell), "same") << pops[i];
    }
}

TEST_F(MenuForm, CheckedOptionsShowTheCheckGlyphInASunkenDitheredCell) {
    Picture checked(200, kItemHeight), unchecked(200, kItemHeight);
    Draw(checked, Menu(kSetup), IDM_WORDSELECT, ODS_CHECKED);
    Draw(unchecked, Menu(kSetup), IDM_AUTOINTEND, 0);
    const int left = g - 1, right = g + 19, top = 1, bottom = kItemHeight - 1;
    EXPECT_EQ(unchecked.Count(RECT{0, 0, textX, kItemHeight}, Sys(COLOR_MENU)), textX * kItemHeight)
        << "an unchecked option has an empty column";

    const COLORREF shadow = Sys(COLOR_BTNSHADOW), highlight = Sys(COLOR_BTNHIGHLIGHT);
    for (int x = left; x < right; ++x) {
        EXPECT_EQ(checked.At(x, 0), Sys(COLOR_MENU)) << x;
        EXPECT_EQ(checked.At(x, top), x == right - 1 ? highlight : shadow) << x;
        EXPECT_EQ(checked.At(x, bottom - 1), highlight) << x;
        EXPECT_EQ(checked.At(x, kItemHeight - 1), Sys(COLOR_MENU)) << x;
    }
    for (int y = top; y < bottom; ++y) {
        EXPECT_EQ(checked.At(left, y), y == bottom - 1 ? highlight : shadow) << y;
        EXPECT_EQ(checked.At(right - 1, y), highlight) << y;
    }
    int glyph = 0;
    for (int y = top + 1; y < bottom - 1; ++y) {
        for (int x = left + 1; x < right - 1; ++x) {
            const COLORREF pixel = checked.At(x, y);
            if (pixel == Sys(COLOR_MENUTEXT)) {
                ++glyph;
                continue;
            }
            // The dither: the menu colour and the highlight, alternating pixel by pixel.
            EXPECT_EQ(pixel, (x + y) % 2 == 0 ? Sys(COLOR_MENU) : highlight) << x << "," << y;
        }
    }
    EXPECT_GT(glyph, 5) << "the check glyph shows in the cell";
    Picture caption(200, kItemHeight);
    caption.Text("Word &Select", textX, textY, Sys(COLOR_MENUTEXT));
    EXPECT_EQ(checked.Compare(caption, RECT{right, 0, 200, kItemHeight}), "same");
}

TEST_F(MenuForm, AHighlightedCheckedOptionShowsTheSameCheckOnAPlainCell) {
    Picture plain(200, kItemHeight), highlighted(200, kItemHeight);
    Draw(plain, Menu(kSetup), IDM_WORDSELECT, ODS_CHECKED);
    Draw(highlighted, Menu(kSetup), IDM_WORDSELECT, ODS_CHECKED | ODS_SELECTED);
    // Inside the cell's frame: the check where the plain item has it, the menu colour around it.
    int glyph = 0;
    for (int y = 2; y < kItemHeight - 2; ++y) {
        for (int x = g; x < g + 18; ++x) {
            const bool ink = plain.At(x, y) == Sys(COLOR_MENUTEXT);
            glyph += ink;
            EXPECT_EQ(highlighted.At(x, y), ink ? Sys(COLOR_MENUTEXT) : Sys(COLOR_MENU)) << x << "," << y;
        }
    }
    EXPECT_GT(glyph, 5);
}

TEST_F(MenuForm, DisabledItemsAreEmbossed) {
    HMENU edit = Menu(kEdit);
    Picture drawn(260, kItemHeight), expected(260, kItemHeight);
    Draw(drawn, edit, IDM_CUT, ODS_GRAYED | ODS_DISABLED);

    // The picture as a silhouette of its opaque pixels: highlight one pixel right and down, shadow on top.
    MemoryDC maskDC(::CreateCompatibleDC(nullptr));
    GdiObject mask(::CreateBitmap(16, 16, 1, 1, nullptr));
    SelectedObject selected(maskDC.get(), mask.get());
    form->ImageList.DrawMask(maskDC.get(), 6);
    const int imageX = g + 1, imageY = (kItemHeight - 16) / 2;
    int opaque = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                if (::GetPixel(maskDC.get(), x, y) != RGB(0, 0, 0)) continue;
                if (pass == 0) {
                    expected.Set(imageX + x + 1, imageY + y + 1, Sys(COLOR_BTNHIGHLIGHT));
                } else {
                    expected.Set(imageX + x, imageY + y, Sys(COLOR_BTNSHADOW));
                    ++opaque;
                }
            }
        }
    }
    EXPECT_GT(opaque, 20);
    for (const auto& part : {std::make_pair(std::string("&Cut"), textX),
                             std::make_pair(std::string("Ctrl+X"), textX + CaptionColumn(edit))}) {
        expected.Text(part.first, part.second + 1, textY + 1, Sys(COLOR_BTNHIGHLIGHT));
        expected.Text(part.first, part.second, textY, Sys(COLOR_BTNSHADOW));
    }
    EXPECT_EQ(drawn.Compare(expected), "same");
}

TEST_F(MenuForm, SeparatorsAreEtchedLines) {
    Picture drawn(120, 9);
    Draw(drawn, Menu(kEdit), 0, ODS_GRAYED | ODS_DISABLED);
    for (int x = 0; x < 120; ++x) {
        for (int y = 0; y < 9; ++y) {
            const COLORREF expected = y == 3   ? Sys(COLOR_BTNSHADOW)
                                      : y == 4 ? Sys(COLOR_BTNHIGHLIGHT)
                                               : Sys(COLOR_MENU);
            ASSERT_EQ(drawn.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(MenuForm, ShortcutsOfADropDownStartInOneColumn) {
    HMENU edit = Menu(kEdit);
    const int column = textX + CaptionColumn(edit);
    struct Row {
        UINT id;
        const char* caption;
        const char* shortcut;
    };
    for (const Row& row :
         {Row{IDM_SELECTALL, "Select &All", "Ctrl+A"}, Row{IDM_GOTOLINE, "Goto &line...", "Ctrl+G"},
          Row{IDM_VIEWASCII, "&View ASCII chart", "Ctrl+Shift+A"}}) {
        Picture drawn(300, kItemHeight), expected(300, kItemHeight);
        Draw(drawn, edit, row.id, 0);
        expected.Text(row.caption, textX, textY, Sys(COLOR_MENUTEXT));
        expected.Text(row.shortcut, column, textY, Sys(COLOR_MENUTEXT));
        EXPECT_EQ(drawn.Compare(expected), "same") << row.caption;
    }

    // A selected item: highlight colours.
    Picture selected(300, kItemHeight), expected(300, kItemHeight);
    Draw(selected, edit, IDM_SELECTALL, ODS_SELECTED);
    GdiObject brush(::CreateSolidBrush(Sys(COLOR_HIGHLIGHT)));
    const RECT all{0, 0, 300, kItemHeight};
    ::FillRect(expected.dc(), &all, static_cast<HBRUSH>(brush.get()));
    expected.Text("Select &All", textX, textY, Sys(COLOR_HIGHLIGHTTEXT));
    expected.Text("Ctrl+A", column, textY, Sys(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(selected.Compare(expected), "same");
}

TEST_F(MenuForm, TypedLettersChooseItemsByTheirAccessKeys) {
    const auto menuChar = [this](char key, HMENU menu) {
        return ::SendMessageA(form->Handle(), WM_MENUCHAR, MAKEWPARAM(key, MF_POPUP),
                              reinterpret_cast<LPARAM>(menu));
    };
    EXPECT_EQ(menuChar('n', Menu(kEdit)), MAKELRESULT(9, MNC_EXECUTE)) << "Find &Next";
    EXPECT_EQ(menuChar('V', Menu(kEdit)), MAKELRESULT(13, MNC_EXECUTE)) << "&View ASCII chart";
    EXPECT_EQ(menuChar('v', form->MainMenu()), MAKELRESULT(3, MNC_EXECUTE)) << "Fa&vorites";
    EXPECT_EQ(HIWORD(menuChar('q', Menu(kEdit))), MNC_IGNORE);
}

// Ends the open menu from its own modal loop.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

TEST_F(MenuForm, OpenMenusAskTheirOwnersToMeasureAndDraw) {
    int measured = 0, drawn = 0;
    const auto count = [&](TNvMenu& menu, TMeasureMenuItemEvent handler) {
        menu.OnMeasureItem = [&, handler](TObject* sender, const TNvMenuItem& item, int& width, int& height) {
            ++measured;
            handler(sender, item, width, height);
        };
        menu.OnDrawItem = [&](TObject*, const TNvMenuItem&, HDC, const RECT&, TMenuOwnerDrawState) {
            ++drawn;
        };
    };
    count(form->TextFieldPopup, form->TextFieldPopup.OnMeasureItem);
    ::SetTimer(nullptr, 0, 300, &CloseMenu);
    form->TextFieldPopup.Popup(100, 100);
    EXPECT_EQ(measured, 3);
    EXPECT_GE(drawn, 3);

    measured = drawn = 0;
    count(form->NvMainMenu1, form->NvMainMenu1.OnMeasureItem);
    ::SetTimer(nullptr, 0, 300, &CloseMenu);
    ::TrackPopupMenu(Menu(kEdit), TPM_LEFTALIGN, 100, 100, 0, form->Handle(), nullptr);
    EXPECT_EQ(measured, ::GetMenuItemCount(Menu(kEdit)));
    EXPECT_GE(drawn, measured);
}

TEST_F(MenuForm, PopupCommandsReachTheMainWindow) {
    Type("popup text");
    form->TextField.SelectWholeText();
    SetClipboardText("");
    ::SendMessageA(TNvPopupMenu::PopupListWindow(), WM_COMMAND, MAKEWPARAM(IDM_COPYPOP, 0), 0);
    ClipboardOpen clipboard(nullptr);
    ASSERT_TRUE(clipboard);
    HANDLE data = ::GetClipboardData(CF_TEXT);
    ASSERT_TRUE(data);
    GlobalLock text(data);
    EXPECT_STREQ(static_cast<const char*>(text.data()), "popup text");
}

// ---- The components on their own ----------------------------------------------------------------

TEST(NvMenus, DrawThemselvesWhileTheirImageListHoldsImagesOrTheirStyleAsks) {
    TestHost host;
    Menu popup(::CreatePopupMenu());
    ::AppendMenuA(popup.get(), MF_STRING, 10, "&First\tCtrl+1");
    const auto ownerDrawn = [&] {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoA(popup.get(), 0, TRUE, &info);
        return (info.fType & MFT_OWNERDRAW) != 0;
    };
    TNvPopupMenu menu;
    menu.Attach(popup.get(), host.Handle());
    EXPECT_FALSE(ownerDrawn());
    {
        TImageList images;
        menu.SetImages(&images);
        EXPECT_FALSE(ownerDrawn()) << "an empty list";
        images.AddMaskedResource(::GetModuleHandleA(nullptr), IDB_MENUIMAGES, RGB(128, 128, 0));
        EXPECT_EQ(images.Count(), 22);
        EXPECT_TRUE(ownerDrawn());
        char text[64] = {};
        ::GetMenuStringA(popup.get(), 10, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, "&First\tCtrl+1");
        images.Clear();
        EXPECT_FALSE(ownerDrawn());
        images.AddMaskedResource(::GetModuleHandleA(nullptr), IDB_MENUIMAGES, RGB(128, 128, 0));
        EXPECT_TRUE(ownerDrawn());
    }
    EXPECT_EQ(menu.Images(), nullptr) << "the list went away";
    EXPECT_FALSE(ownerDrawn());
    menu.SetStyle(TNvMenuStyle::msOwnerDraw);
    EXPECT_TRUE(ownerDrawn());

    TNvMainMenu bar;
    Menu barMenu(::CreateMenu());
    ::AppendMenuA(barMenu.get(), MF_STRING, 11, "&Bar");
    bar.SetStyle(TNvMenuStyle::msOwnerDraw);
    bar.Attach(barMenu.get(), nullptr);
    EXPECT_FALSE(bar.OwnerDraw()) << "a menu bar needs its window";
}

TEST(NvMenus, SubmenusAndMarginsWidenTheirItems) {
    TestHost host;
    Menu popup(::CreatePopupMenu());
    Menu sub(::CreatePopupMenu());
    ::AppendMenuA(popup.get(), MF_STRING, 10, "Same");
    ::AppendMenuA(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), "Same");
    HMENU subMenu = sub.release(); // the popup owns it now
    TNvPopupMenu menu;
    menu.SetStyle(TNvMenuStyle::msOwnerDraw);
    menu.Attach(popup.get(), host.Handle());
    const auto width = [&](UINT id) {
        MEASUREITEMSTRUCT request{};
        request.CtlType = ODT_MENU;
        request.itemID = id;
        EXPECT_TRUE(menu.MeasureItem(request));
        return static_cast<int>(request.itemWidth);
    };
    Picture probe(1, 1);
    const int plain = width(10);
    EXPECT_EQ(width(static_cast<UINT>(reinterpret_cast<UINT_PTR>(subMenu))), plain + probe.Extent("\t\t").cx);
    menu.SetLeftMargin(12);
    EXPECT_EQ(width(10), plain + 12);
    menu.SetMinTextOffset(30);
    EXPECT_EQ(width(10), plain + 12 + 30);
}

} // namespace
} // namespace nv::test
