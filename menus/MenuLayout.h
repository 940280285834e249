// The arithmetic of image menus: how large an item is and where its image cell, check glyph, caption
// and shortcut go. The caller measures the texts with the menu's font; nothing here needs a window.
#pragma once

#include "base/DpiRules.h"

#include <string>
#include <vector>

namespace nv {

// The gap around the image column: 0.3 of the menu check-mark width, rounded.
int ImageGap(int checkWidth);

// The caption with every "&" removed, as it is measured.
std::string StripAccelerators(const std::string& caption);

// A menu item's text holds the caption and, after a tab, the shortcut.
struct TMenuText {
    std::string Caption;
    std::string ShortCut;
};
TMenuText SplitMenuText(const std::string& text);

// The letter a caption marks with "&" ("&&" stands for a plain ampersand), or 0.
char AccessKey(const std::string& caption);
// The first caption whose access key is `key`, letters compared without case; -1 when none.
int FindAccessKey(const std::vector<std::string>& captions, char key);

// What of an item and its menu decides its size and layout.
struct TItemShape {
    bool TopLevel = false; // an item of a menu bar itself
    bool Separator = false;
    bool HasSubmenu = false;
    bool HasShortCut = false;
    bool ShowCheckMarks = true;
    bool HasImages = false; // the menu has an image list
    int ImageWidth = 0;
    int ImageHeight = 0;
    bool ValidImage = false; // the item's image index names an image of the list
    unsigned MinTextOffset = 0;
    int Dpi = kDesignDpi; // the gaps and margins below are design pixels, scaled for it
};

// R: the column kept for images in front of every drop-down caption.
int ReservedColumn(const TItemShape& shape);

// Text and platform measures for one item, taken with the menu font.
struct TItemMeasures {
    int CheckWidth = 0; // the menu check mark
    int CheckHeight = 0;
    int MenuBarHeight = 0; // the platform's menu bar
    int CaptionWidth = 0;  // top-level: the stripped caption
    // Drop-down: the widest (stripped caption + two tabs) and (shortcut + " ") over the item alone or,
    // when it has a shortcut, over every item of its menu.
    int CaptionColumn = 0;
    int ShortCutColumn = 0;
    int TabsWidth = 0;     // two tab characters
    int CaptionHeight = 0; // the caption's text height
    int DashHeight = 0;    // the text height of "-"
    int LineHeight = 0;    // the text height of "Ay", which places captions
};

struct TItemSize {
    int Width = 0;
    int Height = 0;
};

// The size before the menu's OnMeasureItem handler sees it.
TItemSize MeasureItem(const TItemShape& shape, const TItemMeasures& measures);

struct TBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Where the parts of an item go inside its rectangle.
struct TItemLayout {
    bool HasCell = false; // an image cell or a check cell, framed sunken when Sunken
    TBox Cell;
    bool Sunken = false;
    bool DrawImage = false;
    int ImageX = 0;
    int ImageY = 0;
    bool DrawCheck = false; // the platform's check (or bullet) glyph
    int CheckX = 0;
    int CheckY = 0;
    int TextX = 0;
    int TextY = 0;
    bool DrawShortCut = false;
    int ShortCutX = 0;
};

TItemLayout LayoutItem(const TItemShape& shape, const TItemMeasures& measures, const TBox& rect,
                       bool checked);

// Whether a disabled text or picture is drawn embossed (a highlight copy one pixel right and down):
// always in the current look, except on a selected item whose grey text stands out from the highlight.
bool EmbossDisabled(bool selected, bool grayDiffersFromHighlight);

} // namespace nv
