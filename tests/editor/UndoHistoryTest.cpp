// The history over several windows means what one control's undo means: the same random edits, undos
// and redos on one simulated control and on the history driving a simulated control per window leave
// the same text and the same undo and redo at every step.
#include "editor/UndoHistory.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace nv {
namespace {

// A control's undo as Wine's keeps it: a stack of texts up to the limit, typing going on in the open step.
struct SimControl {
    explicit SimControl(size_t stepLimit, std::string start = {}) : limit(stepLimit), text(std::move(start)) {}
    size_t limit;
    std::string text;
    std::vector<std::string> undo, redo;
    bool open = false;

    void Edit(EditGrouping grouping, const std::string& after) {
        if (!(grouping == EditGrouping::Continues && open && !undo.empty())) {
            undo.push_back(text);
            if (undo.size() > limit) undo.erase(undo.begin());
        }
        redo.clear();
        text = after;
        open = grouping == EditGrouping::Continues;
    }
    void Undo() {
        redo.push_back(text), text = undo.back(), undo.pop_back(), open = false;
    }
    void Redo() {
        undo.push_back(text), text = redo.back(), redo.pop_back(), open = false;
    }
};

// The text field's side: a control per window, the history deciding which one answers.
struct SimField {
    explicit SimField(size_t stepLimit) : history(static_cast<int>(stepLimit)), limit(stepLimit) {
        windows.emplace(history.Shown(), SimControl(limit));
    }
    UndoHistory history;
    size_t limit;
    std::map<UndoHistory::WindowId, SimControl> windows;
    SimControl& Shown() { return windows.at(history.Shown()); }

    void Free(const std::vector<UndoHistory::WindowId>& freed) {
        for (auto id : freed) ASSERT_EQ(windows.erase(id), 1u) << "window " << id;
    }
    void Edit(EditGrouping grouping, const std::string& after) {
        Free(history.Edited(grouping));
        Shown().Edit(grouping, after);
    }
    void Replace(EditGrouping grouping, const std::string& rest, const std::string* typed) {
        const UndoHistory::Replacement made = history.Replaced(grouping, typed != nullptr);
        Free(made.Freed);
        SimControl fresh(limit, rest);
        if (typed) fresh.Edit(EditGrouping::Continues, *typed);
        windows.emplace(made.NewWindow, fresh);
    }
    bool CanUndo() { return history.Direct() ? !Shown().undo.empty() : history.CanUndo(); }
    bool CanRedo() { return history.Direct() ? !Shown().redo.empty() : history.CanRedo(); }
    // A window shown again starts no typing of its own: the field closes its step.
    void Step(const std::vector<UndoHistory::Action>& actions) {
        for (const auto& action : actions) {
            if (action.What == UndoHistory::Action::Kind::UndoIn) windows.at(action.Window).Undo();
            if (action.What == UndoHistory::Action::Kind::RedoIn) windows.at(action.Window).Redo();
        }
        Shown().open = false;
    }
};

TEST(UndoHistory, AcrossWindowsMeansWhatOneControlsUndoMeans) {
    int largePaths = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const size_t limit = 2 + seed % 5;
        SimControl plain(limit);
        SimField field(limit);
        std::ostringstream steps;
        int counter = 0;
        for (int i = 0; i < 80; ++i) {
            const int op = static_cast<int>(random() % 10);
            const std::string mark(1, static_cast<char>('a' + counter++ % 26));
            switch (op) {
            case 0: case 1: case 2: // typing
                steps << "type ";
                plain.Edit(EditGrouping::Continues, plain.text + mark);
                field.Edit(EditGrouping::Continues, field.Shown().text + mark);
                break;
            case 3: // delete, a paste, a replacement
                steps << "own ";
                plain.Edit(EditGrouping::OwnStep, plain.text + mark);
                field.Edit(EditGrouping::OwnStep, field.Shown().text + mark);
                break;
            case 4: // the caret moves
                steps << "close ";
                plain.open = false;
                field.Shown().open = false;
                field.history.GroupClosed();
                break;
            case 5: case 6: { // most of the text replaced, by a key, a cut or a paste
                const bool typed = random() % 2 == 0;
                const EditGrouping grouping = typed ? EditGrouping::Continues : EditGrouping::OwnStep;
                const std::string rest = "R" + mark, after = typed ? rest + "t" : rest;
                steps << (typed ? "large-typed " : "large ");
                plain.Edit(grouping, after);
                field.Replace(grouping, rest, typed ? &after : nullptr);
                ++largePaths;
                break;
            }
            case 7: case 8: // undo
                steps << "undo ";
                ASSERT_EQ(field.CanUndo(), !plain.undo.empty()) << "seed " << seed << ": " << steps.str();
                if (plain.undo.empty()) break;
                plain.Undo();
                field.Step(field.history.Undo());
                break;
            default: // redo
                steps << "redo ";
                ASSERT_EQ(field.CanRedo(), !plain.redo.empty()) << "seed " << seed << ": " << steps.str();
                if (plain.redo.empty()) break;
                plain.Redo();
                field.Step(field.history.Redo());
                break;
            }
            ASSERT_EQ(field.Shown().text, plain.text) << "seed " << seed << ": " << steps.str();
            ASSERT_EQ(field.CanUndo(), !plain.undo.empty()) << "seed " << seed << ": " << steps.str();
            ASSERT_EQ(field.CanRedo(), !plain.redo.empty()) << "seed " << seed << ": " << steps.str();
            ASSERT_EQ(field.windows.size(), field.history.Windows().size());
        }
    }
    EXPECT_GT(largePaths, 3000);
}

