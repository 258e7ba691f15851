#pragma once

#include <array>

#include "forms/valve_link.h"
#include "widgets/bar_indicator.h"
#include "widgets/dial_gauge.h"
#include "widgets/number_text.h"
#include "widgets/trend_chart.h"

namespace vs {

class Canvas;
class PlaybackState;

// The main window's instrument panel: three dials across the top, six bars in
// the middle and the eight-channel trend chart below, all placed by percent of
// the client area. Configured once at creation; each repaint draws it from the
// state record and moves the chart on by one slot (or, in playback, to the
// record being shown).
class LiveView {
 public:
  enum GaugeIndex { GAUGE_O2 = 0, GAUGE_PRESSURE = 1, GAUGE_ANALOG = 2 };
  enum BarIndex {
    BAR_O2_SET_POINT = 0,
    BAR_O2_FEEDBACK = 1,
    BAR_PRESSURE = 2,
    BAR_POST_CAT = 3,
    BAR_PRESSURE_SET_POINT = 4,
    BAR_PRE_CAT = 5,
  };

  LiveView();

  // The client area's new size in pixels.
  void resize(int width, int height);
  // Draws the whole client area. Live values the instruments clamp (O2
  // feedback above 1.2 V, analog input below 4 mA) are clamped in `link` too,
  // so that the chart receives what the dials show.
  void paint(Canvas& canvas, ValveLink& link, PlaybackState& playback);

  TrendChart& chart() { return chart_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  void placeChart(bool zoomed);
  void paintInstruments(Canvas& canvas, ValveLink& link);
  void addSamples(const LiveValues& values);

  std::array<DialGauge, 3> gauges_;
  std::array<BarIndicator, 6> bars_;
  TrendChart chart_;
  int width_ = 0;
  int height_ = 0;
  TextBuffer note_{};
};

}  // namespace vs
