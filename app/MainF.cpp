#include "app/MainF.h"

#include "app/DocumentRules.h"
#include "app/GotoLineF.h"
#include "app/Texts.h"
#include "base/Application.h"
#include "base/Dpi.h"
#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Platform.h"
#include "base/ScopeExit.h"
#include "base/Unicode.h"
#include "forms/resource.h"
#include "toolbar/SpeedBarSetup.h"
#include "widgets/ClipMon.h"
#include "widgets/Fonts.h"

#include <shellapi.h>

#include <algorithm>

namespace nv {

namespace {
constexpr int kTextFieldId = 100;
// The window's design: its place on the screen and its size at 96 DPI, frame included.
constexpr int kDesignLeft = 237, kDesignTop = 152, kDesignWidth = 500, kDesignHeight = 423;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

TFont TextFieldDesignFont() {
    TFont font;
    font.Name = "Fixedsys";
    font.Height = -12;
    font.Style = fsBold;
    font.Charset = ANSI_CHARSET;
    font.Color = clWindowText;
    return font;
}

// A menu item as the sender of its command.
class TMenuItem : public TObject {};
TMenuItem gMenuSender;
} // namespace

TForm1::TForm1() {
    RegisterClassOnce("TForm1", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    Create("TForm1", "Notova", kStyle, 0, kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight, nullptr, nullptr);
    if (!Handle()) throw EError("Error creating window");
    dpi_ = WindowDpi(Handle());
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    mainMenu_ = ::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINMENU));
    // The separator above Exit is a disabled item of its own; resource menus give separators no id.
    HMENU fileMenu = ::GetSubMenu(mainMenu_, 0);
    ::ModifyMenuA(fileMenu, ::GetMenuItemCount(fileMenu) - 2, MF_BYPOSITION | MF_SEPARATOR | MF_GRAYED, IDM_N5,
                  nullptr);
    ::SetMenu(Handle(), mainMenu_);
    if (dpi_ != kDesignDpi) {
        // The design's client area scaled, in the frame of this DPI.
        const SIZE design = ClientSizeForWindow(kDesignWidth, kDesignHeight, kStyle, true, 0, kDesignDpi);
        const SIZE size = WindowSizeForClient(Scaled(design.cx), Scaled(design.cy), kStyle, true, 0, dpi_);
        ::SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    textFieldPopupMenu_.reset(::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TEXTFIELDPOPUP)));
    toolbarPopupMenu_.reset(::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TOOLBARPOPUP)));
    accelerators_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    CreateMenus();
    TickCount = [] { return static_cast<unsigned long>(::GetTickCount()); };
    CreateComponents();
    CreateLists();
    BindCommands();
    CreatePlacement();
    created_ = true;
    OnSize();
}

TForm1::~TForm1() {
    // The children go with the window while their owners are still alive.
    quitOnDestroy_ = false;
    GotoLineWindow.reset();
    TextField.OnChange = nullptr;
    TextField.OnSelectionChange = nullptr;
    ClipboardMonitor.reset();
    Destroy();
}

void TForm1::CreateComponents() {
    CreateSpeedBar();
    TextField.SetPixelsPerInch(dpi_);
    TextField.SetPlainText(true);
    TextField.SetStreamFormat(TStreamFormat::sfPlainText);
    TextField.SetUndoLimit(10);
    TextField.SetHideSelection(false);
    TextField.SetWordWrap(false);
    TextField.SetWordSelection(false);
    TextField.SetAutoURLDetect(false);
    TextField.CreateWnd(Handle(), RECT{0, 0, 0, 0}, kTextFieldId);
    TextField.SetFont(FontAtDpi(TextFieldDesignFont(), dpi_));
    TextField.OnSelectionChange = [this](TObject* sender) { TextFieldSelectionChange(sender); };
    TextField.OnContextPopup = [this](TObject*, POINT at) { ShowTextFieldPopup(at); };
    const auto refuse = [this](int message) {
        return [this, message](TObject*, const TextMemoryNeed& need) {
            Ask(Handle(),
                Format(LoadText(message).c_str(), {std::to_string(need.NeededMB()), std::to_string(need.FreeMB())}),
                MB_OK | MB_ICONWARNING);
        };
    };
    TextField.OnPasteTooLarge = refuse(IDS_TOOLARGETOPASTE);
    TextField.OnReplaceTooLarge = refuse(IDS_TOOLARGETOREPLACE);

    CreateStatusBar();
    CreateASCIIChart();

    OpenDialog.Filter = "Text files(*.txt)|*.txt|All files(*.*)|*.*|Web(*.htm;*.html;*.shtml)|*.htm;*.shtml;*.html";
    OpenDialog.Options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    SaveDialog.Filter = "Text files(*.txt)|*.txt";
    SaveDialog.Options = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
}

