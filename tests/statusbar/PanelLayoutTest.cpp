#include "statusbar/PanelLayout.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(PartEdges, AreRunningSumsWithTheLastReachingTheEnd) {
    EXPECT_EQ(PartEdges({70, 50, 120, 205, 34, 38}), (std::vector<int>{70, 120, 240, 445, 479, kEdgeToEnd}));
    EXPECT_EQ(PartEdges({500}), (std::vector<int>{kEdgeToEnd})) << "a single panel's width never limits it";
}

TEST(PartEdges, NoPanelsStillGiveOnePartToTheEnd) { EXPECT_EQ(PartEdges({}), (std::vector<int>{kEdgeToEnd})); }

TEST(PartEdges, StopAt128PartsAndTheLast128thReachesTheEnd) {
    const std::vector<int> edges = PartEdges(std::vector<int>(130, 10));
    ASSERT_EQ(edges.size(), 128u);
    EXPECT_EQ(edges[0], 10);
    EXPECT_EQ(edges[126], 1270);
    EXPECT_EQ(edges[127], kEdgeToEnd);
    EXPECT_EQ(PartEdges(std::vector<int>(128, 10)).size(), 128u);
    EXPECT_EQ(PartEdges(std::vector<int>(127, 10)).size(), 127u);
}

TEST(PartEdges, ZeroWidthPanelsShareTheirNeighboursEdge) {
    EXPECT_EQ(PartEdges({0, 40, 0, 10}), (std::vector<int>{0, 40, 40, kEdgeToEnd}));
}

// Parts as the native control lays them out: a 2-pixel gap between parts, 2 pixels of border above.
std::vector<PartRect> ThreeParts() { return {{0, 2, 70, 19}, {72, 2, 120, 19}, {122, 2, 400, 19}}; }

int HitOf(const std::vector<PartRect>& rects, int x, int y) {
    return PanelAt(static_cast<int>(rects.size()), [&](int i) { return rects[static_cast<size_t>(i)]; }, x, y);
}

TEST(PanelAt, LeftAndTopEdgesAreInsideRightAndBottomAreNot) {
    const auto rects = ThreeParts();
    EXPECT_EQ(HitOf(rects, 0, 2), 0);
    EXPECT_EQ(HitOf(rects, 69, 18), 0);
    EXPECT_EQ(HitOf(rects, 70, 10), -1) << "right edge of panel 0, the gap before panel 1";
    EXPECT_EQ(HitOf(rects, 72, 10), 1);
    EXPECT_EQ(HitOf(rects, 100, 19), -1) << "bottom edge";
    EXPECT_EQ(HitOf(rects, 100, 1), -1) << "the border above the parts";
    EXPECT_EQ(HitOf(rects, 399, 5), 2);
    EXPECT_EQ(HitOf(rects, 400, 5), -1);
}

TEST(PanelAt, TheFirstPanelInIndexOrderWinsAndLaterOnesAreNotAsked) {
    std::vector<PartRect> rects{{0, 0, 50, 10}, {40, 0, 90, 10}, {40, 0, 90, 10}};
    int asked = 0;
    const int hit = PanelAt(3, [&](int i) { ++asked; return rects[static_cast<size_t>(i)]; }, 45, 5);
    EXPECT_EQ(hit, 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(HitOf(rects, 60, 5), 1);
}

TEST(PanelAt, EmptyRectanglesOfPanelsWithoutAPartHitNothing) {
    std::vector<PartRect> rects{{}, {}};
    EXPECT_EQ(HitOf(rects, 0, 0), -1);
}

TEST(PartRect, ShrinkingKeepsTheBevelOutside) {
    EXPECT_EQ((PartRect{10, 2, 40, 19}.Shrunk()), (PartRect{11, 3, 39, 18}));
    EXPECT_TRUE((PartRect{10, 2, 12, 19}.Shrunk()).Empty());
}

TEST(AutoFitWidth, IsTheTextWidthPlusSixAndFiveWhenMeasuringFails) {
    EXPECT_EQ(AutoFitWidth(28), 34);
    EXPECT_EQ(AutoFitWidth(0), 6);
    EXPECT_EQ(AutoFitWidth(kMeasureFailed), 5);
}

TEST(PlaceText, AutoFitCentresWhateverTheAlignment) {
    for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
        for (bool lock : {false, true}) {
            const TextPlacement p = PlaceText(a, true, lock);
            EXPECT_EQ(p.Horizontal, THorizontalPlacement::Centre);
            EXPECT_EQ(p.RightInset, 0);
        }
    }
}

TEST(PlaceText, RightAlignedTextPanelsEndOnePixelInButLockPanelsDoNot) {
    EXPECT_EQ(PlaceText(taRightJustify, false, false).Horizontal, THorizontalPlacement::Right);
    EXPECT_EQ(PlaceText(taRightJustify, false, false).RightInset, 1);
    EXPECT_EQ(PlaceText(taRightJustify, false, true).RightInset, 0);
    EXPECT_EQ(PlaceText(taLeftJustify, false, false).Horizontal, THorizontalPlacement::Left);
    EXPECT_EQ(PlaceText(taLeftJustify, false, false).RightInset, 0);
    EXPECT_EQ(PlaceText(taCenter, false, false).Horizontal, THorizontalPlacement::Centre);
}

TEST(ResolveHintArea, APanelWithAHintCoversItsOwnRectangle) {
    const auto rects = ThreeParts();
    const HintArea h = ResolveHintArea(rects, {false, true, false}, {0, 0, 400, 19}, 80, 5);
    EXPECT_EQ(h.Panel, 1);
    EXPECT_EQ(h.Area, rects[1]);
}

TEST(ResolveHintArea, OtherwiseTheBarsHintSpansBetweenTheNearestHintedPanels) {
    std::vector<PartRect> rects{{0, 2, 50, 19}, {52, 2, 100, 19}, {102, 2, 150, 19}, {152, 2, 400, 19}};
    const PartRect client{0, 0, 400, 19};
    HintArea h = ResolveHintArea(rects, {true, false, false, true}, client, 120, 5);
    EXPECT_EQ(h.Panel, -1);
    EXPECT_EQ(h.Area, (PartRect{50, 0, 152, 19}));
    h = ResolveHintArea(rects, {false, false, false, false}, client, 51, 5);
    EXPECT_EQ(h.Area, client) << "no hinted panel: the whole bar";
    h = ResolveHintArea(rects, {false, true, false, false}, client, 10, 5);
    EXPECT_EQ(h.Area, (PartRect{0, 0, 52, 19}));
}

} // namespace
} // namespace nv
