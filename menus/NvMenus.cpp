#include "menus/NvMenus.h"

#include "base/Dpi.h"
#include "base/Errors.h"
#include "base/Handles.h"
#include "base/Platform.h"
#include "base/ScopeExit.h"
#include "base/Unicode.h"
#include "base/Window.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace nv {

namespace {

// Paints `color` where a monochrome picture has 0 bits, leaving the rest of the destination as it is.
void PaintMask(HDC dc, HDC mask, int x, int y, int width, int height, COLORREF color) {
    GdiObject brush(::CreateSolidBrush(color));
    SelectedObject selected(dc, brush.get());
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
    constexpr DWORD kPatternWhereSourceIsBlack = 0x00B8074A; // ((D ^ P) & S) ^ P
    ::BitBlt(dc, x, y, width, height, mask, 0, 0, kPatternWhereSourceIsBlack);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

// A monochrome bitmap selected into a memory DC, for silhouettes.
class MaskCanvas {
  public:
    MaskCanvas(HDC reference, int width, int height)
        : dc_(::CreateCompatibleDC(reference)), bitmap_(::CreateBitmap(width, height, 1, 1, nullptr)),
          selected_(dc_.get(), bitmap_.get()) {
        if (!dc_ || !bitmap_) throw EError("Out of system resources");
    }
    HDC get() const noexcept { return dc_.get(); }

  private:
    MemoryDC dc_;
    GdiObject bitmap_;
    SelectedObject selected_;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    const COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// A fine checkerboard of the two colours.
void FillDithered(HDC dc, const RECT& rect, COLORREF first, COLORREF second) {
    static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    GdiObject pattern(::CreateBitmap(8, 8, 1, 1, kChecker));
    GdiObject brush(pattern ? ::CreatePatternBrush(static_cast<HBITMAP>(pattern.get())) : nullptr);
    if (!brush) {
        FillSolid(dc, rect, first);
        return;
    }
    // A monochrome pattern paints its 0 bits in the text colour and its 1 bits in the background colour.
    const COLORREF oldText = ::SetTextColor(dc, first);
    const COLORREF oldBack = ::SetBkColor(dc, second);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

// Captions are UTF-8: an entry of the lists may name a file outside the code page.
SIZE TextExtent(HDC dc, const std::string& text) {
    SIZE size{0, 0};
    const std::wstring wide = Wide(text);
    ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

} // namespace

// ---- TNvMenu ------------------------------------------------------------------------------------

struct TNvMenu::Look {
    LOGFONTA Font{};
    COLORREF Background = 0;
    HBITMAP Graphic = nullptr; // the owner's own picture, instead of the image list
    int NumGlyphs = 1;
    int ImageIndex = -1;
    bool ValidImage = false;
    int ImageWidth = 0;
    int ImageHeight = 0;
};

TNvMenu::~TNvMenu() {
    if (images_) images_->Unsubscribe(imagesSubscription_);
}

void TNvMenu::SetHandle(HMENU menu) {
    handle_ = menu;
    RefreshOwnerDraw();
}

void TNvMenu::SetImages(TImageList* images) {
    if (images == images_) return;
    if (images_) images_->Unsubscribe(imagesSubscription_);
    images_ = images;
    imagesSubscription_ =
        images_ ? images_->Subscribe([this](bool destroyed) { ImagesChanged(destroyed); }) : 0;
    RefreshOwnerDraw();
}

void TNvMenu::ImagesChanged(bool destroyed) {
    if (destroyed) {
        images_ = nullptr;
        imagesSubscription_ = 0;
    }
    RefreshOwnerDraw();
}

void TNvMenu::SetShowCheckMarks(bool show) {
    showCheckMarks_ = show;
    columns_.clear();
}

void TNvMenu::SetStyle(TNvMenuStyle style) {
    style_ = style;
    RefreshOwnerDraw();
}

void TNvMenu::SetMinTextOffset(unsigned offset) {
    minTextOffset_ = offset;
}

void TNvMenu::SetPixelsPerInch(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    columns_.clear();
    if (!handle_ || !ownerDraw_) return;
    ApplyOwnerDrawTree(handle_, true);
    OwnerDrawApplied();
}

void TNvMenu::RefreshOwnerDraw() {
    ownerDraw_ = handle_ && CanOwnerDraw() &&
                 (style_ != TNvMenuStyle::msStandard || (images_ && images_->Count() > 0));
    columns_.clear();
    if (!handle_) return;
    ApplyOwnerDrawTree(handle_);
    OwnerDrawApplied();
}

void TNvMenu::ApplyOwnerDraw(HMENU menu, bool remeasure) const {
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        const UINT type =
            ownerDraw_ ? (info.fType | MFT_OWNERDRAW) : (info.fType & ~static_cast<UINT>(MFT_OWNERDRAW));
        // Setting an item's type has the platform measure it again.
        if (type == info.fType && !remeasure) continue;
        info.fType = type; // only the type: the text stays with the item
        ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    }
}

void TNvMenu::ApplyOwnerDrawTree(HMENU menu, bool remeasure) const {
    ApplyOwnerDraw(menu, remeasure);
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (HMENU sub = ::GetSubMenu(menu, position)) ApplyOwnerDrawTree(sub, remeasure);
    }
}

void TNvMenu::SetTag(UINT command, int tag) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(tag));
    ::SetMenuItemInfoA(handle_, command, FALSE, &info);
}

