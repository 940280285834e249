// Window-free rules of the status bar: part edges, hit-testing, fitted widths, text placement and
// the area a hint covers.
#pragma once

#include "base/DpiRules.h"
#include "statusbar/PanelTypes.h"

#include <functional>
#include <string>
#include <vector>

namespace nv {

// The native control takes at most this many parts; panels past it get none.
constexpr int kMaxStatusParts = 128;
// The native control's "to the right end of the bar" edge.
constexpr int kEdgeToEnd = -1;

// Right edges of the parts for panels of these widths: running sums, the last one reaching the end.
// With no panels there is still one part, reaching the end.
std::vector<int> PartEdges(const std::vector<int>& widths);

struct PartRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    bool Empty() const { return Right <= Left || Bottom <= Top; }
    // Left and top edges are inside, right and bottom edges are not.
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    // The inside of a part, clear of its 1-pixel bevel.
    PartRect Shrunk() const { return {Left + 1, Top + 1, Right - 1, Bottom - 1}; }
    bool operator==(const PartRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

// The first panel, in index order, whose rectangle holds the point; -1 when none does.
int PanelAt(int count, const std::function<PartRect(int index)>& rectOf, int x, int y);

// What GetTextExtent failing counts as.
constexpr int kMeasureFailed = -1;
// Width of an AutoFit panel whose text measures `measuredText` pixels, at `dpi`: 6 design pixels more.
int AutoFitWidth(int measuredText, int dpi = kDesignDpi);

enum class THorizontalPlacement { Left, Centre, Right };
struct TextPlacement {
    THorizontalPlacement Horizontal = THorizontalPlacement::Left;
    int RightInset = 0; // pixels the drawing rectangle's right edge moves left
};
// Ordinary text panels pull right-aligned text 1 pixel in from the edge; lock panels do not.
TextPlacement PlaceText(TAlignment alignment, bool autoFit, bool lockPanel);

// Where a tooltip over the bar applies: the panel under the point when it has a hint of its own,
// otherwise the bar's hint between the nearest hinted panels on either side.
struct HintArea {
    int Panel = -1; // the panel whose hint shows, or -1 for the bar's own hint
    PartRect Area;
};
HintArea ResolveHintArea(const std::vector<PartRect>& rects, const std::vector<bool>& hasHint,
                         const PartRect& client, int x, int y);

} // namespace nv
