// Loading, saving and the document's modified state.
#include "app/DocumentRules.h"
#include "app/MainF.h"
#include "app/SafeSave.h"
#include "app/Texts.h"
#include "base/Errors.h"
#include "base/FileSystem.h"
#include "base/Paths.h"
#include "base/Platform.h"
#include "base/ScopeExit.h"
#include "base/Unicode.h"
#include "editor/TextMemory.h"
#include "forms/resource.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace nv {

namespace {

enum class ReadResult { Read, Failed, NoMemory };

unsigned long long FileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!FileAttributeData(path, data)) return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A file's shape, read piece by piece; false when it cannot be read.
bool MeasureFile(const std::string& path, unsigned long long charsPerRow, TextShape& shape) {
    FileHandle file(OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file) return false;
    TextShapeCounter counter(charsPerRow);
    std::vector<char> piece(1u << 20);
    DWORD read = 0;
    while (::ReadFile(file.get(), piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr) && read > 0)
        counter.Add(std::string_view(piece.data(), read));
    shape = counter.Finish();
    return true;
}

// The whole file in one read; a failure leaves the system's error code in `error`.
ReadResult ReadWholeFile(const std::string& path, std::string& bytes, unsigned long& error) {
    const auto failed = [&error] {
        error = ::GetLastError();
        return ReadResult::Failed;
    };
    FileHandle file(OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN));
    if (!file) return failed();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return failed();
    if (static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<size_t>::max() / 2) {
        return ReadResult::NoMemory;
    }
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return ReadResult::NoMemory;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!::ReadFile(file.get(), &bytes[done], chunk, &read, nullptr)) return failed();
        if (read == 0) break; // the file shrank meanwhile
        done += read;
    }
    bytes.resize(done);
    return ReadResult::Read;
}

// Lets the messages that are already waiting run once; a quit request stays queued for the loop.
void HandleWaitingMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

} // namespace

bool TForm1::LoadFile() {
    SetHourglass(true);
    DetachTextFieldChange();
    // Bound again and the cursor back on every way out, a failed load included.
    ScopeExit restore([this] {
        TextField.OnLoadProgress = nullptr;
        BindTextFieldChange();
        SetHourglass(false);
    });
    // A relative name would follow the current folder, which every file dialog may change.
    CurrentFile = FullPathName(CurrentFile);
    try {
        if (!ReadIntoTextField()) return false;
    } catch (const ETextTooLarge& refused) {
        // The control took part of it: the document becomes a new one, as for a failed read.
        Guarded(Handle(), [this] { TextField.ClearText(); });
        const std::string path = CurrentFile;
        CurrentFile.clear();
        BindTextFieldChange();
        TextFieldChange(nullptr);
        UpdateCaption();
        ShowTooLarge(path, refused.Need);
        return true;
    } catch (...) {
        // Nothing may later save the part that did arrive over the file: the document becomes a new
        // one, and the reason is shown.
        const std::string reason =
            Format(LoadText(IDS_LOADFAILED).c_str(), CurrentFile) + ErrorText(std::current_exception());
        Guarded(Handle(), [this] { TextField.ClearText(); });
        CurrentFile.clear();
        BindTextFieldChange();
        TextFieldChange(nullptr);
        UpdateCaption();
        ShowGeneralError(Handle(), reason);
        return true;
    }
    BindTextFieldChange();
    TextFieldChange(nullptr);
    return true;
}

// The memory the open text gives back when it is replaced, reckoned low: its characters and its rows
// at the cheapest rate the control keeps them.
unsigned long long TForm1::MemoryOfOpenText() const {
    // The window kept for undo goes with it.
    const long characters = TextField.TextLength() + TextField.KeptTextLength();
    return static_cast<unsigned long long>(characters) * TNvRichEdit::MemoryCosts().PerCharacter +
           static_cast<unsigned long long>(TextField.LineCount()) * TNvRichEdit::MemoryCosts().PerWrappedRow;
}

void TForm1::ShowTooLarge(const std::string& path, const TextMemoryNeed& need) {
    Ask(Handle(),
        Format(LoadText(IDS_TOOLARGETOOPEN).c_str(),
               {path, std::to_string(need.NeededMB()), std::to_string(need.FreeMB())}),
        MB_OK | MB_ICONWARNING);
}

bool TForm1::RefuseIfTooLarge(const std::string& path, TextMemoryNeed need) {
    need.FreeBytes += MemoryOfOpenText();
    if (need.Fits()) return false;
    ShowTooLarge(path, need);
    return true;
}

bool TForm1::RefuseIfTooLarge(const std::string& path) {
    // A file that cannot be looked at is left to the read, which says so.
    return RefuseIfTooLarge(path, TextField.MemoryNeedOfLength(FileLength(path)));
}

