// Median time of the Windows main window's full repaint at 1920 x 1080: the
// live view (three dials, six bars, the chart with its traces from the start)
// drawn through GdiCanvas into the DIB frame, and the copy of that frame to
// another, as it goes to the window; then the same drawing with the dials'
// wide-pen curves (rims and bands) one pixel wide, to show what they cost.
// The Qt figure is app_repaint_bench's. Prints figures; asserts nothing.
// Runs under Wine: make windows-bench.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "logging/playback_state.h"
#include "sample_live_values.h"
#include "shell/live_view.h"
#include "win32/dib_frame.h"
#include "win32/gdi_canvas.h"
#include "win32/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double microseconds(Clock::duration d) {
  return std::chrono::duration<double, std::micro>(d).count();
}

// Passes every call on to `inner`, but ellipses and arcs with a one-pixel pen.
class ThinCurves : public vs::Canvas {
 public:
  explicit ThinCurves(vs::Canvas& inner) : inner_(inner) {}
  vs::TextMetrics textMetrics() override { return take().textMetrics(); }
  void line(vs::Point from, vs::Point to) override { take().line(from, to); }
  void rectangle(const vs::Rect& corners) override { take().rectangle(corners); }
  void ellipse(const vs::Rect& corners) override { thin().ellipse(corners); }
  void arc(vs::Point centre, int radius, vs::Point from, vs::Point to) override {
    thin().arc(centre, radius, from, to);
  }
  void text(vs::Point at, std::string_view text) override { take().text(at, text); }
  void fillRect(const vs::Rect& corners, vs::Rgb colour) override {
    take().fillRect(corners, colour);
  }

 private:
  vs::Canvas& take() {
    const vs::CanvasState& s = state();
    inner_.setPen(s.pen);
    inner_.setBrush(s.brush);
    inner_.setFont(s.font);
    inner_.setTextColour(s.textColour);
    inner_.setBackColour(s.backColour);
    inner_.setBackgroundMode(s.backgroundMode);
    inner_.setTextAlign(s.horizontalAlign, s.verticalAlign);
    return inner_;
  }
  vs::Canvas& thin() {
    take().setPen({state().pen.colour, 1});
    return inner_;
  }
  vs::Canvas& inner_;
};

// The median of drawing the live view `repaints` times into `frame`, each
// time copied to `screen`, with `paint` drawing on each frame's canvas.
template <typename Paint>
std::pair<std::vector<double>, std::vector<double>> repaint(int repaints, vs::DibFrame& frame,
                                                            vs::DibFrame& screen, Paint paint) {
  std::vector<double> drawn;
  std::vector<double> copied;
  for (int tick = 0; tick < repaints; ++tick) {
    const auto start = Clock::now();
    paint(tick);
    GdiFlush();
    const auto painted = Clock::now();
    frame.copyTo(screen.dc());
    GdiFlush();
    drawn.push_back(microseconds(painted - start));
    copied.push_back(microseconds(Clock::now() - painted));
  }
  return {drawn, copied};
}

}  // namespace

int main() {
  constexpr int kWidth = 1920;
  constexpr int kHeight = 1080;

  vs::LiveView view;
  vs::ValveLink link;
  vs::PlaybackState playback(view.chart(), link);
  view.resize(kWidth, kHeight);
  const LOGFONTW font = vs::MainWindow::instrumentFont(USER_DEFAULT_SCREEN_DPI);
  vs::DibFrame frame;
  vs::DibFrame screen;
  if (!frame.resize(kWidth, kHeight) || !screen.resize(kWidth, kHeight)) {
    std::fprintf(stderr, "no DIB sections of %d x %d\n", kWidth, kHeight);
    return 1;
  }

  // Two whole sweeps of the chart, so the traces run from empty to full.
  const int repaints = 2 * (view.chart().Capacity() + 2);
  const auto [paint, copy] = repaint(repaints, frame, screen, [&](int tick) {
    link.liveValues = vs::test::sampleLiveValues(tick);
    vs::GdiCanvas canvas(frame.dc(), kWidth, kHeight, font);
    view.paint(canvas, link, playback);
  });
  const auto [thinPaint, thinCopy] = repaint(repaints, frame, screen, [&](int tick) {
    link.liveValues = vs::test::sampleLiveValues(tick);
    vs::GdiCanvas canvas(frame.dc(), kWidth, kHeight, font);
    ThinCurves thin(canvas);
    view.paint(thin, link, playback);
  });
  std::vector<double> total(paint.size());
  for (std::size_t i = 0; i < total.size(); ++i) total[i] = paint[i] + copy[i];

  std::printf("Live view repaint through GDI at %d x %d, %d repaints (chart capacity %d slots)\n",
              kWidth, kHeight, repaints, view.chart().Capacity());
  std::printf("  draw into the DIB frame         median %8.0f us\n", median(paint));
  std::printf("  copy to the window's DIB        median %8.0f us\n", median(copy));
  std::printf("  full repaint                    median %8.0f us   (max %.0f us)\n", median(total),
              *std::max_element(total.begin(), total.end()));
  std::printf("  at five polls a second: %.1f %% of one core\n", median(total) * 5 / 1e4);
  std::printf("  draw with one-pixel dial curves median %6.0f us\n", median(thinPaint));
  return 0;
}
