// TForm1: the main window and everything it owns, with the process-wide document state.
//
// The handlers are members of TForm1, split by concern over several files:
//   MainF.cpp            window, layout, start-up, caption, closing
//   MainF_Documents.cpp  loading, saving, the modified state
//   MainF_Status.cpp     the status panels that describe the text
//   MainF_Edit.cpp       the edit commands and their states
//   MainF_Find.cpp       find, find next, replace and the not-found message
//   MainF_View.cpp       view options, printing, the shell and the About box
//   MainF_Placement.cpp  the stored window placement
//   MainF_Toolbar.cpp    the toolbar, its buttons and its layout in the window
//   MainF_Settings.cpp   the stored font and options
//   MainF_Lists.cpp      recent files, favorites, new instances and dropped files
//   MainF_Menus.cpp      the image menus
//   MainF_Navigate.cpp   goto line, auto-indent and the ASCII chart
#pragma once

#include "app/FileDialogs.h"
#include "app/PendingReports.h"
#include "app/ViewDialogs.h"
#include "base/DpiRules.h"
#include "base/Events.h"
#include "base/Handles.h"
#include "base/RegistryStorage.h"
#include "base/Window.h"
#include "editor/NvRichEd.h"
#include "placement/Placement.h"
#include "lists/HistoryList.h"
#include "lists/MenuItemWin.h"
#include "menus/NvMenus.h"
#include "statusbar/nvStatusBar.h"
#include "toolbar/SpeedBar.h"
#include "widgets/ListView.h"
#include "widgets/ShellLaunch.h"

#include <shellapi.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace nv {

class TClipboardMonitor;
class TGotoLine;

class TForm1 : public WindowBase, public TObject {
public:
    TForm1();
    ~TForm1() override;

    // ---- Process-wide document state --------------------------------------------------------------
    std::string CurrentFile;
    bool DocumentModified = false;
    bool StartingUp = false;
    bool SizeCalcEnabled = false;
    size_t positionFittedTo_ = 0; // length of the widest position text the panel was fitted to
    int positionWidth_ = 0;       // the position panel's width for that text
    std::unique_ptr<TClipboardMonitor> ClipboardMonitor;
    std::unique_ptr<TGotoLine> GotoLineWindow; // made on first use by Goto line

    // ---- Window events (the placement runs its own handlers before these) ---------------------------
    TNotifyEvent OnShow;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;

    // ---- Components -------------------------------------------------------------------------------
    TFormPlacement FormPlacement1;
    TNvRichEdit TextField;
    TnvStatusBar StatusBar;
    // Shown and hidden with SpeedBar.SetVisible; the window lays itself out again on every change.
    TSpeedBar SpeedBar;
    // The toolbar's items, owned by SpeedBar.
    TSpeedItem* NewBtn = nullptr;
    TSpeedItem* OpenBtn = nullptr;
    TSpeedItem* SaveBtn = nullptr;
    TSpeedItem* PrintBtn = nullptr;
    TSpeedItem* ExitBtn = nullptr;
    TSpeedItem* UndoBtn = nullptr;
    TSpeedItem* RedoBtn = nullptr;
    TSpeedItem* CutBtn = nullptr;
    TSpeedItem* CopyBtn = nullptr;
    TSpeedItem* PasteBtn = nullptr;
    TSpeedItem* FindBtn = nullptr;
    TSpeedItem* ReplaceBtn = nullptr;
    TSpeedItem* WordWrap = nullptr;
    TOpenDialog OpenDialog;
    TSaveDialog SaveDialog;
    RegistryStorage Registry; // below HKEY_CURRENT_USER
    THistoryList HistoryList1{Registry, &FileSystemPathKind};
    TBookmarks Bookmarks1{Registry, &FileSystemPathKind};
    TImageList ImageList; // the menus' pictures
    TNvMainMenu NvMainMenu1;
    TNvPopupMenu TextFieldPopup;
    // The ASCII chart, docked at the right edge; shown and hidden with SetASCIIChartVisible.
    TListView ListView1;

