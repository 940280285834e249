#include "editor/PrintLayout.h"

#include <algorithm>

namespace nv {

namespace {
bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}
} // namespace

std::string ExpandTabs(std::string_view text, int tabSize) {
    if (tabSize < 1) tabSize = 1;
    std::string out;
    out.reserve(text.size() + static_cast<size_t>(std::count(text.begin(), text.end(), '\t')) *
                                  static_cast<size_t>(tabSize - 1));
    size_t column = 0;
    for (char c : text) {
        if (c == '\t') {
            const size_t spaces = static_cast<size_t>(tabSize) - column % static_cast<size_t>(tabSize);
            out.append(spaces, ' ');
            column += spaces;
        } else {
            out.push_back(c);
            column = IsBreak(c) ? 0 : column + 1;
        }
    }
    return out;
}

TPrintLayout::TPrintLayout(std::string_view text, long width, long pageHeight, long lineHeight,
                           TFitFunction fit)
    : text_(text), width_(std::max(1L, width)), lineHeight_(std::max(1L, lineHeight)),
      linesPerPage_(static_cast<int>(std::max(1L, pageHeight / std::max(1L, lineHeight)))),
      fit_(std::move(fit)) {
}

bool TPrintLayout::Next(TPrintedLine& line) {
    if (position_ >= text_.size()) return false;
    line.Text = NextLineText();
    line.Page = static_cast<int>(lineIndex_ / linesPerPage_);
    line.Top = (lineIndex_ % linesPerPage_) * lineHeight_;
    ++lineIndex_;
    return true;
}

std::string_view TPrintLayout::NextLineText() {
    const size_t start = position_;
    // Found once per paragraph: a paragraph of megabytes is not searched again for every line.
    if (paragraphEnd_ < start || paragraphEnd_ == std::string_view::npos) {
        paragraphEnd_ = static_cast<size_t>(
            std::find_if(text_.begin() + static_cast<std::ptrdiff_t>(start), text_.end(), IsBreak) -
            text_.begin());
    }
    const size_t end = paragraphEnd_;
    const std::string_view rest = text_.substr(start, end - start);
    const size_t window = std::min(rest.size(), kMaxMeasured);
    const size_t fitting = rest.empty() ? 0 : std::min(fit_(rest.substr(0, window), width_), window);

    if (fitting >= rest.size()) {
        StepOverBreak(end);
        return rest;
    }
    // Break after the last space that fits; a word wider than the page is cut where it stops fitting.
    size_t cut = fitting;
    if (rest[cut] != ' ') {
        const size_t space = cut == 0 ? std::string_view::npos : rest.rfind(' ', cut - 1);
        if (space != std::string_view::npos && space > 0) cut = space;
    }
    if (cut == 0) cut = 1; // at least one character a line, or the layout would never end
    // The spaces at the break belong to neither line.
    size_t next = cut;
    while (next < rest.size() && rest[next] == ' ')
        ++next;
    if (next == rest.size()) {
        StepOverBreak(end);
    } else {
        position_ = start + next;
    }
    return rest.substr(0, cut);
}

// Moves past the paragraph's line break at `end`; the last break of the text opens no line.
void TPrintLayout::StepOverBreak(size_t end) {
    position_ = end;
    if (position_ >= text_.size()) return;
    const bool crLf =
        text_[position_] == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n';
    position_ += crLf ? 2 : 1;
}

} // namespace nv
