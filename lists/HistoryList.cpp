#include "lists/HistoryList.h"

#include "base/Paths.h"
#include "base/ScopeExit.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace nv {

namespace {
constexpr const char* kFilePrefix = "File";
constexpr const char* kNamePrefix = "Name";
} // namespace

// ---- TDynamicMenuBase ---------------------------------------------------------------------------

TDynamicMenuBase::TDynamicMenuBase(Storage& storage, TPathProbe probe, std::string regKey)
    : storage_(storage), probe_(std::move(probe)), regKey_(std::move(regKey)) {
}

void TDynamicMenuBase::SetRegPath(const std::string& value) {
    regPath_ = value;
    LoadFromRegistry();
}

void TDynamicMenuBase::SetRegKey(const std::string& value) {
    regKey_ = value;
    LoadFromRegistry();
}

void TDynamicMenuBase::SetBaseMenu(MenuItem* menu) {
    if (baseMenu_ || !menu) return;
    baseMenu_ = menu;
    LoadFromRegistry();
}

void TDynamicMenuBase::SetHelpContext(int value) {
    helpContext_ = value;
    for (int i = 0; i < ItemCount(); ++i)
        EntryItem(i)->SetHelpContext(value);
}

MenuItem* TDynamicMenuBase::EntryItem(int i) const {
    if (!baseMenu_ || i < 0 || i >= ItemCount()) return nullptr;
    return &baseMenu_->Item(firstIndex_ + i);
}

std::string TDynamicMenuBase::ListKeyPath() const {
    return "\\Software\\" + regPath_ + "\\" + regKey_;
}

bool TDynamicMenuBase::StorageNamed() const {
    return !regPath_.empty() && regPath_ != kDefaultRegPath;
}

MenuItem& TDynamicMenuBase::NewEntry(int index, const std::string& caption, const std::string& hint) {
    heldEntries_ = true;
    MenuItem& item = baseMenu_->Insert(index);
    item.SetCaption(caption);
    item.SetHint(hint);
    item.SetHelpContext(helpContext_);
    item.SetOnClick([this](MenuItem& clicked) { ItemClick(clicked); });
    return item;
}

std::vector<TDynamicMenuBase::StoredEntry> TDynamicMenuBase::ReadStored(const StorageKey& key) const {
    std::vector<StoredEntry> entries;
    for (int n = 0;; ++n) {
        const std::string file = kFilePrefix + std::to_string(n);
        const std::string name = kNamePrefix + std::to_string(n);
        if (!key.ValueExists(file) || (storeNames_ && !key.ValueExists(name))) break;
        std::optional<std::string> path = key.ReadString(file);
        std::optional<std::string> caption = storeNames_ ? key.ReadString(name) : std::string();
        if (!path || !caption) break; // not a string: the entries before it stay
        entries.push_back(StoredEntry{std::move(*path), std::move(*caption)});
    }
    return entries;
}

void TDynamicMenuBase::LoadFromRegistry() {
    if (!CanLoad() || !baseMenu_ || !StorageNamed()) return;
    std::vector<StoredEntry> entries;
    {
        std::unique_ptr<StorageKey> key = storage_.OpenKey(ListKeyPath(), false);
        if (!key) return;
        entries = ReadStored(*key);
    }
    loading_ = true;
    ScopeExit loaded([this] { loading_ = false; });
    AddStoredEntries(entries);
}

