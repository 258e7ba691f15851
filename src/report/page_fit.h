#pragma once

#include <functional>

namespace vs {

// How far a page's ink reaches to the right and down, in device pixels.
struct PageExtent {
  int width = 0;
  int height = 0;
};

// The fraction of the output's resolution at which dry runs of a page draw:
// small enough for a picture of the whole page (an eighth at most), fine
// enough to place every character (75 dots per inch at least).
int dryRunDivisor(int dotsPerInch);

// The size, in device pixels, of the default font with which a page is
// printed as large as `area` allows, up to 12 points at `dotsPerInch`. The
// page is laid out in units of that font, so its extent grows with it (only
// the title keeps its physical size); `inkExtent(pixels)` says how far the
// page's ink reaches with a default font of `pixels`.
int fittingFontPixels(int dotsPerInch, PageExtent area,
                      const std::function<PageExtent(int pixels)>& inkExtent);

}  // namespace vs
