#include "base/DpiRules.h"

#include <algorithm>

namespace nv {

namespace {
int MulDivRounded(int value, int m, int d) {
    if (d == 0) return value;
    const long long product = static_cast<long long>(value) * m;
    const long long magnitude = ((product < 0 ? -product : product) + d / 2) / d;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}
} // namespace

int DpiScaled(int designPixels, int dpi) { return MulDivRounded(designPixels, dpi, kDesignDpi); }

int DesignPixels(int pixels, int dpi) { return dpi > 0 ? MulDivRounded(pixels, kDesignDpi, dpi) : pixels; }

int DesignPixelsWithin(int pixels, int dpi) {
    return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * kDesignDpi / dpi) : pixels;
}

int ImageSetFor(int dpi) {
    for (int set = 0; set < kImageScaleCount; ++set) {
        if (kImageScales[set] * kDesignDpi >= dpi * 100) return set;
    }
    return kImageScaleCount - 1;
}

int SetImageSize(int designSize, int set) {
    return MulDivRounded(designSize, kImageScales[std::clamp(set, 0, kImageScaleCount - 1)], 100);
}

int ShownImageSize(int designSize, int dpi) {
    const int drawn = SetImageSize(designSize, ImageSetFor(dpi));
    return std::min(DpiScaled(designSize, dpi), MulDivRounded(drawn, kMostEnlargement, 100));
}

namespace {

// The source pixels a target pixel covers along one axis, from `from` pixels to `to`. Measured in a
// unit in which a source pixel is `to` long and a target pixel `from` long, both span the same length.
struct Span {
    int First = 0;
    std::vector<long long> Weights; // the overlap with each source pixel from First on
};

std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(static_cast<size_t>(to));
    for (int j = 0; j < to; ++j) {
        const long long start = static_cast<long long>(j) * from, end = start + from;
        Span& span = spans[static_cast<size_t>(j)];
        span.First = static_cast<int>(start / to);
        for (long long i = span.First; i * to < end && i < from; ++i) {
            const long long overlap = std::min(end, (i + 1) * to) - std::max(start, i * to);
            span.Weights.push_back(overlap);
        }
    }
    return spans;
}

} // namespace

TPixels ResampleImage(const TPixels& source, int width, int height, bool keyed, std::uint32_t transparent) {
    TPixels target;
    target.Width = std::max(0, width);
    target.Height = std::max(0, height);
    target.Data.assign(static_cast<size_t>(target.Width) * target.Height, transparent);
    if (source.Width <= 0 || source.Height <= 0 || target.Width == 0 || target.Height == 0) return target;
    if (source.Width == target.Width && source.Height == target.Height) return source;
    const std::vector<Span> columns = Spans(source.Width, target.Width);
    const std::vector<Span> rows = Spans(source.Height, target.Height);
    for (int y = 0; y < target.Height; ++y) {
        const Span& row = rows[static_cast<size_t>(y)];
        for (int x = 0; x < target.Width; ++x) {
            const Span& column = columns[static_cast<size_t>(x)];
            long long total = 0, opaque = 0, red = 0, green = 0, blue = 0;
            for (size_t dy = 0; dy < row.Weights.size(); ++dy) {
                const int sy = row.First + static_cast<int>(dy);
                for (size_t dx = 0; dx < column.Weights.size(); ++dx) {
                    const int sx = column.First + static_cast<int>(dx);
                    const long long weight = row.Weights[dy] * column.Weights[dx];
                    const std::uint32_t pixel = source.Data[static_cast<size_t>(sy) * source.Width + sx];
                    total += weight;
                    if (keyed && pixel == transparent) continue;
                    opaque += weight;
                    red += weight * ((pixel >> 16) & 0xFF);
                    green += weight * ((pixel >> 8) & 0xFF);
                    blue += weight * (pixel & 0xFF);
                }
            }
            if (opaque == 0 || opaque * 2 <= total) continue; // stays transparent
            const auto channel = [opaque](long long sum) {
                return static_cast<std::uint32_t>((sum + opaque / 2) / opaque);
            };
            std::uint32_t pixel = (channel(red) << 16) | (channel(green) << 8) | channel(blue);
            // A colour that averages out to the key would vanish: it keeps a hair of difference.
            if (keyed && pixel == transparent) pixel ^= 1;
            target.Data[static_cast<size_t>(y) * target.Width + x] = pixel;
        }
    }
    return target;
}

TPixels ResampleStrip(const TPixels& strip, int cells, int cellWidth, int cellHeight, bool keyed,
                      std::uint32_t transparent) {
    TPixels target;
    cells = std::max(1, cells);
    target.Width = cells * std::max(0, cellWidth);
    target.Height = std::max(0, cellHeight);
    target.Data.assign(static_cast<size_t>(target.Width) * target.Height, transparent);
    const int sourceCell = strip.Width / cells;
    for (int cell = 0; cell < cells; ++cell) {
        TPixels one;
        one.Width = sourceCell;
        one.Height = strip.Height;
        one.Data.reserve(static_cast<size_t>(sourceCell) * strip.Height);
        for (int y = 0; y < strip.Height; ++y) {
            const auto row = strip.Data.begin() + static_cast<long>(y) * strip.Width + cell * sourceCell;
            one.Data.insert(one.Data.end(), row, row + sourceCell);
        }
        const TPixels scaled = ResampleImage(one, cellWidth, cellHeight, keyed, transparent);
        for (int y = 0; y < scaled.Height; ++y) {
            std::copy(scaled.Data.begin() + static_cast<long>(y) * scaled.Width,
                      scaled.Data.begin() + static_cast<long>(y + 1) * scaled.Width,
                      target.Data.begin() + static_cast<long>(y) * target.Width + cell * cellWidth);
        }
    }
    return target;
}

} // namespace nv
