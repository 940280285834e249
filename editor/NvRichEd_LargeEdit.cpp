// The text field's large replacements: a new window for the rest of the text, the old one kept hidden
// for undo (KeptWindowSteps.h).
#include "editor/NvRichEd.h"

#include "editor/RichEditLibrary.h"

#include <richedit.h>

#include <algorithm>

namespace nv {

using Action = KeptWindowSteps::Action;
using Shown = KeptWindowSteps::Shown;

long TNvRichEdit::KeptTextLength() const {
    if (!kept_) return 0;
    GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<long>(
        ::SendMessageA(kept_.get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}

// Messages that a kept window changes the meaning of, and the edits that replace a large selection.
bool TNvRichEdit::HandleLargeEdit(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    const bool kept = steps_.State() != Shown::OnlyWindow;
    switch (msg) {
    case WM_UNDO:
    case EM_UNDO:
        if (!kept) return false;
        result = RouteUndo(msg, wParam, lParam);
        return true;
    case EM_REDO:
        if (!kept) return false;
        result = RouteRedo(msg, wParam, lParam);
        return true;
    case EM_CANUNDO:
        result = steps_.CanUndo(CanUndoHere());
        return kept;
    case EM_CANREDO:
        result = steps_.CanRedo(CanRedoHere());
        return kept;
    case EM_GETUNDONAME:
        result = steps_.UndoKind(static_cast<int>(CallPrevious(hwnd_, msg, wParam, lParam)), CanUndoHere());
        return kept;
    case EM_GETREDONAME:
        result = steps_.RedoKind(static_cast<int>(CallPrevious(hwnd_, msg, wParam, lParam)), CanRedoHere());
        return kept;
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
    // The control undoes and redoes these keys itself, past the kept window.
    if (control && !shifted && (key == 'Z' || key == 'Y') && steps_.State() != Shown::OnlyWindow) {
        if (key == 'Z')
            RouteUndo(WM_UNDO, 0, 0);
        else
            RouteRedo(EM_REDO, 0, 0);
        return true;
    }
    if ((key == 'X' && control && !shifted) || (key == VK_DELETE && shifted && !control))
        return CutThroughNewWindow(true);
    if (key == VK_DELETE || key == VK_BACK) return ReplaceThroughNewWindow({UID_DELETE, {}, {}, false});
    if (key == VK_RETURN && !control) {
        return ReplaceThroughNewWindow({UID_TYPING, {}, [=] { Call(WM_KEYDOWN, key, lParam); }, false});
    }
    return false;
}

bool TNvRichEdit::SelectionTakesNewWindow(long inserted) const {
    if (!hwnd_ || !parent_ || RichEditVersion() < 2) return false;
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
    // Only the latest large replacement keeps a window; the memory the kept one holds may be needed.
    DropKeptWindow();
    if (!MemoryNeedOf(rest).Fits()) return false;

    const bool hadFocus = ::GetFocus() == hwnd_;
    const bool modified = !edit.KeepModified || Modified();
    HWND old = hwnd_;
    DetachSubclass(old);
    hwnd_ = nullptr;
    ++notifyLock_;
    try {
        CreateControlWindow(&rest, modified);
    } catch (...) {
        --notifyLock_;
        if (hwnd_) ::DestroyWindow(std::exchange(hwnd_, nullptr));
        hwnd_ = old;
        AttachSubclass(old);
        throw;
    }
    --notifyLock_;
    if (hadFocus) ::SetFocus(hwnd_);
    ::ShowWindow(old, SW_HIDE);
    kept_.reset(old);
    keptBounds_ = bounds_;
    replaced_ = PositionRange{range.cpMin, range.cpMax};
    insertedEnd_ = range.cpMin + inserted;
    steps_.Begin(edit.Kind, static_cast<bool>(edit.Typed));
    CHARRANGE caret{insertedEnd_, insertedEnd_};
    Call(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    Call(EM_SCROLLCARET);
    RaiseChange();
    RaiseSelectionChange();
    if (edit.Typed) edit.Typed();
    return true;
}

bool TNvRichEdit::CanUndoHere() const {
    return CallPrevious(hwnd_, EM_CANUNDO, 0, 0) != 0;
}
bool TNvRichEdit::CanRedoHere() const {
    return CallPrevious(hwnd_, EM_CANREDO, 0, 0) != 0;
}

LRESULT TNvRichEdit::CallHere(UINT msg, WPARAM wParam, LPARAM lParam) {
    ++routing_;
    const LRESULT result = CallPrevious(hwnd_, msg, wParam, lParam);
    --routing_;
    return result;
}

// As the control leaves it, the caret goes to the end of the text the undo brought back.
LRESULT TNvRichEdit::RouteUndo(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (steps_.Undo(CanUndoHere())) {
    case Action::Switch:
        ShowKeptWindow(replaced_.End);
        return TRUE;
    case Action::HereThenSwitchIfNothingLeft: {
        const LRESULT result = CallHere(msg, wParam, lParam);
        if (!CanUndoHere()) ShowKeptWindow(replaced_.End);
        return result;
    }
    default:
        return CallHere(msg, wParam, lParam);
    }
}

// Redone, the replacement leaves the caret where the control's own redo would: after what it
// inserted.
LRESULT TNvRichEdit::RouteRedo(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (steps_.Redo(CanRedoHere())) {
    case Action::Switch:
        ShowKeptWindow(insertedEnd_);
        return TRUE;
    case Action::SwitchThenHere:
        SwitchKeptWindow();
        CallHere(msg, wParam, lParam);
        RaiseChange();
        RaiseSelectionChange();
        return TRUE;
    default:
        return CallHere(msg, wParam, lParam);
    }
}

// Undo and redo leave the modified flag as it was.
void TNvRichEdit::SwitchKeptWindow() {
    const bool hadFocus = ::GetFocus() == hwnd_;
    const bool modified = Modified();
    HWND next = kept_.release();
    HWND shown = hwnd_;
    DetachSubclass(shown);
    // A window resized while hidden lays its text out again: only when it has to.
    if (!::EqualRect(&keptBounds_, &bounds_)) {
        ::MoveWindow(next, bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                     bounds_.bottom - bounds_.top, FALSE);
    }
    hwnd_ = next;
    AttachSubclass(next);
    CallHere(EM_SETMODIFY, modified ? TRUE : FALSE);
    if (visible_) ::ShowWindow(next, SW_SHOW);
    if (hadFocus) ::SetFocus(next);
    ::ShowWindow(shown, SW_HIDE);
    kept_.reset(shown);
    keptBounds_ = bounds_;
    steps_.Switched();
}

void TNvRichEdit::ShowKeptWindow(long caret) {
    SwitchKeptWindow();
    CHARRANGE at{caret, caret};
    CallHere(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&at));
    CallHere(EM_SCROLLCARET);
    RaiseChange();
    RaiseSelectionChange();
}

void TNvRichEdit::DropKeptWindow() {
    kept_.reset();
    steps_.Clear();
}

// A change the user makes in the old window ends what redo could reach in the new one.
void TNvRichEdit::NoteEdit() {
    if (routing_ == 0 && notifyLock_ == 0 && steps_.Edited()) kept_.reset();
}

} // namespace nv
