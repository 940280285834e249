#include "app/NavigateRules.h"

#include <gtest/gtest.h>

namespace nv {

TEST(NavigateRules, LineNumbersKeysAndIndentation) {
    const std::pair<const char*, int> numbers[] = {{"3", 3},  {"007", 7}, {"", 0},   {"12a", 0}, {"-3", 0},
                                                   {" 3", 0}, {"2147483647", 2147483647}, {"2147483648", 0}};
    for (const auto& [text, number] : numbers) EXPECT_EQ(LineNumberOf(text), number) << '"' << text << '"';
    for (char key : {'0', '9', '\b', '\r'}) EXPECT_EQ(FilterLineNrKey(key), key) << int(key);
    for (char key : {'a', '-', ' ', '\t', '\x1b', '\x16', '/', ':'}) EXPECT_EQ(FilterLineNrKey(key), 0) << int(key);
    const std::pair<const char*, size_t> lines[] = {{"  word", 2}, {"\t x", 2}, {"word  ", 0}, {"", 0}, {"    ", 4}};
    for (const auto& [line, length] : lines) EXPECT_EQ(IndentLength(line), length) << '"' << line << '"';
}

} // namespace nv
