#include "editor/TextMemory.h"

#include <limits>

namespace nv {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
    return a != 0 && b > kMax / a ? kMax : a * b;
}

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b) {
    return b > kMax - a ? kMax : a + b;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

TextShape MeasureTextShape(std::string_view text, std::uint64_t charsPerRow) {
    TextShape shape;
    shape.Characters = text.size();
    shape.Lines = 1;
    std::uint64_t lineLength = 0;
    auto endLine = [&] {
        if (charsPerRow > 0 && lineLength > charsPerRow) {
            const std::uint64_t extraRows = (lineLength - 1) / charsPerRow;
            shape.WrappedRows += extraRows;
            shape.WrappedRowCharacters =
                SaturatingSum(shape.WrappedRowCharacters, SaturatingProduct(extraRows, lineLength));
        }
        lineLength = 0;
    };
    bool inDigits = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++shape.Lines;
            endLine();
            inDigits = false;
            continue;
        }
        ++lineLength;
        const bool digit = IsDigit(c);
        if (digit && !inDigits) ++shape.DigitRuns;
        inDigits = digit;
    }
    endLine();
    return shape;
}

TextShape ShapeOfLength(std::uint64_t characters) {
    TextShape shape;
    shape.Characters = characters;
    shape.Lines = 1;
    return shape;
}

TextMemoryNeed MemoryNeedFor(const TextShape& shape, std::uint64_t freeBytes, const ControlMemoryCosts& costs) {
    std::uint64_t need = kMemoryReserve;
    need = SaturatingSum(need, SaturatingProduct(shape.Characters, costs.PerCharacter + 1)); // +1: the text's own copy
    need = SaturatingSum(need, SaturatingProduct(shape.Lines, costs.PerLine));
    need = SaturatingSum(need, SaturatingProduct(shape.DigitRuns, costs.PerDigitRun));
    need = SaturatingSum(need, SaturatingProduct(shape.WrappedRows, costs.PerWrappedRow));
    need = SaturatingSum(need, SaturatingProduct(shape.WrappedRowCharacters, costs.PerWrappedRowPerCharacter));
    TextMemoryNeed result;
    result.NeededBytes = need;
    result.FreeBytes = freeBytes;
    return result;
}

} // namespace nv
