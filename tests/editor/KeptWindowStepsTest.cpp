#include "editor/KeptWindowSteps.h"

#include <gtest/gtest.h>

namespace nv {

TEST(KeptWindowSteps, ANewWindowTakesOnlyLargeWorkNotFarShorterThanTheText) {
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

TEST(KeptWindowSteps, UndoGoesThroughTheNewWindowThenBackAndRedoTheOtherWay) {
    using Shown = KeptWindowSteps::Shown;
    using Action = KeptWindowSteps::Action;
    struct Row {
        bool inserted;
        Shown shown;
        bool canHere;
        Action undo, redo;
        bool canUndo, canRedo;
    } rows[] = {
        {false, Shown::OnlyWindow, true, Action::Here, Action::Here, true, true},
        {false, Shown::OnlyWindow, false, Action::Here, Action::Here, false, false},
        {false, Shown::NewWindow, true, Action::Here, Action::Here, true, true},
        {false, Shown::NewWindow, false, Action::Switch, Action::Here, true, false},
        {true, Shown::NewWindow, true, Action::HereThenSwitchIfNothingLeft, Action::Here, true, true},
        {true, Shown::NewWindow, false, Action::Switch, Action::Here, true, false},
        {false, Shown::OldWindow, true, Action::Here, Action::Here, true, true},
        {false, Shown::OldWindow, false, Action::Here, Action::Switch, false, true},
        {true, Shown::OldWindow, false, Action::Here, Action::SwitchThenHere, false, true},
    };
    for (const Row& r : rows) {
        KeptWindowSteps steps;
        if (r.shown != Shown::OnlyWindow) steps.Begin(2, r.inserted);
        if (r.shown == Shown::OldWindow) steps.Switched();
        ASSERT_EQ(steps.State(), r.shown);
        EXPECT_EQ(steps.Undo(r.canHere), r.undo) << static_cast<int>(r.shown) << r.canHere << r.inserted;
        EXPECT_EQ(steps.Redo(r.canHere), r.redo) << static_cast<int>(r.shown) << r.canHere << r.inserted;
        EXPECT_EQ(steps.CanUndo(r.canHere), r.canUndo) << static_cast<int>(r.shown) << r.canHere;
        EXPECT_EQ(steps.CanRedo(r.canHere), r.canRedo) << static_cast<int>(r.shown) << r.canHere;
    }
}

TEST(KeptWindowSteps, AnEditInTheOldWindowEndsTheRedoAndKindsNameTheReplacement) {
    KeptWindowSteps steps;
    EXPECT_FALSE(steps.Edited());
    steps.Begin(5, true);
    EXPECT_FALSE(steps.Edited()) << "an edit in the new window keeps the old one for undo";
    EXPECT_EQ(steps.UndoKind(1, true), 1);
    EXPECT_EQ(steps.UndoKind(0, false), 5);
    EXPECT_EQ(steps.RedoKind(0, false), 0);
    steps.Switched();
    EXPECT_EQ(steps.State(), KeptWindowSteps::Shown::OldWindow);
    EXPECT_EQ(steps.RedoKind(0, false), 5);
    EXPECT_EQ(steps.RedoKind(2, true), 2);
    EXPECT_TRUE(steps.Edited());
    EXPECT_EQ(steps.State(), KeptWindowSteps::Shown::OnlyWindow);
    steps.Begin(2, false);
    steps.Clear();
    EXPECT_FALSE(steps.CanUndo(false));
}

} // namespace nv
