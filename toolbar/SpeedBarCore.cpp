#include "toolbar/SpeedBarCore.h"

#include "base/Errors.h"
#include "placement/PlacementRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace nv {

namespace {

constexpr char kAlignError[] = "Cannot set this property value while Position is bpAuto";
constexpr char kDuplicateError[] = "String list does not allow duplicates";

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Multiplies, then divides with rounding half away from zero.
int MulDiv(int value, int m, int d) {
    if (d == 0) return value;
    const long long product = static_cast<long long>(value) * m;
    const long long half = (d > 0 ? d : -d) / 2;
    const bool negative = (product < 0) != (d < 0);
    const long long magnitude = ((product < 0 ? -product : product) + half) / (d > 0 ? d : -d);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

bool HorizontalAlign(TAlign align) { return align == alTop || align == alBottom; }

// The numbers n from 1 to `count` for which a value `prefix` + n is among `names`, ascending: the
// entries a loop over 1..count would find, without asking for the ones that are not there.
std::vector<int> NumberedEntries(const std::vector<std::string>& names, const std::string& prefix,
                                 int count) {
    std::vector<int> numbers;
    for (const std::string& name : names) {
        if (name.size() <= prefix.size() || !SameText(name.substr(0, prefix.size()), prefix)) continue;
        const std::string digits = name.substr(prefix.size());
        int n = 0;
        if (ParseInteger(digits, n) && n >= 1 && n <= count && std::to_string(n) == digits)
            numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

} // namespace

// ---- TSpeedItem ----------------------------------------------------------------------------------

TSpeedItem::TSpeedItem(TSpeedbarSection& section, std::string name)
    : section_(&section), name_(std::move(name)) {}

TSpeedItem::~TSpeedItem() = default;

TCustomSpeedBar& TSpeedItem::Bar() const { return section_->Bar(); }

int TSpeedItem::Index() const {
    const auto& items = section_->items_;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].get() == this) return static_cast<int>(i);
    }
    return -1;
}

void TSpeedItem::Look() const {
    if (button_) button_->UpdateLook();
}

void TSpeedItem::SetHint(const std::string& value) {
    hint_ = value;
    Look();
}

std::string TSpeedItem::ShortHint() const { return hint_.substr(0, hint_.find('|')); }

void TSpeedItem::SetBtnCaption(const std::string& value) {
    btnCaption_ = value;
    Look();
}

void TSpeedItem::SetPosition(int left, int top) {
    if (left == left_ && top == top_) return;
    left_ = left;
    top_ = top;
    if (button_) button_->UpdateBounds();
}

void TSpeedItem::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    if (button_) button_->UpdateShown();
}

void TSpeedItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Look();
}

bool TSpeedItem::ButtonEnabled() const { return Bar().InEditMode() || (enabled_ && Bar().Enabled()); }

void TSpeedItem::SetDown(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == down_) return;
    if (down_ && !allowAllUp_) return; // the last button of a group stays down
    down_ = value;
    if (down_) Bar().RaiseOthersInGroup(*this);
    Look();
}

void TSpeedItem::SetGroupIndex(int value) {
    groupIndex_ = value;
    if (groupIndex_ == 0) {
        down_ = false;
    } else if (down_) {
        Bar().RaiseOthersInGroup(*this);
    }
    Look();
}

void TSpeedItem::SetAllowAllUp(bool value) {
    allowAllUp_ = value;
    // The group shares the setting.
    if (groupIndex_ == 0) return;
    Bar().ForEachItem([&](TSpeedItem& other) {
        if (other.groupIndex_ == groupIndex_) other.allowAllUp_ = value;
    });
}

void TSpeedItem::SetGlyph(int resource, int numGlyphs) {
    glyph_ = resource;
    numGlyphs_ = std::max(1, std::min(4, numGlyphs));
    Look();
}

void TSpeedItem::Click() {
    if (groupIndex_ != 0) SetDown(!down_);
    Raise(OnClick, this);
}

// ---- TSpeedbarSection ----------------------------------------------------------------------------

TSpeedbarSection::TSpeedbarSection(TCustomSpeedBar& bar, std::string caption)
    : bar_(&bar), caption_(std::move(caption)) {}

TSpeedbarSection::~TSpeedbarSection() = default;

int TSpeedbarSection::Index() const {
    for (int i = 0; i < bar_->SectionCount(); ++i) {
        if (&bar_->Sections(i) == this) return i;
    }
    return -1;
}

void TSpeedbarSection::SetCaption(const std::string& value) {
    const int found = bar_->SearchSection(value);
    if (found >= 0 && &bar_->Sections(found) != this) throw EError(kDuplicateError);
    caption_ = value;
}

TSpeedItem& TSpeedbarSection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return *items_[static_cast<size_t>(index)];
}

