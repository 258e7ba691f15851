// Times a full repaint of three gauges, six bars and an eight-channel chart of
// 540 filled slots onto a 1920 x 1080 image through QPainterCanvas, and the
// chart's AddSample. Prints figures; asserts nothing. Wall-clock time includes
// whatever else the machine runs; the processor time of this process does not.
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "gui_app.h"
#include "sample_panel.h"
#include "widgets/qpainter_canvas.h"

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vs::test::ensureGuiApplication();

  constexpr int kWidth = 1920;
  constexpr int kHeight = 1080;
  constexpr int kPaints = 200;
  vs::test::SamplePanel panel;
  panel.chartWidthPercent = 57;  // 1080 pixels: 540 slots of 2 pixels
  panel.resize(kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  {
    vs::QPainterCanvas canvas(image);
    panel.draw(canvas, vs::test::SamplePanel::valuesAt(0));
  }
  const int capacity = panel.chart.Capacity();
  for (int tick = 0; tick < capacity; ++tick) panel.sample(vs::test::SamplePanel::valuesAt(tick));

  std::vector<double> wall;
  std::vector<double> processor;
  for (int i = 0; i < kPaints; ++i) {
    const auto values = vs::test::SamplePanel::valuesAt(i);
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    {
      vs::QPainterCanvas canvas(image);
      panel.draw(canvas, values);
    }
    processor.push_back((std::clock() - cpuStart) * 1e6 / CLOCKS_PER_SEC);
    wall.push_back(microseconds(Clock::now() - start));
  }
  std::printf("full paint, %dx%d, chart %d slots x 8 channels, %d paints:\n", kWidth, kHeight,
              panel.chart.WriteSlot(), kPaints);
  std::printf("  median %.0f us wall clock (fastest %.0f us), median %.0f us processor time\n",
              median(wall), *std::min_element(wall.begin(), wall.end()), median(processor));

  constexpr int kSamples = 8'000'000;
  const auto start = Clock::now();
  for (int i = 0; i < kSamples; ++i) panel.chart.AddSample(i * 0.001, i & 7);
  std::printf("AddSample: %.2f ns per sample (%d samples)\n",
              microseconds(Clock::now() - start) * 1000 / kSamples, kSamples);
  return 0;
}
