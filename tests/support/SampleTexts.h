// Texts of ordinary kinds for tests and benchmarks, made to a length (CR LF lines).
#pragma once

#include <string>

namespace nv::test {

// Lines of about 70 characters of ordinary words.
std::string Prose(size_t bytes);
// The same lines, each after a six-digit number ("000001 the of ...").
std::string NumberedProse(size_t bytes);
// Log lines: a date and time, a level, a number and a few words.
std::string LogLines(size_t bytes);
// Comma-separated numbers, five to a line.
std::string CsvNumbers(size_t bytes);
// C source: functions of a few statements, indented with tabs.
std::string CSource(size_t bytes);
// One line of letters without a space.
std::string LongLine(size_t bytes);
// Lines of seven letters.
std::string ShortLines(size_t bytes);

} // namespace nv::test