void TDynamicMenuBase::SaveToRegistry() {
    if (!baseMenu_ || !StorageNamed()) return;
    // A list that was empty all along has nothing to say about what is stored: another instance may
    // have written it, or its files were out of reach at start.
    if (!heldEntries_) return;
    // Read again now: another instance may have saved since this one loaded.
    std::unique_ptr<StorageKey> key = storage_.OpenKey(ListKeyPath(), false);
    const std::vector<StoredEntry> merged = MergedWith(key ? ReadStored(*key) : std::vector<StoredEntry>());
    // An emptied list deletes the values; with nothing to write there is no reason to make the key.
    if (!key && !merged.empty()) key = storage_.OpenKey(ListKeyPath(), true);
    if (!key) return;
    const int count = static_cast<int>(merged.size());
    for (int i = 0; i < count; ++i) {
        key->WriteString(kFilePrefix + std::to_string(i), merged[static_cast<size_t>(i)].Path);
        if (storeNames_)
            key->WriteString(kNamePrefix + std::to_string(i), merged[static_cast<size_t>(i)].Name);
    }
    for (int n = count;; ++n) {
        if (!key->DeleteValue(kFilePrefix + std::to_string(n))) break;
        key->DeleteValue(kNamePrefix + std::to_string(n));
    }
    ForgetChanges();
}

void TDynamicMenuBase::ItemClick(MenuItem& item) {
    if (!OnClick) return;
    Raise(OnClick, this, item.Hint());
}

// ---- THistoryList -------------------------------------------------------------------------------

THistoryList::THistoryList(Storage& storage, TPathProbe probe)
    : TDynamicMenuBase(storage, std::move(probe), "MRUList") {
}

void THistoryList::SetMaxItems(int value) {
    if (value <= 0) return;
    while (value < ItemCount())
        baseMenu_->Delete(baseMenu_->Count() - 1);
    maxItems_ = value;
    if (!ready_) {
        ready_ = true;
        LoadFromRegistry();
    }
}

void THistoryList::SetBaseMenu(MenuItem* menu) {
    if (!baseMenu_ && menu && menu->Count() == 0) {
        MenuItem& placeholder = menu->Append();
        placeholder.SetCaption("(none)");
        placeholder.SetEnabled(false);
    }
    TDynamicMenuBase::SetBaseMenu(menu);
}

bool THistoryList::OnlyPlaceholder() const {
    return baseMenu_ && baseMenu_->Count() == 1 && !baseMenu_->Item(0).Enabled();
}

int THistoryList::ItemCount() const {
    if (!baseMenu_ || firstIndex_ < 0 || OnlyPlaceholder()) return 0;
    return std::max(0, baseMenu_->Count() - firstIndex_);
}

bool THistoryList::Takes(const std::string& fileName) const {
    return !fileName.empty() &&
           probe_(fileName) == (directories_ ? TPathKind::pkDirectory : TPathKind::pkFile);
}

void THistoryList::AddItem(const std::string& fileName) {
    if (!baseMenu_ || !Takes(fileName)) return;
    if (!Loading()) {
        used_.erase(std::remove(used_.begin(), used_.end(), fileName), used_.end());
        used_.push_back(fileName);
    }
    if (ItemCount() == 0) {
        if (OnlyPlaceholder()) baseMenu_->Delete(0);
        if (baseMenu_->Count() > 0) baseMenu_->Append().SetCaption("-");
        firstIndex_ = baseMenu_->Count();
    }
    const int last = baseMenu_->Count() - 1;
    int position = -1;
    for (int i = firstIndex_; i <= last; ++i) {
        if (baseMenu_->Item(i).Hint() == fileName) {
            position = i;
            break;
        }
    }
    if (position < 0) {
        // A full list reuses its oldest entry.
        if (ItemCount() < maxItems_) NewEntry(baseMenu_->Count(), std::string(), std::string());
        position = baseMenu_->Count() - 1;
    }
    for (int i = position; i > firstIndex_; --i) {
        MenuItem& above = baseMenu_->Item(i - 1);
        MenuItem& item = baseMenu_->Item(i);
        item.SetCaption(above.Caption());
        item.SetHint(above.Hint());
    }
    MenuItem& top = baseMenu_->Item(firstIndex_);
    top.SetCaption(ExtractFileName(fileName));
    top.SetHint(fileName);
}

void THistoryList::AddStoredEntries(const std::vector<StoredEntry>& entries) {
    // Each addition goes on top, so the last stored entry goes first and entry 0 ends on top.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        AddItem(entry->Path);
}