void TNvMenu::LoadTags(HINSTANCE module, int resourceId) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10)); // RCDATA
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
    if (!words) throw EError("Resource not found");
    const size_t count = ::SizeofResource(module, found) / sizeof(WORD);
    for (size_t i = 0; i + 1 < count; i += 2)
        SetTag(words[i], static_cast<short>(words[i + 1]));
}

bool TNvMenu::Contains(HMENU menu) const {
    return menu && handle_ && ContainsBelow(handle_, menu);
}

bool TNvMenu::ContainsBelow(HMENU tree, HMENU menu) const {
    if (tree == menu) return true;
    const int count = ::GetMenuItemCount(tree);
    for (int position = 0; position < count; ++position) {
        HMENU sub = ::GetSubMenu(tree, position);
        if (sub && ContainsBelow(sub, menu)) return true;
    }
    return false;
}

TNvMenuItem TNvMenu::Item(HMENU menu, int position) const {
    TNvMenuItem item;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return item;
    std::string text;
    if (info.cch > 0) {
        std::vector<wchar_t> buffer(info.cch + 1);
        info.dwTypeData = buffer.data();
        info.cch += 1;
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
            text = Utf8(std::wstring(buffer.data()));
    }
    const TMenuText parts = SplitMenuText(text);
    item.Parent = menu;
    item.Position = position;
    item.Command = info.wID;
    item.Caption = parts.Caption;
    item.ShortCut = parts.ShortCut;
    item.Tag = static_cast<int>(static_cast<LONG_PTR>(info.dwItemData));
    item.SubMenu = info.hSubMenu;
    item.Type = info.fType;
    item.State = info.fState;
    item.TopLevel = menuBar_ && menu == handle_;
    return item;
}

bool TNvMenu::FindItem(UINT command, TNvMenuItem& item) const {
    return handle_ && FindIn(handle_, command, item);
}

bool TNvMenu::FindIn(HMENU menu, UINT command, TNvMenuItem& item) const {
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        if (info.wID == command) {
            item = Item(menu, position);
            return true;
        }
        if (info.hSubMenu && FindIn(info.hSubMenu, command, item)) return true;
    }
    return false;
}

int TNvMenu::ImageIndex(const TNvMenuItem& item, TMenuOwnerDrawState state) {
    int index = -1;
    if (images_ && !item.IsSeparator()) Raise(OnGetImageIndex, this, item, state, index);
    return index;
}

TNvMenu::Look TNvMenu::ItemLook(const TNvMenuItem& item, TMenuOwnerDrawState state) {
    Look look;
    look.Font = MenuFontForDpi(dpi_);
    if ((item.State & MFS_DEFAULT) || (state & ODS_DEFAULT)) look.Font.lfWeight = FW_BOLD;
    look.Background = ::GetSysColor(COLOR_MENU);
    Raise(OnGetItemParams, this, item, state, look.Font, look.Background, look.Graphic, look.NumGlyphs);
    look.NumGlyphs = std::max(1, look.NumGlyphs);
    BITMAP graphic{};
    if (look.Graphic && ::GetObjectA(look.Graphic, sizeof graphic, &graphic) && graphic.bmWidth > 0) {
        look.ValidImage = !item.IsSeparator();
        look.ImageWidth = graphic.bmWidth / look.NumGlyphs;
        look.ImageHeight = graphic.bmHeight;
    } else {
        look.Graphic = nullptr;
        if (images_) {
            look.ImageIndex = ImageIndex(item, state);
            look.ValidImage = look.ImageIndex >= 0 && look.ImageIndex < images_->Count();
            look.ImageWidth = images_->Width();
            look.ImageHeight = images_->Height();
        }
    }
    return look;
}