    // ---- Life cycle -------------------------------------------------------------------------------
    // Start-up with the command line's arguments (already split).
    void StartUp(const std::vector<std::string>& arguments);
    void FormShow(TObject* Sender);
    void FormResize(TObject* Sender);
    // Action: true keeps closing, false keeps the window open.
    void FormClose(TObject* Sender, bool& Action);
    void UpdateCaption();
    void Exit1Click(TObject* Sender);
    // The hourglass of a long operation is showing.
    bool Busy() const { return hourglass_; }
    // The message loop's keyboard handling before dispatch: the open modeless dialogs take their
    // keys first, then the main window's shortcuts. True when the message was taken.
    bool TranslateAccelerator(MSG& msg);

    // ---- Documents --------------------------------------------------------------------------------
    // False when the file could not be read, or was too large for the memory left: it said why, and
    // nothing changed.
    bool LoadFile();
    // Makes `name` the document (LoadFile and UpdateCaption), after asking to save the open one when
    // `askToSave`; a file too large to open leaves everything as it was. True when it was opened.
    bool OpenDocument(const std::string& name, bool askToSave);
    void ShowModifiedState();
    void ShowUndoAvailability();
    void ShowUndoState();
    bool QuerySave();
    void NewBtnClick(TObject* Sender);
    void OpenBtnClick(TObject* Sender);
    void SaveBtnClick(TObject* Sender);
    void Saveas1Click(TObject* Sender);
    void SaveSelected1Click(TObject* Sender);
    void TextFieldChange(TObject* Sender);
    // Paints what is pending around the text field, at most once per paint interval.
    void KeepPainted();

    // ---- Stored settings --------------------------------------------------------------------------
    // The font's file, "settings.cfg" beside the executable.
    std::string SettingsFile;
    void SaveSettings1Click(TObject* Sender);
    void AutoSaveSettings1Click(TObject* Sender);
    // The ASCII chart's visibility, which "ShowASCIIChart" stores.
    bool ASCIIChartVisible() const { return ListView1.Visible(); }
    void SetASCIIChartVisible(bool visible);

    // ---- Lists, instances and dropped files -------------------------------------------------------
    void HistoryList1Click(TObject* Sender, std::string Filename);
    void Bookmarks1GetBookmark(TObject* Sender, std::string& Bookmark, std::string& Name);
    void FilesDropped(HDROP drop);
    void NewInstance1Click(TObject* Sender);
    void AlwaysDropToNewInstance1Click(TObject* Sender);
    // Starts a new instance of the program with a parameter string; tests record launches here.
    std::function<void(HWND owner, const std::string& parameters)> LaunchInstance;

    // ---- Status -----------------------------------------------------------------------------------
    // The text field's reports: shown at once when the program itself raises them (no sender), otherwise
    // merged while keys wait to be handled.
    void TextFieldSelectionChange(TObject* Sender);
    void Report(unsigned reports, TObject* sender);
    void ShowReports();
    // How many of the text field's reports waited for later ones.
    unsigned long MergedReports() const { return reports_.Merged(); }
    // How many selection reports found the caret panels current.
    unsigned long CaretPanelsKept() const { return caretPanelsKept_; }
    bool ReportsWaiting() const { return reports_.Waiting(); }
    std::string SizeText();
    // The size panel's text, after the position panel is made wide enough for this document.
    void ShowTextSize();
    void FitPositionPanel();
    // The widths of the position and size panels for the texts they are to show.
    void LayOutStatusPanels(const std::string& positionText, const std::string& sizeText);
    void StatusBarPanels1Click(TObject* Sender);
    void StatusBarPanels2Click(TObject* Sender);
    void StatusBarPanels3Click(TObject* Sender);

    // ---- Edit commands ----------------------------------------------------------------------------
    void Undo1Click(TObject* Sender);
    void Redo1Click(TObject* Sender);
    void Cut1Click(TObject* Sender);
    void Copy1Click(TObject* Sender);
    void Paste1Click(TObject* Sender);
    void SelectAll1Click(TObject* Sender);
    void UpdateCutCopy();
    void UpdatePaste();

