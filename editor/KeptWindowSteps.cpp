#include "editor/KeptWindowSteps.h"

namespace nv {

bool ReplacesThroughNewWindow(long selected, long inserted, long total, long threshold) {
    const long work = selected + inserted;
    return threshold > 0 && work >= threshold && total - selected + inserted <= 2 * work;
}

void KeptWindowSteps::Begin(int kind, bool typed) {
    shown_ = Shown::NewWindow;
    kind_ = kind;
    typed_ = typed;
}

void KeptWindowSteps::Switched() {
    if (shown_ == Shown::NewWindow) {
        shown_ = Shown::OldWindow;
    } else if (shown_ == Shown::OldWindow) {
        shown_ = Shown::NewWindow;
    }
}

bool KeptWindowSteps::Edited() {
    if (shown_ != Shown::OldWindow) return false;
    shown_ = Shown::OnlyWindow;
    return true;
}

KeptWindowSteps::Action KeptWindowSteps::Undo(bool canUndoHere) const {
    if (shown_ != Shown::NewWindow) return Action::Here;
    if (!canUndoHere) return Action::Switch;
    return typed_ ? Action::HereThenSwitchIfNothingLeft : Action::Here;
}

KeptWindowSteps::Action KeptWindowSteps::Redo(bool canRedoHere) const {
    if (shown_ != Shown::OldWindow || canRedoHere) return Action::Here;
    return typed_ ? Action::SwitchThenHere : Action::Switch;
}

int KeptWindowSteps::UndoKind(int kindHere, bool canUndoHere) const {
    return shown_ == Shown::NewWindow && !canUndoHere ? kind_ : kindHere;
}

int KeptWindowSteps::RedoKind(int kindHere, bool canRedoHere) const {
    return shown_ == Shown::OldWindow && !canRedoHere ? kind_ : kindHere;
}

} // namespace nv
