// The text field's undo history over its windows: large replacements through a new window, the old
// one kept hidden, and every edit, undo and redo told to the one history (UndoHistory.h).
#include "editor/NvRichEd.h"

#include "editor/RichEditLibrary.h"

#include <richedit.h>

#include <algorithm>

namespace nv {

using Action = UndoHistory::Action;

namespace {
long LengthOf(HWND window) {
    GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<long>(::SendMessageA(window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}
} // namespace

long TNvRichEdit::KeptTextLength() const {
    long length = 0;
    for (const KeptWindow& kept : kept_) length += LengthOf(kept.Window.get());
    return length;
}

void TNvRichEdit::ForEachWindow(const std::function<void(HWND window)>& apply) {
    if (hwnd_) apply(hwnd_);
    for (KeptWindow& kept : kept_) apply(kept.Window.get());
}

// ---- What the control does with its undo steps ---------------------------------------------------

// Measured of the Wine control: typing, Enter and Backspace without a selection go on in the open
// typing step; Delete, Backspace over a selection, cut, clear, paste and replacements are steps of
// their own; a caret moved by a key or the mouse, the focus, a new format and EM_STOPGROUPTYPING
// close the typing step, a selection set by message does not.
TNvRichEdit::EditEffect TNvRichEdit::EffectOf(UINT msg, WPARAM wParam) const {
    switch (msg) {
    case WM_CHAR:
        return wParam >= 0x20 || wParam == '\t' ? EditEffect::Continues : EditEffect::None;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) return EditEffect::Continues;
        if (wParam == VK_BACK) return SelectionLength() > 0 ? EditEffect::OwnStep : EditEffect::Continues;
        if (wParam == VK_DELETE || (wParam == 'X' && (CurrentShiftState() & ssCtrl))) return EditEffect::OwnStepOrCloses;
        if (wParam >= VK_PRIOR && wParam <= VK_DOWN) return EditEffect::Closes;
        return EditEffect::None;
    case WM_CUT:
    case WM_CLEAR:
    case WM_PASTE:
        return EditEffect::OwnStepOrCloses;
    case EM_REPLACESEL:
        return wParam ? EditEffect::OwnStep : EditEffect::None;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case EM_SETCHARFORMAT:
    case EM_STOPGROUPTYPING:
        return EditEffect::Closes;
    case WM_SETTEXT:
    case EM_SETTEXTEX:
    case EM_STREAMIN:
        return EditEffect::WholeText;
    default:
        return EditEffect::None;
    }
}

// The control takes the message; what it changed is told to the history when the control reports the
// change (handlers of the change may ask for undo at once), or, for a replacement made while changes
// are not reported, once it is done.
LRESULT TNvRichEdit::PassEdit(UINT msg, WPARAM wParam, LPARAM lParam, EditEffect effect) {
    const bool selected = SelectionLength() > 0;
    const bool replaces =
        msg == EM_REPLACESEL ? selected || (lParam && *reinterpret_cast<const char*>(lParam)) : selected;
    // A replacement of nothing by nothing is reported as a change, and is none.
    if (msg == EM_REPLACESEL && !replaces) effect = EditEffect::Closes;
    EditScope scope{effect, replaces, msg == WM_CHAR, msg == EM_REPLACESEL ? -1 : TextLength()};
    scope.Outer = editScope_;
    editScope_ = &scope;
    const LRESULT result = CallPrevious(hwnd_, msg, wParam, lParam);
    editScope_ = scope.Outer;
    if (!TakesHistory()) return result;
    if (effect == EditEffect::WholeText) {
        ResetHistory(); // the control empties its undo with it
    } else if (!scope.Noted && msg == EM_REPLACESEL && replaces) {
        NoteEdit(EditGrouping::OwnStep);
    } else if (effect == EditEffect::Closes || (effect == EditEffect::OwnStepOrCloses && !scope.Noted)) {
        NoteGroupClosed();
    }
    return result;
}

bool TNvRichEdit::Changed(const EditScope& scope) const {
    if (scope.TrustReport || scope.Replaces) return true;
    return scope.LengthBefore >= 0 && TextLength() != scope.LengthBefore;
}

// The control reported a change.
void TNvRichEdit::NoteChange() {
    if (!TakesHistory() || notifyLock_ > 0) return;
    if (!editScope_) {
        NoteEdit(EditGrouping::OwnStep); // whatever the control did by itself
        return;
    }
    if (editScope_->Noted || !Changed(*editScope_)) return;
    editScope_->Noted = true;
    switch (editScope_->Effect) {
    case EditEffect::Continues:
        NoteEdit(EditGrouping::Continues);
        break;
    case EditEffect::WholeText:
        ResetHistory();
        break;
    default:
        NoteEdit(EditGrouping::OwnStep);
        break;
    }
}

void TNvRichEdit::NoteEdit(EditGrouping grouping) { FreeWindows(history_.Edited(grouping)); }

void TNvRichEdit::NoteGroupClosed() {
    if (TakesHistory()) history_.GroupClosed();
}

// ---- Undo and redo --------------------------------------------------------------------------------

bool TNvRichEdit::CanUndoHere() const { return CallPrevious(hwnd_, EM_CANUNDO, 0, 0) != 0; }
bool TNvRichEdit::CanRedoHere() const { return CallPrevious(hwnd_, EM_CANREDO, 0, 0) != 0; }

// The Wine control ends the process (a failed assertion in its undo code) when it undoes or redoes
// while typing at a detected link has left its undo group open; a closed group undoes as one step all
// the same.
void TNvRichEdit::CloseUndoGroup(HWND window) {
    if (RichEditVersion() >= 2) CallControl(window, EM_STOPGROUPTYPING, 0, 0);
}

// Every undo comes here, whatever sent it: menu, toolbar, keys, WM_UNDO or EM_UNDO.
LRESULT TNvRichEdit::UndoStep() {
    CloseUndoGroup(hwnd_);
    history_.GroupClosed();
    if (history_.Direct()) {
        if (!CanUndoHere()) return FALSE;
        history_.Undo();
        ++routing_;
        StepHere(WM_UNDO, EM_CANUNDO);
        --routing_;
        return TRUE;
    }
    if (!history_.CanUndo()) return FALSE;
    RunSteps(history_.Undo());
    return TRUE;
}

LRESULT TNvRichEdit::RedoStep() {
    if (RichEditVersion() < 2) return FALSE;
    CloseUndoGroup(hwnd_);
    history_.GroupClosed();
    if (history_.Direct()) {
        if (!CanRedoHere()) return FALSE;
        history_.Redo();
        ++routing_;
        StepHere(EM_REDO, EM_CANREDO);
        --routing_;
        return TRUE;
    }
    if (!history_.CanRedo()) return FALSE;
    RunSteps(history_.Redo());
    return TRUE;
}

// One step may take several windows' parts: what changed is reported once, as one control reports
// one step: the text when it changed or another window shows, the selection when a control moved it.
void TNvRichEdit::RunSteps(const std::vector<Action>& actions) {
    heldChanges_ = heldSelectionChanges_ = 0;
    ++routing_;
    ++notifyLock_;
    try {
        for (const Action& action : actions) {
            switch (action.What) {
            case Action::Kind::UndoIn:
                StepHere(WM_UNDO, EM_CANUNDO);
                break;
            case Action::Kind::RedoIn:
                StepHere(EM_REDO, EM_CANREDO);
                break;
            case Action::Kind::ShowBefore:
            case Action::Kind::ShowAfter: {
                // The selection moves with the text, as the control's own undo and redo move it.
                const MadeWindow& made = made_.at(action.Window);
                const bool back = action.What == Action::Kind::ShowBefore;
                const long start = made.Replaced.Start;
                const long from = back ? made.InsertedEnd : made.Replaced.End;
                const long to = back ? made.Replaced.End : made.InsertedEnd;
                CHARRANGE selection{0, 0};
                Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
                const CHARRANGE moved{PositionAfterReplacement(selection.cpMin, start, from, to),
                                      PositionAfterReplacement(selection.cpMax, start, from, to)};
                ShowWindowOf(back ? made.From : action.Window, moved.cpMin, moved.cpMax);
                if (moved.cpMin != selection.cpMin || moved.cpMax != selection.cpMax) ++heldSelectionChanges_;
                break;
            }
            }
        }
    } catch (...) {
        --notifyLock_;
        --routing_;
        throw;
    }
    --notifyLock_;
    --routing_;
    if (heldChanges_ > 0) RaiseChange();
    if (heldSelectionChanges_ > 0) RaiseSelectionChange();
}

// With links detected, the Wine control keeps the links' own formatting as undo steps of their own,
// which change nothing the user sees; one Undo or Redo goes on past them to a step that does. A step
// that changed nothing where the text holds no link is the user's own (typing undone by Backspace).
void TNvRichEdit::StepHere(UINT step, UINT available) {
    const bool linksLeaveSteps = autoURLDetect_ && RichEditVersion() >= 2;
    UndoSnapshot before;
    if (linksLeaveSteps) before = Snapshot();
    do {
        CallPrevious(hwnd_, step, 0, 0);
    } while (linksLeaveSteps && CallPrevious(hwnd_, available, 0, 0) != 0 && Snapshot() == before &&
             HoldsLinks(hwnd_));
}

LRESULT TNvRichEdit::AnswerUndoQuery(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (history_.Direct()) return CallPrevious(hwnd_, msg, wParam, lParam);
    switch (msg) {
    case EM_CANUNDO:
        return history_.CanUndo();
    case EM_CANREDO:
        return history_.CanRedo();
    case EM_GETUNDONAME:
        return KindOf(history_.NextUndoKind(), msg);
    default:
        return KindOf(history_.NextRedoKind(), msg);
    }
}

// A replacement is named as the control names its own steps: not at all, where it does not.
int TNvRichEdit::KindOf(const UndoHistory::Kind& kind, UINT nameQuery) const {
    if (kind.FromControl) return static_cast<int>(CallPrevious(hwnd_, nameQuery, 0, 0));
    const auto made = made_.find(kind.Replacement);
    return made != made_.end() && ControlNamesUndoSteps() ? made->second.Kind : 0;
}

// Undo and redo leave the modified flag as it was; the window shown again starts no typing of its own.
void TNvRichEdit::ShowWindowOf(UndoHistory::WindowId id, long selStart, long selEnd) {
    const auto next = std::find_if(kept_.begin(), kept_.end(), [id](const KeptWindow& k) { return k.Id == id; });
    if (next == kept_.end()) return;
    const bool hadFocus = ::GetFocus() == hwnd_;
    const bool modified = Modified();
    HWND shown = hwnd_;
    DetachSubclass(shown);
    HWND window = next->Window.release();
    // A window resized while hidden lays its text out again: only when it has to.
    if (!::EqualRect(&next->Bounds, &bounds_)) {
        ::MoveWindow(window, bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top,
                     FALSE);
    }
    next->Window.reset(shown);
    next->Bounds = bounds_;
    next->Id = shownId_;
    CloseUndoGroup(window);
    CallControl(window, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
    hwnd_ = window;
    shownId_ = id;
    ApplySelectionBarWidth(); // its rectangle may be from another size or DPI
    AttachSubclass(window);
    if (visible_) ::ShowWindow(window, SW_SHOW);
    if (hadFocus) ::SetFocus(window);
    ::ShowWindow(shown, SW_HIDE);
    // After the focus, which gives the window back the selection it saved; the caller tells whether
    // the selection moved.
    const int held = heldSelectionChanges_;
    CHARRANGE selection{selStart, selEnd};
    CallControl(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    CallControl(window, EM_SCROLLCARET, 0, 0);
    heldSelectionChanges_ = held;
    RaiseChange(); // the text shown is another's
}

void TNvRichEdit::FreeWindows(const std::vector<UndoHistory::WindowId>& ids) {
    if (ids.empty()) return;
    RenderCopiedData(); // a copy made in a window that goes stays on the clipboard
    for (UndoHistory::WindowId id : ids) {
        kept_.erase(std::remove_if(kept_.begin(), kept_.end(), [id](const KeptWindow& k) { return k.Id == id; }),
                    kept_.end());
        made_.erase(id);
    }
}

void TNvRichEdit::ResetHistory() {
    if (!kept_.empty()) RenderCopiedData();
    kept_.clear();
    made_.clear();
    shownId_ = history_.Reset();
}

bool TNvRichEdit::MakeRoom(TextMemoryNeed need) {
    unsigned long long kept = 0;
    for (const KeptWindow& window : kept_)
        kept += static_cast<unsigned long long>(LengthOf(window.Window.get())) * MemoryCosts().PerCharacter;
    if (need.Fits()) return true;
    if (need.NeededBytes > need.FreeBytes + kept) return false;
    while (!need.Fits() && !kept_.empty()) {
        const size_t before = kept_.size();
        const long freedLength = KeptTextLength();
        FreeWindows(history_.DropOneKeptWindow());
        if (kept_.size() == before) break;
        need.FreeBytes += static_cast<unsigned long long>(freedLength - KeptTextLength()) *
                          MemoryCosts().PerCharacter;
    }
    return need.Fits();
}

// ---- Large replacements --------------------------------------------------------------------------

// Messages whose edit may go through a new window.
bool TNvRichEdit::HandleLargeEdit(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_CHAR:
        // The control ignores control characters here (Enter and Backspace act on the key itself).
        if (wParam < 0x20 && wParam != '\t') return false;
        return ReplaceThroughNewWindow({UID_TYPING, {}, [=] { Call(WM_CHAR, wParam, lParam); }, false});
    case WM_CUT:
        return CutThroughNewWindow(false);
    case WM_CLEAR:
        return ReplaceThroughNewWindow({UID_DELETE, {}, {}, false});
    case WM_KEYDOWN:
        return OnLargeEditKey(wParam, lParam);
    default:
        return false;
    }
}

bool TNvRichEdit::OnLargeEditKey(WPARAM key, LPARAM lParam) {
    const TShiftState shift = CurrentShiftState();
    if (shift & ssAlt) return false;
    const bool control = (shift & ssCtrl) != 0, shifted = (shift & ssShift) != 0;
    if ((key == 'X' && control && !shifted) || (key == VK_DELETE && shifted && !control))
        return CutThroughNewWindow(true);
    if (key == VK_DELETE || key == VK_BACK) return ReplaceThroughNewWindow({UID_DELETE, {}, {}, false});
    if (key == VK_RETURN && !control) {
        return ReplaceThroughNewWindow({UID_TYPING, {}, [=] { Call(WM_KEYDOWN, key, lParam); }, false});
    }
    return false;
}

bool TNvRichEdit::SelectionTakesNewWindow(long inserted) const {
    // Single-level undo is not the history this one keeps.
    if (!hwnd_ || !parent_ || RichEditVersion() < 2 || undoLimit_ < 2) return false;
    CHARRANGE range{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const long total = TextLength();
    // A selection of everything may take the final paragraph mark too.
    return ReplacesThroughNewWindow(std::min(range.cpMax, total) - range.cpMin, inserted, total,
                                    LargeEditFrom);
}

// The control's cut by the keyboard sets its modified flag, the cut message leaves it as it was.
bool TNvRichEdit::CutThroughNewWindow(bool byKey) {
    if (!SelectionTakesNewWindow(0)) return false;
    CallPrevious(hwnd_, WM_COPY, 0, 0);
    return ReplaceThroughNewWindow({UID_CUT, {}, {}, !byKey});
}

// One character per position: paragraph marks as the control keeps them.
std::string TNvRichEdit::TextAsParagraphs() const {
    std::string text(static_cast<size_t>(TextLength()) + 1, '\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(text.size());
    request.flags = GT_DEFAULT;
    request.codepage = CP_ACP;
    const LRESULT copied =
        Call(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(text.size()) - 1)));
    return text;
}

bool TNvRichEdit::ReplaceThroughNewWindow(const LargeEdit& edit) {
    const long inserted = static_cast<long>(edit.Inserted.size());
    if (!SelectionTakesNewWindow(inserted)) return false;
    CHARRANGE range{0, 0};
    Call(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const long total = TextLength();
    range.cpMax = std::min(range.cpMax, total);
    // Nothing is left of a selection of everything, and the text need not be read.
    std::string rest;
    if (range.cpMin > 0 || range.cpMax < total) {
        rest = TextAsParagraphs();
        rest.replace(static_cast<size_t>(range.cpMin), static_cast<size_t>(range.cpMax - range.cpMin),
                     edit.Inserted);
    } else {
        rest = edit.Inserted;
    }
    // The control deleting the selection itself needs no more memory than it has.
    if (!MakeRoom(MemoryNeedOf(rest))) return false;

    const bool hadFocus = ::GetFocus() == hwnd_;
    const bool modified = !edit.KeepModified || Modified();
    HWND old = hwnd_;
    DetachSubclass(old);
    hwnd_ = nullptr;
    ++notifyLock_;
    ++routing_;
    try {
        CreateControlWindow(&rest, modified);
    } catch (...) {
        --routing_;
        --notifyLock_;
        if (hwnd_) ::DestroyWindow(std::exchange(hwnd_, nullptr));
        hwnd_ = old;
        AttachSubclass(old);
        throw;
    }
    ::ShowWindow(old, SW_HIDE);
    if (hadFocus) ::SetFocus(hwnd_);
    const UndoHistory::Replacement made =
        history_.Replaced(edit.Typed ? EditGrouping::Continues : EditGrouping::OwnStep, static_cast<bool>(edit.Typed));
    kept_.push_back({shownId_, OwnedWindow(old), bounds_});
    made_[made.NewWindow] = {shownId_, {range.cpMin, range.cpMax}, range.cpMin + inserted, edit.Kind};
    shownId_ = made.NewWindow;
    FreeWindows(made.Freed);
    ++newWindowReplacements_;
    CHARRANGE caret{range.cpMin + inserted, range.cpMin + inserted};
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    Call(EM_SCROLLCARET);
    --routing_;
    --notifyLock_;
    // The control reports a typed key's change itself, once, as for a key typed over a short selection.
    if (edit.Typed) {
        edit.Typed();
    } else {
        RaiseChange();
        RaiseSelectionChange();
    }
    return true;
}

} // namespace nv