TEST(UndoHistory, KindsNameTheReplacementOrLeaveItToTheControl) {
    UndoHistory history(10);
    const UndoHistory::WindowId first = history.Shown();
    history.Edited(EditGrouping::Continues);
    EXPECT_TRUE(history.NextUndoKind().FromControl);
    const UndoHistory::WindowId made = history.Replaced(EditGrouping::OwnStep, false).NewWindow;
    EXPECT_EQ(history.NextUndoKind().Replacement, made);
    EXPECT_FALSE(history.Direct());
    EXPECT_EQ(history.Undo(), (std::vector<UndoHistory::Action>{{UndoHistory::Action::Kind::ShowBefore, made}}));
    EXPECT_EQ(history.Shown(), first);
    EXPECT_EQ(history.NextRedoKind().Replacement, made);
    EXPECT_FALSE(history.Direct()) << "the first window's control keeps a redo step the replacement ended";
    EXPECT_EQ(history.DropOneKeptWindow(), std::vector<UndoHistory::WindowId>{made});
    EXPECT_FALSE(history.CanRedo());
    EXPECT_TRUE(history.CanUndo());
}

// As measured of the control undoing and redoing the replacement of 20-60 in a text of 100.
TEST(UndoHistory, TheSelectionMovesWithTheTextAsTheControlMovesIt) {
    struct Row {
        long position, start, oldEnd, newEnd, after;
    } rows[] = {
        {0, 20, 20, 60, 0},   {20, 20, 20, 60, 60}, {50, 20, 20, 60, 90}, // a deletion undone
        {5, 20, 60, 20, 5},   {50, 20, 60, 20, 20}, {60, 20, 60, 20, 20}, {80, 20, 60, 20, 40}, // redone
        {21, 20, 21, 60, 60}, {60, 20, 21, 60, 99}, {61, 20, 60, 21, 22}, // a typed key's
    };
    for (const Row& r : rows)
        EXPECT_EQ(PositionAfterReplacement(r.position, r.start, r.oldEnd, r.newEnd), r.after)
            << r.position << " in " << r.start << "-" << r.oldEnd << " to " << r.newEnd;
}

TEST(UndoHistory, ANewWindowTakesOnlyLargeWorkNotFarShorterThanTheText) {
    struct Row {
        long selected, inserted, total, threshold;
        bool newWindow;
    } rows[] = {
        {100, 0, 100, 50, true}, {100, 1, 100, 50, true},  {34, 0, 100, 30, true},
        {33, 0, 100, 30, false}, // the new window would take the other 67
        {40, 0, 60, 50, false},  {0, 0, 0, 1, false},      {100, 0, 100, 0, false}, // 0: never
        {0, 100, 100, 50, true}, {0, 100, 101, 50, false}, // a paste as long as the text it goes into
        {1, 1, 1, 1, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ReplacesThroughNewWindow(r.selected, r.inserted, r.total, r.threshold), r.newWindow)
            << r.selected << " by " << r.inserted << " of " << r.total << " from " << r.threshold;
}

} // namespace
} // namespace nv