    // ---- Goto line, auto-indent and the ASCII chart ------------------------------------------------
    void Gotoline1Click(TObject* Sender);
    void Autointend1Click(TObject* Sender);
    void TextFieldKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void View1Click(TObject* Sender);
    void ListView1DblClick(TObject* Sender);
    void ListView1KeyDown(TObject* Sender, WORD& Key, TShiftState Shift);

    // ---- Find and replace -------------------------------------------------------------------------
    void Find1Click(TObject* Sender);
    void Findnext1Click(TObject* Sender);
    void Replace1Click(TObject* Sender);
    void TextFieldTextNotFound(TObject* Sender, const std::string& FindText);
    // The platform's default beep of a Find Next that found nothing; tests count the beeps here.
    std::function<void()> Beep;

    // ---- View options and external commands -------------------------------------------------------
    TFontDialog FontDialog;
    TPrintDialog PrintDialog;
    TSaveDialog PrintFileDialog; // the output file of a printer that prints to a file
    // Hands files and addresses to the shell; tests record the calls here.
    TShellExecute ShellOpen;
    void WordWrap1Click(TObject* Sender);
    void WordSelect1Click(TObject* Sender);
    void SelectionBar1Click(TObject* Sender);
    void DetectURLs1Click(TObject* Sender);
    void ShowTools1Click(TObject* Sender);
    void ShowStatusbar1Click(TObject* Sender);
    void Font1Click(TObject* Sender);
    void Print1Click(TObject* Sender);
    void TextFieldURLClick(TObject* Sender, const std::string& URLText, TMouseButton Button);
    void Open2Click(TObject* Sender);
    void Context1Click(TObject* Sender);
    void GotoWEB1Click(TObject* Sender);
    void About1Click(TObject* Sender);

    // ---- Toolbar ----------------------------------------------------------------------------------
    void SpeedBarApplyAlign(TObject* Sender, TAlign Align, bool& Apply);
    void Customize1Click(TObject* Sender);

    // ---- Display scale ----------------------------------------------------------------------------
    // The DPI the window and everything in it are laid out for: the one it was made at, then the one
    // each WM_DPICHANGED names. Every size the window decides is designed at 96 DPI and scaled so.
    int PixelsPerInch() const { return dpi_; }
    int Scaled(int designPixels) const { return DpiScaled(designPixels, dpi_); }

    // ---- Menus ------------------------------------------------------------------------------------
    HMENU MainMenu() const { return mainMenu_; }
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    bool Enabled(int id) const;
    void SetEnabled(int id, bool enabled);
    std::string Caption(int id) const;
    void SetCaption(int id, const std::string& caption);
    void NvMainMenu1GetImageIndex(TObject* Sender, const TNvMenuItem& Item, TMenuOwnerDrawState State,
                                  int& ImageIndex);
    void NvMainMenu1MeasureItem(TObject* Sender, const TNvMenuItem& Item, int& Width, int& Height);
    void TextFieldPopupGetImageIndex(TObject* Sender, const TNvMenuItem& Item, TMenuOwnerDrawState State,
                                     int& ImageIndex);
    void TextFieldPopupMeasureItem(TObject* Sender, const TNvMenuItem& Item, int& Width, int& Height);

    // The status panels' texts, by index.
    std::string PanelText(int index) const;
    void SetPanelText(int index, const std::string& text);

