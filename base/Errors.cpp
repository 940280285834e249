#include "base/Errors.h"

#include <cstdio>
#include <vector>

namespace nv {

namespace {
template <class T> std::string FormatWith(const char* pattern, T arg) {
    int n = std::snprintf(nullptr, 0, pattern, arg);
    if (n < 0) return pattern;
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::snprintf(buffer.data(), buffer.size(), pattern, arg);
    return std::string(buffer.data(), static_cast<size_t>(n));
}
} // namespace

std::string Format(const char* pattern, const std::string& arg) { return FormatWith(pattern, arg.c_str()); }
std::string Format(const char* pattern, long long arg) {
    // Message templates use %d; widen it so any integer prints whole.
    std::string widened;
    for (const char* p = pattern; *p; ++p) {
        widened += *p;
        if (*p == '%' && p[1] == 'd') {
            widened += "ll";
        }
    }
    return FormatWith(widened.c_str(), arg);
}

std::string Format(const char* pattern, std::initializer_list<std::string> args) {
    std::string text;
    auto next = args.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && next != args.end()) {
            text += *next++;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            text += '%';
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}

} // namespace nv
