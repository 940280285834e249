// The two menu-backed lists of file names: the recent-files list (THistoryList) at the end of the
// File menu and the favorites (TBookmarks) that fill the Favorites menu. Their common base keeps
// the stored form: under HKEY_CURRENT_USER "\Software\" + RegPath + "\" + RegKey, the values
// "File<n>" (the path) and "Name<n>" (the caption) for n = 0, 1, ... with entry 0 on top.
//
// The properties are meant to be set as the main window's design sets them, RegPath, RegKey,
// BaseMenu, OnClick and then the list's last property (MaxItems, FileBookmarks), whose first
// assignment loads the stored entries.
//
// Several instances of the program share the stored lists. Each list keeps what this session did to
// it (additions, moves, deletions) and saves the list stored by then with those changes applied, so
// one instance closing never erases what another added or kept.
#pragma once

#include "base/Events.h"
#include "base/Storage.h"
#include "lists/MenuItem.h"

#include <functional>
#include <string>
#include <vector>

namespace nv {

enum class TPathKind { pkNone, pkFile, pkDirectory };
// Tells what a path names on disk.
using TPathProbe = std::function<TPathKind(const std::string& path)>;

// OnClick of both lists: the full path of the chosen entry.
using TMenuNotify = std::function<void(TObject* Sender, std::string Filename)>;

class TDynamicMenuBase : public TObject {
public:
    static constexpr const char* kDefaultRegPath = "Company\\Program Name";

    TDynamicMenuBase(Storage& storage, TPathProbe probe, std::string regKey);
    TDynamicMenuBase(const TDynamicMenuBase&) = delete;
    TDynamicMenuBase& operator=(const TDynamicMenuBase&) = delete;

    const std::string& RegPath() const { return regPath_; }
    void SetRegPath(const std::string& value);
    const std::string& RegKey() const { return regKey_; }
    void SetRegKey(const std::string& value);
    MenuItem* BaseMenu() const { return baseMenu_; }
    // Taken only while none is set; later assignments are ignored.
    virtual void SetBaseMenu(MenuItem* menu);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value);
    TMenuNotify OnClick;

    virtual int ItemCount() const = 0;
    // The menu item of entry i (0 is the top one); null when there is no such entry.
    MenuItem* EntryItem(int i) const;
    std::string ListKeyPath() const;

    void LoadFromRegistry();
    // Writes the stored list with this session's changes, and deletes the stored values beyond it.
    // A list that never held an entry leaves what is stored.
    void SaveToRegistry();

    // The click handler of every entry.
    void ItemClick(MenuItem& item);

    struct StoredEntry {
        std::string Path, Name;
    };
    // The stored entries, entry 0 first, as this list would take them (what no longer exists is left
    // out, as when loading), with this session's changes applied in the order they were made.
    virtual std::vector<StoredEntry> MergedWith(const std::vector<StoredEntry>& stored) const = 0;

protected:
    virtual bool CanLoad() const = 0;
    // Takes the entries read from the registry, entry 0 first.
    virtual void AddStoredEntries(const std::vector<StoredEntry>& entries) = 0;
    // The changes are in the store: from now on only later ones count.
    virtual void ForgetChanges() = 0;
    bool StorageNamed() const;
    // True while the stored entries are being taken, which are no change of this session's.
    bool Loading() const { return loading_; }
    MenuItem& NewEntry(int index, const std::string& caption, const std::string& hint);

    Storage& storage_;
    TPathProbe probe_;
    MenuItem* baseMenu_ = nullptr;
    int firstIndex_ = -1;
    bool heldEntries_ = false; // this session's list held an entry at some time
    bool storeNames_ = true;

private:
    std::vector<StoredEntry> ReadStored(const StorageKey& key) const;

    std::string regPath_ = kDefaultRegPath;
    std::string regKey_;
    int helpContext_ = 0;
    bool loading_ = false;
};

class THistoryList : public TDynamicMenuBase {
public:
    THistoryList(Storage& storage, TPathProbe probe);

    int MaxItems() const { return maxItems_; }
    // Values of 0 and below are ignored; a smaller value drops the oldest entries.
    void SetMaxItems(int value);
    bool Directories() const { return directories_; }
    void SetDirectories(bool value) { directories_ = value; }

    void SetBaseMenu(MenuItem* menu) override;
    int ItemCount() const override;
    // Puts an existing file (or directory, with Directories) on top of the list.
    void AddItem(const std::string& fileName);
    // Newest first, at most MaxItems: this session's entries on top, in the order it used them last.
    std::vector<StoredEntry> MergedWith(const std::vector<StoredEntry>& stored) const override;

protected:
    bool CanLoad() const override { return ready_; }
    void AddStoredEntries(const std::vector<StoredEntry>& entries) override;
    void ForgetChanges() override { used_.clear(); }

private:
    bool OnlyPlaceholder() const;
    bool Takes(const std::string& fileName) const;

    int maxItems_ = 4;
    bool directories_ = false;
    bool ready_ = false;
    std::vector<std::string> used_; // put on top by this session, the latest use last
};

// Fills in the bookmark to add and the caption to show for it.
using TOnGetBookmark = std::function<void(TObject* Sender, std::string& Bookmark, std::string& Name)>;

class TBookmarks : public TDynamicMenuBase {
public:
    TBookmarks(Storage& storage, TPathProbe probe);

    bool FileBookmarks() const { return fileBookmarks_; }
    void SetFileBookmarks(bool value);
    const TOnGetBookmark& OnGetBookmark() const { return onGetBookmark_; }
    // "&Add" is enabled exactly while a handler is assigned.
    void SetOnGetBookmark(TOnGetBookmark handler);
    int AddHelpContext() const { return addHelpContext_; }
    void SetAddHelpContext(int value);
    int DelHelpContext() const { return delHelpContext_; }
    void SetDelHelpContext(int value);

    // Lays out "&Add", a separator and "&Delete" in an empty base menu before taking it.
    void SetBaseMenu(MenuItem* menu) override;
    int ItemCount() const override;
    MenuItem* DeleteMenu() const { return deleteMenu_; }

    // Adds a favorite at the bottom, or renames the one with this path.
    void AddItem(const std::string& bookmark, const std::string& name);
    void AddClick();
    // Removes the favorite of a Delete-submenu item, and the item.
    void DeleteClick(MenuItem& item);
    // In the stored order; this session's additions at the bottom, its renames in place.
    std::vector<StoredEntry> MergedWith(const std::vector<StoredEntry>& stored) const override;

protected:
    bool CanLoad() const override { return ready_; }
    void AddStoredEntries(const std::vector<StoredEntry>& entries) override;
    void ForgetChanges() override { changes_.clear(); }

private:
    struct Change {
        bool Added; // else deleted
        StoredEntry Entry;
    };
    void ShowFavoriteFrame(bool visible);
    // The path as a favorite keeps it; empty when this list does not take the bookmark.
    std::string TakenPath(const std::string& bookmark, const std::string& name) const;
    std::vector<Change> changes_;

    bool fileBookmarks_ = false;
    bool ready_ = false;
    TOnGetBookmark onGetBookmark_;
    int addHelpContext_ = 0;
    int delHelpContext_ = 0;
    MenuItem* deleteMenu_ = nullptr;
};

} // namespace nv