TItemShape TNvMenu::Shape(const TNvMenuItem& item, const Look& look) const {
    TItemShape shape;
    shape.TopLevel = item.TopLevel;
    shape.Separator = item.IsSeparator();
    shape.HasSubmenu = item.SubMenu != nullptr;
    shape.HasShortCut = !item.ShortCut.empty();
    shape.ShowCheckMarks = showCheckMarks_;
    shape.HasImages = images_ != nullptr || look.Graphic != nullptr;
    shape.ImageWidth = look.ImageWidth;
    shape.ImageHeight = look.ImageHeight;
    shape.ValidImage = look.ValidImage;
    shape.MinTextOffset = minTextOffset_;
    shape.Dpi = dpi_;
    return shape;
}

TNvMenu::Columns TNvMenu::MenuColumns(HDC dc, HMENU menu) const {
    Columns columns;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        const TNvMenuItem item = Item(menu, position);
        if (item.IsSeparator()) continue;
        columns.Caption =
            std::max<int>(columns.Caption, TextExtent(dc, StripAccelerators(item.Caption) + "\t\t").cx);
        columns.ShortCut = std::max<int>(columns.ShortCut, TextExtent(dc, item.ShortCut + " ").cx);
    }
    return columns;
}

TItemMeasures TNvMenu::Measures(HDC dc, const TNvMenuItem& item, bool recountColumns) {
    TItemMeasures measures;
    measures.CheckWidth = MetricForDpi(SM_CXMENUCHECK, dpi_);
    measures.CheckHeight = MetricForDpi(SM_CYMENUCHECK, dpi_);
    measures.MenuBarHeight = MetricForDpi(SM_CYMENU, dpi_);
    const std::string stripped = StripAccelerators(item.Caption);
    const SIZE caption = TextExtent(dc, stripped);
    measures.CaptionWidth = caption.cx;
    measures.CaptionHeight = stripped.empty() ? 0 : caption.cy;
    if (!item.TopLevel && !item.ShortCut.empty()) {
        auto known = columns_.find(item.Parent);
        if (recountColumns || known == columns_.end()) {
            known = columns_.insert_or_assign(item.Parent, MenuColumns(dc, item.Parent)).first;
        }
        measures.CaptionColumn = known->second.Caption;
        measures.ShortCutColumn = known->second.ShortCut;
    } else {
        measures.CaptionColumn = TextExtent(dc, stripped + "\t\t").cx;
        measures.ShortCutColumn = TextExtent(dc, " ").cx;
    }
    measures.TabsWidth = TextExtent(dc, "\t\t").cx;
    measures.DashHeight = TextExtent(dc, "-").cy;
    measures.LineHeight = TextExtent(dc, "Ay").cy;
    return measures;
}

bool TNvMenu::MeasureItem(MEASUREITEMSTRUCT& request) {
    if (request.CtlType != ODT_MENU || !ownerDraw_) return false;
    TNvMenuItem item;
    if (!FindItem(request.itemID, item)) return false;
    const Look look = ItemLook(item, 0);
    WindowDC screen(nullptr);
    GdiObject font(::CreateFontIndirectA(&look.Font));
    SelectedObject selected(screen.get(), font.get());
    // A drop-down is measured from its first item on: that is when its columns are counted again.
    const TItemSize size =
        nv::MeasureItem(Shape(item, look), Measures(screen.get(), item, item.Position == 0));
    int width = size.Width + (item.TopLevel ? 0 : MarginWidth());
    int height = size.Height;
    Raise(OnMeasureItem, this, item, width, height);
    request.itemWidth = static_cast<UINT>(std::max(0, width));
    request.itemHeight = static_cast<UINT>(std::max(0, height));
    return true;
}

