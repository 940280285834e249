// Window-free rules of the toolbar: its grid, snapping, the edge a drag proposes, the start of a
// drag, row resizing and the outline of the bar at a proposed edge.
#pragma once

#include <vector>

namespace nv {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TBarRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const TBarRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TBarRect& o) const { return !(*this == o); }
};

// The grid step along a bar whose buttons are `length` pixels long: the smallest divisor of the
// length from min(8, length / 3) up, but never the whole length (then the largest proper divisor).
int GridStepAlong(int length);

// Nearest multiple with halves to the even one, and truncation toward zero, of value / step.
int RoundHalfEven(int value, int step);
int TruncateToward0(int value, int step);

struct TGridPoint {
    int X = 0, Y = 0;
    bool operator==(const TGridPoint& o) const { return X == o.X && Y == o.Y; }
};
// A point on the grid: rounded along the bar, truncated across it.
TGridPoint SnapToGrid(TGridPoint point, TGridPoint offset, TGridPoint step, bool horizontal);

// The edge a drag proposes for a point of the parent's client area of width w and height h: the two
// diagonals cut it into a top, bottom, left and right triangle.
TAlign ProposedAlign(int w, int h, int x, int y);

// A press on the bar becomes a move only past this many pixels in either direction.
constexpr int kDragThreshold = 4;
bool MoveStarted(int dx, int dy);

// Resizing in whole rows: the bar's thickness for a drag distance `distance` from its fixed edge (less
// both offsets), with buttons `buttonThickness` thick, never beyond `limit`.
int RowsThickness(int distance, int buttonThickness, int offset, int limit);

// Whether a point in the bar's client coordinates is on the edge that resizes the bar.
bool InResizeZone(TAlign align, int x, int y, int clientWidth, int clientHeight);

// A control docked to an edge of the same parent.
struct TDockedControl {
    TAlign Align = alNone;
    TBarRect Bounds;
};
// Where the bar would go at `proposed`: the client area less every other docked control laid out
// before it (an earlier edge in the order top, bottom, left, right, or the same edge and nearer to it
// than the bar now is), cut to `thickness` along that edge.
TBarRect DockOutline(const TBarRect& client, TAlign proposed, int thickness, const TBarRect& barBounds,
                     const std::vector<TDockedControl>& others);
// The most a bar along the `horizontal` edges can take of the client area: what the other controls
// docked to those edges leave.
int DockRoom(const TBarRect& client, bool horizontal, const std::vector<TDockedControl>& others);

} // namespace nv
