#include "qt/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "gui_app.h"

namespace vs {
namespace {

constexpr QRgb kPaper = 0xFFFFFFFF;
constexpr QRgb kInk = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;

class QPainterCanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::ensureGuiApplication(); }

  QImage draw(int width, int height, const std::function<void(Canvas&)>& paint) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kPaper);
    {
      QPainterCanvas canvas(image);
      paint(canvas);
    }
    return image;
  }
  static int count(const QImage& image, const std::function<bool(QRgb)>& match) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) n += match(image.pixel(x, y));
    }
    return n;
  }
};

TEST_F(QPainterCanvasTest, ShapesLeaveOutTheirRightAndBottomEdges) {
  const QImage image = draw(20, 20, [](Canvas& canvas) {
    canvas.setBrush({{255, 0, 0}});
    canvas.rectangle({2, 3, 8, 7});
    canvas.fillRect({10, 10, 13, 12}, {0, 0, 255});
  });
  for (auto [x, y] : {std::pair{2, 3}, {7, 3}, {2, 6}, {7, 6}}) {
    EXPECT_EQ(image.pixel(x, y), kInk) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{8, 3}, {2, 7}, {8, 7}, {13, 10}, {10, 12}}) {
    EXPECT_EQ(image.pixel(x, y), kPaper) << x << "," << y;
  }
  EXPECT_EQ(image.pixel(4, 5), kRed);
  EXPECT_EQ(image.pixel(10, 10), 0xFF0000FFu);
  EXPECT_EQ(image.pixel(12, 11), 0xFF0000FFu);

  // Corners in the wrong order give the same rectangle.
  const QImage inverted = draw(20, 20, [](Canvas& canvas) {
    canvas.setBrush({{255, 0, 0}});
    canvas.rectangle({8, 7, 2, 3});
    canvas.fillRect({10, 10, 13, 12}, {0, 0, 255});
  });
  EXPECT_EQ(inverted, image);
}

TEST_F(QPainterCanvasTest, ThinLinesLeaveOutTheirEndPoint) {
  const QImage image = draw(20, 20, [](Canvas& canvas) {
    canvas.line({1, 1}, {6, 1});
    canvas.line({1, 3}, {1, 9});
    canvas.line({10, 10}, {10, 10});
  });
  EXPECT_EQ(image.pixel(1, 1), kInk);
  EXPECT_EQ(image.pixel(5, 1), kInk);
  EXPECT_EQ(image.pixel(6, 1), kPaper);
  EXPECT_EQ(image.pixel(1, 8), kInk);
  EXPECT_EQ(image.pixel(1, 9), kPaper);
  EXPECT_EQ(count(image, [](QRgb c) { return c != kPaper; }), 5 + 6);
}

TEST_F(QPainterCanvasTest, ArcsRunCounterClockwiseOnScreen) {
  // From six o'clock counter-clockwise to three o'clock: the lower right quarter.
  const QImage quarter = draw(100, 100, [](Canvas& canvas) {
    canvas.setPen({kBlack, 3});
    canvas.arc({50, 50}, 40, {50, 90}, {90, 50});
  });
  EXPECT_GT(count(quarter.copy(55, 55, 45, 45), [](QRgb c) { return c == kInk; }), 0);
  for (QRect other : {QRect(0, 0, 45, 45), QRect(55, 0, 45, 45), QRect(0, 55, 45, 45)}) {
    EXPECT_EQ(count(quarter.copy(other), [](QRgb c) { return c == kInk; }), 0);
  }

  // The gauge's band over its whole scale: from lower right back over the top
  // to lower left, leaving the bottom open.
  const QImage band = draw(100, 100, [](Canvas& canvas) {
    canvas.setPen({kBlack, 3});
    canvas.arc({50, 50}, 40, {70, 84}, {30, 84});
  });
  EXPECT_GT(count(band.copy(40, 0, 20, 20), [](QRgb c) { return c == kInk; }), 0);
  EXPECT_EQ(count(band.copy(40, 80, 20, 20), [](QRgb c) { return c == kInk; }), 0);
}

