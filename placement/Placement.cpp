#include "placement/Placement.h"

#include "base/Errors.h"
#include "base/Handles.h"
#include "base/Platform.h"
#include "base/RegistryStorage.h"

#include <algorithm>

namespace nv {

namespace {

HKEY RootKey(TPlacementRegRoot root) {
    switch (root) {
    case prCurrentUser: return HKEY_CURRENT_USER;
    case prLocalMachine: return HKEY_LOCAL_MACHINE;
    case prCurrentConfig: return HKEY_CURRENT_CONFIG;
    case prClassesRoot: return HKEY_CLASSES_ROOT;
    case prUsers: return HKEY_USERS;
    case prDynData: return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

TPlaceRect FromRect(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}
RECT ToRect(const TPlaceRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The normal rectangle of a placement is in workspace coordinates: relative to the primary monitor's
// work area, except for tool windows.
POINT WorkspaceOrigin(HWND window) {
    if (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) return {0, 0};
    return {info.rcWork.left, info.rcWork.top};
}

// A rectangle stored while another screen was attached may lie where no monitor is now; it goes onto
// the nearest one instead of opening the window out of reach.
void KeepOnAMonitor(HWND window, RECT& normal) {
    const POINT origin = WorkspaceOrigin(window);
    RECT onScreen = normal;
    ::OffsetRect(&onScreen, origin.x, origin.y);
    if (::MonitorFromRect(&onScreen, MONITOR_DEFAULTTONULL)) return;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromRect(&onScreen, MONITOR_DEFAULTTONEAREST), &info)) return;
    RECT moved = ToRect(MoveInto(FromRect(onScreen), FromRect(info.rcWork)));
    ::OffsetRect(&moved, -origin.x, -origin.y);
    normal = moved;
}

// The storage of one save or restore: the given store, or the registry below `root`. It is closed
// again when the scope ends, on every path.
class StorageScope {
public:
    StorageScope(std::unique_ptr<TIniSections>& slot, Storage* store, HKEY root, const std::string& path)
        : slot_(slot), registry_(root) {
        slot_ = std::make_unique<TIniSections>(store ? *store : registry_, path);
    }
    ~StorageScope() { slot_.reset(); }
    StorageScope(const StorageScope&) = delete;
    StorageScope& operator=(const StorageScope&) = delete;

private:
    std::unique_ptr<TIniSections>& slot_;
    RegistryStorage registry_;
};

} // namespace

// ---- TIniLink ------------------------------------------------------------------------------------

TIniLink::~TIniLink() { SetStorage(nullptr); }

void TIniLink::SetStorage(TFormPlacement* value) {
    if (value == storage_) return;
    if (storage_) storage_->RemoveLink(this);
    storage_ = value;
    if (storage_) storage_->AddLink(this);
}

TIniSections* TIniLink::IniObject() const { return storage_ ? storage_->IniObject() : nullptr; }

std::string TIniLink::RootSection() const {
    if (!storage_ || storage_->IniSection.empty()) return std::string();
    return storage_->IniSection + "\\";
}

// ---- TFormPlacement ------------------------------------------------------------------------------

TFormPlacement::~TFormPlacement() {
    Detach();
    for (TIniLink* link : links_)
        link->storage_ = nullptr;
}

void TFormPlacement::AddLink(TIniLink* link) { links_.push_back(link); }

void TFormPlacement::RemoveLink(TIniLink* link) noexcept {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TFormPlacement::Attach(const TFormEventSlots& slots) {
    Detach();
    slots_ = slots;
    if (slots_.OnShow) {
        savedShow_ = *slots_.OnShow;
        *slots_.OnShow = [this](TObject* sender) { FormShow(sender); };
    }
    if (slots_.OnCloseQuery) {
        savedCloseQuery_ = *slots_.OnCloseQuery;
        *slots_.OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    }
    if (slots_.OnDestroy) {
        savedDestroy_ = *slots_.OnDestroy;
        *slots_.OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
    }
    attached_ = true;
}

void TFormPlacement::Detach() noexcept {
    if (!attached_) return;
    if (slots_.OnShow) *slots_.OnShow = std::move(savedShow_);
    if (slots_.OnCloseQuery) *slots_.OnCloseQuery = std::move(savedCloseQuery_);
    if (slots_.OnDestroy) *slots_.OnDestroy = std::move(savedDestroy_);
    slots_ = TFormEventSlots{};
    attached_ = false;
}

std::string TFormPlacement::SectionName() const {
    if (!IniSection.empty()) return IniSection;
    char className[256] = {};
    if (slots_.Window) ::GetClassNameA(slots_.Window, className, sizeof className);
    return DefaultSectionName(slots_.Window ? TComponentKind::Window : TComponentKind::None, className, "");
}

void TFormPlacement::ShowError(const std::exception& error) const { ShowGeneralError(slots_.Window, error); }

void TFormPlacement::FormShow(TObject* Sender) {
    // Showing the window maximized from inside its own show may announce the show once more.
    if (inShow_) return;
    inShow_ = true;
    try {
        RestoreFormPlacement();
    } catch (const std::exception& e) {
        ShowError(e);
    }
    inShow_ = false;
    Raise(savedShow_, Sender);
}

void TFormPlacement::FormCloseQuery(TObject* Sender, bool& CanClose) {
    Raise(savedCloseQuery_, Sender, CanClose);
    if (!CanClose || !Active || !slots_.Window || !::IsWindow(slots_.Window)) return;
    try {
        SaveFormPlacement();
    } catch (const std::exception& e) {
        ShowError(e);
    }
}

void TFormPlacement::FormDestroy(TObject* Sender) {
    if (Active && !saved_) {
        destroying_ = true;
        try {
            SaveFormPlacement();
        } catch (const std::exception& e) {
            ShowError(e);
        }
        destroying_ = false;
    }
    Raise(savedDestroy_, Sender);
}

void TFormPlacement::RestoreFormPlacement() {
    if (!Active || !slots_.Window) return;
    saved_ = false;
    {
        StorageScope scope(storage_, Store, RootKey(RegistryRoot), IniFileName);
        const std::string section = SectionName();
        if (storage_->ReadInteger(section, "FormVersion", 0) >= Version) {
            RestoreWindowValues(*storage_, section);
            const std::vector<TIniLink*> links = links_; // a client may unlink itself while it loads
            for (TIniLink* link : links)
                Raise(link->OnLoad, link);
            restored_ = true;
            Raise(OnRestorePlacement, this);
        }
        restored_ = true;
    }
    AdjustMaximizedPosition();
}

void TFormPlacement::SaveFormPlacement() {
    if (!restored_ && Active) return; // nothing was read yet: saving would overwrite the stored values
    if (!slots_.Window) return;
    StorageScope scope(storage_, Store, RootKey(RegistryRoot), IniFileName);
    const std::string section = SectionName();
    storage_->WriteInteger(section, "FormVersion", Version);
    SaveWindowValues(*storage_, section);
    storage_->WriteBool(section, "Visible", destroying_);
    const std::vector<TIniLink*> links = links_;
    for (TIniLink* link : links)
        Raise(link->OnSave, link);
    Raise(OnSavePlacement, this);
    saved_ = true;
}

void TFormPlacement::RestoreWindowValues(TIniSections& storage, const std::string& section) {
    HWND window = slots_.Window;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!::GetWindowPlacement(window, &wp)) return;
    if (!::IsWindowVisible(window)) wp.showCmd = SW_HIDE; // applying it must not show the window

    if (Options & fpPosition) {
        wp.flags = static_cast<UINT>(storage.ReadInteger(section, "Flags", static_cast<int>(wp.flags)));
        const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN),
                  screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
        auto readList = [&](const char* name) {
            std::string text =
                storage.ReadString(section, ResolutionName(name, screenWidth, screenHeight), "");
            if (text.empty()) text = storage.ReadString(section, name, "");
            return text;
        };
        const std::string minMax = readList("MinMaxPos");
        if (!minMax.empty()) {
            const auto words = SplitWords(minMax);
            wp.ptMinPosition = {WordAsInteger(words, 1, 0), WordAsInteger(words, 2, 0)};
            wp.ptMaxPosition = {WordAsInteger(words, 3, 0), WordAsInteger(words, 4, 0)};
        }
        const std::string normal = readList("NormPos");
        if (!normal.empty()) {
            const auto words = SplitWords(normal);
            const RECT current = wp.rcNormalPosition;
            wp.rcNormalPosition = {
                WordAsInteger(words, 1, current.left), WordAsInteger(words, 2, current.top),
                WordAsInteger(words, 3, current.right), WordAsInteger(words, 4, current.bottom)};
            if (!(::GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME)) {
                // A window the user cannot size keeps its own size at the stored place.
                wp.rcNormalPosition.right = wp.rcNormalPosition.left + (current.right - current.left);
                wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + (current.bottom - current.top);
            }
        }
        const int screenPpi = ScreenPixelsPerInch();
        if ((!minMax.empty() || !normal.empty()) &&
            storage.ReadInteger(section, "PixelsPerInch", screenPpi) == screenPpi &&
            wp.rcNormalPosition.left < wp.rcNormalPosition.right) {
            KeepOnAMonitor(window, wp.rcNormalPosition);
            ::SetWindowPlacement(window, &wp);
        }
    }