void TForm1::Bind(int id, void (TForm1::*handler)(TObject*)) {
    commands_[id] = [this, handler](TObject* sender) { (this->*handler)(sender); };
}

void TForm1::BindCommands() {
    Bind(IDM_NEW, &TForm1::NewBtnClick);
    Bind(IDM_OPEN, &TForm1::OpenBtnClick);
    Bind(IDM_SAVE, &TForm1::SaveBtnClick);
    Bind(IDM_SAVEAS, &TForm1::Saveas1Click);
    Bind(IDM_SAVESELECTED, &TForm1::SaveSelected1Click);
    Bind(IDM_EXIT, &TForm1::Exit1Click);
    Bind(IDM_UNDO, &TForm1::Undo1Click);
    Bind(IDM_REDO, &TForm1::Redo1Click);
    Bind(IDM_CUT, &TForm1::Cut1Click);
    Bind(IDM_CUTPOP, &TForm1::Cut1Click);
    Bind(IDM_COPY, &TForm1::Copy1Click);
    Bind(IDM_COPYPOP, &TForm1::Copy1Click);
    Bind(IDM_PASTE, &TForm1::Paste1Click);
    Bind(IDM_PASTEPOP, &TForm1::Paste1Click);
    Bind(IDM_SELECTALL, &TForm1::SelectAll1Click);
    Bind(IDM_WORDWRAP, &TForm1::WordWrap1Click);
    Bind(IDM_DETECTURLS, &TForm1::DetectURLs1Click);
    Bind(IDM_NEWINSTANCE, &TForm1::NewInstance1Click);
    Bind(IDM_ALWAYSDROPTONEWINSTANCE, &TForm1::AlwaysDropToNewInstance1Click);
    Bind(IDM_AUTOSAVESETTINGS, &TForm1::AutoSaveSettings1Click);
    Bind(IDM_SAVESETTINGS, &TForm1::SaveSettings1Click);
    BindViewCommands();
    BindNavigateCommands();
    BindFindCommands();
}

// ---- Window messages -----------------------------------------------------------------------------

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    // A menu or a command acts on the state the earlier edits left: what waits is shown first.
    if ((msg == WM_INITMENUPOPUP || msg == WM_COMMAND) && reports_.Waiting()) ShowReports();
    if (NvMainMenu1.HandleMenuMessage(msg, wParam, lParam, reflected)) return reflected;
    // The text field's find and replace dialogs report to their owner, this window.
    if (msg >= 0xC000 && TextField.HandleFindMessage(msg, lParam)) return 0;
    switch (msg) {
    case WM_COMMAND:
        if (lParam != 0 && ReflectToChild(msg, wParam, lParam, reflected)) return reflected;
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
    case WM_DRAWITEM:
        if (ReflectToChild(msg, wParam, lParam, reflected)) return reflected;
        break;
    case WM_SIZE: OnSize(); return 0;
    case WM_TIMER:
        if (wParam == kReportTimerId) {
            ShowReports();
            return 0;
        }
        break;
    case WM_SHOWWINDOW:
        if (wParam) Raise(OnShow, this);
        break;
    case WM_SETFOCUS: TextField.TakeFocus(); return 0;
    case WM_SETCURSOR:
        if (hourglass_ && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
            return TRUE;
        }
        break;
    case WM_CLOSE: OnClose(); return 0;
    case WM_DROPFILES: FilesDropped(reinterpret_cast<HDROP>(wParam)); return 0;
    case kDpiChangedMessage: OnDpiChanged(DpiOfDpiChanged(wParam), reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_DESTROY:
        Raise(OnDestroy, this);
        if (quitOnDestroy_) ::PostQuitMessage(0);
        return 0;
    default: break;
    }
    return Default(msg, wParam, lParam);
}

void TForm1::OnCommand(int id) {
    auto command = commands_.find(id);
    if (command == commands_.end()) {
        listCommands_.Dispatch(static_cast<UINT>(id)); // the lists' entries; other items do nothing yet
        return;
    }
    command->second(&gMenuSender);
}

