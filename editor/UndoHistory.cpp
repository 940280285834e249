#include "editor/UndoHistory.h"

#include <algorithm>

namespace nv {

bool ReplacesThroughNewWindow(long selected, long inserted, long total, long threshold) {
    const long work = selected + inserted;
    return threshold > 0 && work >= threshold && total - selected + inserted <= 2 * work;
}

long PositionAfterReplacement(long position, long start, long oldEnd, long newEnd) {
    if (position < start) return position;
    return (position <= oldEnd ? start : position - (oldEnd - start)) + (newEnd - start);
}

namespace {
template <class T> void Erase(std::vector<T>& items, const T& item) {
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}
} // namespace

UndoHistory::UndoHistory(int limit) : limit_(limit < 0 ? 0 : static_cast<size_t>(limit)) { Reset(); }

UndoHistory::WindowId UndoHistory::Reset() {
    steps_.clear();
    done_ = 0;
    shown_ = nextId_++;
    chain_.assign(1, shown_);
    open_ = capped_ = false;
    staleRedo_.clear();
    return shown_;
}

bool UndoHistory::Direct() const {
    return chain_.size() == 1 && !capped_ &&
           std::find(staleRedo_.begin(), staleRedo_.end(), shown_) == staleRedo_.end();
}

std::vector<UndoHistory::WindowId> UndoHistory::DiscardRedo() {
    steps_.resize(done_);
    const auto after = std::find(chain_.begin(), chain_.end(), shown_) + 1;
    std::vector<WindowId> freed(after, chain_.end());
    chain_.erase(after, chain_.end());
    for (WindowId window : freed) Erase(staleRedo_, window);
    return freed;
}

std::vector<UndoHistory::WindowId> UndoHistory::Edited(EditGrouping grouping) {
    std::vector<WindowId> freed = DiscardRedo();
    Erase(staleRedo_, shown_); // the control's own redo goes with the edit
    const bool goesOn = grouping == EditGrouping::Continues && open_ && done_ > 0 &&
                        !steps_.back().back().Switch && steps_.back().back().Window == shown_;
    if (!goesOn) {
        steps_.push_back({{false, shown_}});
        ++done_;
        Trim(freed);
    }
    open_ = grouping == EditGrouping::Continues;
    return freed;
}

UndoHistory::Replacement UndoHistory::Replaced(EditGrouping grouping, bool typed) {
    Replacement made{nextId_++, DiscardRedo()};
    // The control of the window left keeps its redo steps, which this edit ended.
    if (std::find(staleRedo_.begin(), staleRedo_.end(), shown_) == staleRedo_.end()) staleRedo_.push_back(shown_);
    Step parts{{true, made.NewWindow}};
    if (typed) parts.push_back({false, made.NewWindow});
    chain_.push_back(made.NewWindow);
    if (grouping == EditGrouping::Continues && open_ && done_ > 0) {
        steps_.back().insert(steps_.back().end(), parts.begin(), parts.end());
    } else {
        steps_.push_back(std::move(parts));
        ++done_;
    }
    shown_ = made.NewWindow;
    open_ = grouping == EditGrouping::Continues;
    Trim(made.Freed);
    return made;
}

void UndoHistory::Trim(std::vector<WindowId>& freed) {
    while (steps_.size() > limit_ && done_ > 0)
        DropFirstStep(freed);
}

// The oldest step goes out of reach, and with it the windows before the last one it switches to.
void UndoHistory::DropFirstStep(std::vector<WindowId>& freed) {
    const Step first = std::move(steps_.front());
    steps_.erase(steps_.begin());
    --done_;
    const auto lastSwitch = std::find_if(first.rbegin(), first.rend(), [](const Part& p) { return p.Switch; });
    if (lastSwitch == first.rend()) {
        capped_ = true; // the oldest window keeps a step nobody may undo
        return;
    }
    const auto oldest = std::find(chain_.begin(), chain_.end(), lastSwitch->Window);
    for (auto it = chain_.begin(); it != oldest; ++it) {
        freed.push_back(*it);
        Erase(staleRedo_, *it);
    }
    chain_.erase(chain_.begin(), oldest);
    // The new window's own steps that went with the switch, if any, are out of reach now.
    capped_ = lastSwitch != first.rbegin();
}

UndoHistory::WindowId UndoHistory::WindowBefore(WindowId window) const {
    const auto at = std::find(chain_.begin(), chain_.end(), window);
    return at == chain_.begin() || at == chain_.end() ? window : *(at - 1);
}

std::vector<UndoHistory::Action> UndoHistory::Undo() {
    open_ = false;
    if (done_ == 0) {
        // The step comes into the history as its oldest, undone.
        steps_.insert(steps_.begin(), Step{{false, shown_}});
        return {{Action::Kind::UndoIn, shown_}};
    }
    const Step& step = steps_[--done_];
    std::vector<Action> actions;
    for (auto part = step.rbegin(); part != step.rend(); ++part) {
        if (part->Switch) {
            actions.push_back({Action::Kind::ShowBefore, part->Window});
            shown_ = WindowBefore(part->Window);
        } else {
            actions.push_back({Action::Kind::UndoIn, part->Window});
        }
    }
    return actions;
}

std::vector<UndoHistory::Action> UndoHistory::Redo() {
    open_ = false;
    if (done_ == steps_.size()) {
        steps_.push_back({{false, shown_}});
        ++done_;
        return {{Action::Kind::RedoIn, shown_}};
    }
    const Step& step = steps_[done_++];
    std::vector<Action> actions;
    for (const Part& part : step) {
        if (part.Switch) {
            actions.push_back({Action::Kind::ShowAfter, part.Window});
            shown_ = part.Window;
        } else {
            actions.push_back({Action::Kind::RedoIn, part.Window});
        }
    }
    return actions;
}

UndoHistory::Kind UndoHistory::NextUndoKind() const {
    if (done_ == 0) return {};
    const Part& last = steps_[done_ - 1].back();
    return last.Switch ? Kind{false, last.Window} : Kind{true, -1};
}

UndoHistory::Kind UndoHistory::NextRedoKind() const {
    if (done_ == steps_.size()) return {};
    const Part& first = steps_[done_].front();
    return first.Switch ? Kind{false, first.Window} : Kind{true, -1};
}

std::vector<UndoHistory::WindowId> UndoHistory::DropOneKeptWindow() {
    std::vector<WindowId> freed;
    if (chain_.size() < 2) return freed;
    if (chain_.front() != shown_) {
        const WindowId oldest = chain_.front();
        while (chain_.front() == oldest && done_ > 0)
            DropFirstStep(freed);
        return freed;
    }
    // Every kept window lies ahead: the steps from the one that switches to the newest go.
    const WindowId newest = chain_.back();
    const auto holder = std::find_if(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end(),
                                     [newest](const Step& step) {
                                         return std::any_of(step.begin(), step.end(), [newest](const Part& p) {
                                             return p.Switch && p.Window == newest;
                                         });
                                     });
    steps_.erase(holder, steps_.end());
    chain_.pop_back();
    Erase(staleRedo_, newest);
    freed.push_back(newest);
    return freed;
}

} // namespace nv