TEST_F(QPainterCanvasTest, OpaqueTextFillsItsCellTransparentTextDoesNot) {
  const auto paint = [](BackgroundMode mode) {
    return [mode](Canvas& canvas) {
      canvas.setBackgroundMode(mode);
      canvas.setBackColour({255, 0, 0});
      canvas.text({10, 10}, "Mil");
    };
  };
  const QImage opaque = draw(80, 40, paint(BackgroundMode::Opaque));
  const QImage transparent = draw(80, 40, paint(BackgroundMode::Transparent));
  EXPECT_EQ(opaque.pixel(10, 10), kRed);  // the cell's top left corner
  EXPECT_EQ(count(transparent, [](QRgb c) { return c == kRed; }), 0);
  EXPECT_GT(count(transparent, [](QRgb c) { return c == kInk; }), 0);
}

TEST_F(QPainterCanvasTest, TextIsAlignedOnItsPoint) {
  const QImage image = draw(200, 100, [](Canvas& canvas) {
    canvas.setBackgroundMode(BackgroundMode::Opaque);
    canvas.setBackColour({255, 0, 0});
    canvas.setTextAlign(HAlign::Right, VAlign::Bottom);
    canvas.text({100, 50}, "0.600");
  });
  const int height = QFontMetrics(QPainterCanvas::panelFont()).height();
  EXPECT_EQ(image.pixel(99, 49), kRed);
  EXPECT_EQ(image.pixel(99, 50 - height), kRed);
  EXPECT_EQ(image.pixel(99, 49 - height), kPaper);
  EXPECT_EQ(count(image.copy(100, 0, 100, 100), [](QRgb c) { return c != kPaper; }), 0);
  EXPECT_EQ(count(image.copy(0, 50, 200, 50), [](QRgb c) { return c != kPaper; }), 0);

  const QImage centred = draw(200, 100, [](Canvas& canvas) {
    canvas.setTextAlign(HAlign::Centre, VAlign::Top);
    canvas.text({100, 50}, "0.600");
  });
  EXPECT_GT(count(centred.copy(80, 50, 20, 20), [](QRgb c) { return c == kInk; }), 0);
  EXPECT_GT(count(centred.copy(100, 50, 20, 20), [](QRgb c) { return c == kInk; }), 0);
  EXPECT_EQ(count(centred.copy(0, 0, 200, 50), [](QRgb c) { return c != kPaper; }), 0);
}

TEST_F(QPainterCanvasTest, FontRoles) {
  QImage image(10, 10, QImage::Format_RGB32);
  QPainterCanvas canvas(image);
  const TextMetrics panel = canvas.textMetrics();
  EXPECT_GE(panel.height, 14);
  EXPECT_LE(panel.height, 17);
  EXPECT_GE(panel.averageCharWidth, 6);
  EXPECT_LE(panel.averageCharWidth, 8);
  EXPECT_FALSE(panel.fixedPitch);

  canvas.setFont({FontRole::Fixed});
  EXPECT_TRUE(canvas.textMetrics().fixedPitch);
  canvas.setFont({FontRole::Title, 180});
  EXPECT_NEAR(canvas.textMetrics().height, 180, 18);
  canvas.setFont({FontRole::Heavy});
  EXPECT_EQ(canvas.textMetrics().height, panel.height);
}

TEST_F(QPainterCanvasTest, FarOffAndDegenerateShapesDrawNothing) {
  const QImage image = draw(50, 50, [](Canvas& canvas) {
    canvas.text({3000000, 3000000}, "Over Range");
    canvas.line({-2000000000, -5}, {2000000000, -5});
    canvas.ellipse({25, 25, 25, 25});
    canvas.arc({25, 25}, 0, {25, 25}, {25, 25});
    canvas.fillRect({30, 30, 30, 40}, {0, 0, 0});
  });
  EXPECT_EQ(count(image, [](QRgb c) { return c != kPaper; }), 0);
}

}  // namespace
}  // namespace vs
