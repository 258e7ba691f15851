// The canvas contract on QPainterCanvas over an RGB32 QImage, with the
// canvas's panel font.

#include "qt/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include "gui_app.h"
#include "support/canvas_contract.h"

namespace vs::test {
namespace {

Picture drawWithQPainter(int width, int height, const Painting& paint) {
  ensureGuiApplication();
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainterCanvas canvas(image);
    paint(canvas);
  }
  std::vector<Rgb> pixels;
  pixels.reserve(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = image.pixel(x, y);
      pixels.push_back({static_cast<std::uint8_t>(qRed(pixel)),
                        static_cast<std::uint8_t>(qGreen(pixel)),
                        static_cast<std::uint8_t>(qBlue(pixel))});
    }
  }
  return {width, height, std::move(pixels)};
}

INSTANTIATE_TEST_SUITE_P(QPainter, CanvasContract,
                         ::testing::Values(CanvasBackend{"QPainterCanvas", drawWithQPainter}),
                         [](const auto&) { return "QPainterCanvas"; });

}  // namespace
}  // namespace vs::test
