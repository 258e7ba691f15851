#include "report/page_fit.h"

#include <algorithm>

namespace vs {

int dryRunDivisor(int dotsPerInch) { return std::clamp(dotsPerInch / 75, 1, 8); }

int fittingFontPixels(int dotsPerInch, PageExtent area,
                      const std::function<PageExtent(int pixels)>& inkExtent) {
  int pixels = dotsPerInch * 12 / 72;
  for (int attempt = 0; attempt < 8; ++attempt) {
    const PageExtent extent = inkExtent(pixels);
    const double scale = std::min(static_cast<double>(area.width) / std::max(1, extent.width),
                                  static_cast<double>(area.height) / std::max(1, extent.height));
    if (scale >= 1.0) break;
    // A little below the proportion, as glyphs do not scale exactly.
    pixels = std::max(dryRunDivisor(dotsPerInch), static_cast<int>(pixels * scale * 0.98));
  }
  return pixels;
}

}  // namespace vs
