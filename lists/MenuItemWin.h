// The lists' menu items over Win32 menus, and the file-system probe the lists check paths with.
//
// The items form a tree that mirrors the menus: a hidden item is taken out of its menu and put
// back at its place when shown again, and an item gets a popup of its own with its first child.
// Items the lists make get command ids from MenuCommands, which the window that owns the menu
// asks for the click of an id it does not know itself.
#pragma once

#include "base/Handles.h"
#include "lists/HistoryList.h"
#include "lists/MenuItem.h"

#include <map>
#include <memory>
#include <vector>

namespace nv {

class Win32MenuItem;

class MenuCommands {
public:
    static constexpr UINT kFirstId = 0x6000;
    static constexpr UINT kLastId = 0x7FFF;

    MenuCommands() = default;
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    UINT Allocate(Win32MenuItem& item);
    void Release(UINT id) noexcept;
    // Runs the click of the item with this id; false when it is none of these items.
    bool Dispatch(UINT id);

private:
    std::map<UINT, Win32MenuItem*> items_;
    UINT next_ = kFirstId;
};

class Win32MenuItem final : public MenuItem {
public:
    // Stands for an existing popup (a menu of the menu bar): the items it already holds become
    // its first children. The popup stays its menu's.
    Win32MenuItem(HMENU popup, MenuCommands& commands);
    ~Win32MenuItem() override;

    int Count() const override { return static_cast<int>(children_.size()); }
    MenuItem& Item(int index) override;
    MenuItem& Insert(int index) override;
    void Delete(int index) override;

    std::string Caption() const override { return caption_; }
    void SetCaption(const std::string& caption) override;
    std::string Hint() const override { return hint_; }
    void SetHint(const std::string& hint) override { hint_ = hint; }
    bool Enabled() const override { return (state_ & MFS_GRAYED) == 0; }
    void SetEnabled(bool enabled) override;
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override;
    int HelpContext() const override { return helpContext_; }
    void SetHelpContext(int context) override { helpContext_ = context; }
    void SetOnClick(ClickHandler handler) override { onClick_ = std::move(handler); }

    // The popup this item opens (null while it has never had children) and its command id.
    HMENU Popup() const noexcept { return popup_; }
    UINT CommandId() const noexcept { return id_; }

private:
    friend class MenuCommands;
    struct Child {};
    Win32MenuItem(Child, Win32MenuItem& parent, MenuCommands& commands);
    void AdoptItems();
    HMENU EnsurePopup();
    int MenuPosition() const; // among the visible items of the parent's popup
    void Attach();
    void Detach();
    void UpdateInMenu(UINT mask);
    // The captions are UTF-8 here and wide in the menu; `caption` holds the wide one for the call.
    MENUITEMINFOW Describe(UINT mask, std::wstring& caption) const;
    bool IsSeparator() const { return caption_ == "-"; }

    Win32MenuItem* parent_ = nullptr;
    MenuCommands& commands_;
    UINT id_ = 0;
    bool ownsId_ = false;
    HMENU popup_ = nullptr;
    Menu detachedPopup_; // holds the popup while the item is out of its parent's menu
    std::vector<std::unique_ptr<Win32MenuItem>> children_;
    std::string caption_;
    std::string hint_;
    UINT type_ = MFT_STRING;
    UINT state_ = 0;
    bool visible_ = true;
    int helpContext_ = 0;
    ClickHandler onClick_;
};

// What a path names on disk, by its attributes.
TPathKind FileSystemPathKind(const std::string& path);

} // namespace nv