    // Time source of the size computation; tests replace it to make a computation slow.
    std::function<unsigned long()> TickCount;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateComponents();
    void CreateStatusBar();
    void CreatePlacement();
    void CreateSpeedBar();
    // Puts the toolbar at its edge of `area` and takes its place out of the area.
    void AlignSpeedBar(RECT& area);
    // A command of the menu's command table, run for a toolbar button.
    void RunCommand(int id, TObject* sender);
    void CreateLists();
    void CreateMenus();
    // The menus' pictures from the image set for the window's DPI.
    void CreateMenuImages();
    // Lays everything out again at a new DPI and takes the window to `place`; the open dialogs
    // follow.
    void OnDpiChanged(int dpi, const RECT* place);
    // The status bar's height, font and panel widths as designed, at the window's DPI.
    void ScaleStatusBar();
    void ReadStoredFont();
    void ReadStoredOptions();
    // Runs `handler` for the menu command `id`, from the menu, a shortcut or a toolbar button.
    void Bind(int id, void (TForm1::*handler)(TObject*));
    void BindCommands();
    void BindViewCommands();
    void CreateASCIIChart();
    void FillASCIIChart();
    void BindNavigateCommands();
    // Puts the ASCII chart at the right edge of `area` and takes its place out of the area.
    void AlignASCIIChart(RECT& area);
    void BindFindCommands();
    std::string SelectionToSearch() const;
    void Realign();
    void OnCommand(int id);
    void OnClose();
    void OnSize();
    void ShowTextFieldPopup(POINT at);
    void SetHourglass(bool busy);
    void BindTextFieldChange();
    void DetachTextFieldChange();
    void WriteDocument(const std::string& path);
    bool ReadIntoTextField();
    unsigned long long MemoryOfOpenText() const;
    void ShowTooLarge(const std::string& path, const TextMemoryNeed& need);
    // Shows why a text is refused and answers true when it does not fit.
    bool RefuseIfTooLarge(const std::string& path, TextMemoryNeed need);
    bool RefuseIfTooLarge(const std::string& path);
    void ShowTransferProgress(const char* what, int percent);
    bool ConfirmReplace(const std::string& confirmedName, const std::string& target);
    bool CaretValues(unsigned char& code, std::string& position) const;
    std::string MenuText(int id) const;

    HMENU mainMenu_ = nullptr; // owned by the window once set
    Menu textFieldPopupMenu_;   // the loaded resource; the popup is its first submenu
    Menu toolbarPopupMenu_;
    HACCEL accelerators_ = nullptr; // resource accelerators are freed with the module
    std::map<int, TNotifyEvent> commands_;
    MenuCommands listCommands_; // the entries of the lists
    std::unique_ptr<Win32MenuItem> fileMenuItem_;
    std::unique_ptr<Win32MenuItem> favoritesMenuItem_;
    int dpi_ = kDesignDpi;
    bool created_ = false;
    bool hourglass_ = false;
    unsigned long lastPaint_ = 0; // TickCount of the last paint during a long transfer
    PendingReports reports_;
    // What the caret panels and the Cut and Copy states were last computed for: a selection report
    // that finds all of it unchanged (the one after an edit's change report) has nothing to show.
    struct SelectionShown {
        HWND field;
        long start, length, textLength;
        unsigned long textChanges;
        bool live, barVisible, wrapped;
        int wrapWidth; // the field's width while its lines wrap
        // All but the length as the other's.
        bool StartsAs(const SelectionShown& o) const {
            SelectionShown same = o;
            same.length = length;
            return *this == same;
        }
        bool operator==(const SelectionShown& o) const {
            const auto fields = [](const SelectionShown& s) {
                return std::tie(s.field, s.start, s.length, s.textLength, s.textChanges, s.live, s.barVisible,
                            s.wrapped, s.wrapWidth);
            };
            return fields(*this) == fields(o);
        }
    };
    SelectionShown CurrentSelection() const;
    SelectionShown selectionShown_{};
    void ShowSelectionState(const SelectionShown& now, bool caretPanelsCurrent);
    unsigned long caretPanelsKept_ = 0;
    unsigned long textChanges_ = 0; // the text field's change reports so far
    bool reportTimer_ = false; // shows the waiting reports once the keys stop
    static constexpr UINT_PTR kReportTimerId = 0x4E52;
    bool quitOnDestroy_ = true; // closing the main window ends the program's message loop
};

} // namespace nv
