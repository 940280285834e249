// The image menus' arithmetic: item sizes, the places of cells, glyphs and texts, access keys.
#include "menus/MenuLayout.h"

#include <gtest/gtest.h>

namespace nv::test {
namespace {

// The platform measures of a common desktop: 13-pixel check marks (g = 4), a 19-pixel menu bar.
TItemMeasures Measures() {
    TItemMeasures m;
    m.CheckWidth = 13;
    m.CheckHeight = 13;
    m.MenuBarHeight = 19;
    m.CaptionWidth = 20;
    m.CaptionColumn = 60;
    m.ShortCutColumn = 40;
    m.TabsWidth = 22;
    m.CaptionHeight = 13;
    m.DashHeight = 13;
    m.LineHeight = 13;
    return m;
}

// A drop-down item of a menu with 16 by 16 images and no check-mark column, as the program's menus.
TItemShape DropDown(bool validImage) {
    TItemShape s;
    s.ShowCheckMarks = false;
    s.HasImages = true;
    s.ImageWidth = 16;
    s.ImageHeight = 16;
    s.ValidImage = validImage;
    s.HasShortCut = true;
    return s;
}

TEST(MenuLayout, ImageGapIsThreeTenthsOfTheCheckWidthRounded) {
    EXPECT_EQ(ImageGap(13), 4);
    EXPECT_EQ(ImageGap(15), 5);
    EXPECT_EQ(ImageGap(16), 5);
    EXPECT_EQ(ImageGap(0), 0);
}

TEST(MenuLayout, MeasuresEveryKindOfItem) {
    struct Row {
        const char* what;
        TItemShape shape;
        TItemMeasures measures;
        int width, height;
    };
    TItemShape topLevel = DropDown(false);
    topLevel.TopLevel = true;
    topLevel.HasShortCut = false;
    TItemShape topLevelImage = topLevel;
    topLevelImage.ValidImage = true;
    TItemShape submenu = DropDown(false);
    submenu.HasSubmenu = true;
    TItemShape checkColumn = DropDown(true);
    checkColumn.ShowCheckMarks = true;
    TItemShape plain; // no images, no check marks
    plain.ShowCheckMarks = false;
    TItemShape offset = plain;
    offset.MinTextOffset = 24;
    TItemShape largeImage = DropDown(true);
    largeImage.ImageWidth = 24;
    largeImage.ImageHeight = 24;
    TItemShape separator = DropDown(false);
    separator.Separator = true;
    TItemMeasures tallDash = Measures();
    tallDash.DashHeight = 30;
    TItemMeasures tallText = Measures();
    tallText.CaptionHeight = 22;

    const Row rows[] = {
        {"top-level caption only", topLevel, Measures(), 20, 17},
        {"top-level with an image: image, gap", topLevelImage, Measures(), 20 + 18 + 4, 20},
        {"drop-down with an image: 2g, columns, image", DropDown(true), Measures(), 8 + 60 + 40 + 18, 20},
        {"drop-down without an image keeps the column", DropDown(false), Measures(), 8 + 60 + 40 + 18, 17},
        {"submenu adds two tabs", submenu, Measures(), 8 + 60 + 40 + 22 + 18, 17},
        {"check-mark column", checkColumn, Measures(), 8 + 60 + 40 + 13 + 18, 20},
        {"no images at all", plain, Measures(), 8 + 60 + 40, 17},
        {"minimum text offset", offset, Measures(), 8 + 60 + 40 + 24, 17},
        {"larger image", largeImage, Measures(), 8 + 60 + 40 + 26, 28},
        {"tall caption", DropDown(false), tallText, 8 + 60 + 40 + 18, 22},
        {"separator at least 9 high", separator, Measures(), 8 + 60 + 40, 9},
        {"separator half its dash", separator, tallDash, 8 + 60 + 40, 15},
    };
    for (const Row& row : rows) {
        const TItemSize size = MeasureItem(row.shape, row.measures);
        EXPECT_EQ(size.Width, row.width) << row.what;
        EXPECT_EQ(size.Height, row.height) << row.what;
    }
}

TEST(MenuLayout, PlacesImageCellsChecksAndTexts) {
    const TBox rect{10, 19, 160, 38}; // a 19-pixel item, 10 pixels in
    const TItemMeasures m = Measures();

    const TItemLayout image = LayoutItem(DropDown(true), m, rect, false);
    EXPECT_TRUE(image.DrawImage);
    EXPECT_FALSE(image.Sunken);
    EXPECT_EQ(image.Cell.Left, 10 + 3);
    EXPECT_EQ(image.Cell.Right, 10 + 3 + 20);
    EXPECT_EQ(image.Cell.Top, 19);
    EXPECT_EQ(image.Cell.Bottom, 38);
    EXPECT_EQ(image.ImageX, 10 + 4 + 1);
    EXPECT_EQ(image.ImageY, 19 + 1);
    EXPECT_EQ(image.TextX, 10 + 4 + 18 + 4);
    EXPECT_EQ(image.TextY, 19 + 3);
    EXPECT_TRUE(image.DrawShortCut);
    EXPECT_EQ(image.ShortCutX, image.TextX + 60);

    const TItemLayout checkedImage = LayoutItem(DropDown(true), m, rect, true);
    EXPECT_TRUE(checkedImage.Sunken);
    EXPECT_FALSE(checkedImage.DrawCheck) << "a picture stands for the check";
    EXPECT_EQ(checkedImage.Cell.Top, 20);
    EXPECT_EQ(checkedImage.Cell.Bottom, 37);

    const TItemLayout checked = LayoutItem(DropDown(false), m, rect, true);
    EXPECT_FALSE(checked.DrawImage);
    EXPECT_TRUE(checked.Sunken);
    EXPECT_TRUE(checked.DrawCheck);
    EXPECT_EQ(checked.Cell.Left, 13);
    EXPECT_EQ(checked.Cell.Right, 33);
    EXPECT_EQ(checked.CheckX, 13 + 2 + 2);
    EXPECT_EQ(checked.CheckY, 19 + 3 + 1);
    EXPECT_EQ(checked.TextX, image.TextX) << "items without a picture start their caption after the column";

    const TItemLayout unchecked = LayoutItem(DropDown(false), m, rect, false);
    EXPECT_FALSE(unchecked.Sunken);
    EXPECT_FALSE(unchecked.DrawCheck);
    EXPECT_EQ(unchecked.TextX, image.TextX);

    TItemShape topLevel = DropDown(true);
    topLevel.TopLevel = true;
    const TItemLayout top = LayoutItem(topLevel, m, rect, false);
    EXPECT_FALSE(top.HasCell);
    EXPECT_FALSE(top.DrawShortCut);
    EXPECT_EQ(top.TextX, 10 + 6);

    TItemShape submenu = DropDown(false);
    submenu.HasSubmenu = true;
    EXPECT_FALSE(LayoutItem(submenu, m, rect, false).DrawShortCut);

    TItemShape checkColumn = DropDown(false);
    checkColumn.ShowCheckMarks = true;
    const TItemLayout own = LayoutItem(checkColumn, m, rect, true);
    EXPECT_TRUE(own.DrawCheck);
    EXPECT_FALSE(own.Sunken) << "the check column takes the check";
    EXPECT_EQ(own.CheckX, 10 + 4);
    EXPECT_EQ(own.TextX, 10 + 4 + 13 + 18 + 4);
}

TEST(MenuLayout, AtAnotherDpiTheGapsAndMarginsAreScaledToo) {
    // At 144 DPI: 24-pixel images, 21-pixel check marks (g = 6), a 28-pixel menu bar, 20-pixel text.
    TItemMeasures m = Measures();
    m.CheckWidth = m.CheckHeight = 21;
    m.MenuBarHeight = 28;
    m.CaptionHeight = m.DashHeight = m.LineHeight = 20;
    TItemShape item = DropDown(true);
    item.ImageWidth = item.ImageHeight = 24;
    item.Dpi = 144;
    EXPECT_EQ(ReservedColumn(item), 24 + 3);
    const TItemSize size = MeasureItem(item, m);
    EXPECT_EQ(size.Height, 24 + 6) << "the image and its 4 design pixels";
    EXPECT_EQ(size.Width, 2 * 6 + 60 + 40 + 27);
    TItemShape separator = item;
    separator.Separator = true;
    EXPECT_EQ(MeasureItem(separator, m).Height, 14) << "at least 9 design pixels";
    const TItemLayout layout = LayoutItem(item, m, TBox{10, 0, 200, 30}, false);
    EXPECT_EQ(layout.ImageX, 10 + 6 + 1);
    EXPECT_EQ(layout.TextX, 10 + 6 + 27 + 6);
    TItemShape topLevel = item;
    topLevel.TopLevel = true;
    EXPECT_EQ(LayoutItem(topLevel, m, TBox{10, 0, 60, 30}, false).TextX, 10 + 6 + 3);
}

TEST(MenuLayout, TextsAndAccessKeys) {
    EXPECT_EQ(StripAccelerators("&Detect URL's"), "Detect URL's");
    EXPECT_EQ(StripAccelerators("A&&B"), "AB");
    EXPECT_EQ(SplitMenuText("&New\tCtrl+N").Caption, "&New");
    EXPECT_EQ(SplitMenuText("&New\tCtrl+N").ShortCut, "Ctrl+N");
    EXPECT_EQ(SplitMenuText("notes.txt").ShortCut, "");

    const std::vector<std::string> bar = {"&File", "&Edit", "&Run", "Fa&vorites", "&Setup", "&Help"};
    EXPECT_EQ(FindAccessKey(bar, 'e'), 1);
    EXPECT_EQ(FindAccessKey(bar, 'V'), 3);
    EXPECT_EQ(FindAccessKey(bar, 'x'), -1);
    EXPECT_EQ(FindAccessKey(bar, 0), -1);
    EXPECT_EQ(FindAccessKey({"Salt && &Pepper", "&&Plain"}, 'p'), 0);
    EXPECT_EQ(FindAccessKey({"&&Plain", "Trailing&"}, 'p'), -1);
}

TEST(MenuLayout, DisabledPartsAreEmbossedUnlessSelectedOnADifferentHighlight) {
    EXPECT_TRUE(EmbossDisabled(false, true));
    EXPECT_TRUE(EmbossDisabled(false, false));
    EXPECT_FALSE(EmbossDisabled(true, true));
    EXPECT_TRUE(EmbossDisabled(true, false));
}

} // namespace
} // namespace nv::test