// ---- TCustomSpeedBar -----------------------------------------------------------------------------

TCustomSpeedBar::TCustomSpeedBar() {
    offsetHorz_ = offsetVert_ = MinOffset();
    height_ = 2 * offsetVert_ + btnHeight_;
    UpdateGrid();
}

TCustomSpeedBar::~TCustomSpeedBar() { DestroyItems(); }

void TCustomSpeedBar::DestroyItems() noexcept {
    if (editor_) {
        TSpeedbarEditor* editor = editor_;
        editor_ = nullptr;
        editor->BarNotify(sbnDestroyed, this);
    }
    sections_.clear();
}

TSpeedbarSection& TCustomSpeedBar::Sections(int index) const {
    if (index < 0 || index >= SectionCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return *sections_[static_cast<size_t>(index)];
}

int TCustomSpeedBar::SearchSection(const std::string& caption) const {
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (SameText(sections_[i]->caption_, caption)) return static_cast<int>(i);
    }
    return -1;
}

TSpeedbarSection& TCustomSpeedBar::AddSection(const std::string& caption) {
    std::string unique = caption;
    for (int n = 1; SearchSection(unique) >= 0; ++n) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, " (%d)", n);
        unique = caption + suffix;
    }
    sections_.push_back(std::make_unique<TSpeedbarSection>(*this, unique));
    return *sections_.back();
}

TSpeedItem& TCustomSpeedBar::AddItem(const std::string& sectionCaption, const std::string& name) {
    return AddItem(std::max(0, SearchSection(sectionCaption)), name);
}

TSpeedItem& TCustomSpeedBar::AddItem(int sectionIndex, const std::string& name) {
    if (sections_.empty()) AddSection("");
    const int index = std::min(std::max(sectionIndex, 0), SectionCount() - 1);
    TSpeedbarSection& section = *sections_[static_cast<size_t>(index)];
    section.items_.push_back(std::make_unique<TSpeedItem>(section, name));
    TSpeedItem& item = *section.items_.back();
    item.button_ = CreateButton(item);
    return item;
}

int TCustomSpeedBar::ItemsCount() const {
    int count = 0;
    for (const auto& section : sections_)
        count += section->Count();
    return count;
}

TSpeedItem* TCustomSpeedBar::FindItemByName(const std::string& name) const {
    for (const auto& section : sections_) {
        for (const auto& item : section->items_) {
            if (SameText(item->Name(), name)) return item.get();
        }
    }
    return nullptr;
}

void TCustomSpeedBar::ForEachItem(const std::function<void(TSpeedItem&)>& action) const {
    for (const auto& section : sections_) {
        for (const auto& item : section->items_)
            action(*item);
    }
}

void TCustomSpeedBar::RaiseOthersInGroup(const TSpeedItem& item) {
    ForEachItem([&](TSpeedItem& other) {
        if (&other != &item && other.groupIndex_ == item.groupIndex_ && other.down_) {
            other.down_ = false;
            other.Look();
        }
    });
}

// ---- Edge and orientation ------------------------------------------------------------------------

bool TCustomSpeedBar::ApplyAlign(TAlign align) {
    bool apply = true;
    Raise(OnApplyAlign, this, align, apply);
    return apply;
}

void TCustomSpeedBar::SetAlign(TAlign value) {
    if (position_ == bpAuto && (value == alNone || value == alClient)) throw EError(kAlignError);
    if (value < alNone || value > alClient) throw EError(kAlignError);
    if (value == align_) return;
    align_ = value;
    UpdateOrientation();
    RequestRealign();
}

void TCustomSpeedBar::SetPosition(TBarPosition value) {
    if (value == position_) return;
    position_ = value;
    if (position_ == bpAuto) {
        if (align_ == alNone || align_ == alClient) align_ = alTop;
        UpdateOrientation();
        RequestRealign();
    }
}

void TCustomSpeedBar::SetOrientation(TBarOrientation value) {
    if (position_ == bpAuto || value == orientation_) return;
    orientation_ = value;
    if (!loading_) ExchangeOrientation();
}

void TCustomSpeedBar::UpdateOrientation() {
    if (position_ != bpAuto) return;
    const TBarOrientation wanted = HorizontalAlign(align_) ? boHorizontal : boVertical;
    if (wanted == orientation_) return;
    orientation_ = wanted;
    if (!loading_) ExchangeOrientation();
}

void TCustomSpeedBar::ExchangeOrientation() {
    // A row of buttons becomes a column in the same order, and the bar keeps its thickness.
    std::swap(btnWidth_, btnHeight_);
    std::swap(gridX_, gridY_);
    std::swap(offsetHorz_, offsetVert_);
    std::swap(width_, height_);
    ForEachItem([](TSpeedItem& item) { item.SetPosition(item.Top(), item.Left()); });
    ResizeButtons();
    BoundsChanged();
    Invalidate();
    NotifyEditor(sbnSizeChanged, this);
}