bool TForm1::TranslateAccelerator(MSG& msg) {
    if (Application().DialogMessage(msg)) return true;
    // The shortcuts are the main window's: keys typed in another window of the program (the
    // toolbar's customize window) stay there, so Alt+F4 closes that window, not the program.
    if (msg.hwnd != Handle() && !::IsChild(Handle(), msg.hwnd)) return false;
    return accelerators_ && ::TranslateAcceleratorA(Handle(), accelerators_, &msg) != 0;
}

void TForm1::OnClose() {
    bool canClose = true;
    Raise(OnCloseQuery, this, canClose);
    if (!canClose) return;
    bool action = true;
    FormClose(this, action);
    if (!action) return;
    quitOnDestroy_ = true;
    Destroy();
}

void TForm1::OnSize() {
    if (!created_) return; // sizes sent while the window itself is being made
    Realign();
    FormResize(this);
    // Wrapped lines move under the caret when the field's width changes: the position panel follows.
    if (TextField.WordWrap()) Report(PendingReports::kSelection, nullptr);
}

void TForm1::Realign() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    StatusBar.Realign();
    if (StatusBar.Visible()) client.bottom -= StatusBar.Height();
    if (client.bottom < client.top) client.bottom = client.top;
    // The chart keeps the right edge: a toolbar docked there too goes inside it.
    if (SpeedBar.Align() == alRight) {
        AlignASCIIChart(client);
        AlignSpeedBar(client);
    } else {
        AlignSpeedBar(client);
        AlignASCIIChart(client);
    }
    TextField.SetBounds(client);
}

void TForm1::ShowTextFieldPopup(POINT at) {
    TextFieldPopup.Popup(at.x, at.y);
}

void TForm1::SetHourglass(bool busy) {
    hourglass_ = busy;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (::WindowFromPoint(cursor) == Handle() || ::IsChild(Handle(), ::WindowFromPoint(cursor))) {
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(busy ? IDC_WAIT : IDC_ARROW)));
    }
}

void TForm1::BindTextFieldChange() {
    TextField.OnChange = [this](TObject* sender) { TextFieldChange(sender); };
}

void TForm1::DetachTextFieldChange() { TextField.OnChange = nullptr; }

// ---- Life cycle ----------------------------------------------------------------------------------

void TForm1::StartUp(const std::vector<std::string>& arguments) {
    SetHourglass(true);
    StartingUp = true;
    SizeCalcEnabled = true;
    ReadStoredFont();
    ReadStoredOptions();
    TextField.SetWordWrap(Checked(IDM_WORDWRAP));
    TextField.SetWordSelection(Checked(IDM_WORDSELECT));
    TextField.SetAutoURLDetect(Checked(IDM_DETECTURLS));
    TextField.SetSelectionBar(Checked(IDM_SELECTIONBAR));
    StatusBar.SetVisible(Checked(IDM_SHOWSTATUSBAR));
    SpeedBar.SetVisible(Checked(IDM_SHOWTOOLS));
    Realign();
    FontDialog.Font = TextField.Font();

    ClipboardMonitor = std::make_unique<TClipboardMonitor>(Handle());
    ClipboardMonitor->SetEnabled(true);
    ClipboardMonitor->OnChange = [this](TObject*) { UpdatePaste(); };
    FillASCIIChart();

    const std::string name = arguments.empty() || arguments.front().empty() ? std::string()
                                                                           : JoinArguments(arguments);
    const DWORD attributes =
        name.empty() ? INVALID_FILE_ATTRIBUTES : FileAttributes(FullPathName(name));
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::ShowWindow(Handle(), SW_SHOW);
        CurrentFile = name;
        // A file too large to open leaves the program untitled.
        if (!LoadFile()) NewBtnClick(nullptr);
    } else {
        NewBtnClick(nullptr);
    }
    BindTextFieldChange();
    StartingUp = false;
    ShowTextSize();
    // The changes that would have set it were ignored while starting; the captions stay the design's.
    ShowUndoAvailability();
    UpdateCaption();
    SetHourglass(false);
    ::DragAcceptFiles(Handle(), TRUE);
}

void TForm1::FormShow(TObject*) {
    UpdateCutCopy();
    UpdatePaste();
    if (StartingUp) UpdateCaption();
    StartingUp = false;
    StatusBar.Repaint();
}

