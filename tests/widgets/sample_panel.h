#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "widgets/bar_indicator.h"
#include "widgets/canvas.h"
#include "widgets/dial_gauge.h"
#include "widgets/trend_chart.h"

namespace vs::test {

// The instrument panel configured and fed as the main window does it (three
// dials, six bars, the chart in its live placement), with made-up live values,
// for pictures and timings of the widgets together.
class SamplePanel {
 public:
  // Live values in log-record order: O2 set point and feedback (mV), pressure
  // (thousandths), actuator, 4-20 mA input (hundredths), mode, pressure set
  // point, pre- and post-catalyst temperatures (F), spare.
  using Values = std::array<std::int32_t, 10>;

  SamplePanel() {
    struct GaugeSetup {
      std::int16_t x, y;
      const char* caption1;
      const char* caption2;
      double minimum, maximum;
      const char* units;
    };
    const std::array<GaugeSetup, 3> gaugeSetups{{
        {18, 18, "O2 SENSOR", "FDBK", 0, 1.2, "V"},
        {48, 18, "PRESSURE", "FDBK", -8, 24, "in. W.C."},
        {78, 18, "ANALOG INPUT", "4-20 mA", 4, 20, "mA"},
    }};
    for (std::size_t i = 0; i < gauges.size(); ++i) {
      const GaugeSetup& s = gaugeSetups[i];
      gauges[i].SetPosition(s.x, s.y);
      gauges[i].SetCaptions(s.caption1, s.caption2, true, 5);
      gauges[i].SetRange(s.minimum, s.maximum);
      gauges[i].SetBand(s.minimum, s.maximum, 1, 2);
      gauges[i].SetUnits(s.units);
      gauges[i].SetSize(22);
    }

    struct BarSetup {
      std::int16_t x, y;
      const char* caption;
      const char* units;
      double minimum, maximum;
      bool scale;
    };
    const std::array<BarSetup, 6> barSetups{{
        {25, 39, "O2 SENSOR SET-POINT", "V", 0, 1.2, true},
        {25, 42, "O2 SENSOR FEEDBACK ", "V", 0, 1.2, false},
        {25, 50, "PRESSURE FEEDBACK ", "in. W.C.", -8, 24, false},
        {25, 58, "POST-CATALYST TEMP.", "F", 0, 1300, false},
        {25, 47, "PRESSURE SET-POINT ", "in. W.C.", -8, 24, true},
        {25, 55, "PRE-CATALYST TEMP.", "F", 0, 1300, true},
    }};
    for (std::size_t i = 0; i < bars.size(); ++i) {
      const BarSetup& s = barSetups[i];
      bars[i].SetSize(50, 2);
      bars[i].SetValueColour(10);
      bars[i].SetTextColour(10);
      bars[i].SetRange(s.minimum, s.maximum);
      bars[i].SetPosition(s.x, s.y);
      bars[i].SetScaleVisible(s.scale);
      bars[i].SetCaption(s.caption);
      bars[i].SetUnits(s.units);
    }
    bars[4].SetMarker(0, 0, 10);

    chart.SetSize(51, 31);
    chart.SetPosition(25, 64);
    chart.SetNote("Warm-up Timer:", 1, 2);
    struct ChannelSetup {
      const char* name;
      const char* units;
      double minimum, maximum;
      int colour;
    };
    const std::array<ChannelSetup, 8> channelSetups{{
        {"O2 SENSOR SP", "", 0, 2, 2},
        {"O2 SENSOR FDBK", "", 0, 2, 5},
        {"PRESSURE FDBK", "in. W.C.", -8, 24, 12},
        {"4-20 ma Input", "mA", 0, 20, 1},
        {"MODE", "", 0, 3, 3},
        {"PRESSURE SP", "in. W.C.", -8, 24, 13},
        {"ACTUATOR OUTPUT", "", 0, 4000, 6},
        {"", "", -500, 500, 10},
    }};
    for (int channel = 0; channel < TrendChart::kChannels; ++channel) {
      const ChannelSetup& s = channelSetups[static_cast<std::size_t>(channel)];
      chart.SetChannelLabel(s.name, s.units, channel);
      chart.SetChannel(s.minimum, s.maximum, channel, s.colour);
    }
  }

