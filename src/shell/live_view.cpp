#include "shell/live_view.h"

#include <algorithm>

#include "logging/playback_state.h"
#include "registers/mode_label.h"
#include "widgets/canvas.h"

namespace vs {
namespace {

constexpr Rgb kPanelBackground{70, 140, 140};
constexpr int kChartNoteChannel = 2;
constexpr int kModeChannel = 4;
constexpr std::int32_t kMaxO2FeedbackMv = 1200;
constexpr std::int32_t kMinAnalogInput = 400;  // 4 mA in hundredths

struct GaugeSetup {
  std::int16_t x, y;
  const char* caption1;
  const char* caption2;
  double minimum, maximum;
  const char* units;
};

constexpr std::array<GaugeSetup, 3> kGauges{{
    {18, 18, "O2 SENSOR", "FDBK", 0, 1.2, "V"},
    {48, 18, "PRESSURE", "FDBK", -8, 24, "in. W.C."},
    {78, 18, "ANALOG INPUT", "4-20 mA", 4, 20, "mA"},
}};

struct BarSetup {
  std::int16_t x, y;
  const char* caption;
  const char* units;
  double minimum, maximum;
  bool scaleVisible;
};

// Captions keep their trailing blanks: they set the text's distance from the bar.
constexpr std::array<BarSetup, 6> kBars{{
    {25, 39, "O2 SENSOR SET-POINT", "V", 0, 1.2, true},
    {25, 42, "O2 SENSOR FEEDBACK ", "V", 0, 1.2, false},
    {25, 50, "PRESSURE FEEDBACK ", "in. W.C.", -8, 24, false},
    {25, 58, "POST-CATALYST TEMP.", "F", 0, 1300, false},
    {25, 47, "PRESSURE SET-POINT ", "in. W.C.", -8, 24, true},
    {25, 55, "PRE-CATALYST TEMP.", "F", 0, 1300, true},
}};

struct ChannelSetup {
  const char* name;
  const char* units;
  double minimum, maximum;
  int colour;
};

constexpr std::array<ChannelSetup, TrendChart::kChannels> kChannels{{
    {"O2 SENSOR SP", "", 0, 2, 2},
    {"O2 SENSOR FDBK", "", 0, 2, 5},
    {"PRESSURE FDBK", "in. W.C.", -8, 24, 12},
    {"4-20 ma Input", "mA", 0, 20, 1},
    {"MODE", "", 0, 3, 3},
    {"PRESSURE SP", "in. W.C.", -8, 24, 13},
    {"ACTUATOR OUTPUT", "", 0, 4000, 6},
    {"", "", -500, 500, 10},
}};

struct Placement {
  std::int16_t width, height, x, y;
  std::array<std::array<std::int16_t, 3>, 7> legends;  // x, y, channel
  std::int16_t noteX, noteY;
};

constexpr Placement kLivePlacement{
    51,
    31,
    25,
    64,
    {{{7, 69, 0}, {7, 77, 1}, {7, 85, 5}, {7, 93, 2}, {80, 69, 3}, {80, 77, 6}, {80, 93, 4}}},
    80,
    85};
constexpr Placement kZoomedPlacement{
    75,
    80,
    22,
    10,
    {{{5, 15, 0}, {5, 25, 1}, {5, 35, 5}, {5, 45, 2}, {5, 55, 3}, {5, 65, 4}, {5, 75, 6}}},
    5,
    85};

}  // namespace

LiveView::LiveView() {
  for (std::size_t i = 0; i < gauges_.size(); ++i) {
    const GaugeSetup& s = kGauges[i];
    DialGauge& gauge = gauges_[i];
    gauge.SetPosition(s.x, s.y);
    gauge.SetCaptions(s.caption1, s.caption2, true, 5);
    gauge.SetRange(s.minimum, s.maximum);
    gauge.SetBand(s.minimum, s.maximum, 1, 2);
    gauge.SetUnits(s.units);
  }
  for (DialGauge& gauge : gauges_) gauge.SetSize(22);

  for (std::size_t i = 0; i < bars_.size(); ++i) {
    const BarSetup& s = kBars[i];
    BarIndicator& bar = bars_[i];
    bar.SetSize(50, 2);
    bar.SetRange(s.minimum, s.maximum);
    bar.SetValueColour(10);
    bar.SetTextColour(10);
    if (i == BAR_PRESSURE_SET_POINT) bar.SetMarker(0, 0, 10);
    bar.SetPosition(s.x, s.y);
    bar.SetScaleVisible(s.scaleVisible);
    bar.SetCaption(s.caption);
    bar.SetUnits(s.units);
  }

  placeChart(false);
  chart_.SetNote("Warm-up Timer:", 1, kChartNoteChannel);
  for (int channel = 0; channel < TrendChart::kChannels; ++channel) {
    const ChannelSetup& s = kChannels[static_cast<std::size_t>(channel)];
    chart_.SetChannelLabel(s.name, s.units, channel);
    chart_.SetChannel(s.minimum, s.maximum, channel, s.colour);
  }
}

void LiveView::resize(int width, int height) {
  width_ = width;
  height_ = height;
  const int small = std::min(width, height);
  const int large = std::max(width, height);
  const auto gaugeSize =
      large > 0 ? static_cast<std::int16_t>(small * 100 / 1.5 / large) : std::int16_t{22};
  for (DialGauge& gauge : gauges_) {
    gauge.SetSize(gaugeSize);
    gauge.OnResize(width, height);
  }
  for (BarIndicator& bar : bars_) bar.OnResize(width, height);
  chart_.OnResize(width, height);
}

void LiveView::placeChart(bool zoomed) {
  const Placement& p = zoomed ? kZoomedPlacement : kLivePlacement;
  chart_.SetSize(p.width, p.height);
  chart_.SetPosition(p.x, p.y);
  for (const auto& legend : p.legends)
    chart_.SetLegendPosition(legend[0], legend[1], legend[2], true);
  chart_.SetNotePosition(p.noteX, p.noteY, kChartNoteChannel);
}

void LiveView::paint(Canvas& canvas, ValveLink& link, PlaybackState& playback) {
  // The record at the playback position goes on the instruments and under the
  // chart's cursor in this repaint: after a step of the slider there may be no
  // other, and a freshly loaded page leaves its last record in the live values.
  if (link.playbackMode) playback.showPosition();
  canvas.fillRect({0, 0, width_, height_}, kPanelBackground);
  placeChart(link.chartZoomed);
  if (!link.chartZoomed) paintInstruments(canvas, link);

  LiveValues& v = link.liveValues;
  chart_.SetChannelLabel(modeLabel(v[LIVE_MODE]), "", kModeChannel);
  // While the engine runs the controller counts its warm-up down (register
  // 39); a stopped engine shows the setting it will start from.
  const int warmUp = v[LIVE_MODE] > 0 ? link.liveC[0] : link.warmUpSetting;
  chart_.SetNote(printTo(note_, "Warm-up Timer: %d", warmUp), 5, kChartNoteChannel);
  chart_.PaintBackground(canvas);
  chart_.PaintAxes(canvas);
  chart_.PaintTraces(canvas, true);

  if (!link.playbackMode) {
    chart_.Advance();
    chart_.StampTime();
  }
  chart_.SetChannel(0, 1.2, 1, 5);
  chart_.SetChannel(0, 1.2, 0, 2);
  if (!link.playbackMode) addSamples(v);
}

void LiveView::paintInstruments(Canvas& canvas, ValveLink& link) {
  LiveValues& v = link.liveValues;
  bars_[BAR_O2_SET_POINT].SetRange(0, 1.2);
  bars_[BAR_O2_FEEDBACK].SetRange(0, 1.2);
  bars_[BAR_PRESSURE].SetRange(link.pressureRangeMin, link.pressureRangeMax);
  bars_[BAR_PRESSURE_SET_POINT].SetRange(link.pressureRangeMin, link.pressureRangeMax);
  v[LIVE_O2_FEEDBACK] = std::min(v[LIVE_O2_FEEDBACK], kMaxO2FeedbackMv);

  bars_[BAR_O2_FEEDBACK].Paint(v[LIVE_O2_FEEDBACK] / 1000.0, canvas, 5, 3, true);
  bars_[BAR_O2_SET_POINT].Paint(v[LIVE_O2_SET_POINT] / 1000.0, canvas, 2, 3, true);
  bars_[BAR_PRESSURE].Paint(v[LIVE_PRESSURE] / 1000.0, canvas, 12, 3, true);
  bars_[BAR_PRESSURE_SET_POINT].Paint(v[LIVE_PRESSURE_SET_POINT] / 1000.0, canvas, 13, 3, true);
  bars_[BAR_PRE_CAT].Paint(v[LIVE_PRE_CAT_TEMP], canvas, 4, 1, true);
  bars_[BAR_POST_CAT].Paint(v[LIVE_POST_CAT_TEMP], canvas, 14, 1, false);

  // The ranges go in before the faces are drawn, so that a scale and the
  // needle on it never disagree.
  gauges_[GAUGE_O2].SetRange(0, 1.2);
  gauges_[GAUGE_PRESSURE].SetRange(link.pressureRangeMin, link.pressureRangeMax);
  for (const DialGauge& gauge : gauges_) gauge.PaintDial(canvas, true);

  gauges_[GAUGE_O2].PaintValue(v[LIVE_O2_FEEDBACK] / 1000.0, canvas, 3);
  v[LIVE_ANALOG_INPUT] = std::max(v[LIVE_ANALOG_INPUT], kMinAnalogInput);
  gauges_[GAUGE_ANALOG].PaintValue(v[LIVE_ANALOG_INPUT] / 100.0, canvas, 1);
  gauges_[GAUGE_O2].PaintMarker(v[LIVE_O2_SET_POINT] / 1000.0, canvas, 1);
  gauges_[GAUGE_PRESSURE].PaintValue(v[LIVE_PRESSURE] / 1000.0, canvas, 3);
  gauges_[GAUGE_PRESSURE].PaintMarker(v[LIVE_PRESSURE_SET_POINT] / 1000.0, canvas, 1);
}

void LiveView::addSamples(const LiveValues& v) {
  chart_.AddSample(v[LIVE_O2_SET_POINT] / 1000.0, 0);
  chart_.AddSample(v[LIVE_O2_FEEDBACK] / 1000.0, 1);
  chart_.AddSample(v[LIVE_PRESSURE] / 1000.0, 2);
  chart_.AddSample(v[LIVE_ANALOG_INPUT] / 100.0, 3);
  chart_.AddSample(v[LIVE_MODE], 4);
  chart_.AddSample(v[LIVE_PRESSURE_SET_POINT] / 1000.0, 5);
  chart_.AddSample(v[LIVE_ACTUATOR], 6);
  chart_.AddSample(0, 7);
}

}  // namespace vs
