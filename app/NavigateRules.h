// Window-free rules of Goto line, auto-indent and the ASCII chart.
#pragma once

#include <string>

namespace nv {

// The goto-line field's number: decimal digits only, within the 32-bit signed range. Anything else
// (empty, letters, a sign, too large) counts as 0, the caret's own line.
int LineNumberOf(const std::string& text);

// The goto-line field's key filter: Backspace, Enter and the digits pass; anything else becomes 0.
char FilterLineNrKey(char key);

// How many characters at the start of `line` are tabs or spaces.
size_t IndentLength(const std::string& line);

// The ASCII chart has a row per single-byte code; the text cannot hold the zero character, so its
// row inserts nothing.
constexpr int kChartRows = 256;
bool ChartRowInserts(int row);

} // namespace nv