void TForm1::UpdateCaption() {
    HistoryList1.AddItem(CurrentFile);
    Bookmarks1.SetOnGetBookmark([this](TObject* sender, std::string& bookmark, std::string& name) {
        Bookmarks1GetBookmark(sender, bookmark, name);
    });
    const std::string caption = CaptionFor(CurrentFile);
    SetCaptionText(Handle(), caption);
    SetApplicationTitle(caption);
    DocumentModified = false;
    TextField.SetModifiedFlag(false);
    ShowModifiedState();
}

void TForm1::FormResize(TObject*) {
    DetachTextFieldChange();
    LayOutStatusPanels(PanelText(2), PanelText(3));
    BindTextFieldChange();
}

void TForm1::Exit1Click(TObject*) { ::SendMessageA(Handle(), WM_CLOSE, 0, 0); }

// ---- Display scale -------------------------------------------------------------------------------

void TForm1::OnDpiChanged(int dpi, const RECT* place) {
    if (dpi <= 0) return;
    RECT target{};
    if (place) {
        target = *place;
    } else {
        ::GetWindowRect(Handle(), &target);
    }
    const int old = dpi_;
    if (dpi != old) {
        dpi_ = dpi;
        // Fonts and sizes change, the text does not.
        DetachTextFieldChange();
        ScopeExit bind([this] { BindTextFieldChange(); });
        TextField.SetPixelsPerInch(dpi_);
        TextField.SetFont(FontMovedToDpi(TextField.Font(), old, dpi_));
        FontDialog.Font = FontMovedToDpi(FontDialog.Font, old, dpi_);
        ScaleStatusBar();
        ListView1.SetPixelsPerInch(dpi_);
        SpeedBar.SetPixelsPerInch(dpi_);
        NvMainMenu1.SetPixelsPerInch(dpi_);
        TextFieldPopup.SetPixelsPerInch(dpi_);
        CreateMenuImages();
    }
    ::SetWindowPos(Handle(), nullptr, target.left, target.top, target.right - target.left,
                   target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpi == old) return;
    Realign();
    FormResize(this);
    ::InvalidateRect(Handle(), nullptr, TRUE);
    if (GotoLineWindow) FollowDpi(GotoLineWindow->Handle(), old, dpi_, target);
    if (TSpeedbarSetupWindow* customize = TSpeedbarSetupWindow::FindFor(&SpeedBar))
        FollowDpi(customize->Handle(), old, dpi_, target);
}

void TForm1::FormClose(TObject*, bool& Action) {
    if (!QuerySave()) {
        Action = false;
    } else if (Checked(IDM_AUTOSAVESETTINGS)) {
        SaveSettings1Click(&gMenuSender); // a failure keeps the window open
    }
    HistoryList1.SaveToRegistry();
    Bookmarks1.SaveToRegistry();
    GotoLineWindow.reset();
}

// ---- Menus ---------------------------------------------------------------------------------------

std::string TForm1::MenuText(int id) const {
    char text[512] = {};
    HMENU menu = mainMenu_;
    if (::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND) <= 0) {
        for (HMENU popup : {TextFieldPopup.Handle(), ::GetSubMenu(toolbarPopupMenu_.get(), 0)}) {
            if (::GetMenuStringA(popup, id, text, sizeof text, MF_BYCOMMAND) > 0) break;
        }
    }
    return text;
}

bool TForm1::Checked(int id) const { return (::GetMenuState(mainMenu_, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

void TForm1::SetChecked(int id, bool checked) {
    ::CheckMenuItem(mainMenu_, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool TForm1::Enabled(int id) const {
    HMENU menu =
        ::GetMenuState(mainMenu_, id, MF_BYCOMMAND) == static_cast<UINT>(-1) ? TextFieldPopup.Handle() : mainMenu_;
    return (::GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void TForm1::SetEnabled(int id, bool enabled) {
    for (HMENU menu : {mainMenu_, TextFieldPopup.Handle()}) {
        ::EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

std::string TForm1::Caption(int id) const {
    const std::string text = MenuText(id);
    return text.substr(0, text.find('\t'));
}

void TForm1::SetCaption(int id, const std::string& caption) {
    const std::string text = MenuText(id);
    const size_t tab = text.find('\t');
    if (text.substr(0, tab) == caption) return;
    std::string full = caption + (tab == std::string::npos ? std::string() : text.substr(tab));
    // Only the text: ModifyMenu would also reset the item's enabled and checked state.
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = full.data();
    ::SetMenuItemInfoA(mainMenu_, id, FALSE, &item);
}

} // namespace nv
