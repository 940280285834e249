// The one conversion of the program's sizes: every pixel it decides is designed at 96 pixels per
// inch and turned into pixels of the window's DPI here. Also which drawn image set serves a DPI,
// and the resampling that fits a set's images to the size wanted there. No windows needed.
#pragma once

#include <cstdint>
#include <vector>

namespace nv {

// The DPI the program's sizes are designed at.
constexpr int kDesignDpi = 96;

// Design pixels at `dpi`: multiplied, then divided with rounding half away from zero (as MulDiv).
int DpiScaled(int designPixels, int dpi);
// Pixels at `dpi` back in design pixels, rounded the same way.
int DesignPixels(int pixels, int dpi);
// The same, rounded toward zero: a limit that must not be passed once scaled again.
int DesignPixelsWithin(int pixels, int dpi);

// The scales the program's images are drawn at, in percent of the design size; the first is 100.
constexpr int kImageScales[] = {100, 125, 150, 200};
constexpr int kImageScaleCount = 4;
// Images are never enlarged by more than this, in percent.
constexpr int kMostEnlargement = 125;

// The drawn set the images come from at `dpi`: the set drawn at the DPI's own scale, else the
// nearest larger one (reduced to size); past the largest, the largest (enlarged, within limits).
int ImageSetFor(int dpi);
// The size set `set` draws an image of `designSize` pixels at.
int SetImageSize(int designSize, int set);
// The size an image of `designSize` pixels is shown at for `dpi`: scaled to the DPI, but no more
// than kMostEnlargement percent of the size its set draws it at.
int ShownImageSize(int designSize, int dpi);

// Pixels as 0x00RRGGBB, row by row from the top.
struct TPixels {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Data;
};

// Resamples `source` to `width` by `height`, each target pixel the average of the source area it
// covers. Pixels of `transparent` (when given) take no part in the average; a target pixel that is
// more than half transparent stays `transparent`, so the colour key keeps working after scaling.
TPixels ResampleImage(const TPixels& source, int width, int height, bool keyed = false,
                      std::uint32_t transparent = 0);
// The same for a strip of `cells` images side by side, each resampled on its own so that no
// image bleeds into its neighbour.
TPixels ResampleStrip(const TPixels& strip, int cells, int cellWidth, int cellHeight, bool keyed,
                      std::uint32_t transparent);

} // namespace nv
