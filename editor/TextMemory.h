// Whether a text fits in the memory the process has left, reckoned from what the rich-edit control
// holds for it. A control that runs out of memory while it takes a text ends the process (the Wine
// control reads through the null pointer of a failed allocation), so a text is measured before it is
// handed over and refused when it would not fit.
//
// What the control holds depends on the text's shape more than on its length. Fitted to what it held
// under Wine for prose, numbered lines, log lines, CSV, C source and short lines: about 28 bytes per
// character, 2.3 KB per line, 0.5 KB per run of digits and 0.8 KB per other sign (punctuation and
// symbols start items of their own); with word wrap on, for every row a line wraps into, about 10 bytes
// per character of that line (a 100 KB line without a space takes 1.9 GB). The 64-bit build needs
// about a tenth more.
#pragma once

#include <cstdint>
#include <string_view>

namespace nv {

struct ControlMemoryCosts {
    std::uint64_t PerCharacter;
    std::uint64_t PerLine;
    std::uint64_t PerDigitRun;
    std::uint64_t PerSign;
    std::uint64_t PerWrappedRow;            // each row after a line's first
    std::uint64_t PerWrappedRowPerCharacter; // times the length of the line the row belongs to
};

// With a margin: every kind measured is reckoned at least a tenth above what it held, and prose of
// 40 MB still fits the 3.6 GB a large-address-aware 32-bit process has left after start-up.
constexpr ControlMemoryCosts ControlMemoryCostsOf(unsigned pointerBytes) {
    return pointerBytes == 4 ? ControlMemoryCosts{30, 2700, 900, 900, 900, 13}
                             : ControlMemoryCosts{33, 3000, 1000, 1000, 1000, 14};
}
constexpr ControlMemoryCosts kControlMemoryCosts = ControlMemoryCostsOf(sizeof(void*));
// Windows' own control keeps a text in a few bytes a character and reports when it runs out: there
// only what the address space plainly cannot hold is refused beforehand.
constexpr ControlMemoryCosts kAddressSpaceCosts{3, 0, 0, 0, 0, 0};
// Kept free for everything else the program does meanwhile: dialogs, fonts, the message box that may
// have to say no.
constexpr std::uint64_t kMemoryReserve = 64ull << 20;

// What the costs depend on, counted in one pass over a text.
struct TextShape {
    std::uint64_t Characters = 0;
    std::uint64_t Lines = 0;      // line breaks (CR LF, CR or LF) plus one
    std::uint64_t DigitRuns = 0;
    std::uint64_t Signs = 0; // characters other than letters, digits, spaces and line breaks
    std::uint64_t WrappedRows = 0;          // rows after each line's first
    std::uint64_t WrappedRowCharacters = 0; // the sum, over those rows, of their line's length
};

// Counts a text's shape piece by piece, so a file can be measured without being held whole.
class TextShapeCounter {
  public:
    // `charsPerRow` is how many characters a wrapped row holds; 0 when word wrap is off.
    // `lineBefore`: the characters of the line the first piece goes on with.
    explicit TextShapeCounter(std::uint64_t charsPerRow, std::uint64_t lineBefore = 0)
        : charsPerRow_(charsPerRow), lineLength_(lineBefore) {
        shape_.Lines = 1;
    }
    void Add(std::string_view piece);
    // The shape of all the pieces, the last line going on for `lineAfter` more characters; the counter
    // is done with.
    TextShape Finish(std::uint64_t lineAfter = 0);

  private:
    void EndLine();

    std::uint64_t charsPerRow_;
    TextShape shape_;
    std::uint64_t lineLength_;
    bool inDigits_ = false;
    bool afterCR_ = false; // an LF first in the next piece belongs to this CR
};

TextShape MeasureTextShape(std::string_view text, std::uint64_t charsPerRow);
// What `text` adds to a text when it goes into a line between `before` and `after` characters of it:
// its own characters, lines, digits and signs, and the rows the line it joins grows by.
TextShape MeasureJoinedShape(std::string_view text, std::uint64_t before, std::uint64_t after,
                             std::uint64_t charsPerRow);
// What `count` replacements of `find` by `by` add to a text, reckoned high: what the replacement has
// more of than the text it replaces, each kind on its own (a comma for a space costs a sign).
TextShape ReplacementGrowth(std::string_view find, std::string_view by, std::uint64_t count);
// Only the length known (a file not read yet): the least any text of that length needs.
TextShape ShapeOfLength(std::uint64_t characters);

struct TextMemoryNeed {
    std::uint64_t NeededBytes = 0;
    std::uint64_t FreeBytes = 0;

    bool Fits() const { return NeededBytes <= FreeBytes; }
    // To the nearest megabyte, for the message that refuses a text.
    std::uint64_t NeededMB() const { return ToMegabytes(NeededBytes); }
    std::uint64_t FreeMB() const { return ToMegabytes(FreeBytes); }
    static std::uint64_t ToMegabytes(std::uint64_t bytes) { return (bytes >> 20) + ((bytes >> 19) & 1); }
};

// The need of a text (its own copy while it is handed over, the control's structures and the reserve)
// against `freeBytes`; saturates instead of wrapping round for absurd texts.
TextMemoryNeed MemoryNeedFor(const TextShape& shape, std::uint64_t freeBytes,
                             const ControlMemoryCosts& costs = kControlMemoryCosts);

} // namespace nv