bool TNvMenu::DrawItem(const DRAWITEMSTRUCT& request) {
    if (request.CtlType != ODT_MENU || !ownerDraw_) return false;
    HMENU menu = reinterpret_cast<HMENU>(request.hwndItem);
    if (!Contains(menu)) return false;
    const int count = ::GetMenuItemCount(menu);
    int position = 0;
    for (; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        if (::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) && info.wID == request.itemID)
            break;
    }
    if (position == count) return false;
    const TNvMenuItem item = Item(menu, position);
    if (OnDrawItem) {
        Raise(OnDrawItem, this, item, request.hDC, request.rcItem, request.itemState);
    } else {
        DefaultDrawItem(request.hDC, item, request.rcItem, request.itemState);
    }
    return true;
}

void TNvMenu::DrawMargin(HDC dc, const RECT& band) {
    FillSolid(dc, band, ::GetSysColor(COLOR_BTNSHADOW));
}

void TNvMenu::DefaultDrawItem(HDC dc, const TNvMenuItem& item, RECT rect, TMenuOwnerDrawState state) {
    const Look look = ItemLook(item, state);
    GdiObject font(::CreateFontIndirectA(&look.Font));
    const int saved = ::SaveDC(dc);
    ScopeExit restore([dc, saved] { ::RestoreDC(dc, saved); }); // before the font goes
    if (font) ::SelectObject(dc, font.get());

    const bool selected = (state & ODS_SELECTED) != 0;
    const bool disabled = (state & (ODS_DISABLED | ODS_GRAYED)) != 0;
    const bool buttonStyle = style_ == TNvMenuStyle::msBtnLowered || style_ == TNvMenuStyle::msBtnRaised;
    COLORREF background = look.Background;
    COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
    if (selected && !buttonStyle) {
        background = ::GetSysColor(COLOR_HIGHLIGHT);
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF disabledColor = ::GetSysColor(selected ? COLOR_GRAYTEXT : COLOR_BTNSHADOW);
    const bool emboss = EmbossDisabled(selected, ::GetNearestColor(dc, ::GetSysColor(COLOR_GRAYTEXT)) !=
                                                     ::GetNearestColor(dc, ::GetSysColor(COLOR_HIGHLIGHT)));

    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    FillSolid(dc, rect, background);
    if (!item.TopLevel && MarginWidth() > 0) {
        RECT band = rect;
        band.right = std::min(rect.right, rect.left + MarginWidth());
        DrawMargin(dc, band);
        rect.left = band.right;
    }
    if (selected && buttonStyle) {
        ::DrawEdge(dc, &rect, style_ == TNvMenuStyle::msBtnLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
                   BF_RECT);
    }

    if (item.IsSeparator()) {
        const int middle = (rect.top + rect.bottom) / 2;
        FillSolid(dc, RECT{rect.left, middle - 1, rect.right, middle}, ::GetSysColor(COLOR_BTNSHADOW));
        FillSolid(dc, RECT{rect.left, middle, rect.right, middle + 1}, highlight);
        return;
    }

    const TItemMeasures measures = Measures(dc, item, false);
    const TItemLayout layout =
        LayoutItem(Shape(item, look), measures, TBox{rect.left, rect.top, rect.right, rect.bottom},
                   (state & ODS_CHECKED) != 0);

    if (layout.Sunken) {
        const RECT cell{layout.Cell.Left, layout.Cell.Top, layout.Cell.Right, layout.Cell.Bottom};
        if (selected) {
            FillSolid(dc, cell, ::GetSysColor(COLOR_MENU));
        } else {
            FillDithered(dc, cell, ::GetSysColor(COLOR_MENU), highlight);
        }
        FillSolid(dc, RECT{cell.left, cell.top, cell.right, cell.top + 1}, disabledColor);
        FillSolid(dc, RECT{cell.left, cell.top, cell.left + 1, cell.bottom}, disabledColor);
        FillSolid(dc, RECT{cell.left, cell.bottom - 1, cell.right, cell.bottom}, highlight);
        FillSolid(dc, RECT{cell.right - 1, cell.top, cell.right, cell.bottom}, highlight);
    }

    // A silhouette: embossed with a highlight copy when it stands for a disabled part.
    const auto paintSilhouette = [&](HDC mask, int x, int y, int width, int height, COLORREF color) {
        if (disabled) {
            if (emboss) PaintMask(dc, mask, x + 1, y + 1, width, height, highlight);
            PaintMask(dc, mask, x, y, width, height, disabledColor);
        } else {
            PaintMask(dc, mask, x, y, width, height, color);
        }
    };

    if (layout.DrawImage) {
        const int width = look.ImageWidth, height = look.ImageHeight;
        if (look.Graphic) {
            MemoryDC source(::CreateCompatibleDC(dc));
            SelectedObject picture(source.get(), look.Graphic);
            const bool ownDisabledGlyph = disabled && look.NumGlyphs > 1;
            const int glyphLeft = ownDisabledGlyph ? width : 0;
            MaskCanvas mask(dc, width, height);
            // Colour to monochrome: pixels of the background colour become 1, the rest 0.
            ::SetBkColor(source.get(), ::GetPixel(source.get(), 0, height - 1));
            ::BitBlt(mask.get(), 0, 0, width, height, source.get(), glyphLeft, 0, SRCCOPY);
            if (disabled && !ownDisabledGlyph) {
                paintSilhouette(mask.get(), layout.ImageX, layout.ImageY, width, height, text);
            } else {
                const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
                const COLORREF oldBack = ::SetBkColor(dc, RGB(255, 255, 255));
                ::BitBlt(dc, layout.ImageX, layout.ImageY, width, height, source.get(), glyphLeft, 0,
                         SRCINVERT);
                ::BitBlt(dc, layout.ImageX, layout.ImageY, width, height, mask.get(), 0, 0, SRCAND);
                ::BitBlt(dc, layout.ImageX, layout.ImageY, width, height, source.get(), glyphLeft, 0,
                         SRCINVERT);
                ::SetTextColor(dc, oldText);
                ::SetBkColor(dc, oldBack);
            }
        } else if (disabled) {
            MaskCanvas mask(dc, width, height);
            images_->DrawMask(mask.get(), look.ImageIndex);
            paintSilhouette(mask.get(), layout.ImageX, layout.ImageY, width, height, text);
        } else {
            images_->Draw(dc, look.ImageIndex, layout.ImageX, layout.ImageY);
        }
    }

    if (layout.DrawCheck) {
        MaskCanvas mask(dc, measures.CheckWidth, measures.CheckHeight);
        RECT glyph{0, 0, measures.CheckWidth, measures.CheckHeight};
        // The platform draws the glyph black on white.
        ::DrawFrameControl(mask.get(), &glyph, DFC_MENU,
                           (item.Type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        // A sunken cell keeps the menu colour when the item is highlighted, so its check keeps the
        // menu's text colour: the highlight's text colour may be the menu colour itself.
        paintSilhouette(mask.get(), layout.CheckX, layout.CheckY, measures.CheckWidth, measures.CheckHeight,
                        layout.Sunken ? ::GetSysColor(COLOR_MENUTEXT) : text);
    }

    ::SetBkMode(dc, TRANSPARENT);
    const bool rightToLeft = (item.Type & MFT_RIGHTORDER) != 0;
    const UINT format = DT_SINGLELINE | DT_EXPANDTABS | DT_TOP | DT_NOCLIP |
                        (rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT);
    const auto drawText = [&](const std::string& value, int x, int y, COLORREF color) {
        RECT area{x, y, rect.right, rect.bottom};
        if (rightToLeft) area = RECT{rect.left, y, rect.right - (x - rect.left), rect.bottom};
        ::SetTextColor(dc, color);
        const std::wstring wide = Wide(value);
        ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area, format);
    };
    const auto paintText = [&](const std::string& value, int x) {
        if (disabled) {
            if (emboss) drawText(value, x + 1, layout.TextY + 1, highlight);
            drawText(value, x, layout.TextY, disabledColor);
        } else {
            drawText(value, x, layout.TextY, text);
        }
    };
    paintText(item.Caption, layout.TextX);
    if (layout.DrawShortCut) paintText(item.ShortCut, layout.ShortCutX);
}

LRESULT TNvMenu::MenuChar(char key, HMENU menu) const {
    std::vector<std::string> captions;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        const TNvMenuItem item = Item(menu, position);
        captions.push_back(item.IsSeparator() ? std::string() : item.Caption);
    }
    const int found = FindAccessKey(captions, key);
    return found < 0 ? MAKELRESULT(0, MNC_IGNORE) : MAKELRESULT(found, MNC_EXECUTE);
}

bool TNvMenu::HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_INITMENUPOPUP: {
        HMENU popup = reinterpret_cast<HMENU>(wParam);
        if (ownerDraw_ && Contains(popup)) {
            columns_.erase(popup);
            ApplyOwnerDraw(popup);
        }
        return false;
    }
    case WM_MEASUREITEM:
        if (wParam != 0 || !lParam || !MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return false;
        result = TRUE;
        return true;
    case WM_DRAWITEM:
        if (wParam != 0 || !lParam || !DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return false;
        result = TRUE;
        return true;
    case WM_MENUCHAR: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        if (!ownerDraw_ || !Contains(menu)) return false;
        const LRESULT answer = MenuChar(static_cast<char>(LOWORD(wParam)), menu);
        if (HIWORD(answer) == MNC_IGNORE) return false;
        result = answer;
        return true;
    }
    default:
        return false;
    }
}

