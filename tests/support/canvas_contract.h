#pragma once

// What every Canvas must draw, pixel by pixel: one set of cases that each
// front end runs on its own canvas (tests/qt for QPainterCanvas, tests/win32
// for GdiCanvas). Include it in one file of a test program and instantiate
//   INSTANTIATE_TEST_SUITE_P(Name, CanvasContract, ::testing::Values(backend));
//
// Where two canvases may differ, the tolerance is stated here, once for all:
//  - shape edges, lines, fills and text cells are exact to the pixel;
//  - arcs are rasterised differently by each toolkit's curve code, so an arc
//    is checked by the quadrants it must and must not touch, clear of its
//    ends by 5 pixels;
//  - glyphs are rendered by each platform's font engine, anti-aliased or not
//    and hinted differently, so ink is only counted (at least one pixel of
//    the full text colour, none outside the cell), never compared;
//  - font metrics are ranges, since the platforms have different faces.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "widgets/canvas.h"

namespace vs {

// For the failure messages.
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "rgb(" << int{c.red} << ", " << int{c.green} << ", " << int{c.blue} << ")";
}
inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

}  // namespace vs

namespace vs::test {

// A picture as a canvas left it.
class Picture {
 public:
  Picture(int width, int height, std::vector<Rgb> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

  // How many pixels of `area` (the whole picture when not given) match.
  int count(const std::function<bool(Rgb)>& match) const {
    return count({0, 0, width_, height_}, match);
  }
  int count(const Rect& area, const std::function<bool(Rgb)>& match) const {
    int n = 0;
    for (int y = std::max(area.top, 0); y < std::min(area.bottom, height_); ++y) {
      for (int x = std::max(area.left, 0); x < std::min(area.right, width_); ++x) {
        n += match(at(x, y));
      }
    }
    return n;
  }
  // The smallest rectangle (right and bottom outside) holding every pixel
  // that matches; all zero when none does.
  Rect bounds(const std::function<bool(Rgb)>& match) const {
    Rect box{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (!match(at(x, y))) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
    }
    return box.right == 0 ? Rect{} : box;
  }

  friend bool operator==(const Picture&, const Picture&) = default;

 private:
  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

using Painting = std::function<void(Canvas&)>;

// A canvas under test: `draw` makes a white picture of width x height, lets
// `paint` draw on a canvas over it with the front end's own default font,
// finishes the canvas and reads the picture back.
struct CanvasBackend {
  std::string name;
  std::function<Picture(int width, int height, const Painting& paint)> draw;
};

inline void PrintTo(const CanvasBackend& backend, std::ostream* out) { *out << backend.name; }

class CanvasContract : public ::testing::TestWithParam<CanvasBackend> {
 protected:
  static constexpr Rgb kPaper = kWhite;
  static constexpr Rgb kInk = kBlack;
  static constexpr Rgb kRed{255, 0, 0};
  static constexpr Rgb kBlue{0, 0, 255};

  static Picture draw(int width, int height, const Painting& paint) {
    return GetParam().draw(width, height, paint);
  }
  static bool ink(Rgb c) { return c == kInk; }
  static bool marked(Rgb c) { return c != kPaper; }
  static bool red(Rgb c) { return c == kRed; }
};

TEST_P(CanvasContract, ShapesLeaveOutTheirRightAndBottomEdges) {
  const auto shapes = [](const Rect& rectangle) {
    return [rectangle](Canvas& canvas) {
      canvas.setBrush({kRed});
      canvas.rectangle(rectangle);
      canvas.fillRect({10, 10, 13, 12}, kBlue);
    };
  };
  const Picture picture = draw(20, 20, shapes({2, 3, 8, 7}));
  for (auto [x, y] : {std::pair{2, 3}, {7, 3}, {2, 6}, {7, 6}}) {
    EXPECT_EQ(picture.at(x, y), kInk) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{8, 3}, {2, 7}, {8, 7}, {13, 10}, {10, 12}}) {
    EXPECT_EQ(picture.at(x, y), kPaper) << x << "," << y;
  }
  EXPECT_EQ(picture.at(4, 5), kRed);
  EXPECT_EQ(picture.at(10, 10), kBlue);
  EXPECT_EQ(picture.at(12, 11), kBlue);

  // Corners in the wrong order give the same rectangle.
  EXPECT_EQ(draw(20, 20, shapes({8, 7, 2, 3})), picture);

  // An ellipse touches its corners' box on all four sides and never crosses it.
  const Picture ellipse = draw(60, 50, [](Canvas& canvas) {
    canvas.setBrush({kRed});
    canvas.ellipse({10, 10, 50, 40});
  });
  EXPECT_EQ(ellipse.bounds(marked), (Rect{10, 10, 50, 40}));
  EXPECT_EQ(ellipse.at(30, 25), kRed);
}

TEST_P(CanvasContract, ThinLinesLeaveOutTheirEndPoint) {
  const Picture picture = draw(20, 20, [](Canvas& canvas) {
    canvas.line({1, 1}, {6, 1});
    canvas.line({1, 3}, {1, 9});
    canvas.line({10, 10}, {10, 10});
    canvas.line({12, 12}, {17, 17});
  });
  EXPECT_EQ(picture.at(1, 1), kInk);
  EXPECT_EQ(picture.at(5, 1), kInk);
  EXPECT_EQ(picture.at(6, 1), kPaper);
  EXPECT_EQ(picture.at(1, 8), kInk);
  EXPECT_EQ(picture.at(1, 9), kPaper);
  EXPECT_EQ(picture.at(16, 16), kInk);
  EXPECT_EQ(picture.at(17, 17), kPaper);
  EXPECT_EQ(picture.count(marked), 5 + 6 + 5);
}

TEST_P(CanvasContract, ArcsRunCounterClockwiseOnScreen) {
  const auto arc = [](Point from, Point to) {
    return [from, to](Canvas& canvas) {
      canvas.setPen({kBlack, 3});
      canvas.arc({50, 50}, 40, from, to);
    };
  };
  // From six o'clock counter-clockwise to three o'clock: the lower right quarter.
  const Picture quarter = draw(100, 100, arc({50, 90}, {90, 50}));
  EXPECT_GT(quarter.count({55, 55, 100, 100}, ink), 0);
  for (const Rect& other : {Rect{0, 0, 45, 45}, Rect{55, 0, 100, 45}, Rect{0, 55, 45, 100}}) {
    EXPECT_EQ(quarter.count(other, ink), 0) << other;
  }

  // The gauge's band over its whole scale: from lower right back over the top
  // to lower left, leaving the bottom open.
  const Picture band = draw(100, 100, arc({70, 84}, {30, 84}));
  EXPECT_GT(band.count({40, 0, 60, 20}, ink), 0);
  EXPECT_EQ(band.count({40, 80, 60, 100}, ink), 0);

  // Both ends on one ray: the whole circle.
  const Picture circle = draw(100, 100, arc({90, 50}, {70, 50}));
  for (const Rect& quadrant :
       {Rect{0, 0, 45, 45}, Rect{55, 0, 100, 45}, Rect{0, 55, 45, 100}, Rect{55, 55, 100, 100}}) {
    EXPECT_GT(circle.count(quadrant, ink), 0) << quadrant;
  }
}

TEST_P(CanvasContract, OpaqueTextFillsItsCellTransparentTextDoesNot) {
  const auto paint = [](BackgroundMode mode) {
    return [mode](Canvas& canvas) {
      canvas.setBackgroundMode(mode);
      canvas.setBackColour(kRed);
      canvas.text({10, 10}, "Mil");
    };
  };
  const Picture opaque = draw(80, 40, paint(BackgroundMode::Opaque));
  const Picture transparent = draw(80, 40, paint(BackgroundMode::Transparent));
  EXPECT_EQ(opaque.at(10, 10), kRed);  // the cell's top left corner
  EXPECT_EQ(transparent.count(red), 0);
  EXPECT_GT(transparent.count(ink), 0);
}

TEST_P(CanvasContract, TextIsAlignedOnItsPoint) {
  // The opaque cell shows where the text went: its edges on the point as
  // aligned, as tall as the font's cell, and nothing drawn outside it.
  for (const HAlign horizontal : {HAlign::Left, HAlign::Centre, HAlign::Right}) {
    for (const VAlign vertical : {VAlign::Top, VAlign::Bottom}) {
      TextMetrics metrics;
      const Picture picture = draw(200, 100, [&](Canvas& canvas) {
        metrics = canvas.textMetrics();
        canvas.setBackColour(kRed);
        canvas.setTextAlign(horizontal, vertical);
        canvas.text({100, 50}, "0.600");
      });
      const Rect cell = picture.bounds(red);
      const std::string where = "alignment " + std::to_string(static_cast<int>(horizontal)) + "," +
                                std::to_string(static_cast<int>(vertical));
      EXPECT_EQ(picture.bounds(marked), cell) << where;
      EXPECT_EQ(cell.bottom - cell.top, metrics.height) << where;
      EXPECT_EQ(vertical == VAlign::Top ? cell.top : cell.bottom, 50) << where;
      switch (horizontal) {
        case HAlign::Left: EXPECT_EQ(cell.left, 100) << where; break;
        case HAlign::Right: EXPECT_EQ(cell.right, 100) << where; break;
        case HAlign::Centre: EXPECT_NEAR(cell.left + cell.right, 200, 1) << where; break;
      }
      // Ink on both sides of a centred text's point.
      if (horizontal == HAlign::Centre) {
        EXPECT_GT(picture.count({cell.left, 0, 100, 100}, ink), 0);
        EXPECT_GT(picture.count({100, 0, cell.right, 100}, ink), 0);
      }
    }
  }
}

TEST_P(CanvasContract, FontRoles) {
  TextMetrics panel;
  TextMetrics fixed;
  TextMetrics title;
  TextMetrics heavy;
  draw(10, 10, [&](Canvas& canvas) {
    panel = canvas.textMetrics();
    canvas.setFont({FontRole::Fixed});
    fixed = canvas.textMetrics();
    canvas.setFont({FontRole::Title, 180});
    title = canvas.textMetrics();
    canvas.setFont({FontRole::Heavy});
    heavy = canvas.textMetrics();
  });
  EXPECT_GE(panel.height, 14);
  EXPECT_LE(panel.height, 17);
  EXPECT_GE(panel.averageCharWidth, 6);
  EXPECT_LE(panel.averageCharWidth, 8);
  EXPECT_FALSE(panel.fixedPitch);
  EXPECT_TRUE(fixed.fixedPitch);
  EXPECT_NEAR(title.height, 180, 18);
  EXPECT_EQ(heavy.height, panel.height);
}

TEST_P(CanvasContract, FarOffAndDegenerateShapesDrawNothing) {
  const Picture picture = draw(50, 50, [](Canvas& canvas) {
    canvas.text({3000000, 3000000}, "Over Range");
    canvas.line({-2000000000, -5}, {2000000000, -5});
    canvas.ellipse({25, 25, 25, 25});
    canvas.arc({25, 25}, 0, {25, 25}, {25, 25});
    canvas.fillRect({30, 30, 30, 40}, kBlack);
  });
  EXPECT_EQ(picture.count(marked), 0);
}

TEST_P(CanvasContract, FarOffShapesDrawWhatFallsOnThePicture) {
  const Picture picture = draw(50, 50, [](Canvas& canvas) {
    canvas.line({-2000000000, 20}, {2000000000, 20});
    canvas.setBrush({kRed});
    canvas.rectangle({-2000000000, 30, 2000000000, 40});
  });
  EXPECT_EQ(picture.count({0, 20, 50, 21}, ink), 50);
  EXPECT_EQ(picture.count({0, 30, 50, 31}, ink), 50);
  EXPECT_EQ(picture.count({0, 31, 50, 39}, red), 50 * 8);
  EXPECT_EQ(picture.count({0, 39, 50, 40}, ink), 50);
  EXPECT_EQ(picture.count(marked), 50 * 11);
}

}  // namespace vs::test
