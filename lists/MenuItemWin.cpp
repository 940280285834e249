#include "lists/MenuItemWin.h"

#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Unicode.h"

namespace nv {

// ---- MenuCommands -------------------------------------------------------------------------------

UINT MenuCommands::Allocate(Win32MenuItem& item) {
    const UINT span = kLastId - kFirstId + 1;
    for (UINT tried = 0; tried < span; ++tried) {
        const UINT id = next_;
        next_ = next_ == kLastId ? kFirstId : next_ + 1;
        if (items_.emplace(id, &item).second) return id;
    }
    throw EError("Too many menu items");
}

void MenuCommands::Release(UINT id) noexcept {
    items_.erase(id);
}

bool MenuCommands::Dispatch(UINT id) {
    auto found = items_.find(id);
    if (found == items_.end()) return false;
    Win32MenuItem& item = *found->second;
    // The handler may delete its item: run a copy.
    MenuItem::ClickHandler handler = item.onClick_;
    if (handler) handler(item);
    return true;
}

// ---- Win32MenuItem ------------------------------------------------------------------------------

Win32MenuItem::Win32MenuItem(HMENU popup, MenuCommands& commands) : commands_(commands), popup_(popup) {
    AdoptItems();
}

Win32MenuItem::Win32MenuItem(Child, Win32MenuItem& parent, MenuCommands& commands)
    : parent_(&parent), commands_(commands) {
}

Win32MenuItem::~Win32MenuItem() {
    children_.clear(); // they release their ids while the commands still know them
    if (ownsId_) commands_.Release(id_);
}

// The items a resource menu already holds, as children that the lists can count and move past.
void Win32MenuItem::AdoptItems() {
    const int count = ::GetMenuItemCount(popup_);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        if (!::GetMenuItemInfoW(popup_, static_cast<UINT>(position), TRUE, &info)) continue;
        std::string text;
        if (info.cch > 0) {
            info.cch += 1;
            std::vector<wchar_t> buffer(info.cch);
            info.dwTypeData = buffer.data();
            ::GetMenuItemInfoW(popup_, static_cast<UINT>(position), TRUE, &info);
            text = Utf8(std::wstring(buffer.data()));
        }
        auto child = std::unique_ptr<Win32MenuItem>(new Win32MenuItem(Child{}, *this, commands_));
        child->id_ = info.wID;
        child->type_ = info.fType;
        child->state_ = info.fState;
        child->caption_ = (info.fType & MFT_SEPARATOR) ? std::string("-") : text;
        child->popup_ = info.hSubMenu;
        if (child->popup_) child->AdoptItems();
        children_.push_back(std::move(child));
    }
}

MenuItem& Win32MenuItem::Item(int index) {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return *children_[static_cast<size_t>(index)];
}

MenuItem& Win32MenuItem::Insert(int index) {
    if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", index));
    EnsurePopup();
    auto child = std::unique_ptr<Win32MenuItem>(new Win32MenuItem(Child{}, *this, commands_));
    child->id_ = commands_.Allocate(*child);
    child->ownsId_ = true;
    Win32MenuItem& added = *child;
    children_.insert(children_.begin() + index, std::move(child));
    try {
        added.Attach();
    } catch (...) {
        children_.erase(children_.begin() + index);
        throw;
    }
    return added;
}

void Win32MenuItem::Delete(int index) {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    Win32MenuItem& child = *children_[static_cast<size_t>(index)];
    if (child.visible_) child.Detach(); // its popup goes with it
    children_.erase(children_.begin() + index);
}

HMENU Win32MenuItem::EnsurePopup() {
    if (popup_) return popup_;
    Menu popup(::CreatePopupMenu());
    if (!popup) throw EError("Out of system resources");
    popup_ = popup.get();
    if (parent_ && visible_) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = popup_;
        if (::SetMenuItemInfoW(parent_->popup_, static_cast<UINT>(MenuPosition()), TRUE, &info)) {
            popup.release(); // the parent's menu owns it now
            return popup_;
        }
    }
    detachedPopup_ = std::move(popup);
    return popup_;
}

int Win32MenuItem::MenuPosition() const {
    int position = 0;
    for (const auto& sibling : parent_->children_) {
        if (sibling.get() == this) break;
        if (sibling->visible_) ++position;
    }
    return position;
}

MENUITEMINFOW Win32MenuItem::Describe(UINT mask, std::wstring& caption) const {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    info.fType = IsSeparator() ? (type_ | MFT_SEPARATOR) : (type_ & ~static_cast<UINT>(MFT_SEPARATOR));
    info.fState = state_;
    info.wID = id_;
    info.hSubMenu = popup_;
    if (!IsSeparator() && (mask & MIIM_STRING)) {
        caption = Wide(caption_);
        info.dwTypeData = caption.data();
        info.cch = static_cast<UINT>(caption.size());
    } else {
        info.fMask &= ~static_cast<UINT>(MIIM_STRING);
    }
    return info;
}

void Win32MenuItem::Attach() {
    std::wstring caption;
    MENUITEMINFOW info = Describe(MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING, caption);
    if (!::InsertMenuItemW(parent_->popup_, static_cast<UINT>(MenuPosition()), TRUE, &info)) {
        throw EError("Out of system resources");
    }
    detachedPopup_.release(); // the parent's menu owns the popup now
}

void Win32MenuItem::Detach() {
    // RemoveMenu leaves the popup alive; it is this item's again until the item goes back.
    ::RemoveMenu(parent_->popup_, static_cast<UINT>(MenuPosition()), MF_BYPOSITION);
    if (popup_) detachedPopup_.reset(popup_);
}

void Win32MenuItem::UpdateInMenu(UINT mask) {
    if (!parent_ || !visible_) return;
    std::wstring caption;
    MENUITEMINFOW info = Describe(mask, caption);
    ::SetMenuItemInfoW(parent_->popup_, static_cast<UINT>(MenuPosition()), TRUE, &info);
}

void Win32MenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    UpdateInMenu(MIIM_FTYPE | MIIM_STRING);
}

void Win32MenuItem::SetEnabled(bool enabled) {
    state_ = enabled ? (state_ & ~static_cast<UINT>(MFS_GRAYED)) : (state_ | MFS_GRAYED);
    UpdateInMenu(MIIM_STATE);
}

void Win32MenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!parent_) {
        visible_ = visible;
        return;
    }
    if (visible) {
        visible_ = true;
        Attach();
    } else {
        Detach();
        visible_ = false;
    }
}

// ---- File system --------------------------------------------------------------------------------

TPathKind FileSystemPathKind(const std::string& path) {
    const DWORD attributes = FileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return TPathKind::pkNone;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TPathKind::pkDirectory : TPathKind::pkFile;
}

} // namespace nv
