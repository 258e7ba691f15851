// Median time of the main window's full repaint at 1920 x 1080: the live view
// (three dials, six bars, the chart with its traces from the start) drawn into
// the off-screen image, and the copy of that image to the screen; then the
// chart's AddSample. Prints figures; asserts nothing.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "logging/playback_state.h"
#include "qt/panel_widget.h"
#include "qt/qpainter_canvas.h"
#include "sample_live_values.h"
#include "shell/live_view.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  constexpr int kWidth = 1920;
  constexpr int kHeight = 1080;

  vs::LiveView view;
  vs::ValveLink link;
  vs::PlaybackState playback(view.chart(), link);
  view.resize(kWidth, kHeight);
  const QFont font = vs::PanelWidget::instrumentFont();
  QImage frame(kWidth, kHeight, QImage::Format_RGB32);
  QImage screen(kWidth, kHeight, QImage::Format_RGB32);

  // Two whole sweeps of the chart, so the traces run from empty to full.
  const int repaints = 2 * (view.chart().Capacity() + 2);
  std::vector<double> paint;
  std::vector<double> copy;
  for (int tick = 0; tick < repaints; ++tick) {
    link.liveValues = vs::test::sampleLiveValues(tick);
    const auto start = Clock::now();
    {
      vs::QPainterCanvas canvas(frame, font);
      view.paint(canvas, link, playback);
    }
    const auto painted = Clock::now();
    QPainter(&screen).drawImage(0, 0, frame);
    const auto copied = Clock::now();
    paint.push_back(microseconds(painted - start));
    copy.push_back(microseconds(copied - painted));
  }
  std::vector<double> total(paint.size());
  for (std::size_t i = 0; i < total.size(); ++i) total[i] = paint[i] + copy[i];

  std::printf("Live view repaint at %d x %d, %d repaints (chart capacity %d slots)\n", kWidth,
              kHeight, repaints, view.chart().Capacity());
  std::printf("  draw into the off-screen image  median %8.0f us\n", median(paint));
  std::printf("  copy to the screen image        median %8.0f us\n", median(copy));
  std::printf("  full repaint                    median %8.0f us   (max %.0f us)\n", median(total),
              *std::max_element(total.begin(), total.end()));
  std::printf("  at five polls a second: %.1f %% of one core\n", median(total) * 5 / 1e4);

  constexpr int kSamples = 8'000'000;
  const auto start = Clock::now();
  for (int i = 0; i < kSamples; ++i) view.chart().AddSample(i * 0.001, i & 7);
  std::printf("AddSample: %.2f ns per sample (%d samples)\n",
              microseconds(Clock::now() - start) * 1000 / kSamples, kSamples);
  return 0;
}
