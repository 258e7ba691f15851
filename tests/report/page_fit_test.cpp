// The font a printed page gets: 12 points where the page fits, else the
// largest with which it does, also when part of the page keeps its size.
#include "report/page_fit.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(PageFit, TwelvePointsWhereThePageFitsElseTheLargestThatFits) {
  // Ink that grows with the font, 40 by 60 of its pixels, beside a title of
  // fixed size.
  const auto extent = [](int pixels) { return PageExtent{pixels * 40 + 500, pixels * 60}; };
  EXPECT_EQ(fittingFontPixels(600, {5000, 7000}, extent), 100);  // 12 points at 600 dpi

  const int fitted = fittingFontPixels(600, {3000, 7000}, extent);
  EXPECT_LE(extent(fitted).width, 3000);
  EXPECT_GE(extent(fitted).width, 2850) << fitted << " pixels leave the page half empty";
}

}  // namespace
}  // namespace vs
