#include "statusbar/PanelLayout.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(PartEdges, AreRunningSumsWithTheLastReachingTheEnd) {
    EXPECT_EQ(PartEdges({70, 50, 120, 205, 34, 38}), (std::vector<int>{70, 120, 240, 445, 479, kEdgeToEnd}));
    EXPECT_EQ(PartEdges({500}), (std::vector<int>{kEdgeToEnd})) << "a single panel's width never limits it";
    EXPECT_EQ(PartEdges({}), (std::vector<int>{kEdgeToEnd})) << "no panels: one part to the end";
}

TEST(PartEdges, StopAt128PartsAndThe128thReachesTheEnd) {
    const std::vector<int> edges = PartEdges(std::vector<int>(130, 10));
    ASSERT_EQ(edges.size(), 128u);
    EXPECT_EQ(edges[126], 1270);
    EXPECT_EQ(edges[127], kEdgeToEnd);
    EXPECT_EQ(PartEdges(std::vector<int>(127, 10)).size(), 127u);
}

// Parts as the native control lays them out: 2-pixel gaps between parts, a 2-pixel border above.
int HitOf(int x, int y) {
    const std::vector<PartRect> rects{{0, 2, 70, 19}, {72, 2, 120, 19}, {}, {122, 2, 400, 19}};
    return PanelAt(4, [&](int i) { return rects[static_cast<size_t>(i)]; }, x, y);
}

TEST(PanelAt, LeftAndTopEdgesAreInsideRightAndBottomAreNot) {
    EXPECT_EQ(HitOf(0, 2), 0);
    EXPECT_EQ(HitOf(69, 18), 0);
    EXPECT_EQ(HitOf(70, 10), -1) << "right edge of panel 0, the gap before panel 1";
    EXPECT_EQ(HitOf(72, 10), 1);
    EXPECT_EQ(HitOf(100, 19), -1) << "bottom edge";
    EXPECT_EQ(HitOf(100, 1), -1) << "the border above the parts";
    EXPECT_EQ(HitOf(399, 5), 3) << "a panel without a part (empty rectangle) is skipped";
}

TEST(PanelAt, StopsAtTheFirstHitInIndexOrder) {
    int asked = 0;
    const int hit = PanelAt(3, [&](int) { ++asked; return PartRect{0, 0, 50, 10}; }, 45, 5);
    EXPECT_EQ(hit, 0);
    EXPECT_EQ(asked, 1);
}

TEST(AutoFitWidth, IsTheTextWidthPlusSixAndFiveWhenMeasuringFails) {
    EXPECT_EQ(AutoFitWidth(28), 34);
    EXPECT_EQ(AutoFitWidth(kMeasureFailed), 5);
    // The six are design pixels.
    EXPECT_EQ(AutoFitWidth(42, 144), 51);
    EXPECT_EQ(AutoFitWidth(56, 192), 68);
    EXPECT_EQ(AutoFitWidth(kMeasureFailed, 144), 8);
}

TEST(PlaceText, AutoFitCentresAndOnlyRightAlignedTextPanelsMoveInOnePixel) {
    for (TAlignment a : {taLeftJustify, taRightJustify, taCenter}) {
        EXPECT_EQ(PlaceText(a, true, false).Horizontal, THorizontalPlacement::Centre);
        EXPECT_EQ(PlaceText(a, true, false).RightInset, 0);
    }
    EXPECT_EQ(PlaceText(taRightJustify, false, false).Horizontal, THorizontalPlacement::Right);
    EXPECT_EQ(PlaceText(taRightJustify, false, false).RightInset, 1);
    EXPECT_EQ(PlaceText(taRightJustify, false, true).RightInset, 0) << "lock panels";
    EXPECT_EQ(PlaceText(taLeftJustify, false, false).Horizontal, THorizontalPlacement::Left);
}

TEST(ResolveHintArea, APanelsOwnHintOrTheBarsBetweenTheNearestHintedPanels) {
    const std::vector<PartRect> rects{{0, 2, 50, 19}, {52, 2, 100, 19}, {102, 2, 150, 19}, {152, 2, 400, 19}};
    const PartRect client{0, 0, 400, 19};
    HintArea h = ResolveHintArea(rects, {true, false, false, true}, client, 10, 5);
    EXPECT_EQ(h.Panel, 0);
    EXPECT_EQ(h.Area, rects[0]);
    h = ResolveHintArea(rects, {true, false, false, true}, client, 120, 5);
    EXPECT_EQ(h.Panel, -1);
    EXPECT_EQ(h.Area, (PartRect{50, 0, 152, 19}));
    EXPECT_EQ(ResolveHintArea(rects, {false, false, false, false}, client, 51, 5).Area, client);
}

} // namespace
} // namespace nv
