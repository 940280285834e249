#include "app/NavigateRules.h"

#include <climits>

namespace nv {

int LineNumberOf(const std::string& text) {
    if (text.empty()) return 0;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return 0;
    }
    return static_cast<int>(value);
}

char FilterLineNrKey(char key) {
    if (key == '\b' || key == '\r' || (key >= '0' && key <= '9')) return key;
    return 0;
}

size_t IndentLength(const std::string& line) {
    const size_t end = line.find_first_not_of("\t ");
    return end == std::string::npos ? line.size() : end;
}

bool ChartRowInserts(int row) { return row > 0 && row < kChartRows; }

} // namespace nv
