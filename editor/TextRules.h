// The text field's window-free rules: formats by extension, the page rectangle, line-break
// streaming, link-click pairing, the printing loop, undo kinds and the font's character format.
#pragma once

#include "base/Colors.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace nv {

// ---- Stream formats -------------------------------------------------------------------------
enum class TStreamFormat { sfPlainText, sfRichText };

// The conversion table: "txt" is plain text, "rtf" rich text; any other extension uses `fallback`.
TStreamFormat FormatForPath(const std::string& path, TStreamFormat fallback);

// Whether a text already is RTF markup, by its first kRtfSignatureLength characters: an .rtf file opened
// as text shows its markup, and written as rich text again it would become a new document that only
// shows the old markup. Such a text is written as it is.
constexpr long kRtfSignatureLength = 5; // "{\rtf"
bool IsRtfMarkup(std::string_view textStart);

// ---- Capacity ---------------------------------------------------------------------------------
constexpr long kDefaultTextLimit = 0xFFFFFF; // what a MaxLength of 0 means
constexpr long kTypingRoom = 1L << 20;       // room left for typing above a long loaded text

// The limit for a text of `length` characters: never below the default, and with room to type.
long TextLimitFor(long length, long maxLength = 0);

// ---- Printing ---------------------------------------------------------------------------------
struct TwipsRect {
    long left, top, right, bottom;
};
// The page rectangle in twips for a printable area in device pixels and the device's resolution.
TwipsRect PageRectTwips(long pixelsWide, long pixelsHigh, long dpiX, long dpiY);

// Prints pages through `renderPage(start)`, which answers the first position not yet printed;
// `newPage()` is called between pages. Stops at the end and on -1. A page that does not advance before
// the end (a control that cannot render, as Wine's answers 0 for every page) hands the rest to
// `renderRest(start)`, which prints it from the current page on and answers how many further pages it
// started; without it the loop just stops. Returns the page count; an empty text prints one page.
int PrintPages(long textLength, const std::function<long(long start)>& renderPage,
               const std::function<void()>& newPage, const std::function<int(long start)>& renderRest = {});

// ---- Undo kinds -------------------------------------------------------------------------------
// The control's answer masked to its low 7 bits; anything above paste (5) is unknown (0).
int NormalizeUndoKind(long raw);

// ---- Line breaks ------------------------------------------------------------------------------
// Feeds a text to the control in chunks with every line break (CR LF, lone CR, lone LF) written as
// one CR, the control's own paragraph mark. No CR LF pair can then be split between two chunks and no
// CR CR LF sequence reaches the control, two inputs the Wine control turns into the wrong text.
// A zero byte ends the text, as it would end a string handed to the control.
class LineBreakStreamer {
  public:
    explicit LineBreakStreamer(std::string_view text) : text_(text) {}
    // Writes at most `capacity` bytes into `out`; returns 0 at the end of the text.
    size_t Read(char* out, size_t capacity);
    void Rewind() { position_ = 0; }
    bool AtEnd() const { return position_ >= text_.size(); }
    // Percent of the text handed out so far, 0 to 100.
    int PercentDone() const;

  private:
    std::string_view text_;
    size_t position_ = 0;
};

// ---- Scroll bars ------------------------------------------------------------------------------
// The Wine control decides its scroll bars once a whole text is in, and when a bar comes or goes it
// lays out every paragraph again. Laid out a second time, paragraphs with runs of digits leave freed
// blocks behind that Wine's heap walks on every later allocation: minutes for a megabyte of numbered
// lines, against a second for the first layout. This small text needs the same bars as `text`: as many
// lines (at most `maxLines`), the longest of them (cut to `maxLineLength`) first and the rest empty, in
// paragraph marks. Handed to the control just before the text, it makes the bars show while there is
// almost nothing to lay out again; the text then replaces it without changing them.
std::string ScrollBarSample(std::string_view text, size_t maxLines = 1000, size_t maxLineLength = 4096);

// ---- Link clicks ------------------------------------------------------------------------------
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Pairs a press and a release on the same link with the same button.
class LinkClickTracker {
  public:
    void Press(TMouseButton button, long cpMin, long cpMax);
    // True when the release completes a click that started with the same button on the same range.
    bool Release(TMouseButton button, long cpMin, long cpMax);

  private:
    bool pending_ = false;
    TMouseButton button_ = TMouseButton::mbLeft;
    long cpMin_ = 0, cpMax_ = 0;
};

// ---- Fonts ------------------------------------------------------------------------------------
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

struct TFont {
    std::string Name = "MS Sans Serif";
    int Height = -11; // negative: character height in pixels
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    std::uint8_t Charset = 1; // DEFAULT_CHARSET
    std::uint8_t Pitch = 0;   // DEFAULT_PITCH

    // Points at a screen resolution (rounded as MulDiv rounds).
    int Size(int pixelsPerInch) const;
    void SetSize(int points, int pixelsPerInch);
    bool operator==(const TFont& other) const;
};

// What the control's default character format is set to for a font.
struct CharFormatSpec {
    std::string FaceName; // at most 31 characters
    long TwentiethsOfPoint = 0;
    long Weight = 400;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    bool AutoColor = false;
    std::uint32_t Rgb = 0; // 0x00BBGGRR, used when not AutoColor
    std::uint8_t Charset = 1;
    std::uint8_t Pitch = 0;
};
// `rgbOf` turns a colour that is not automatic into its red, green and blue value.
CharFormatSpec MakeCharFormatSpec(const TFont& font, int pixelsPerInch,
                                  const std::function<std::uint32_t(TColor)>& rgbOf);

} // namespace nv
