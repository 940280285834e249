#include "editor/SearchRules.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>

namespace nv {

SearchSpan DialogSearchSpan(long selStart, long selEnd, long wholeTextLength, bool down) {
    SearchSpan span;
    if (down) {
        span.Start = std::max(selStart, selEnd);
        span.Length = wholeTextLength + 1 - span.Start;
    } else {
        span.Start = std::min(selStart, selEnd);
        span.Length = span.Start + 1;
        span.Backward = true;
    }
    return span;
}

PositionRange SearchBounds(long start, long length, bool backward) {
    const long span = std::labs(length);
    if (backward) return {start, std::max(0L, start + 1 - span)};
    return {start, start + span};
}

std::optional<long> DialogTopOffMatch(const ScreenRect& dialog, ScreenPoint matchStart,
                                      ScreenPoint belowMatchEnd, long screenHeight) {
    if (!dialog.Contains(matchStart) && !dialog.Contains(belowMatchEnd)) return std::nullopt;
    const long height = dialog.Bottom - dialog.Top;
    if (height + 20 < matchStart.Y) return matchStart.Y - 20 - height;
    if (matchStart.Y + height < screenHeight) return matchStart.Y + 40;
    return std::nullopt;
}

size_t InMemoryReplacements(size_t matches, int undoSteps) {
    const size_t kept = static_cast<size_t>(std::max(undoSteps, 1));
    return matches > kept ? matches - kept : 0;
}

namespace {
// Whether two characters could be the same letter to the control's case-blind comparison. Letters
// outside ASCII are folded by the code page, so any two of them count as possibly the same.
bool MaybeSameLetter(char a, char b) {
    const auto ua = static_cast<unsigned char>(a), ub = static_cast<unsigned char>(b);
    if (ua == ub) return true;
    if (ua >= 0x80 && ub >= 0x80) return true;
    return std::tolower(ua) == std::tolower(ub);
}

// Walks a CR LF text by positions, one way, handing out the index of each position asked for.
class PositionCursor {
  public:
    explicit PositionCursor(std::string_view text) : text_(text) {}
    // Index of position `pos`; positions must be asked for in ascending order.
    size_t IndexOf(long pos) {
        while (pos_ < pos && index_ < text_.size()) {
            index_ +=
                (text_[index_] == '\r' && index_ + 1 < text_.size() && text_[index_ + 1] == '\n') ? 2 : 1;
            ++pos_;
        }
        return index_;
    }

  private:
    std::string_view text_;
    size_t index_ = 0;
    long pos_ = 0;
};
} // namespace

namespace {
bool SameAt(std::string_view text, size_t at, std::string_view search, bool matchCase) {
    for (size_t i = 0; i < search.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[at + i]), b = static_cast<unsigned char>(search[i]);
        if (a == b) continue;
        if (matchCase || a >= 0x80 || b >= 0x80 || std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}
} // namespace

std::vector<PositionRange> FindOccurrences(std::string_view crlfText, std::string_view search, bool matchCase,
                                           long from, bool down) {
    std::vector<size_t> starts; // indices, in the loop's order
    const size_t n = search.size();
    if (n == 0) return {};
    const size_t limit = PositionCursor(crlfText).IndexOf(from);
    if (down) {
        for (size_t i = limit; i + n <= crlfText.size();) {
            if (SameAt(crlfText, i, search, matchCase)) {
                starts.push_back(i);
                i += n;
            } else {
                ++i;
            }
        }
    } else {
        for (size_t end = limit; end >= n;) {
            if (SameAt(crlfText, end - n, search, matchCase)) {
                starts.push_back(end - n);
                end -= n;
            } else {
                --end;
            }
        }
    }
    // Indices to positions: a CR LF pair is one position.
    std::vector<PositionRange> matches(starts.size());
    size_t index = 0;
    long pos = 0;
    auto positionOf = [&](size_t target) {
        while (index < target) {
            index += (crlfText[index] == '\r' && index + 1 < crlfText.size() && crlfText[index + 1] == '\n')
                         ? 2
                         : 1;
            ++pos;
        }
        return pos;
    };
    for (size_t k = 0; k < starts.size(); ++k) {
        const size_t i = down ? k : starts.size() - 1 - k; // ascending indices
        const long start = positionOf(starts[i]);
        matches[i] = {start, start + static_cast<long>(n)};
    }
    return matches;
}

bool MayTouchNextOccurrence(std::string_view crlfText, const std::vector<PositionRange>& matches,
                            std::string_view searchText, bool down) {
    if (searchText.empty() || matches.empty()) return false;
    std::vector<PositionRange> ascending(matches);
    if (!down) std::reverse(ascending.begin(), ascending.end());
    PositionCursor cursor(crlfText);
    const char first = searchText.front(), last = searchText.back();
    for (const PositionRange& m : ascending) {
        if (!down && m.Start > 0) {
            const size_t before = cursor.IndexOf(m.Start - 1);
            if (before < crlfText.size() && MaybeSameLetter(crlfText[before], last)) return true;
        }
        if (down) {
            const size_t after = cursor.IndexOf(m.End);
            if (after < crlfText.size() && MaybeSameLetter(crlfText[after], first)) return true;
        }
    }
    return false;
}

InMemoryReplaceResult ReplaceInMemory(std::string_view crlfText, const std::vector<PositionRange>& matches,
                                      size_t count, std::string_view replacement) {
    count = std::min(count, matches.size());
    InMemoryReplaceResult result;
    if (count == 0) {
        result.Text.assign(crlfText);
        return result;
    }
    const PositionRange lastMade = matches[count - 1];
    std::vector<PositionRange> ascending(matches.begin(),
                                         matches.begin() + static_cast<std::ptrdiff_t>(count));
    std::sort(ascending.begin(), ascending.end(),
              [](const PositionRange& a, const PositionRange& b) { return a.Start < b.Start; });

    result.Text.reserve(crlfText.size() + count * replacement.size());
    PositionCursor cursor(crlfText);
    size_t copied = 0;
    long shift = 0; // positions gained before the current match
    for (const PositionRange& m : ascending) {
        const size_t from = cursor.IndexOf(m.Start), to = cursor.IndexOf(m.End);
        result.Text.append(crlfText.substr(copied, from - copied));
        result.Text.append(replacement);
        copied = to;
        if (m == lastMade) {
            result.Selection = {m.Start + shift, m.Start + shift + static_cast<long>(replacement.size())};
        }
        shift += static_cast<long>(replacement.size()) - (m.End - m.Start);
    }
    result.Text.append(crlfText.substr(copied));
    return result;
}

} // namespace nv
