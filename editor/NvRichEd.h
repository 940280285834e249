// TNvRichEdit: the program's one text field, the rich-edit control kept in plain-text mode.
//
// Positions are zero-based and count a line break once; the whole text read as a string carries
// every line break as CR LF. The parent window must reflect WM_COMMAND and WM_NOTIFY back to the
// control (ReflectToChild) so the control can raise its events.
#pragma once

#include "base/Errors.h"
#include "base/Events.h"
#include "base/Handles.h"
#include "base/Subclass.h"
#include "editor/FindDialogs.h"
#include "editor/SearchRules.h"
#include "editor/TextMemory.h"
#include "editor/TextRules.h"
#include "editor/UndoHistory.h"

#include <windows.h>

#include <bitset>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct _enlink;

namespace nv {

// The control could not take a text: it reported that its memory ran out, or stopped taking it short.
class ETextTooLarge : public EError {
  public:
    explicit ETextTooLarge(const TextMemoryNeed& need) : EError("The text is too large"), Need(need) {}
    TextMemoryNeed Need;
};

enum TShiftStateFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;
// The modifier keys held down now, as the message being handled saw them.
TShiftState CurrentShiftState();

using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TRichEditFindErrorEvent = std::function<void(TObject* Sender, const std::string& FindText)>;
using TRichEditURLClickEvent =
    std::function<void(TObject* Sender, const std::string& URLText, TMouseButton Button)>;
using TContextPopupEvent = std::function<void(TObject* Sender, POINT screenPos)>;
// A text that would not fit in the memory the process has left, and was refused.
using TTooLargeEvent = std::function<void(TObject* Sender, const TextMemoryNeed& Need)>;
// How far a whole-text transfer has come, 0 to 100; raised for every piece the control takes.
using TProgressEvent = std::function<void(TObject* Sender, int Percent)>;

// Where PrintText sends its pages: a printer device context, and a file when the port asks for one.
struct PrintTarget {
    HDC Printer = nullptr;
    std::string OutputFile;
};

class TNvRichEdit : public TObject, private ControlSubclass {
  public:
    TNvRichEdit();
    ~TNvRichEdit() override;
    TNvRichEdit(const TNvRichEdit&) = delete;
    TNvRichEdit& operator=(const TNvRichEdit&) = delete;

    // Creates the control's window as a child of `parent`.
    void CreateWnd(HWND parent, const RECT& bounds, int id);
    HWND Handle() const noexcept { return hwnd_; }
    void SetBounds(const RECT& bounds);
    void SetVisible(bool visible);

