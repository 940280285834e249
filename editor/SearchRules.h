// The window-free rules of find and replace: where a dialog's search runs, where the dialog moves
// so it does not hide a match, and the part of a Replace All that is done in memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nv {

// Options of one search.
enum TSearchType : unsigned { stWholeWord = 1, stMatchCase = 2, stBackward = 4, stSelectMatch = 8 };
using TSearchTypes = unsigned;

// A dialog's search: from Start over Length positions, toward the beginning when Backward.
struct SearchSpan {
    long Start = 0;
    long Length = 0;
    bool Backward = false;
};

// Down starts at the selection's far end and reaches past the end of the text (the whole text's
// length as a string, plus 1); up starts at the selection's near end and reaches back to 0.
SearchSpan DialogSearchSpan(long selStart, long selEnd, long wholeTextLength, bool down);

struct PositionRange {
    long Start = 0;
    long End = 0;
    bool operator==(const PositionRange& o) const { return Start == o.Start && End == o.End; }
};
// The range handed to the control for a search from `start` over the absolute value of `length`
// positions. Forward it ends at the start plus the length; backward it is given in the control's
// documented form, the start first and the lower end (never below 0) second: the other form, a
// range that reaches past the start, finds nothing in Wine's control when the start is the text's end.
PositionRange SearchBounds(long start, long length, bool backward);

// ---- Moving the dialog off a match ------------------------------------------------------------
struct ScreenPoint {
    long X = 0, Y = 0;
};
struct ScreenRect {
    long Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(ScreenPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
};
// The dialog's new top edge when it covers `matchStart` or `belowMatchEnd` (the match's end 20
// pixels down): 20 pixels above the match when there is room, else 40 below it when that fits on the
// screen; nothing when it covers neither point or fits nowhere.
std::optional<long> DialogTopOffMatch(const ScreenRect& dialog, ScreenPoint matchStart,
                                      ScreenPoint belowMatchEnd, long screenHeight);

// ---- Replace All in memory -------------------------------------------------------------------
// How many of `matches` occurrences are replaced in memory: all but the last `undoSteps`, which go
// through the selection so that they are the steps undo can reach.
size_t InMemoryReplacements(size_t matches, int undoSteps);

// With whole-word matching, a replacement next to the following occurrence can change whether that
// one is a whole word (the loop sees the replacement's character, the original text another). True
// when some match has, right where the loop's next search begins, a character that could start (down)
// or end (up) another occurrence; `matches` are in the order the loop meets them.
bool MayTouchNextOccurrence(std::string_view crlfText, const std::vector<PositionRange>& matches,
                            std::string_view searchText, bool down);

// The occurrences of `search` (no line breaks in it) that the replace loop meets from position
// `from`, in its order: down, each search going on from the end of the last occurrence; up, the
// nearest occurrence ending at or before the start, then the next before that one. Case-blind
// matching folds ASCII letters only, so callers use it for texts whose code page folds no other
// character onto them.
std::vector<PositionRange> FindOccurrences(std::string_view crlfText, std::string_view search, bool matchCase,
                                           long from, bool down);

struct InMemoryReplaceResult {
    std::string Text;        // the whole text, line breaks as CR LF
    PositionRange Selection; // the last replacement made, as the loop leaves it selected
};
// Replaces the first `count` of `matches` (positions, in the order the loop meets them; a line break
// counts once and is CR LF in `crlfText`) by `replacement`, which holds no line break.
InMemoryReplaceResult ReplaceInMemory(std::string_view crlfText, const std::vector<PositionRange>& matches,
                                      size_t count, std::string_view replacement);

} // namespace nv
