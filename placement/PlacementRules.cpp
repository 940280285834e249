#include "placement/PlacementRules.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace nv {

bool ParseInteger(const std::string& text, int& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
        if (result > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) result = -result;
    if (result > INT_MAX || result < INT_MIN) return false;
    value = static_cast<int>(result);
    return true;
}

std::string ResolutionName(const std::string& name, int screenWidth, int screenHeight) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "(%dx%d)", screenWidth, screenHeight);
    return name + suffix;
}

std::string FormatNumberList(int a, int b, int c, int d) {
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", a, b, c, d);
    return text;
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ' ' || c == ',') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

int WordAsInteger(const std::vector<std::string>& words, size_t number, int fallback) {
    int value = 0;
    if (number == 0 || number > words.size() || !ParseInteger(words[number - 1], value)) return fallback;
    return value;
}

bool WindowStateOf(int showCmd, TWindowState& state) {
    switch (showCmd) {
    case 1: // normal, show, restore
    case 5:
    case 9: state = wsNormal; return true;
    case 2: // minimized, minimize, minimized without activation
    case 6:
    case 7: state = wsMinimized; return true;
    case 3: state = wsMaximized; return true;
    default: return false;
    }
}

bool Intersects(const TPlaceRect& a, const TPlaceRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TPlaceRect MoveInto(const TPlaceRect& rect, const TPlaceRect& area) {
    auto shift = [](int low, int high, int areaLow, int areaHigh) {
        if (high - low >= areaHigh - areaLow || low < areaLow) return areaLow - low;
        if (high > areaHigh) return areaHigh - high;
        return 0;
    };
    const int dx = shift(rect.Left, rect.Right, area.Left, area.Right);
    const int dy = shift(rect.Top, rect.Bottom, area.Top, area.Bottom);
    return {rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy};
}

std::string DefaultSectionName(TComponentKind kind, const std::string& windowClass, const std::string& name,
                               const std::string& parentName) {
    switch (kind) {
    case TComponentKind::Window: return windowClass;
    case TComponentKind::Control: return (windowClass.empty() ? parentName : windowClass) + name;
    case TComponentKind::Component: return windowClass.empty() ? name : windowClass + "." + name;
    case TComponentKind::None: break;
    }
    return std::string();
}

} // namespace nv
