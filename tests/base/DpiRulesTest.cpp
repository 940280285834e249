#include "base/DpiRules.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace nv {

TEST(DpiRules, DesignPixelsScaleByTheDpiRoundingHalfAwayFromZero) {
    const struct {
        int design, dpi, scaled;
    } rows[] = {
        {33, 96, 33}, {33, 120, 41}, {33, 144, 50}, {33, 192, 66}, {1, 144, 2}, {1, 120, 1},
        {8, 144, 12}, {-11, 144, -17}, {0, 192, 0}, {423, 168, 740},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DpiScaled(row.design, row.dpi), row.scaled) << row.design << " at " << row.dpi;
        // Back where it came from at any scale above the design's.
        EXPECT_EQ(DesignPixels(row.scaled, row.dpi), row.design) << row.design << " at " << row.dpi;
    }
    // A limit in pixels stays a limit once scaled back.
    EXPECT_EQ(DesignPixels(50, 144), 33);
    EXPECT_EQ(DesignPixelsWithin(50, 144), 33);
    EXPECT_EQ(DesignPixels(49, 144), 33);
    EXPECT_EQ(DesignPixelsWithin(49, 144), 32);
    EXPECT_LE(DpiScaled(DesignPixelsWithin(49, 144), 144), 49);
}

TEST(DpiRules, EachDpiTakesItsOwnImageSetOrReducesTheNextLargerAndNothingGrowsPastAQuarter) {
    const struct {
        int dpi, set, shown;
    } rows[] = {
        {96, 0, 16}, {72, 0, 12}, {108, 1, 18}, {120, 1, 20}, {144, 2, 24}, {168, 3, 28},
        {192, 3, 32}, {216, 3, 36}, {240, 3, 40}, {288, 3, 40},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ImageSetFor(row.dpi), row.set) << row.dpi;
        EXPECT_EQ(ShownImageSize(16, row.dpi), row.shown) << row.dpi;
        EXPECT_LE(ShownImageSize(16, row.dpi) * 100, SetImageSize(16, row.set) * kMostEnlargement) << row.dpi;
    }
    // The About picture's sets, as its generator draws them.
    const int widths[] = {75, 94, 113, 150}, heights[] = {103, 129, 155, 206};
    for (int set = 0; set < kImageScaleCount; ++set) {
        EXPECT_EQ(SetImageSize(75, set), widths[set]);
        EXPECT_EQ(SetImageSize(103, set), heights[set]);
        EXPECT_EQ(DpiScaled(75, kImageScales[set] * kDesignDpi / 100), widths[set]) << "the set fits its DPI exactly";
    }
}

namespace {
constexpr std::uint32_t kKey = 0x808000; // the pictures' olive background
TPixels Picture(int width, int height, std::initializer_list<std::uint32_t> data) {
    return TPixels{width, height, std::vector<std::uint32_t>(data)};
}
} // namespace

TEST(DpiRules, ResamplingAveragesTheAreaEachPixelCovers) {
    const TPixels checker = Picture(2, 2, {0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000});
    EXPECT_EQ(ResampleImage(checker, 2, 2).Data, checker.Data) << "the same size is the same picture";
    EXPECT_EQ(ResampleImage(checker, 1, 1).Data, std::vector<std::uint32_t>{0x800080});
    // Three columns into two: the middle one is shared half and half.
    const TPixels row = Picture(3, 1, {0x000000, 0x646464, 0xC8C8C8});
    EXPECT_EQ(ResampleImage(row, 2, 1).Data, (std::vector<std::uint32_t>{0x212121, 0xA7A7A7}));
    // Enlarged by a quarter, each colour keeps its place and the edge pixel is shared.
    const TPixels twoColours = Picture(4, 1, {0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000});
    EXPECT_EQ(ResampleImage(twoColours, 5, 1).Data,
              (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF, 0x808080, 0x000000, 0x000000}));
}

TEST(DpiRules, TheTransparentColourStaysExactAndNeverTintsTheImage) {
    // A reduced pixel at least half transparent stays the key exactly.
    const TPixels half = Picture(4, 1, {kKey, kKey, kKey, 0x0000FF});
    EXPECT_EQ(ResampleImage(half, 2, 1, true, kKey).Data, (std::vector<std::uint32_t>{kKey, kKey}));
    // One mostly opaque keeps its colours without the key mixed in; unkeyed, olive is a colour too.
    const TPixels most = Picture(4, 1, {kKey, 0x0000FF, 0x0000FF, 0x0000FF});
    EXPECT_EQ(ResampleImage(most, 1, 1, true, kKey).Data, std::vector<std::uint32_t>{0x0000FF});
    EXPECT_EQ(ResampleImage(most, 1, 1).Data, std::vector<std::uint32_t>{0x2020BF});
    // A blend of other colours that comes out as the key is nudged off it, or it would vanish.
    const TPixels redAndGreen = Picture(2, 1, {0x800000, 0x008000});
    EXPECT_EQ(ResampleImage(redAndGreen, 1, 1, true, 0x404000).Data, std::vector<std::uint32_t>{0x404001});
}

TEST(DpiRules, AStripIsResampledImageByImage) {
    // Two 2x1 images: white-white and black-black. Reduced to one pixel each, neither takes any of
    // the other, as one resampling of the whole strip would at the seam.
    const TPixels strip = Picture(4, 1, {0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000});
    EXPECT_EQ(ResampleStrip(strip, 2, 1, 1, false, 0).Data, (std::vector<std::uint32_t>{0xFFFFFF, 0x000000}));
    const TPixels grown = ResampleStrip(strip, 2, 3, 2, true, kKey);
    EXPECT_EQ(grown.Width, 6);
    EXPECT_EQ(grown.Height, 2);
    EXPECT_EQ(grown.Data, (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, //
                                                      0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0, 0, 0}));
}

} // namespace nv