  void resize(int width, int height) {
    const int small = std::min(width, height);
    const int large = std::max(width, height);
    for (DialGauge& gauge : gauges) {
      gauge.SetSize(static_cast<std::int16_t>(small * 100 / 1.5 / large));
      gauge.OnResize(width, height);
    }
    for (BarIndicator& bar : bars) bar.OnResize(width, height);
    chart.OnResize(width, height);
    width_ = width;
    height_ = height;
  }

  // A live repaint is draw() then sample().
  void draw(Canvas& canvas, const Values& v) {
    canvas.fillRect({0, 0, width_, height_}, {70, 140, 140});
    chart.SetSize(chartWidthPercent, 31);
    chart.SetPosition(25, 64);
    constexpr std::array<std::array<std::int16_t, 3>, 7> kLegends{
        {{7, 69, 0}, {7, 77, 1}, {7, 85, 5}, {7, 93, 2}, {80, 69, 3}, {80, 77, 6}, {80, 93, 4}}};
    for (const auto& legend : kLegends)
      chart.SetLegendPosition(legend[0], legend[1], legend[2], true);
    chart.SetNotePosition(80, 85, 2);

    bars[1].Paint(v[1] / 1000.0, canvas, 5, 3, true);
    bars[0].Paint(v[0] / 1000.0, canvas, 2, 3, true);
    bars[2].Paint(v[2] / 1000.0, canvas, 12, 3, true);
    bars[4].Paint(v[6] / 1000.0, canvas, 13, 3, true);
    bars[5].Paint(v[7], canvas, 4, 1, true);
    bars[3].Paint(v[8], canvas, 14, 1, false);
    for (const DialGauge& gauge : gauges) gauge.PaintDial(canvas, true);
    gauges[0].PaintValue(v[1] / 1000.0, canvas, 3);
    gauges[2].PaintValue(v[4] / 100.0, canvas, 1);
    gauges[0].PaintMarker(v[0] / 1000.0, canvas, 1);
    gauges[1].PaintValue(v[2] / 1000.0, canvas, 3);
    gauges[1].PaintMarker(v[6] / 1000.0, canvas, 1);

    chart.SetChannelLabel("MODE: A/F CONTROL", "", 4);
    char note[40];
    std::snprintf(note, sizeof note, "Warm-up Timer: %d", 120);
    chart.SetNote(note, 5, 2);
    chart.PaintBackground(canvas);
    chart.PaintAxes(canvas);
    chart.PaintTraces(canvas, true);
  }

  // The chart moves on one slot and takes one sample per channel.
  void sample(const Values& v) {
    chart.Advance();
    chart.StampTime();
    chart.SetChannel(0, 1.2, 1, 5);
    chart.SetChannel(0, 1.2, 0, 2);
    chart.AddSample(v[0] / 1000.0, 0);
    chart.AddSample(v[1] / 1000.0, 1);
    chart.AddSample(v[2] / 1000.0, 2);
    chart.AddSample(v[4] / 100.0, 3);
    chart.AddSample(v[5], 4);
    chart.AddSample(v[6] / 1000.0, 5);
    chart.AddSample(v[3], 6);
    chart.AddSample(0, 7);
  }

  // Slowly wandering values; the pressure overshoots its 24 in. W.C. scale
  // for a while so that the chart shows a gap.
  static Values valuesAt(int tick) {
    const double t = tick;
    const auto wave = [t](double centre, double swing, double period) {
      return static_cast<std::int32_t>(centre + swing * std::sin(t / period));
    };
    return {650,
            wave(650, 180, 9),
            tick >= 200 && tick < 230 ? 26000 : wave(6000, 5000, 31),
            wave(2000, 1500, 47),
            wave(1200, 500, 61),
            2,
            6000,
            wave(900, 60, 23),
            wave(950, 40, 37),
            0};
  }

  std::array<DialGauge, 3> gauges;
  std::array<BarIndicator, 6> bars;
  TrendChart chart;
  std::int16_t chartWidthPercent = 51;

 private:
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vs::test
