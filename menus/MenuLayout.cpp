#include "menus/MenuLayout.h"

#include <algorithm>
#include <cctype>

namespace nv {

int ImageGap(int checkWidth) {
    return checkWidth <= 0 ? 0 : (checkWidth * 3 + 5) / 10;
}

std::string StripAccelerators(const std::string& caption) {
    std::string stripped;
    stripped.reserve(caption.size());
    for (char c : caption) {
        if (c != '&') stripped += c;
    }
    return stripped;
}

TMenuText SplitMenuText(const std::string& text) {
    const size_t tab = text.find('\t');
    if (tab == std::string::npos) return {text, std::string()};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

char AccessKey(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return caption[i + 1];
        ++i; // "&&" is a plain ampersand
    }
    return 0;
}

int FindAccessKey(const std::vector<std::string>& captions, char key) {
    const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
    if (key == 0) return -1;
    for (size_t i = 0; i < captions.size(); ++i) {
        const char marked = AccessKey(captions[i]);
        if (marked != 0 && upper(marked) == upper(key)) return static_cast<int>(i);
    }
    return -1;
}

int ReservedColumn(const TItemShape& shape) {
    if (shape.TopLevel) return 0;
    const int offset = static_cast<int>(shape.MinTextOffset);
    return shape.HasImages ? std::max(offset, shape.ImageWidth + DpiScaled(2, shape.Dpi)) : offset;
}

TItemSize MeasureItem(const TItemShape& shape, const TItemMeasures& measures) {
    const int g = ImageGap(measures.CheckWidth);
    const auto s = [&shape](int design) { return DpiScaled(design, shape.Dpi); };
    TItemSize size;
    size.Height = measures.MenuBarHeight - s(2);
    if (shape.TopLevel) {
        size.Width = measures.CaptionWidth;
    } else {
        size.Width = 2 * g + measures.CaptionColumn + measures.ShortCutColumn;
        if (shape.HasSubmenu) size.Width += measures.TabsWidth;
        if (shape.ShowCheckMarks) size.Width += measures.CheckWidth;
    }
    if (shape.Separator) {
        size.Height = std::max(measures.DashHeight / 2, s(9));
        return size;
    }
    size.Height = std::max(size.Height, measures.CaptionHeight);
    const int reserved = ReservedColumn(shape);
    if (shape.HasImages && (!shape.TopLevel || shape.ValidImage)) {
        size.Width += std::max(shape.ImageWidth + s(2), reserved) + (shape.TopLevel ? g : 0);
        if (shape.ValidImage) size.Height = std::max(size.Height, shape.ImageHeight + s(4));
    } else if (reserved > 0) {
        size.Width += reserved;
    }
    return size;
}

TItemLayout LayoutItem(const TItemShape& shape, const TItemMeasures& measures, const TBox& rect,
                       bool checked) {
    const int g = ImageGap(measures.CheckWidth);
    const int reserved = ReservedColumn(shape);
    const int middle2 = rect.Top + rect.Bottom; // twice the vertical middle
    const auto s = [&shape](int design) { return DpiScaled(design, shape.Dpi); };
    TItemLayout layout;
    int x0 = shape.TopLevel ? g + s(2) : g;
    if (!shape.TopLevel && shape.ShowCheckMarks) {
        // The platform's own check column comes first; the image cells never frame a check then.
        layout.DrawCheck = checked;
        layout.CheckX = rect.Left + g;
        layout.CheckY = (middle2 - measures.CheckHeight) / 2;
        x0 += measures.CheckWidth;
    }
    const bool sunken = checked && !shape.ShowCheckMarks;
    if (!shape.TopLevel && shape.ValidImage) {
        const int w = std::max(shape.ImageWidth + s(2), reserved);
        layout.HasCell = true;
        layout.Cell = TBox{rect.Left + x0 - 1, rect.Top, rect.Left + x0 - 1 + w + 2, rect.Bottom};
        layout.DrawImage = true;
        layout.ImageX = rect.Left + x0 + (w - shape.ImageWidth) / 2;
        layout.ImageY = (middle2 - shape.ImageHeight) / 2;
        x0 += g + w;
    } else if (!shape.TopLevel && reserved > 0) {
        layout.HasCell = true;
        layout.Cell = TBox{rect.Left + x0 - 1, rect.Top, rect.Left + x0 - 1 + reserved + 2, rect.Bottom};
        if (sunken) {
            layout.DrawCheck = true;
            layout.CheckX = layout.Cell.Left + s(2) + (reserved - measures.CheckWidth) / 2;
            layout.CheckY = (middle2 - measures.CheckHeight) / 2 + s(1);
        }
        x0 += reserved + g;
    }
    if (layout.HasCell && sunken) {
        layout.Sunken = true;
        layout.Cell.Top += 1;
        layout.Cell.Bottom -= 1;
    }
    layout.TextX = rect.Left + x0;
    layout.TextY = (middle2 - measures.LineHeight) / 2;
    layout.DrawShortCut = !shape.TopLevel && shape.HasShortCut && !shape.HasSubmenu;
    layout.ShortCutX = layout.TextX + measures.CaptionColumn;
    return layout;
}

bool EmbossDisabled(bool selected, bool grayDiffersFromHighlight) {
    return !(selected && grayDiffersFromHighlight);
}

} // namespace nv
