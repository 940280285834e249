#include "editor/TextRules.h"

#include "base/Paths.h"

#include <algorithm>
#include <cstring>

namespace nv {

namespace {
long MulDivRounded(long a, long b, long c) {
    // Rounds half away from zero, as the platform's MulDiv does.
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -static_cast<long long>(c) : c)) {
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    }
    return static_cast<long>(quotient);
}
} // namespace

TStreamFormat FormatForPath(const std::string& path, TStreamFormat fallback) {
    struct Conversion {
        const char* extension;
        TStreamFormat format;
    };
    static const Conversion kConversions[] = {{"txt", TStreamFormat::sfPlainText},
                                              {"rtf", TStreamFormat::sfRichText}};
    const std::string extension = ExtensionLower(path);
    for (const Conversion& entry : kConversions) {
        if (extension == entry.extension) return entry.format;
    }
    return fallback;
}

bool IsRtfMarkup(std::string_view textStart) {
    return textStart.substr(0, kRtfSignatureLength) == "{\\rtf";
}

long TextLimitFor(long length, long maxLength) {
    if (maxLength > 0) return std::max(maxLength, length); // an explicit limit, but never below the text
    if (length + kTypingRoom / 16 > kDefaultTextLimit) return length + kTypingRoom;
    return kDefaultTextLimit;
}

TwipsRect PageRectTwips(long pixelsWide, long pixelsHigh, long dpiX, long dpiY) {
    return TwipsRect{0, 0, MulDivRounded(pixelsWide, 1440, dpiX), MulDivRounded(pixelsHigh, 1440, dpiY)};
}

int PrintPages(long textLength, const std::function<long(long start)>& renderPage,
               const std::function<void()>& newPage, const std::function<int(long start)>& renderRest) {
    long start = 0;
    int pages = 1;
    for (;;) {
        long next = renderPage(start);
        if (next == -1 || next >= textLength) break;
        if (next <= start) {
            if (renderRest) pages += renderRest(start);
            break;
        }
        newPage();
        ++pages;
        start = next;
    }
    return pages;
}

int NormalizeUndoKind(long raw) {
    int kind = static_cast<int>(raw & 0x7F);
    return kind > 5 ? 0 : kind;
}

size_t LineBreakStreamer::Read(char* out, size_t capacity) {
    size_t written = 0;
    const char* const data = text_.data();
    const size_t size = text_.size();
    while (written < capacity && position_ < size) {
        // Copy the run up to the next CR, LF or zero in one go.
        const size_t room = capacity - written;
        const size_t limit = std::min(size, position_ + room);
        size_t end = position_;
        while (end < limit) {
            const char c = data[end];
            if (c == '\r' || c == '\n' || c == '\0') break;
            ++end;
        }
        std::memcpy(out + written, data + position_, end - position_);
        written += end - position_;
        position_ = end;
        if (position_ >= limit) continue;
        const char c = data[position_];
        if (c == '\0') {
            position_ = size; // the text ends at a zero
            break;
        }
        out[written++] = '\r';
        ++position_;
        if (c == '\r' && position_ < size && data[position_] == '\n') ++position_;
    }
    return written;
}

int LineBreakStreamer::PercentDone() const {
    if (text_.empty() || position_ >= text_.size()) return 100;
    return static_cast<int>(static_cast<unsigned long long>(position_) * 100 / text_.size());
}

std::string ScrollBarSample(std::string_view text, size_t maxLines, size_t maxLineLength) {
    size_t lines = 1, longestStart = 0, longestLength = 0, lineStart = 0;
    size_t end = text.find('\0');
    if (end == std::string_view::npos) end = text.size();
    for (size_t i = 0; i <= end; ++i) {
        if (i < end && text[i] != '\r' && text[i] != '\n') continue;
        if (i - lineStart > longestLength) {
            longestStart = lineStart;
            longestLength = i - lineStart;
        }
        if (i == end) break;
        if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
        lineStart = i + 1;
        ++lines;
    }
    std::string sample(text.substr(longestStart, std::min(longestLength, maxLineLength)));
    sample.append(std::min(lines, std::max<size_t>(maxLines, 1)) - 1, '\r');
    return sample;
}

void LinkClickTracker::Press(TMouseButton button, long cpMin, long cpMax) {
    pending_ = true;
    button_ = button;
    cpMin_ = cpMin;
    cpMax_ = cpMax;
}

bool LinkClickTracker::Release(TMouseButton button, long cpMin, long cpMax) {
    const bool click = pending_ && button_ == button && cpMin_ == cpMin && cpMax_ == cpMax;
    pending_ = false;
    return click;
}

int TFont::Size(int pixelsPerInch) const {
    return -MulDivRounded(Height, 72, pixelsPerInch);
}

void TFont::SetSize(int points, int pixelsPerInch) {
    Height = -MulDivRounded(points, pixelsPerInch, 72);
}

bool TFont::operator==(const TFont& other) const {
    return Name == other.Name && Height == other.Height && Style == other.Style && Color == other.Color &&
           Charset == other.Charset && Pitch == other.Pitch;
}

CharFormatSpec MakeCharFormatSpec(const TFont& font, int pixelsPerInch,
                                  const std::function<std::uint32_t(TColor)>& rgbOf) {
    CharFormatSpec wanted;
    wanted.FaceName = font.Name.substr(0, 31);
    wanted.TwentiethsOfPoint = static_cast<long>(font.Size(pixelsPerInch)) * 20;
    wanted.Bold = (font.Style & fsBold) != 0;
    wanted.Italic = (font.Style & fsItalic) != 0;
    wanted.Underline = (font.Style & fsUnderline) != 0;
    wanted.StrikeOut = (font.Style & fsStrikeOut) != 0;
    wanted.Weight = wanted.Bold ? 700 : 400;
    wanted.AutoColor = font.Color == clWindowText || font.Color == clDefault;
    wanted.Rgb = wanted.AutoColor ? 0 : rgbOf(font.Color);
    wanted.Charset = font.Charset;
    wanted.Pitch = font.Pitch;
    return wanted;
}

} // namespace nv
