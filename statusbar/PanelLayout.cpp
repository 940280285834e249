#include "statusbar/PanelLayout.h"

#include "base/DpiRules.h"

#include <algorithm>

namespace nv {

std::vector<int> PartEdges(const std::vector<int>& widths) {
    const size_t parts = std::min<size_t>(widths.size(), kMaxStatusParts);
    std::vector<int> edges;
    edges.reserve(std::max<size_t>(parts, 1));
    int edge = 0;
    for (size_t i = 0; i < parts; ++i) {
        edge += widths[i];
        edges.push_back(edge);
    }
    if (edges.empty()) edges.push_back(0);
    // The last panel's own width never limits it.
    edges.back() = kEdgeToEnd;
    return edges;
}

int PanelAt(int count, const std::function<PartRect(int index)>& rectOf, int x, int y) {
    for (int i = 0; i < count; ++i) {
        if (rectOf(i).Contains(x, y)) return i;
    }
    return -1;
}

int AutoFitWidth(int measuredText, int dpi) { return measuredText + DpiScaled(6, dpi); }

TextPlacement PlaceText(TAlignment alignment, bool autoFit, bool lockPanel) {
    if (autoFit) return {THorizontalPlacement::Centre, 0};
    switch (alignment) {
    case taCenter: return {THorizontalPlacement::Centre, 0};
    case taRightJustify: return {THorizontalPlacement::Right, lockPanel ? 0 : 1};
    case taLeftJustify: break;
    }
    return {THorizontalPlacement::Left, 0};
}

HintArea ResolveHintArea(const std::vector<PartRect>& rects, const std::vector<bool>& hasHint,
                         const PartRect& client, int x, int y) {
    const int count = static_cast<int>(std::min(rects.size(), hasHint.size()));
    const int hit = PanelAt(count, [&](int i) { return rects[static_cast<size_t>(i)]; }, x, y);
    if (hit >= 0 && hasHint[static_cast<size_t>(hit)]) return {hit, rects[static_cast<size_t>(hit)]};

    HintArea bar{-1, client};
    for (int i = 0; i < count; ++i) {
        const PartRect& r = rects[static_cast<size_t>(i)];
        if (!hasHint[static_cast<size_t>(i)] || r.Empty()) continue;
        if (r.Right <= x) bar.Area.Left = std::max(bar.Area.Left, r.Right);
        if (r.Left > x) bar.Area.Right = std::min(bar.Area.Right, r.Left);
    }
    return bar;
}

} // namespace nv