std::vector<TDynamicMenuBase::StoredEntry>
THistoryList::MergedWith(const std::vector<StoredEntry>& stored) const {
    std::vector<std::string> paths;
    const auto has = [&paths](const std::string& path) {
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
    for (const StoredEntry& entry : stored) {
        if (Takes(entry.Path) && !has(entry.Path)) paths.push_back(entry.Path);
    }
    for (const std::string& path : used_) {
        if (!Takes(path)) continue; // gone since this session used it
        paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
        paths.insert(paths.begin(), path);
    }
    if (paths.size() > static_cast<size_t>(maxItems_)) paths.resize(static_cast<size_t>(maxItems_));
    std::vector<StoredEntry> merged;
    for (const std::string& path : paths)
        merged.push_back(StoredEntry{path, ExtractFileName(path)});
    return merged;
}

// ---- TBookmarks ---------------------------------------------------------------------------------

namespace {
constexpr int kAddIndex = 0;
constexpr int kSeparatorIndex = 1;
constexpr int kFixedItems = 3; // "&Add", the separator and "&Delete"
} // namespace

TBookmarks::TBookmarks(Storage& storage, TPathProbe probe)
    : TDynamicMenuBase(storage, std::move(probe), "Bookmarks") {
    firstIndex_ = 2;
}

void TBookmarks::SetFileBookmarks(bool value) {
    ready_ = true;
    fileBookmarks_ = value;
    LoadFromRegistry();
}

void TBookmarks::SetOnGetBookmark(TOnGetBookmark handler) {
    onGetBookmark_ = std::move(handler);
    if (baseMenu_ && baseMenu_->Count() > 0)
        baseMenu_->Item(kAddIndex).SetEnabled(static_cast<bool>(onGetBookmark_));
}

void TBookmarks::SetAddHelpContext(int value) {
    addHelpContext_ = value;
    if (baseMenu_ && baseMenu_->Count() > 0) baseMenu_->Item(kAddIndex).SetHelpContext(value);
}

void TBookmarks::SetDelHelpContext(int value) {
    delHelpContext_ = value;
    if (!deleteMenu_) return;
    deleteMenu_->SetHelpContext(value);
    for (int i = 0; i < deleteMenu_->Count(); ++i)
        deleteMenu_->Item(i).SetHelpContext(value);
}

void TBookmarks::SetBaseMenu(MenuItem* menu) {
    if (!baseMenu_ && menu) {
        while (menu->Count() > 0)
            menu->Delete(menu->Count() - 1);
        MenuItem& add = menu->Append();
        add.SetCaption("&Add");
        add.SetHelpContext(addHelpContext_);
        add.SetHint(fileBookmarks_ ? "Add the current file to the bookmarks."
                                   : "Add the current directory to the bookmarks.");
        add.SetOnClick([this](MenuItem&) { AddClick(); });
        add.SetEnabled(static_cast<bool>(onGetBookmark_));
        MenuItem& separator = menu->Append();
        separator.SetCaption("-");
        separator.SetVisible(false);
        MenuItem& remove = menu->Append();
        remove.SetCaption("&Delete");
        remove.SetHint("Delete a bookmark");
        remove.SetHelpContext(delHelpContext_);
        remove.SetVisible(false);
        deleteMenu_ = &remove;
    }
    TDynamicMenuBase::SetBaseMenu(menu);
}

int TBookmarks::ItemCount() const {
    const int count = baseMenu_ ? baseMenu_->Count() : 0;
    return count > kFixedItems ? count - kFixedItems : 0;
}

void TBookmarks::ShowFavoriteFrame(bool visible) {
    baseMenu_->Item(kSeparatorIndex).SetVisible(visible);
    deleteMenu_->SetVisible(visible);
}

std::string TBookmarks::TakenPath(const std::string& bookmark, const std::string& name) const {
    if (bookmark.empty() || name.empty()) return {};
    const TPathKind kind = probe_(bookmark);
    if (!(kind == TPathKind::pkDirectory || (kind == TPathKind::pkFile && fileBookmarks_))) return {};
    std::string path = bookmark;
    // A folder is kept without its final backslash, except a drive's root.
    if (!fileBookmarks_ && path.size() >= 2 && path.back() == '\\' && path[path.size() - 2] != ':')
        path.pop_back();
    return path;
}

void TBookmarks::AddItem(const std::string& bookmark, const std::string& name) {
    if (!baseMenu_ || !deleteMenu_) return;
    const std::string path = TakenPath(bookmark, name);
    if (path.empty()) return;
    if (!Loading()) changes_.push_back(Change{true, StoredEntry{path, name}});

    if (ItemCount() == 0) ShowFavoriteFrame(true);
    for (int i = firstIndex_; i < firstIndex_ + ItemCount(); ++i) {
        MenuItem& favorite = baseMenu_->Item(i);
        if (favorite.Hint() != path) continue;
        favorite.SetCaption(name);
        for (int d = 0; d < deleteMenu_->Count(); ++d) {
            if (deleteMenu_->Item(d).Hint() == path) {
                deleteMenu_->Item(d).SetCaption(name);
                break;
            }
        }
        return;
    }
    NewEntry(baseMenu_->Count() - 1, name, path); // just above "&Delete"
    MenuItem& remove = deleteMenu_->Append();
    remove.SetCaption(name);
    remove.SetHint(path);
    remove.SetHelpContext(delHelpContext_);
    remove.SetOnClick([this](MenuItem& clicked) { DeleteClick(clicked); });
}

void TBookmarks::AddClick() {
    if (!onGetBookmark_) return;
    std::string bookmark, name;
    Raise(onGetBookmark_, this, bookmark, name);
    AddItem(bookmark, name);
}

void TBookmarks::DeleteClick(MenuItem& item) {
    if (!baseMenu_ || !deleteMenu_) return;
    const std::string path = item.Hint();
    changes_.push_back(Change{false, StoredEntry{path, std::string()}});
    for (int i = firstIndex_; i < firstIndex_ + ItemCount(); ++i) {
        if (baseMenu_->Item(i).Hint() == path) {
            baseMenu_->Delete(i);
            break;
        }
    }
    const int index = deleteMenu_->IndexOf(item);
    if (index >= 0) deleteMenu_->Delete(index); // `item` is gone from here on
    if (ItemCount() == 0) ShowFavoriteFrame(false);
}

void TBookmarks::AddStoredEntries(const std::vector<StoredEntry>& entries) {
    // Each addition goes to the bottom, so entry 0 goes first: the favorites keep their order.
    for (const StoredEntry& entry : entries)
        AddItem(entry.Path, entry.Name);
}

std::vector<TDynamicMenuBase::StoredEntry>
TBookmarks::MergedWith(const std::vector<StoredEntry>& stored) const {
    std::vector<StoredEntry> merged;
    const auto find = [&merged](const std::string& path) {
        return std::find_if(merged.begin(), merged.end(),
                            [&path](const StoredEntry& e) { return e.Path == path; });
    };
    // As AddItem takes them: at the bottom, or a new name for the one already there.
    const auto add = [&](const StoredEntry& entry) {
        const std::string path = TakenPath(entry.Path, entry.Name);
        if (path.empty()) return;
        const auto found = find(path);
        if (found != merged.end()) {
            found->Name = entry.Name;
        } else {
            merged.push_back(StoredEntry{path, entry.Name});
        }
    };
    for (const StoredEntry& entry : stored)
        add(entry);
    for (const Change& change : changes_) {
        if (change.Added) {
            add(change.Entry);
        } else if (const auto found = find(change.Entry.Path); found != merged.end()) {
            merged.erase(found);
        }
    }
    return merged;
}

} // namespace nv
