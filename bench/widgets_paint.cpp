// Times full repaints of the main window's instrument panel (three gauges, six
// bars and an eight-channel chart with every slot filled) onto a 1920 x 1080
// image through QPainterCanvas, and the chart's AddSample. Prints figures;
// asserts nothing. Wall-clock time includes whatever else the machine runs;
// the processor time of this process does not.
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "app/live_view.h"
#include "app/panel_widget.h"
#include "gui_app.h"
#include "logging/playback_state.h"
#include "sample_live_values.h"
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
  vs::LiveView view;
  vs::ValveLink link;
  vs::PlaybackState playback(view.chart(), link);
  view.resize(kWidth, kHeight);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const QFont font = vs::PanelWidget::instrumentFont();
  const auto repaint = [&](int tick) {
    link.liveValues = vs::test::sampleLiveValues(tick);
    vs::QPainterCanvas canvas(image, font);
    view.paint(canvas, link, playback);
  };
  // Every slot of the chart holds a sample before the timing starts.
  const int capacity = view.chart().Capacity();
  for (int tick = 0; tick < capacity; ++tick) repaint(tick);

  std::vector<double> wall;
  std::vector<double> processor;
  for (int i = 0; i < kPaints; ++i) {
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    repaint(capacity + i);
    processor.push_back((std::clock() - cpuStart) * 1e6 / CLOCKS_PER_SEC);
    wall.push_back(microseconds(Clock::now() - start));
  }
  std::printf("full paint, %dx%d, chart %d slots x 8 channels, %d paints:\n", kWidth, kHeight,
              capacity, kPaints);
  std::printf("  median %.0f us wall clock (fastest %.0f us), median %.0f us processor time\n",
              median(wall), *std::min_element(wall.begin(), wall.end()), median(processor));

  constexpr int kSamples = 8'000'000;
  const auto start = Clock::now();
  for (int i = 0; i < kSamples; ++i) view.chart().AddSample(i * 0.001, i & 7);
  std::printf("AddSample: %.2f ns per sample (%d samples)\n",
              microseconds(Clock::now() - start) * 1000 / kSamples, kSamples);
  return 0;
}
