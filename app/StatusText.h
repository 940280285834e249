// Window-free texts of the status panels that describe the text.
#pragma once

#include <cstdint>
#include <string>

namespace nv {

// "#" and the code 0 to 255 of the character at the caret.
std::string CharCodeText(unsigned char code);

// "Pos: " position, two spaces, zero-based column, "@", one-based line.
std::string PositionText(long position, long column, long line);

// A whole number with a thousands separator every three digits.
std::string GroupThousands(unsigned long long count, const std::string& separator);

// The size panel's text: the formatted count and " Bytes".
std::string SizeTextFor(const std::string& formattedCount);

constexpr const char* kSizeDisabledText = "Size calculation disabled due to large file";
constexpr const char* kCalculatingText = "Calculating...";

// Live status freezes when a size computation took longer than this (the limit itself does not).
constexpr std::uint32_t kLiveBudgetMs = 250;
// Ticks are a wrapping 32-bit millisecond count.
bool TookTooLong(std::uint32_t startTick, std::uint32_t endTick);

} // namespace nv
