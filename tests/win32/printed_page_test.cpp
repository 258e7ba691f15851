// The traveler page as the printer's DC gets it, drawn into a picture of a
// US Letter page at 100 dots per inch: in the largest font with which it fits
// inside half-inch margins, every text in its own place, none over another,
// and no ink anywhere else.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/traveler_page.h"
#include "support/recording_canvas.h"
#include "support/traveler_sample.h"
#include "win32/dib_frame.h"
#include "win32/gdi_canvas.h"
#include "win32/win32_page_printer.h"

namespace vs {
namespace {

constexpr int kDpi = 100;
constexpr RECT kArea{50, 50, 800, 1050};  // 8.5 x 11 inches less half an inch each side

// The sample valve, with a comment of two rows and the widest governor values.
TravelerReport sampleReport() {
  TravelerReport report = test::sampleTravelerReport(462);
  report.commentLines = {"Replaced the O2 sensor; ", "free-air calibration passed.", "", "",
                         "Governor retuned."};
  report.values.set("speed_p_max", 32767);
  report.values.set("speed_i_max", -32768);
  return report;
}

void drawPage(Canvas& canvas, int dotsPerInch) {
  static const TravelerReport report = sampleReport();
  drawTravelerPage(canvas, report, travelerTitleHeight(dotsPerInch));
}

// A page-sized picture, white.
void clear(DibFrame& frame) {
  ASSERT_TRUE(frame.resize(850, 1100));
  PatBlt(frame.dc(), 0, 0, frame.width(), frame.height(), WHITENESS);
}

// The smallest box around the ink in rows `top` to `bottom`; empty when none.
RECT inkBox(const DibFrame& frame, int top, int bottom) {
  RECT box{frame.width(), frame.height(), 0, 0};
  for (int y = std::max(top, 0); y < std::min(bottom, frame.height()); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixel(x, y) == kWhite) continue;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  }
  return box;
}

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(PrintedTravelerPage, FitsTheMarginsWithEveryTextInItsOwnPlace) {
  DibFrame page;
  clear(page);
  const int pixels = drawFittedPage(page.dc(), kArea, kDpi, drawPage);
  EXPECT_LE(pixels, kDpi * 12 / 72);

  // The page's texts and where they are anchored, laid out with the metrics
  // of the font it was drawn in.
  DibFrame scratch;
  clear(scratch);
  TextMetrics metrics;
  {
    GdiCanvas canvas(scratch.dc(), 1, 1, printedPageFont(pixels));
    metrics = canvas.textMetrics();
  }
  test::RecordingCanvas layout(metrics);
  drawPage(layout, kDpi);
  const std::vector<test::DrawCall> texts = layout.of(test::Shape::Text);
  ASSERT_GT(texts.size(), 60u);

  // Each text alone, where the page put it: inside the margins and clear of
  // every other text.
  std::vector<RECT> boxes;
  for (const test::DrawCall& call : texts) {
    clear(scratch);
    SetViewportOrgEx(scratch.dc(), kArea.left, kArea.top, nullptr);
    {
      GdiCanvas canvas(scratch.dc(), kArea.right - kArea.left, kArea.bottom - kArea.top,
                       printedPageFont(pixels));
      canvas.setFont(call.state.font);
      canvas.setTextAlign(call.state.horizontalAlign, call.state.verticalAlign);
      canvas.setBackgroundMode(call.state.backgroundMode);
      canvas.text(call.at, call.text);
    }
    SetViewportOrgEx(scratch.dc(), 0, 0, nullptr);
    const int y = kArea.top + call.at.y;
    const RECT box = inkBox(scratch, y - 4 * metrics.height, y + 4 * metrics.height);
    EXPECT_LT(box.left, box.right) << "\"" << call.text << "\" shows nothing";
    EXPECT_TRUE(inside(box, kArea)) << "\"" << call.text << "\" crosses a margin";
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      RECT common{};
      EXPECT_FALSE(IntersectRect(&common, &box, &boxes[i]))
          << "\"" << call.text << "\" runs into \"" << texts[i].text << "\"";
    }
    boxes.push_back(box);
  }

  // The page is those texts and nothing else, and as large as the margins
  // allow: within a tenth of the right or the bottom one (a step of the
  // font's size is a fifteenth of the page at this resolution).
  RECT reach{0, 0, 0, 0};
  int stray = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (page.pixel(x, y) == kWhite) continue;
      reach.right = std::max<LONG>(reach.right, x + 1);
      reach.bottom = std::max<LONG>(reach.bottom, y + 1);
      const POINT at{x, y};
      stray += std::none_of(boxes.begin(), boxes.end(),
                            [at](const RECT& box) { return PtInRect(&box, at) != 0; });
    }
  }
  EXPECT_EQ(stray, 0) << "pixels of ink outside every text";
  EXPECT_TRUE(reach.right > kArea.right - 75 || reach.bottom > kArea.bottom - 100)
      << reach.right << ", " << reach.bottom;
}

}  // namespace
}  // namespace vs