// ---- TNvMainMenu --------------------------------------------------------------------------------

void TNvMainMenu::Attach(HMENU menuBar, HWND window) {
    window_ = window;
    SetHandle(menuBar);
}

void TNvMainMenu::OwnerDrawApplied() {
    if (window_ && ::GetMenu(window_) == Handle()) ::DrawMenuBar(window_);
}

// ---- TNvPopupMenu -------------------------------------------------------------------------------

namespace {

// The one hidden window the image popups are shown with: the platform sends it the popups' requests
// and their chosen command, and it offers them to the popups in turn.
class TPopupList : public WindowBase {
  public:
    void Add(TNvPopupMenu* menu) { menus_.push_back(menu); }
    void Remove(TNvPopupMenu* menu) noexcept {
        menus_.erase(std::remove(menus_.begin(), menus_.end(), menu), menus_.end());
    }
    HWND Window() {
        if (!Handle()) {
            RegisterClassOnce("TNvPopupList", 0);
            Create("TNvPopupList", "", WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr);
            if (!Handle()) throw EError("Error creating window");
        }
        return Handle();
    }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        const std::vector<TNvPopupMenu*> menus = menus_; // a handler may add or remove popups
        if (msg == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) {
            for (TNvPopupMenu* menu : menus) {
                if (menu->DispatchCommand(LOWORD(wParam))) break;
            }
            return 0;
        }
        LRESULT result = 0;
        for (TNvPopupMenu* menu : menus) {
            if (menu->HandleMenuMessage(msg, wParam, lParam, result)) return result;
        }
        return Default(msg, wParam, lParam);
    }

