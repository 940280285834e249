#include "app/StatusText.h"

namespace nv {

std::string CharCodeText(unsigned char code) { return "#" + std::to_string(code); }

std::string PositionText(long position, long column, long line) {
    return "Pos: " + std::to_string(position) + "  " + std::to_string(column) + "@" + std::to_string(line);
}

std::string GroupThousands(unsigned long long count, const std::string& separator) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

std::string SizeTextFor(const std::string& formattedCount) { return formattedCount + " Bytes"; }

bool TookTooLong(std::uint32_t startTick, std::uint32_t endTick) {
    return static_cast<std::uint32_t>(endTick - startTick) > kLiveBudgetMs;
}

} // namespace nv