    // ---- Properties ------------------------------------------------------------------------------
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool value) { plainText_ = value; } // takes effect when the window is created
    TStreamFormat StreamFormat() const { return streamFormat_; }
    void SetStreamFormat(TStreamFormat value) { streamFormat_ = value; }
    bool SelectionStreamMode() const { return selectionStreamMode_; } // StreamMode holds smSelection
    void SetSelectionStreamMode(bool value) { selectionStreamMode_ = value; }
    int UndoLimit() const { return undoLimit_; }
    void SetUndoLimit(int value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool WordSelection() const { return wordSelection_; }
    void SetWordSelection(bool value);
    bool SelectionBar() const { return selectionBar_; }
    void SetSelectionBar(bool value);
    bool AutoURLDetect() const { return autoURLDetect_; }
    void SetAutoURLDetect(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value) { hideSelection_ = value; } // a creation style
    bool HideScrollBars() const { return hideScrollBars_; }
    long MaxLength() const { return maxLength_; }
    // The font's height is in pixels of the field's DPI.
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    // The DPI of the window the field is laid out for; 0 until set, the screen's. The font's size
    // in points is drawn at it, and the selection bar is as wide as it is there.
    int PixelsPerInch() const;
    void SetPixelsPerInch(int dpi);
    // Set only by the control's own line-editing routines.
    bool Updating() const { return updating_; }

    // ---- Operations ------------------------------------------------------------------------------
    std::string GetWholeText() const;
    void SetWholeText(const std::string& text);
    void ClearText();
    void WriteToFile(const std::string& path);
    long SelectionStart() const;
    long SelectionLength() const;
    std::string SelectedText() const;
    std::string TextRange(long from, long to) const;
    long TextLength() const;       // positions: a line break counts once
    long TextLengthAsCrLf() const; // characters of GetWholeText: a line break counts twice
    void MoveCaret(long pos);
    void SetSelectionLength(long count);
    void ReplaceSelection(const std::string& text);
    void SelectWholeText();
    long LineOfPosition(long pos) const;
    long LineStart(long line) const;
    long LineLength(long pos) const;
    long LineCount() const;
    void ScrollToCaret();
    bool UndoAvailable() const;
    void UndoLast();
    bool RedoAvailable() const;
    void RedoLast();
    int NextUndoKind() const;
    int NextRedoKind() const;
    void CutSelection();
    void CopySelection();
    void PasteClipboard();
    bool PasteAvailable() const;
    bool Modified() const;
    void SetModifiedFlag(bool modified);
    bool TakeFocus();
    // Prints the whole text; returns the number of pages started. Where the control renders no page
    // (Wine's draws nothing), the field lays out and draws the plain text itself in its font.
    int PrintText(const std::string& title, const PrintTarget& target);

    // What handing `text` to the control would need, as the field is set up now, against the memory the
    // process has left; the length alone gives the least any text of that length needs.
    TextMemoryNeed MemoryNeedOf(std::string_view text) const { return MemoryNeedOf(text, wordWrap_); }
    TextMemoryNeed MemoryNeedOf(std::string_view text, bool wrapped) const;
    TextMemoryNeed MemoryNeedOfLength(unsigned long long characters) const;
    static TextMemoryNeed MemoryNeedOf(const TextShape& shape);
    // What the control is reckoned to hold: as measured under Wine, whose control ends the process when
    // it runs out of memory; elsewhere only the address space, the control reporting the rest itself.
    static const ControlMemoryCosts& MemoryCosts();
    // What the text needs wrapped, against the memory left once the present window is gone: the
    // control runs out of memory on long lines wrapped, and lays out the rest of them wrongly or fails.
    TextMemoryNeed MemoryNeedWrapped() const;
    // How many characters a wrapped row holds, reckoned low; 0 when word wrap is off.
    unsigned long long CharactersPerRow() const { return CharactersPerRow(wordWrap_); }

    // Builds the window anew with the same text and modified flag (the caret goes to the start).
    void RecreateWnd() { Rebuild(); }

    // ---- Find and replace -------------------------------------------------------------------------
    // The dialogs are made on first use and kept with their texts, options and positions. The parent
    // window receives their FINDMSGSTRING messages and hands them to HandleFindMessage.
    void ShowFindDialog(const std::string& text);
    void ShowReplaceDialog(const std::string& text, const std::string& replacement);
    // Repeats the last search with a non-empty text; false when there is none or nothing was found.
    bool FindAgain();
    // Answers the match's position or -1; `length` may be negative (its absolute value counts).
    long SearchText(const std::string& text, long start, long length, TSearchTypes options);
    bool SearchWithDialog(TFindDialog& dialog, bool moveDialog, bool report);
    void MoveDialogOffMatch(TFindDialog& dialog);
    // The dialog's Replace (one occurrence) and Replace All.
    void ReplaceWithDialog(TReplaceDialog& dialog, bool all);
    // True when the message was a FINDMSGSTRING of one of the field's dialogs.
    bool HandleFindMessage(UINT msg, LPARAM lParam);
    TFindDialog* FindDialog() const noexcept { return findDialog_.get(); }
    TReplaceDialog* ReplaceDialog() const noexcept { return replaceDialog_.get(); }
    TFindDialog* LastSearchDialog() const noexcept { return lastSearchDialog_; }
    // Replace All of more occurrences than undo keeps does the older ones in memory and hands the
    // text over in one piece; off, every occurrence goes through the selection.
    bool ReplaceAllInMemory = true;

    // ---- Large replacements -----------------------------------------------------------------------
    // Deleting, typing over, cutting or pasting over a selection at least this long that covers most
    // of the text hands the rest to a new window and keeps the old one hidden for undo
    // (UndoHistory.h); 0 never does. On by default where the control is Wine's.
    long LargeEditFrom = 0;
    // The characters of the windows kept for undo and redo, which hold the control's memory for them.
    long KeptTextLength() const;
    // How many replacements went through a new window since the field was made.
    long NewWindowReplacements() const noexcept { return newWindowReplacements_; }

    // ---- Events ----------------------------------------------------------------------------------
    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    TKeyEvent OnKeyUp;
    TRichEditFindErrorEvent OnTextNotFound;
    TRichEditURLClickEvent OnURLClick;
    TContextPopupEvent OnContextPopup;
    // While SetWholeText hands a text to the control, and while WriteToFile writes one.
    TProgressEvent OnLoadProgress;
    TProgressEvent OnSaveProgress;
    // Instead of a paste whose text would not fit; the text stays as it was.
    TTooLargeEvent OnPasteTooLarge;
    // Instead of a Replace All whose result would not fit; the text stays as it was.
    TTooLargeEvent OnReplaceTooLarge;

  private:
    void CreateControlWindow(const std::string* content, bool modified);
    void DestroyControlWindow();
    void Rebuild();
    void ReplaceContent(const std::string* content);
    void StreamIn(const std::string& content);
    void ApplyFont(HWND window);
    // The control's selection bar is 8 pixels at any DPI: the text starts further in where it should be wider.
    void ApplySelectionBarWidth();
    bool HoldsLinks(HWND window) const;
    void ApplyWordSelection(HWND window);
    void ApplyTextLimit(long length);
    void EnsureRoomFor(long extra);
    DWORD CreationStyle() const;
    void PasteAsPlainText();
    // The clipboard's text fits; otherwise OnPasteTooLarge is raised.
    bool PasteFits();
    // What `text` adds where it replaces the selection: wrapped, it joins the line around it, whose
    // rows all grow with it.
    TextMemoryNeed MemoryNeedOfPaste(std::string_view text) const;
    // The characters of the line (between line breaks) before `from` and after `to`.
    void LineAround(long from, long to, unsigned long long& before, unsigned long long& after) const;
    unsigned long long CharactersPerRow(bool wrapped) const;
    int PrintPlainText(HDC printer, const RECT& area, long start, long length);
    void RaiseChange();
    void RaiseSelectionChange();
    void ShowSearchDialog(TFindDialog& dialog, const std::string& text);
    bool LocateText(const std::string& text, long start, long length, TSearchTypes options,
                    PositionRange& match) const;
    long ReplaceAll(TReplaceDialog& dialog);
    bool ReplaceAllFits(TReplaceDialog& dialog);
    long ReplaceOlderInMemory(TReplaceDialog& dialog);
    std::vector<PositionRange> CollectMatches(TFindDialog& dialog);
    static bool FindsLikeTheControl(const TFindDialog& dialog);
    std::vector<PositionRange> FindInText(const std::string& whole, TFindDialog& dialog) const;
    bool HandleLargeEdit(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLargeEditKey(WPARAM key, LPARAM lParam);
    // A replacement of the selection that may go through a new window (UndoHistory.h).
    struct LargeEdit {
        int Kind = 0;                // its undo kind
        std::string Inserted;        // comes in with the rest of the text, in paragraph marks
        std::function<void()> Typed; // a key the control then takes in the new window
        bool KeepModified = false;   // the modified flag stays as it was, else the edit sets it
    };
    // False when the selection is left to the control.
    bool ReplaceThroughNewWindow(const LargeEdit& edit);
    bool CutThroughNewWindow(bool byKey);
    bool SelectionTakesNewWindow(long inserted) const;
    std::string TextAsParagraphs() const;

    // ---- The undo history over the windows (NvRichEd_History.cpp) ---------------------------------
    // How a message the control is given joins its undo steps, as measured of the Wine control.
    enum class EditEffect { None, Closes, Continues, OwnStep, OwnStepOrCloses, WholeText };
    EditEffect EffectOf(UINT msg, WPARAM wParam) const;
    struct EditScope {
        EditEffect Effect;
        bool Replaces;     // the text changes whatever the control reports (a selection, a replacement)
        bool TrustReport;  // a reported change is one (a typed character may keep the length)
        long LengthBefore; // else the length tells: the control reports keys that changed nothing
        bool Noted = false;
        EditScope* Outer = nullptr;
    };
    bool Changed(const EditScope& scope) const;
    LRESULT PassEdit(UINT msg, WPARAM wParam, LPARAM lParam, EditEffect effect);
    void NoteChange();
    void NoteEdit(EditGrouping grouping);
    void NoteGroupClosed();
    bool TakesHistory() const { return routing_ == 0 && building_ == 0; }
    LRESULT UndoStep();
    LRESULT RedoStep();
    void RunSteps(const std::vector<UndoHistory::Action>& actions);
    void StepHere(UINT step, UINT available);
    bool CanUndoHere() const;
    bool CanRedoHere() const;
    LRESULT AnswerUndoQuery(UINT msg, WPARAM wParam, LPARAM lParam);
    int KindOf(const UndoHistory::Kind& kind, UINT nameQuery) const;
    void ShowWindowOf(UndoHistory::WindowId id, long selStart, long selEnd);
    void FreeWindows(const std::vector<UndoHistory::WindowId>& ids);
    void ResetHistory();
    // The kept windows give their memory back, oldest first, until `need` fits; false when it does not
    // fit even without them (and then none goes).
    bool MakeRoom(TextMemoryNeed need);
    // Every window in the history, the shown one first, each taken straight (not through the subclass).
    void ForEachWindow(const std::function<void(HWND window)>& apply);
    static void RenderCopiedData() noexcept;
    void BeginQuietEdits();
    void QuietWindow();
    void EndQuietEdits() noexcept;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleFieldMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnControlDestroyed(HWND control) override;
    LRESULT OnReflectedCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnReflectedNotify(LPARAM lParam);
    void OnLink(const ::_enlink& link);
    bool OnKeyDown(WPARAM key);
    void CloseUndoGroup(HWND window);
    struct UndoSnapshot {
        long Length = -1, SelStart = 0, SelEnd = 0;
        std::string Around;
        bool operator==(const UndoSnapshot& o) const {
            return Length == o.Length && SelStart == o.SelStart && SelEnd == o.SelEnd && Around == o.Around;
        }
    };
    UndoSnapshot Snapshot() const;
    void OnKeyUpMessage(WPARAM key);
    LRESULT Call(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(hwnd_, msg, wParam, lParam);
    }
    // The control's own processing of a message to any window of the history: the shown one past its
    // subclass, a kept one (not subclassed) straight.
    LRESULT CallControl(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return window == hwnd_ ? CallPrevious(window, msg, wParam, lParam)
                               : ::SendMessageA(window, msg, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    int id_ = 0;
    RECT bounds_{};
    bool visible_ = true;
    mutable int notifyLock_ = 0; // internal rebuilds raise their events themselves, once
    int messageDepth_ = 0;       // the field's messages under way, nested ones included
    bool selectionMoved_ = false; // reported once the outermost of them is done
    int heldChanges_ = 0, heldSelectionChanges_ = 0; // what the controls reported while locked
    bool outOfSpace_ = false; // the control reported EN_ERRSPACE

    bool plainText_ = true;
    TStreamFormat streamFormat_ = TStreamFormat::sfPlainText;
    bool selectionStreamMode_ = false;
    int undoLimit_ = 100;
    bool wordWrap_ = true;
    bool wordSelection_ = true;
    bool selectionBar_ = true;
    bool autoURLDetect_ = false;
    bool hideSelection_ = true;
    bool hideScrollBars_ = true;
    long maxLength_ = 0;
    long textLimit_ = kDefaultTextLimit;
    TFont font_;
    int pixelsPerInch_ = 0;
    bool selectionBarWidened_ = false;
    bool updating_ = false;
    LinkClickTracker linkClicks_;
    std::unique_ptr<TFindDialog> findDialog_;
    std::unique_ptr<TReplaceDialog> replaceDialog_;
    TFindDialog* lastSearchDialog_ = nullptr;
    DWORD quietMask_ = 0; // the event mask to restore after a quiet Replace All
    std::bitset<256> keysDown_; // pressed while the field had the focus, not yet released
    // Windows hidden for undo and redo; hwnd_ is the one shown.
    struct KeptWindow {
        UndoHistory::WindowId Id;
        OwnedWindow Window;
        RECT Bounds; // as it was laid out when it was hidden
    };
    std::vector<KeptWindow> kept_;
    // What each replacement through a new window did, by the window it made.
    struct MadeWindow {
        UndoHistory::WindowId From; // the window it replaced the selection of
        PositionRange Replaced;     // the selection it replaced, there
        long InsertedEnd = 0;       // where the text it inserted ends, in the new window
        int Kind = 0;               // its undo kind
    };
    std::map<UndoHistory::WindowId, MadeWindow> made_;
    UndoHistory history_;
    UndoHistory::WindowId shownId_ = history_.Shown();
    EditScope* editScope_ = nullptr; // the message being handed to the control
    int routing_ = 0;  // the field's own undo and redo, or its own juggling of windows, is running
    int building_ = 0; // a window is being made and its text streamed in
    long newWindowReplacements_ = 0;
};

} // namespace nv