  private:
    std::vector<TNvPopupMenu*> menus_;
};

TPopupList& PopupList() {
    static TPopupList list;
    return list;
}

} // namespace

TNvPopupMenu::TNvPopupMenu() : TNvMenu(false) {
    PopupList().Add(this);
}

TNvPopupMenu::~TNvPopupMenu() {
    PopupList().Remove(this);
}

void TNvPopupMenu::Attach(HMENU popup, HWND commandWindow) {
    commandWindow_ = commandWindow;
    SetHandle(popup);
}

void TNvPopupMenu::SetLeftMargin(unsigned margin) {
    leftMargin_ = margin;
}

HWND TNvPopupMenu::PopupListWindow() {
    return PopupList().Window();
}

void TNvPopupMenu::Popup(int x, int y) {
    if (!Handle()) return;
    RefreshOwnerDraw();
    ::TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupListWindow(), nullptr);
}

bool TNvPopupMenu::DispatchCommand(UINT command) {
    if (!Handle() || !commandWindow_ ||
        ::GetMenuState(Handle(), command, MF_BYCOMMAND) == static_cast<UINT>(-1)) {
        return false;
    }
    ::SendMessageA(commandWindow_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return true;
}

void TNvPopupMenu::DrawMargin(HDC dc, const RECT& band) {
    if (OnDrawMargin) {
        Raise(OnDrawMargin, this, dc, band);
    } else {
        TNvMenu::DrawMargin(dc, band);
    }
}

} // namespace nv
