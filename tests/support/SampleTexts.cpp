#include "tests/support/SampleTexts.h"

#include <cstdio>

namespace nv::test {

namespace {

const char* const kWords[] = {"the",   "of",    "and",   "to",    "in",     "was",    "that",  "for",
                              "with",  "on",    "be",    "at",    "this",   "had",    "not",   "are",
                              "from",  "have",  "they",  "which", "would",  "their",  "been",  "when",
                              "Will",  "more",  "said",  "about", "into",   "than",   "them",  "other",
                              "could", "time",  "these", "first", "people", "made",   "after", "where",
                              "years", "should", "back", "world", "under",  "never",  "little", "state"};
constexpr unsigned kWordCount = sizeof kWords / sizeof *kWords;

// A repeatable sequence, the same on every machine.
struct Random {
    unsigned seed = 12345;
    unsigned Next() {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    }
};

// Lines from `line(n)` until the text is `bytes` long; the last line is cut.
template <class Line> std::string Lines(size_t bytes, Line line) {
    std::string text;
    text.reserve(bytes + 256);
    for (unsigned n = 1; text.size() < bytes; ++n) {
        line(text, n);
        text += "\r\n";
    }
    text.resize(bytes);
    return text;
}

void Words(std::string& text, Random& random, size_t length) {
    const size_t start = text.size();
    while (text.size() - start < length) {
        text += kWords[random.Next() % kWordCount];
        text += ' ';
    }
    text.back() = (random.Next() & 1) ? '.' : ',';
}

} // namespace

std::string Prose(size_t bytes) {
    Random random;
    return Lines(bytes, [&](std::string& text, unsigned) { Words(text, random, 66); });
}

std::string NumberedProse(size_t bytes) {
    Random random;
    return Lines(bytes, [&](std::string& text, unsigned n) {
        char number[16];
        std::snprintf(number, sizeof number, "%06u ", n % 1000000);
        text += number;
        Words(text, random, 58);
    });
}

std::string LogLines(size_t bytes) {
    Random random;
    static const char* const kLevels[] = {"INFO", "WARN", "DEBUG", "ERROR"};
    return Lines(bytes, [&](std::string& text, unsigned n) {
        char head[96];
        std::snprintf(head, sizeof head, "2026-%02u-%02u %02u:%02u:%02u.%03u [%s] worker-%u request %u took %u ms: ",
                      n / 86400 % 12 + 1, n / 3600 % 28 + 1, n / 3600 % 24, n / 60 % 60, n % 60, random.Next() % 1000,
                      kLevels[random.Next() % 4], random.Next() % 16, n, random.Next() % 5000);
        text += head;
        Words(text, random, 20);
    });
}

std::string CsvNumbers(size_t bytes) {
    Random random;
    return Lines(bytes, [&](std::string& text, unsigned n) {
        char line[96];
        std::snprintf(line, sizeof line, "%u,%u,%u.%02u,%u,%u", n, random.Next() % 100000, random.Next() % 1000,
                      random.Next() % 100, random.Next(), random.Next() % 10);
        text += line;
    });
}

std::string CSource(size_t bytes) {
    Random random;
    return Lines(bytes, [&](std::string& text, unsigned n) {
        char line[128];
        switch (n % 8) {
        case 0: std::snprintf(line, sizeof line, "static int compute_%u(const struct item *items, size_t count)", n); break;
        case 1: std::snprintf(line, sizeof line, "{"); break;
        case 2: std::snprintf(line, sizeof line, "\tint total = %u;", random.Next() % 100); break;
        case 3: std::snprintf(line, sizeof line, "\tfor (size_t i = 0; i < count; ++i) {"); break;
        case 4: std::snprintf(line, sizeof line, "\t\ttotal += items[i].value * %u; /* %s */", random.Next() % 10, kWords[random.Next() % kWordCount]); break;
        case 5: std::snprintf(line, sizeof line, "\t}"); break;
        case 6: std::snprintf(line, sizeof line, "\treturn total;"); break;
        default: std::snprintf(line, sizeof line, "}"); break;
        }
        text += line;
    });
}

std::string LongLine(size_t bytes) {
    std::string text;
    text.reserve(bytes);
    while (text.size() < bytes) text += static_cast<char>('a' + text.size() % 26);
    return text;
}

std::string ShortLines(size_t bytes) {
    return Lines(bytes, [](std::string& text, unsigned n) {
        for (int i = 0; i < 7; ++i) text += static_cast<char>('a' + (n + static_cast<unsigned>(i)) % 26);
    });
}

} // namespace nv::test
