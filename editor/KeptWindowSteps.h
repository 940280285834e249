// A large selection is replaced by handing the rest of the text to a new window, the old window kept
// hidden: the Wine control deletes paragraph by paragraph in time that grows with the square of their
// number (a megabyte takes half a minute, and its undo as long again), and inserts a long text little
// faster, while a new window takes the rest of the text in well under a second and the old one comes
// back at once.
//
// Undo and redo reach the replacement between the two windows' own histories: undo goes through the
// new window's steps, then shows the old window again; redo goes through the old window's undone steps,
// then shows the new one. A pasted text comes in with the rest of the text. A typed key is left to the
// control in the new window, where typing goes on in the same step as the control would have it: that
// first step belongs to the replacement, so undoing it shows the old window at once, and showing the
// new window again redoes it.
#pragma once

namespace nv {

// From this many characters the Wine control takes longer to delete a selection than a new window
// takes the rest of the text.
constexpr long kLargeEditFrom = 32 * 1024;

// Whether replacing `selected` of `total` characters by `inserted` ones goes through a new window: the
// characters the control would delete and insert reach `threshold` (0: never), and the text the new
// window takes instead is no more than twice as long.
bool ReplacesThroughNewWindow(long selected, long inserted, long total, long threshold);

class KeptWindowSteps {
  public:
    enum class Shown { OnlyWindow, NewWindow, OldWindow };
    // What an undo or a redo does: in the window shown, by switching to the kept one, or both.
    enum class Action { Here, Switch, HereThenSwitchIfNothingLeft, SwitchThenHere };

    // A replacement went through a new window, which shows now; `kind` is its undo kind. `typed`: the
    // control then took a key in the new window, its first step there.
    void Begin(int kind, bool typed);
    // The windows were switched as an action asked.
    void Switched();
    // The kept window is gone.
    void Clear() { shown_ = Shown::OnlyWindow; }
    // A change the user made in the window shown, not an undo or redo: true when the kept new window
    // has to go, as the change ends what redo could reach.
    bool Edited();

    Shown State() const { return shown_; }
    Action Undo(bool canUndoHere) const;
    Action Redo(bool canRedoHere) const;
    bool CanUndo(bool canUndoHere) const { return canUndoHere || shown_ == Shown::NewWindow; }
    bool CanRedo(bool canRedoHere) const { return canRedoHere || shown_ == Shown::OldWindow; }
    // The undo kind of what the next undo or redo reverses, given the window's own.
    int UndoKind(int kindHere, bool canUndoHere) const;
    int RedoKind(int kindHere, bool canRedoHere) const;

  private:
    Shown shown_ = Shown::OnlyWindow;
    int kind_ = 0;
    bool typed_ = false;
};

} // namespace nv
