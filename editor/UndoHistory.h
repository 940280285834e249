// The text field's one undo history over several control windows.
//
// A large selection is replaced by handing the rest of the text to a new window, the old window kept
// hidden: the Wine control deletes paragraph by paragraph in time that grows with the square of their
// number (a megabyte takes half a minute, and its undo as long again), while a new window takes the
// rest of the text in well under a second and the old one comes back at once.
//
// The history is the one the plain control would keep: a line of steps with one position in it. A step
// is made of parts, each either one of a window's own undo steps or a switch to the window a
// replacement made; undo runs a step's parts backward, redo forward. Invariants:
//   - the windows in reach form a chain, oldest first; the shown one is the one the position is in;
//   - a new edit drops every step after the position, and with them every window after the shown one;
//   - there are never more steps than the limit; when an edit would make one more, the oldest goes, and
//     with it every window only that step could show again;
//   - typing goes on in the open step (the control's own grouping, as measured under Wine: typing,
//     Enter and Backspace without a selection join the typing before them until the caret is moved by a
//     key or the mouse, the focus changes, the format changes, or a step of another kind is made), and
//     a replacement typed over a selection joins it the same way.
#pragma once

#include <cstddef>
#include <vector>

namespace nv {

// From this many characters the Wine control takes longer to delete a selection than a new window
// takes the rest of the text.
constexpr long kLargeEditFrom = 32 * 1024;

// Whether replacing `selected` of `total` characters by `inserted` ones goes through a new window: the
// characters the control would delete and insert reach `threshold` (0: never), and the text the new
// window takes instead is no more than twice as long.
bool ReplacesThroughNewWindow(long selected, long inserted, long total, long threshold);

// Where a position of the selection goes when the text from `start` to `oldEnd` becomes one that ends
// at `newEnd`, as the control moves its selection when it undoes or redoes: a position inside the
// replaced text goes to its end, one after it moves with the text.
long PositionAfterReplacement(long position, long start, long oldEnd, long newEnd);

enum class EditGrouping {
    Continues, // goes on in the open typing step, or opens one
    OwnStep,   // a step of its own, which closes the typing step
};

class UndoHistory {
  public:
    using WindowId = int;
    struct Action {
        enum class Kind {
            UndoIn,     // one of the shown window's own steps back
            RedoIn,     // one of the shown window's own steps again
            ShowBefore, // the window before the one the replacement made comes back
            ShowAfter,  // the window the replacement made comes back
        };
        Kind What;
        WindowId Window; // UndoIn, RedoIn: the shown window; ShowBefore, ShowAfter: the replacement's
        bool operator==(const Action& o) const { return What == o.What && Window == o.Window; }
    };
    // What names the step the next undo or redo reverses.
    struct Kind {
        bool FromControl = false; // the shown window's own name for its step
        WindowId Replacement = -1; // else the replacement that made this window, or none (-1)
    };

    explicit UndoHistory(int limit = 100);

    // Starts again with one window and nothing to undo; answers that window.
    WindowId Reset();
    void SetLimit(int limit) { limit_ = limit < 0 ? 0 : static_cast<size_t>(limit); }

    // The shown window made an edit. Answers the windows that fell out of reach.
    std::vector<WindowId> Edited(EditGrouping grouping);
    // The shown window's typing step is closed: the next typing starts a step of its own.
    void GroupClosed() { open_ = false; }
    struct Replacement {
        WindowId NewWindow;
        std::vector<WindowId> Freed;
    };
    // The shown window's selection was replaced through a new window, which shows now. `typed`: the
    // control then takes the key in the new window, as its first step there.
    Replacement Replaced(EditGrouping grouping, bool typed);

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // Moves the position and answers what the windows must do, in order. Past the steps counted (a
    // control that split a step where it marked a link, say) the shown window's own step is taken.
    std::vector<Action> Undo();
    std::vector<Action> Redo();
    Kind NextUndoKind() const;
    Kind NextRedoKind() const;

    // The oldest window that is not shown goes, with what only it could reach: before the shown
    // window, the oldest; else (all of them hold redo) the newest. Answers the windows freed.
    std::vector<WindowId> DropOneKeptWindow();

    // One window, whose own undo and redo are exactly the history's: the control answers for itself.
    bool Direct() const;
    WindowId Shown() const { return shown_; }
    // The windows in reach, oldest first (the shown one among them).
    const std::vector<WindowId>& Windows() const { return chain_; }
    size_t StepCount() const { return steps_.size(); }
    size_t Position() const { return done_; }

  private:
    struct Part {
        bool Switch;     // to the window a replacement made, else one of a window's own steps
        WindowId Window; // the window made, or the one whose step it is
    };
    using Step = std::vector<Part>;

    std::vector<WindowId> DiscardRedo();
    void Trim(std::vector<WindowId>& freed);
    void DropFirstStep(std::vector<WindowId>& freed);
    WindowId WindowBefore(WindowId window) const;

    size_t limit_;
    std::vector<Step> steps_;
    size_t done_ = 0;
    std::vector<WindowId> chain_;
    WindowId shown_ = 0;
    WindowId nextId_ = 0;
    bool open_ = false;
    // The oldest window's control holds steps before the history's start.
    bool capped_ = false;
    // Windows that a replacement left: their controls hold redo steps the replacement ended.
    std::vector<WindowId> staleRedo_;
};

} // namespace nv
