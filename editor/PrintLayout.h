// Lays plain text out on printed pages where the rich-edit control cannot render them: paragraphs
// broken into lines that fit the page's width (after the last space that fits, where there is one),
// lines stacked down the page, a new page when the next line would not fit.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace nv {

// Tabs become spaces up to the next multiple of `tabSize` columns of their paragraph.
std::string ExpandTabs(std::string_view text, int tabSize = 8);

// How many leading characters of `text` fit into `width` device units; may be 0.
using TFitFunction = std::function<size_t(std::string_view text, long width)>;

struct TPrintedLine {
    std::string_view Text;
    int Page = 0; // counted from 0
    long Top = 0; // from the top of the page rectangle
};

class TPrintLayout {
  public:
    // Line breaks are CR LF, a lone CR or a lone LF; a break at the very end starts no empty line.
    // `text` must outlive the layout; sizes are in device units.
    TPrintLayout(std::string_view text, long width, long pageHeight, long lineHeight, TFitFunction fit);

    // The next line, false after the last. An empty text has no lines.
    bool Next(TPrintedLine& line);
    int LinesPerPage() const { return linesPerPage_; }

    // At most this many characters are measured at once: longer than any printed line, and it keeps
    // a paragraph of megabytes from being measured again for every line it fills.
    static constexpr size_t kMaxMeasured = 4096;

  private:
    std::string_view NextLineText();
    void StepOverBreak(size_t end);

    std::string_view text_;
    size_t position_ = 0;                          // where the next line starts
    size_t paragraphEnd_ = std::string_view::npos; // the line break that ends position_'s paragraph
    long width_;
    long lineHeight_;
    int linesPerPage_;
    long lineIndex_ = 0;
    TFitFunction fit_;
};

} // namespace nv
