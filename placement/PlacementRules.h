// Window-free rules of the stored window placement: value names, number lists, show states and
// keeping a stored rectangle on a screen that still exists.
#pragma once

#include <string>
#include <vector>

namespace nv {

struct TPlaceRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TPlaceRect& o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

// A whole decimal number with an optional sign and leading blanks, nothing after it, within int.
bool ParseInteger(const std::string& text, int& value);

// "NormPos" stored for a 1024 by 768 screen is "NormPos(1024x768)".
std::string ResolutionName(const std::string& name, int screenWidth, int screenHeight);

// The "%d,%d,%d,%d" lists of "NormPos" and "MinMaxPos".
std::string FormatNumberList(int a, int b, int c, int d);

// Words of a stored list: separated by spaces and commas, a run of separators counting as one.
std::vector<std::string> SplitWords(const std::string& text);
// Word `number` (from 1) as an integer; the fallback when missing or not a number.
int WordAsInteger(const std::vector<std::string>& words, size_t number, int fallback);

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
// The state a stored show command stands for; false for numbers that name none (the default stays).
bool WindowStateOf(int showCmd, TWindowState& state);

bool Intersects(const TPlaceRect& a, const TPlaceRect& b);
// Moves `rect` the least distance that puts it inside `area`, keeping its size; a rectangle larger
// than the area is aligned with the area's top-left corner.
TPlaceRect MoveInto(const TPlaceRect& rect, const TPlaceRect& area);

// The section name a component stores under when none is given: a window's class name; a control on
// a window: the window's class name and the control's name, joined; a control on no window: its
// parent's name and its own; any other component of a window: "window class.component".
enum class TComponentKind { None, Window, Control, Component };
std::string DefaultSectionName(TComponentKind kind, const std::string& windowClass, const std::string& name,
                               const std::string& parentName = std::string());

} // namespace nv
