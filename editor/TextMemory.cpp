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
bool IsSign(char c) { return !IsDigit(c) && c != ' ' && !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')); }

} // namespace

void TextShapeCounter::EndLine() {
    if (charsPerRow_ > 0 && lineLength_ > charsPerRow_) {
        const std::uint64_t extraRows = (lineLength_ - 1) / charsPerRow_;
        shape_.WrappedRows += extraRows;
        shape_.WrappedRowCharacters =
            SaturatingSum(shape_.WrappedRowCharacters, SaturatingProduct(extraRows, lineLength_));
    }
    lineLength_ = 0;
}

void TextShapeCounter::Add(std::string_view piece) {
    shape_.Characters += piece.size();
    for (const char c : piece) {
        const bool lfOfCrLf = afterCR_ && c == '\n';
        afterCR_ = c == '\r';
        if (c == '\r' || c == '\n') {
            if (!lfOfCrLf) {
                ++shape_.Lines;
                EndLine();
            }
            inDigits_ = false;
            continue;
        }
        ++lineLength_;
        const bool digit = IsDigit(c);
        if (digit && !inDigits_) ++shape_.DigitRuns;
        if (IsSign(c)) ++shape_.Signs;
        inDigits_ = digit;
    }
}

TextShape TextShapeCounter::Finish(std::uint64_t lineAfter) {
    lineLength_ += lineAfter;
    EndLine();
    return shape_;
}

TextShape MeasureTextShape(std::string_view text, std::uint64_t charsPerRow) {
    TextShapeCounter counter(charsPerRow);
    counter.Add(text);
    return counter.Finish();
}

TextShape MeasureJoinedShape(std::string_view text, std::uint64_t before, std::uint64_t after,
                             std::uint64_t charsPerRow) {
    TextShapeCounter joined(charsPerRow, before);
    joined.Add(text);
    TextShape shape = joined.Finish(after);
    const TextShape was = TextShapeCounter(charsPerRow, before + after).Finish();
    const auto less = [](std::uint64_t a, std::uint64_t b) { return a > b ? a - b : 0; };
    shape.Lines -= 1; // the line it goes into is there already
    shape.WrappedRows = less(shape.WrappedRows, was.WrappedRows);
    shape.WrappedRowCharacters = less(shape.WrappedRowCharacters, was.WrappedRowCharacters);
    return shape;
}

TextShape ReplacementGrowth(std::string_view find, std::string_view by, std::uint64_t count) {
    const TextShape took = MeasureTextShape(find, 0), gives = MeasureTextShape(by, 0);
    const auto more = [count](std::uint64_t a, std::uint64_t b) { return a > b ? SaturatingProduct(a - b, count) : 0; };
    TextShape growth;
    growth.Characters = more(gives.Characters, took.Characters);
    growth.Lines = more(gives.Lines, took.Lines);
    growth.DigitRuns = more(gives.DigitRuns, took.DigitRuns);
    growth.Signs = more(gives.Signs, took.Signs);
    return growth;
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
    need = SaturatingSum(need, SaturatingProduct(shape.Signs, costs.PerSign));
    need = SaturatingSum(need, SaturatingProduct(shape.WrappedRows, costs.PerWrappedRow));
    need = SaturatingSum(need, SaturatingProduct(shape.WrappedRowCharacters, costs.PerWrappedRowPerCharacter));
    TextMemoryNeed result;
    result.NeededBytes = need;
    result.FreeBytes = freeBytes;
    return result;
}

} // namespace nv