    if (Options & fpState) {
        TWindowState state = wsNormal;
        WindowStateOf(storage.ReadInteger(section, "ShowCmd", 0), state);
        if (state == wsMinimized && slots_.MainWindow) {
            // The program starts minimized: the window first shows as it was, then goes to the taskbar.
            SetWindowState(wsNormal);
            ::PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        SetWindowState(state == wsMaximized ? wsMaximized : wsNormal);
    }
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
}

void TFormPlacement::SetWindowState(TWindowState state) {
    HWND window = slots_.Window;
    const bool visible = ::IsWindowVisible(window) != FALSE;
    if (state == wsMaximized) {
        if (::IsZoomed(window)) return;
        // Restoring belongs to the window's show: a maximized window is shown maximized at once.
        if (visible || inShow_) ::ShowWindow(window, visible ? SW_MAXIMIZE : SW_SHOWMAXIMIZED);
    } else if (visible && (::IsZoomed(window) || ::IsIconic(window))) {
        ::ShowWindow(window, SW_RESTORE);
    }
}

void TFormPlacement::AdjustMaximizedPosition() {
    HWND window = slots_.Window;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!::GetWindowPlacement(window, &wp)) return;
    if (!::IsWindowVisible(window)) wp.showCmd = SW_HIDE;
    // A maximized window puts its sizing frame just outside the screen.
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    if (style & WS_THICKFRAME) {
        wp.ptMaxPosition = {-::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME)};
    } else if ((style & WS_CAPTION) == WS_DLGFRAME ||
               (::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME)) {
        wp.ptMaxPosition = {-::GetSystemMetrics(SM_CXDLGFRAME), -::GetSystemMetrics(SM_CYDLGFRAME)};
    } else if (style & WS_BORDER) {
        wp.ptMaxPosition = {-::GetSystemMetrics(SM_CXBORDER), -::GetSystemMetrics(SM_CYBORDER)};
    } else {
        wp.ptMaxPosition = {0, 0};
    }
    ::SetWindowPlacement(window, &wp);
}

void TFormPlacement::SaveWindowValues(TIniSections& storage, const std::string& section) {
    HWND window = slots_.Window;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!::GetWindowPlacement(window, &wp)) return;
    if (slots_.MainWindow && ::IsIconic(window)) wp.showCmd = SW_SHOWMINIMIZED;
    storage.WriteInteger(section, "Flags", static_cast<int>(wp.flags));
    storage.WriteInteger(section, "ShowCmd", static_cast<int>(wp.showCmd));
    storage.WriteInteger(section, "PixelsPerInch", ScreenPixelsPerInch());
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN), screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const std::string minMax =
        FormatNumberList(wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y);
    storage.WriteString(section, ResolutionName("MinMaxPos", screenWidth, screenHeight), minMax);
    storage.WriteString(section, "MinMaxPos", minMax);
    const RECT& r = wp.rcNormalPosition;
    const std::string normal = FormatNumberList(r.left, r.top, r.right, r.bottom);
    storage.WriteString(section, ResolutionName("NormPos", screenWidth, screenHeight), normal);
    storage.WriteString(section, "NormPos", normal);
}

} // namespace nv
