#include "widgets/ItemProp.h"

#include "base/ComPtr.h"
#include "base/Handles.h"
#include "base/Paths.h"
#include "base/ScopeExit.h"
#include "base/Unicode.h"
#include "base/Window.h"
#include "widgets/ShellRules.h"

#include <ole2.h>
#include <shlobj.h>

#include <memory>
#include <vector>

namespace nv {

namespace {

struct ItemIdTraits {
    using Type = LPITEMIDLIST;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CoTaskMemFree(h); }
};
using ItemId = UniqueHandle<ItemIdTraits>;

struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
using FindHandle = UniqueHandle<FindTraits>;

ItemId Parse(IShellFolder* folder, HWND owner, const std::string& name) {
    std::wstring wide = Wide(name);
    LPITEMIDLIST id = nullptr;
    if (FAILED(folder->ParseDisplayName(owner, nullptr, wide.data(), nullptr, &id, nullptr))) return ItemId();
    return ItemId(id);
}

// OLE for the shell's verbs (Copy and Cut go through the OLE clipboard), once per use.
class OleScope {
public:
    OleScope() : initialized_(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleScope() {
        if (initialized_) ::OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool initialized_;
};

// The menu's owner while it shows, when the shell draws parts of the menu itself: the messages about
// owner-drawn items and opening submenus go back to the shell's menu.
class TMenuCallbackHelper : public WindowBase {
public:
    TMenuCallbackHelper(HWND owner, IContextMenu2* menu2, IContextMenu3* menu3) : menu2_(menu2), menu3_(menu3) {
        RegisterClassOnce("ItemPropMenuCallbackHelper", 0, nullptr);
        Create("ItemPropMenuCallbackHelper", "ItemPropCallbackProcessor", WS_POPUP, 0, 0, 0, 0, 0, owner,
               nullptr);
    }
    ~TMenuCallbackHelper() override { Destroy(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_INITMENUPOPUP: {
            LRESULT result = 0;
            if (menu3_) {
                menu3_->HandleMenuMsg2(msg, wParam, lParam, &result);
            } else if (menu2_) {
                menu2_->HandleMenuMsg(msg, wParam, lParam);
            }
            return msg == WM_INITMENUPOPUP ? 0 : TRUE;
        }
        default: break;
        }
        return Default(msg, wParam, lParam);
    }

private:
    IContextMenu2* menu2_;
    IContextMenu3* menu3_;
};

} // namespace

TShellMenuResult ShowShellContextMenu(const std::string& path, HWND owner, POINT at) {
    TShellMenuResult result;
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    ScopeExit restoreCursor([previous] { ::SetCursor(previous); });
    OleScope ole;

    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.put()))) return result;
    const std::string folderPath = ExtractFilePath(path), name = ExtractFileName(path);
    ComPtr<IShellFolder> folder;
    if (folderPath.empty()) {
        desktop->QueryInterface(IID_IShellFolder, folder.putVoid());
    } else {
        const ItemId folderId = Parse(desktop.get(), owner, folderPath);
        if (!folderId ||
            FAILED(desktop->BindToObject(folderId.get(), nullptr, IID_IShellFolder, folder.putVoid()))) {
            return result;
        }
    }
    if (!folder) return result;

    std::vector<ItemId> items;
    if (HasWildcards(name)) {
        WIN32_FIND_DATAW found{};
        FindHandle search(::FindFirstFileW(Wide(path).c_str(), &found));
        for (bool more = static_cast<bool>(search); more;
             more = ::FindNextFileW(search.get(), &found) != FALSE) {
            const std::string match = Utf8(std::wstring(found.cFileName));
            if (match == "." || match == "..") continue;
            if (ItemId id = Parse(folder.get(), owner, match)) items.push_back(std::move(id));
        }
    } else if (ItemId id = Parse(folder.get(), owner, name)) {
        items.push_back(std::move(id));
    } else {
        // Not a name of that folder: the whole path, in the desktop's first folder (the computer).
        ComPtr<IEnumIDList> children;
        LPITEMIDLIST first = nullptr;
        if (SUCCEEDED(desktop->EnumObjects(owner, SHCONTF_FOLDERS, children.put())) && children &&
            children->Next(1, &first, nullptr) == S_OK) {
            const ItemId firstId(first);
            ComPtr<IShellFolder> computer;
            if (SUCCEEDED(
                    desktop->BindToObject(firstId.get(), nullptr, IID_IShellFolder, computer.putVoid()))) {
                if (ItemId whole = Parse(computer.get(), owner, path)) {
                    folder = std::move(computer);
                    items.push_back(std::move(whole));
                }
            }
        }
    }
    if (items.empty()) return result;
    result.Items = static_cast<int>(items.size());

    std::vector<LPCITEMIDLIST> ids;
    ids.reserve(items.size());
    for (const ItemId& id : items) ids.push_back(id.get());
    ComPtr<IContextMenu> menu;
    if (FAILED(folder->GetUIObjectOf(owner, static_cast<UINT>(ids.size()), ids.data(), IID_IContextMenu,
                                     nullptr, menu.putVoid())) ||
        !menu) {
        return result;
    }
    const ComPtr<IContextMenu3> menu3 = menu.As<IContextMenu3>(IID_IContextMenu3);
    const ComPtr<IContextMenu2> menu2 =
        menu3 ? ComPtr<IContextMenu2>() : menu.As<IContextMenu2>(IID_IContextMenu2);
    std::unique_ptr<TMenuCallbackHelper> helper;
    if (menu2 || menu3) helper = std::make_unique<TMenuCallbackHelper>(owner, menu2.get(), menu3.get());

    Menu popup(::CreatePopupMenu());
    if (!popup || FAILED(menu->QueryContextMenu(popup.get(), 0, 1, 0x7FFF, CMF_EXPLORE))) return result;
    result.MenuItems = ::GetMenuItemCount(popup.get());
    result.Shown = true;
    const HWND menuOwner = helper && helper->Handle() ? helper->Handle() : owner;
    result.Command = static_cast<int>(
        ::TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, menuOwner, nullptr));
    if (result.Command > 0) {
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.hwnd = owner;
        invoke.lpVerb = MAKEINTRESOURCEA(result.Command - 1);
        invoke.nShow = SW_SHOWNORMAL;
        menu->InvokeCommand(&invoke);
    }
    return result;
}

} // namespace nv