// False when the file could not be read or was refused for want of memory: then nothing has changed.
bool TForm1::ReadIntoTextField() {
    // The file is read and measured before the open text goes, so a text too large for the memory left
    // leaves the document as it was.
    if (RefuseIfTooLarge(CurrentFile)) return false;
    std::string bytes;
    unsigned long error = 0;
    const ReadResult read = ReadWholeFile(CurrentFile, bytes, error);
    if (read == ReadResult::NoMemory) {
        std::string().swap(bytes);
        ShowTooLarge(CurrentFile, TextField.MemoryNeedOfLength(FileLength(CurrentFile)));
        return false;
    }
    if (read == ReadResult::Failed) {
        // Locked, out of reach, not allowed: the open document stays, and the program goes on.
        Ask(Handle(),
            Format(LoadText(IDS_LOADFAILED).c_str(), CurrentFile) + SystemErrorText(error, "Read error"),
            MB_OK | MB_ICONERROR);
        return false;
    }
    // A file the question may unwrap is measured unwrapped, and wrapped only when it stays wrapped;
    // the question comes before the open text goes, so a refusal after it changes nothing either.
    const bool asks = bytes.size() > kLargeFileThreshold && (Checked(IDM_WORDWRAP) || Checked(IDM_DETECTURLS));
    if (RefuseIfTooLarge(CurrentFile, TextField.MemoryNeedOf(bytes, TextField.WordWrap() && !asks))) return false;
    const bool speedUp = asks && Ask(Handle(), LoadText(IDS_LARGEFILE), MB_YESNO | MB_ICONWARNING) == IDYES;
    if (asks && !speedUp && TextField.WordWrap() && RefuseIfTooLarge(CurrentFile, TextField.MemoryNeedOf(bytes))) {
        return false;
    }
    TextField.SetWholeText("");
    if (speedUp) {
        if (Checked(IDM_WORDWRAP)) WordWrap1Click(this);
        if (Checked(IDM_DETECTURLS)) DetectURLs1Click(this);
        SizeCalcEnabled = false;
    }
    HandleWaitingMessages();
    if (RemoveZeroBytes(bytes)) Ask(Handle(), LoadText(IDS_ZEROBYTES), MB_OK | MB_ICONWARNING);
    if (bytes.size() > kProgressThreshold) {
        lastPaint_ = TickCount() - kPaintInterval;
        TextField.OnLoadProgress = [this](TObject*, int percent) { ShowTransferProgress("Loading ", percent); };
    }
    TextField.SetWholeText(bytes);
    return true;
}

bool TForm1::OpenDocument(const std::string& name, bool askToSave) {
    // A file is measured before the question whether to save the open one: a refusal asks nothing.
    const std::string path = FullPathName(name);
    if (RefuseIfTooLarge(path)) return false;
    // Over the large-file size the load offers to turn word wrap off: measured unwrapped here.
    const bool mayUnwrap = FileLength(path) > kLargeFileThreshold;
    TextShape shape;
    if (MeasureFile(path, mayUnwrap ? 0 : TextField.CharactersPerRow(), shape) &&
        RefuseIfTooLarge(path, TNvRichEdit::MemoryNeedOf(shape))) {
        return false;
    }
    const bool wasModified = DocumentModified;
    if (askToSave && !QuerySave()) return false;
    const std::string previous = CurrentFile;
    CurrentFile = name;
    if (!LoadFile()) {
        // The open document stays, and with it the prompt that protects its changes.
        CurrentFile = previous;
        DocumentModified = wasModified;
        ShowModifiedState();
        return false;
    }
    UpdateCaption();
    return true;
}

// Panel 3 follows a long transfer; nothing but painting happens meanwhile, so the window never
// stays unpainted for long.
void TForm1::ShowTransferProgress(const char* what, int percent) {
    if (StatusBar.Visible()) SetPanelText(3, what + std::to_string(percent) + "%");
    KeepPainted();
}

void TForm1::KeepPainted() {
    const unsigned long now = TickCount();
    if (now - lastPaint_ < kPaintInterval) return;
    lastPaint_ = now;
    // The text field is in the middle of the transfer: only the window around it paints.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN);
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child != TextField.Handle() && ::IsWindowVisible(child)) ::UpdateWindow(child);
    }
}

void TForm1::ShowModifiedState() {
    SetPanelText(0, DocumentModified ? " Changed" : " Unchanged");
    SaveBtn->SetEnabled(DocumentModified);
}

