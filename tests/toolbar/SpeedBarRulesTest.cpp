// The toolbar's grid, snapping, drag rules, row resizing and outline.
#include "toolbar/SpeedBarRules.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(SpeedBarRules, GridStepAlongTheBar) {
    const std::pair<int, int> rows[] = {{24, 8}, {23, 1}, {16, 8}, {9, 3}, {30, 10}, {32, 8},
                                        {2, 1},  {3, 1},  {1, 1},  {6, 2}, {0, 1}};
    for (const auto& [length, step] : rows)
        EXPECT_EQ(GridStepAlong(length), step) << length;
}

TEST(SpeedBarRules, SnappingRoundsHalvesToEvenAlongAndTruncatesAcross) {
    struct Row {
        int x, y;
        bool horizontal;
        int snappedX, snappedY;
    };
    // Offsets 4, 4; steps 8 along and 24 across, as on the main window's bar.
    const Row rows[] = {
        {8, 4, true, 4, 4},      // 0.5 steps: to the even 0
        {16, 4, true, 20, 4},    // 1.5 steps: to the even 2
        {24, 4, true, 20, 4},    // 2.5 steps: to 2
        {15, 27, true, 12, 4},   // 1.375 steps; 23 / 24 across truncates to row 0
        {17, 28, true, 20, 28},  // 1.625 steps; a whole row across
        {-8, -10, true, -12, 4}, // -1.5 steps: to the even -2; -14 / 24 truncates toward zero
        {0, -40, true, 4, -20},  // -0.5 steps: to 0; -44 / 24 truncates to -1 row
        {27, 16, false, 4, 20},  // a vertical bar exchanges the rules
        {4, 8, false, 4, 4},
    };
    for (const Row& r : rows) {
        const TGridPoint step = r.horizontal ? TGridPoint{8, 24} : TGridPoint{24, 8};
        EXPECT_EQ(SnapToGrid({r.x, r.y}, {4, 4}, step, r.horizontal), (TGridPoint{r.snappedX, r.snappedY}))
            << r.x << "," << r.y;
    }
}

TEST(SpeedBarRules, DiagonalsChooseTheEdge) {
    struct Row {
        int x, y;
        TAlign align;
    };
    // A 400 by 300 client area: the diagonals cross at (200, 150).
    const Row rows[] = {{200, 10, alTop},   {200, 290, alBottom}, {10, 150, alLeft},   {390, 150, alRight},
                        {0, 0, alTop},      {40, 29, alTop},      {40, 31, alLeft},    {360, 29, alTop},
                        {360, 30, alRight}, {200, 150, alRight},  {100, 80, alLeft},   {399, 299, alRight},
                        {0, 299, alLeft},   {399, 0, alTop},      {200, 151, alBottom}};
    for (const Row& r : rows)
        EXPECT_EQ(ProposedAlign(400, 300, r.x, r.y), r.align) << r.x << "," << r.y;
    EXPECT_EQ(ProposedAlign(0, 0, 5, 5), alTop);
}

TEST(SpeedBarRules, AMoveStartsPastFourPixels) {
    EXPECT_FALSE(MoveStarted(4, 4));
    EXPECT_FALSE(MoveStarted(-4, 0));
    EXPECT_TRUE(MoveStarted(5, 0));
    EXPECT_TRUE(MoveStarted(0, -5));
}

TEST(SpeedBarRules, RowsAreWholeAndLimited) {
    EXPECT_EQ(RowsThickness(10, 24, 4, 400), 32) << "at least one row";
    EXPECT_EQ(RowsThickness(47, 24, 4, 400), 32);
    EXPECT_EQ(RowsThickness(48, 24, 4, 400), 56);
    EXPECT_EQ(RowsThickness(-80, 24, 4, 400), 80) << "the distance's size counts";
    EXPECT_EQ(RowsThickness(1000, 24, 4, 300), 300) << "never beyond the parent";
}

TEST(SpeedBarRules, ResizeZones) {
    // A top bar of 400 by 33: its bottom edge, 4 pixels on either side.
    EXPECT_TRUE(InResizeZone(alTop, 10, 30, 400, 33));
    EXPECT_TRUE(InResizeZone(alTop, 10, 37, 400, 33));
    EXPECT_FALSE(InResizeZone(alTop, 10, 29, 400, 33));
    EXPECT_FALSE(InResizeZone(alTop, 0, 33, 400, 33));
    EXPECT_TRUE(InResizeZone(alBottom, 10, -3, 400, 33));
    EXPECT_FALSE(InResizeZone(alBottom, 10, 5, 400, 33));
    EXPECT_TRUE(InResizeZone(alLeft, 30, 10, 33, 300));
    EXPECT_FALSE(InResizeZone(alLeft, 29, 10, 33, 300));
    EXPECT_TRUE(InResizeZone(alRight, 4, 10, 33, 300));
    EXPECT_FALSE(InResizeZone(alNone, 4, 10, 33, 300));
}

TEST(SpeedBarRules, OutlineLeavesTheControlsLaidOutBefore) {
    const TBarRect client{0, 0, 492, 350};
    const TBarRect bar{0, 0, 492, 33};
    const std::vector<TDockedControl> others = {
        {alBottom, {0, 331, 492, 350}}, {alRight, {392, 33, 492, 331}}, {alNone, {0, 0, 10, 10}}};
    EXPECT_EQ(DockOutline(client, alTop, 33, bar, others), (TBarRect{0, 0, 492, 33}));
    EXPECT_EQ(DockOutline(client, alBottom, 33, bar, others), (TBarRect{0, 298, 492, 331}))
        << "the status bar is nearer the bottom";
    EXPECT_EQ(DockOutline(client, alLeft, 33, bar, others), (TBarRect{0, 0, 33, 331}));
    EXPECT_EQ(DockOutline(client, alRight, 33, bar, others), (TBarRect{359, 0, 392, 331}))
        << "the chart is nearer the right edge";
    EXPECT_EQ(DockRoom(client, true, others), 331) << "a top or bottom bar: all but the status bar";
    EXPECT_EQ(DockRoom(client, false, others), 392) << "a left or right bar: all but the chart";
}

} // namespace
} // namespace nv