void TCustomSpeedBar::SetOptions(TSpeedbarOptions value) {
    if (value == options_) return;
    options_ = value;
    UpdateGrid();
    CheckOffsets();
    ForEachItem([](TSpeedItem& item) { item.Look(); });
    Invalidate();
}

void TCustomSpeedBar::SetBoundLines(TBoundLines value) {
    if (value == boundLines_) return;
    boundLines_ = value;
    Invalidate();
}

void TCustomSpeedBar::SetBevel(TPanelBevel outer, TPanelBevel inner, int bevelWidth, int borderWidth) {
    bevelOuter_ = outer;
    bevelInner_ = inner;
    bevelWidth_ = std::max(1, bevelWidth);
    borderWidth_ = std::max(0, borderWidth);
    CheckOffsets();
    Invalidate();
}

// ---- Buttons, offsets and grid -------------------------------------------------------------------

int TCustomSpeedBar::MinOffset() const {
    int offset = (options_ & sbFlatBtns) ? 0 : 2;
    offset += borderWidth_;
    if (bevelOuter_ != bvNone) offset += bevelWidth_;
    if (bevelInner_ != bvNone) offset += bevelWidth_;
    return offset;
}

void TCustomSpeedBar::UpdateGrid() {
    if (Horizontal()) {
        gridX_ = GridStepAlong(btnWidth_);
        gridY_ = std::max(1, btnHeight_);
    } else {
        gridX_ = std::max(1, btnWidth_);
        gridY_ = GridStepAlong(btnHeight_);
    }
}

void TCustomSpeedBar::MoveItems(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    ForEachItem([dx, dy](TSpeedItem& item) { item.SetPosition(item.Left() + dx, item.Top() + dy); });
}

void TCustomSpeedBar::CheckOffsets() {
    const int minimum = MinOffset();
    const int dx = std::max(0, minimum - offsetHorz_), dy = std::max(0, minimum - offsetVert_);
    offsetHorz_ += dx;
    offsetVert_ += dy;
    MoveItems(dx, dy);
}

void TCustomSpeedBar::SetBtnOffsetHorz(int value) {
    value = std::max(value, MinOffset());
    const int delta = value - offsetHorz_;
    offsetHorz_ = value;
    MoveItems(delta, 0);
}

void TCustomSpeedBar::SetBtnOffsetVert(int value) {
    value = std::max(value, MinOffset());
    const int delta = value - offsetVert_;
    offsetVert_ = value;
    MoveItems(0, delta);
}

void TCustomSpeedBar::ResizeButtons() {
    ForEachItem([](TSpeedItem& item) {
        if (item.button_) item.button_->UpdateBounds();
    });
}

void TCustomSpeedBar::SetButtonSize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == btnWidth_ && height == btnHeight_) return;
    btnWidth_ = width;
    btnHeight_ = height;
    UpdateGrid();
    const int least = 2 * Offset() + ButtonThickness();
    if (Thickness() < least) SetThickness(least);
    ResizeButtons();
    NotifyEditor(sbnSizeChanged, this);
}

bool TCustomSpeedBar::PlaceItemAt(TSpeedItem& item, int x, int y) {
    const TGridPoint snapped = SnapToGrid({x, y}, {offsetHorz_, offsetVert_}, {gridX_, gridY_}, Horizontal());
    int left = snapped.X, top = snapped.Y;
    if (Horizontal()) {
        top = std::max(top, offsetVert_);
    } else {
        left = std::max(left, offsetHorz_);
    }
    item.SetPosition(left, top);
    const bool inside = TBarRect{0, 0, ClientWidth(), ClientHeight()}.Contains(snapped.X, snapped.Y);
    if (item.button_) item.button_->SetFront(inside);
    item.SetVisible(inside);
    return inside;
}

void TCustomSpeedBar::ScaleBy(int m, int d) {
    if (m == d || d == 0) return;
    btnWidth_ = std::max(1, MulDiv(btnWidth_, m, d));
    btnHeight_ = std::max(1, MulDiv(btnHeight_, m, d));
    offsetHorz_ = std::max(MinOffset(), MulDiv(offsetHorz_, m, d));
    offsetVert_ = std::max(MinOffset(), MulDiv(offsetVert_, m, d));
    UpdateGrid();
    ResizeButtons();
    NotifyEditor(sbnSizeChanged, this);
    ForEachItem([this, m, d](TSpeedItem& item) {
        if (!item.Visible()) return;
        const TGridPoint snapped = SnapToGrid({MulDiv(item.Left(), m, d), MulDiv(item.Top(), m, d)},
                                              {offsetHorz_, offsetVert_}, {gridX_, gridY_}, Horizontal());
        item.SetPosition(snapped.X, snapped.Y);
    });
}