bool TForm1::QuerySave() {
    if (!DocumentModified) return true;
    switch (Ask(Handle(), LoadText(IDS_SAVECHANGES), MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES: SaveBtnClick(nullptr); return !DocumentModified;
    case IDNO: DocumentModified = false; return true;
    default: return false;
    }
}

void TForm1::NewBtnClick(TObject*) {
    if (!QuerySave()) return;
    TextField.ClearText();
    SizeCalcEnabled = true;
    SetCaptionText(Handle(), "Notova");
    SetApplicationTitle("Notova");
    CurrentFile.clear();
    Bookmarks1.SetOnGetBookmark(nullptr);
    DocumentModified = false;
    ShowModifiedState();
}

void TForm1::OpenBtnClick(TObject*) {
    if (!OpenDialog.Execute(Handle())) return;
    const bool sizeCalcEnabled = SizeCalcEnabled;
    SizeCalcEnabled = true;
    if (!OpenDocument(OpenDialog.FileName, true)) SizeCalcEnabled = sizeCalcEnabled;
}

void TForm1::WriteDocument(const std::string& path) {
    lastPaint_ = TickCount();
    TextField.OnSaveProgress = [this](TObject*, int) { KeepPainted(); };
    ScopeExit detach([this] { TextField.OnSaveProgress = nullptr; });
    WriteFileSafely(path, [this](const std::string& temporary) { TextField.WriteToFile(temporary); });
}

// The dialog asked about the name it returned; an extension added afterwards names another file,
// which is asked about here.
bool TForm1::ConfirmReplace(const std::string& confirmedName, const std::string& target) {
    if (target == confirmedName || FileAttributes(target) == INVALID_FILE_ATTRIBUTES) return true;
    return Ask(Handle(), Format(LoadText(IDS_REPLACEQUESTION).c_str(), ExtractFileName(target)),
               MB_YESNO | MB_ICONWARNING) == IDYES;
}

void TForm1::SaveBtnClick(TObject* Sender) {
    if (CurrentFile.empty()) {
        Saveas1Click(Sender);
        return;
    }
    try {
        WriteDocument(CurrentFile);
    } catch (const std::exception&) {
        Ask(Handle(), LoadText(IDS_UNABLETOSAVE) + CurrentFile + "\r\n" + LoadText(IDS_READONLY), MB_OK | MB_ICONERROR);
        Saveas1Click(Sender);
        return;
    }
    DocumentModified = false;
    if (Sender) ShowModifiedState();
}

void TForm1::Saveas1Click(TObject* Sender) {
    SaveDialog.FileName = CurrentFile.empty() ? "Untitled.txt" : ExtractFileName(CurrentFile);
    if (!SaveDialog.Execute(Handle())) return;
    const std::string target = SaveAsTarget(SaveDialog.FileName);
    if (!ConfirmReplace(SaveDialog.FileName, target)) return;
    // The name changes only once the file is written: a failed write keeps the old name.
    WriteDocument(target);
    CurrentFile = target;
    DocumentModified = false;
    if (Sender) UpdateCaption();
}

void TForm1::SaveSelected1Click(TObject*) {
    std::string target;
    if (SaveDialog.Execute(Handle()) &&
        ConfirmReplace(SaveDialog.FileName, target = SaveSelectedTarget(SaveDialog.FileName))) {
        TextField.SetSelectionStreamMode(true);
        try {
            WriteDocument(target);
        } catch (...) {
            TextField.SetSelectionStreamMode(false);
            throw;
        }
        TextField.SetSelectionStreamMode(false);
        TextFieldChange(nullptr);
    }
    if (!TextField.TakeFocus()) {
        ShowIgnoreBox(Handle(), LoadText(IDS_FOUNDABUG) + LoadText(IDS_AUTHOREMAIL) + LoadText(IDS_BUGHARMLESS));
    }
}

// Undo and Redo on the menu and the toolbar are enabled as the text field can undo and redo.
void TForm1::ShowUndoAvailability() {
    UndoBtn->SetEnabled(TextField.UndoAvailable());
    SetEnabled(IDM_UNDO, UndoBtn->Enabled());
    SetEnabled(IDM_REDO, TextField.RedoAvailable());
    RedoBtn->SetEnabled(TextField.RedoAvailable());
}

// ... and their captions name the next step's kind.
void TForm1::ShowUndoState() {
    ShowUndoAvailability();
    SetCaption(IDM_UNDO, UndoCaption(TextField.NextUndoKind()));
    SetCaption(IDM_REDO, RedoCaption(TextField.NextRedoKind()));
}

void TForm1::TextFieldChange(TObject* Sender) {
    ++textChanges_;
    if (StartingUp) return;
    DocumentModified = true;
    Report(PendingReports::kText | PendingReports::kSelection, Sender);
}

} // namespace nv
