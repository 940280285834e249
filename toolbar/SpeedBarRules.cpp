#include "toolbar/SpeedBarRules.h"

#include <algorithm>
#include <cstdlib>

namespace nv {

int GridStepAlong(int length) {
    if (length < 1) return 1;
    int step = std::max(1, std::min(8, length / 3));
    while (length % step != 0)
        ++step;
    if (step == length && length > 1) {
        --step;
        while (step > 1 && length % step != 0)
            --step;
    }
    return step;
}

int RoundHalfEven(int value, int step) {
    if (step <= 0) return 0;
    int quotient = value / step;
    int remainder = value % step;
    if (remainder < 0) { // floor division, so the remainder is 0 .. step - 1
        --quotient;
        remainder += step;
    }
    if (2 * remainder > step || (2 * remainder == step && (quotient & 1))) ++quotient;
    return quotient;
}

int TruncateToward0(int value, int step) { return step <= 0 ? 0 : value / step; }

TGridPoint SnapToGrid(TGridPoint point, TGridPoint offset, TGridPoint step, bool horizontal) {
    auto along = [](int v, int o, int s) { return RoundHalfEven(v - o, s) * s + o; };
    auto across = [](int v, int o, int s) { return TruncateToward0(v - o, s) * s + o; };
    if (horizontal) return {along(point.X, offset.X, step.X), across(point.Y, offset.Y, step.Y)};
    return {across(point.X, offset.X, step.X), along(point.Y, offset.Y, step.Y)};
}

TAlign ProposedAlign(int w, int h, int x, int y) {
    if (w <= 0 || h <= 0) return alTop;
    const long long W = w, H = h, X = x, Y = y;
    const bool belowFalling = Y * W > H * X;       // under the line from top-left to bottom-right
    const bool belowRising = Y * W >= H * (W - X); // under the line from bottom-left to top-right
    if (belowFalling && belowRising) return alBottom;
    if (belowFalling) return alLeft;
    if (belowRising) return alRight;
    return alTop;
}

bool MoveStarted(int dx, int dy) { return std::abs(dx) > kDragThreshold || std::abs(dy) > kDragThreshold; }

int RowsThickness(int distance, int buttonThickness, int offset, int limit) {
    if (buttonThickness <= 0) return std::min(2 * offset, limit);
    const int rows = std::max(1, std::abs(distance) / buttonThickness);
    return std::min(rows * buttonThickness + 2 * offset, limit);
}

bool InResizeZone(TAlign align, int x, int y, int clientWidth, int clientHeight) {
    switch (align) {
    case alTop: return x > 0 && x <= clientWidth && y > clientHeight - 4 && y <= clientHeight + 4;
    case alBottom: return x > 0 && x <= clientWidth && y >= -3 && y <= 4;
    case alLeft: return y > 0 && y <= clientHeight && x > clientWidth - 4 && x <= clientWidth + 4;
    case alRight: return y > 0 && y <= clientHeight && x >= -3 && x <= 4;
    default: return false;
    }
}

namespace {

int EdgeOrder(TAlign align) {
    switch (align) {
    case alTop: return 0;
    case alBottom: return 1;
    case alLeft: return 2;
    case alRight: return 3;
    default: return -1;
    }
}

// Whether `a` lies nearer to the edge than `b`. A control level with the bar (the bar spans the whole
// length when it comes from another edge) keeps its place at the edge.
bool Nearer(TAlign edge, const TBarRect& a, const TBarRect& b) {
    switch (edge) {
    case alTop: return a.Top <= b.Top;
    case alBottom: return a.Bottom >= b.Bottom;
    case alLeft: return a.Left <= b.Left;
    case alRight: return a.Right >= b.Right;
    default: return false;
    }
}

} // namespace

TBarRect DockOutline(const TBarRect& client, TAlign proposed, int thickness, const TBarRect& barBounds,
                     const std::vector<TDockedControl>& others) {
    const int order = EdgeOrder(proposed);
    if (order < 0) return barBounds;
    // Laid out in the parent's order, so the space each takes is where the parent would put it.
    std::vector<TDockedControl> before;
    for (const TDockedControl& other : others) {
        const int otherOrder = EdgeOrder(other.Align);
        if (otherOrder < 0) continue;
        if (otherOrder < order || (otherOrder == order && Nearer(proposed, other.Bounds, barBounds))) {
            before.push_back(other);
        }
    }
    std::stable_sort(before.begin(), before.end(), [](const TDockedControl& a, const TDockedControl& b) {
        if (a.Align != b.Align) return EdgeOrder(a.Align) < EdgeOrder(b.Align);
        return Nearer(a.Align, a.Bounds, b.Bounds) && !Nearer(a.Align, b.Bounds, a.Bounds);
    });
    TBarRect area = client;
    for (const TDockedControl& other : before) {
        switch (other.Align) {
        case alTop: area.Top += other.Bounds.Height(); break;
        case alBottom: area.Bottom -= other.Bounds.Height(); break;
        case alLeft: area.Left += other.Bounds.Width(); break;
        case alRight: area.Right -= other.Bounds.Width(); break;
        default: break;
        }
    }
    switch (proposed) {
    case alTop: return {area.Left, area.Top, area.Right, area.Top + thickness};
    case alBottom: return {area.Left, area.Bottom - thickness, area.Right, area.Bottom};
    case alLeft: return {area.Left, area.Top, area.Left + thickness, area.Bottom};
    default: return {area.Right - thickness, area.Top, area.Right, area.Bottom};
    }
}

int DockRoom(const TBarRect& client, bool horizontal, const std::vector<TDockedControl>& others) {
    int room = horizontal ? client.Height() : client.Width();
    for (const TDockedControl& other : others) {
        const bool otherHorizontal = other.Align == alTop || other.Align == alBottom;
        const bool otherVertical = other.Align == alLeft || other.Align == alRight;
        if (horizontal && otherHorizontal) room -= other.Bounds.Height();
        if (!horizontal && otherVertical) room -= other.Bounds.Width();
    }
    return std::max(0, room);
}

} // namespace nv