// ---- Place and visibility ------------------------------------------------------------------------

void TCustomSpeedBar::SetThickness(int value) {
    if (Horizontal()) {
        SetBounds(left_, top_, width_, value);
    } else {
        SetBounds(left_, top_, value, height_);
    }
    RequestRealign();
}

void TCustomSpeedBar::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    BoundsChanged();
}

void TCustomSpeedBar::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    VisibleChanged();
    RequestRealign();
    Raise(OnVisibleChanged, this);
}

void TCustomSpeedBar::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    ForEachItem([](TSpeedItem& item) { item.Look(); });
}

// ---- Edit mode -----------------------------------------------------------------------------------

void TCustomSpeedBar::SetEditMode(TSpeedbarEditor* editor) {
    if (editor == editor_) return;
    const bool leaving = editor_ != nullptr && editor == nullptr;
    editor_ = editor;
    ForEachItem([](TSpeedItem& item) { item.Look(); });
    if (leaving) Raise(OnCustomize, this);
}

void TCustomSpeedBar::NotifyEditor(TSpeedbarNotification code, TObject* subject) {
    if (editor_) editor_->BarNotify(code, subject);
}

// ---- Stored layout -------------------------------------------------------------------------------

void TCustomSpeedBar::SaveLayout(TIniSections& storage, const std::string& section) {
    // Entries of buttons that are no longer shown must not survive.
    storage.EraseSection(section);
    storage.WriteInteger(section, "Position", static_cast<int>(align_));
    if (HorizontalAlign(align_)) {
        storage.WriteInteger(section, "Width", height_);
    } else if (align_ == alLeft || align_ == alRight) {
        storage.WriteInteger(section, "Width", width_);
    }
    storage.WriteInteger(section, "Version", Version);
    storage.WriteInteger(section, "PixelsPerInch", ScreenPixelsPerInch());
    storage.WriteInteger(section, "BtnWidth", btnWidth_);
    storage.WriteInteger(section, "BtnHeight", btnHeight_);
    int count = 0;
    ForEachItem([&](TSpeedItem& item) {
        if (!item.Visible() || !item.Stored) return;
        char entry[64];
        std::snprintf(entry, sizeof entry, ",%d,%d", item.Left(), item.Top());
        storage.WriteString(section, "Button" + std::to_string(++count), item.Name() + entry);
    });
    storage.WriteInteger(section, "Count", count);
}

void TCustomSpeedBar::RestoreLayout(TIniSections& storage, const std::string& section) {
    const TAlign was = align_;
    if (storage.ReadInteger(section, "Version", Version) < Version) return;
    if (options_ & sbAllowDrag) {
        const int stored = storage.ReadInteger(section, "Position", static_cast<int>(align_));
        try {
            if (stored >= alNone && stored <= alClient) SetAlign(static_cast<TAlign>(stored));
        } catch (const EError&) {
            // An edge the bar cannot take (none or the whole area): it keeps its designed edge.
        }
    }
    if (storage.ReadInteger(section, "PixelsPerInch", FormPixelsPerInch()) != ScreenPixelsPerInch()) {
        // Sizes and places from another resolution do not fit this one; the edge does.
        if (align_ != was) Raise(OnPosChanged, this);
        return;
    }
    if ((options_ & sbAllowResize) && align_ >= alTop && align_ <= alRight) {
        // Thinner than one row of buttons, the bar could be neither seen nor grabbed: it keeps its
        // designed thickness.
        const int stored = storage.ReadInteger(section, "Width", Thickness());
        if (stored >= 2 * Offset() + ButtonThickness()) SetThickness(stored);
    }
    if (align_ != was) Raise(OnPosChanged, this);
    const int count = storage.ReadInteger(section, "Count", 0);
    if (count > 0) {
        ForEachItem([](TSpeedItem& item) { item.SetVisible(false); });
        // Only the entries that are there are read: a damaged count of millions costs nothing.
        for (int n : NumberedEntries(storage.ValueNames(section), "Button", count)) {
            const std::vector<std::string> words =
                SplitWords(storage.ReadString(section, "Button" + std::to_string(n), ""));
            if (words.empty()) continue;
            TSpeedItem* item = FindItemByName(words[0]);
            if (!item) continue;
            item->SetPosition(std::max(WordAsInteger(words, 2, item->Left()), offsetHorz_),
                              std::max(WordAsInteger(words, 3, item->Top()), offsetVert_));
            item->SetVisible(true);
        }
    }
    Invalidate();
}

void TCustomSpeedBar::EndLoading() {
    loading_ = false;
    UpdateGrid();
    ResizeButtons();
    ForEachItem([](TSpeedItem& item) {
        if (item.button_) item.button_->UpdateShown();
    });
}

} // namespace nv
