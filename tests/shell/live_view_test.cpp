// The repaint of the instrument panel: what it clamps, what it labels and
// which layout it uses.

#include "shell/live_view.h"

#include <gtest/gtest.h>

#include "logging/playback_state.h"
#include "support/recording_canvas.h"

namespace vs {
namespace {

using test::RecordingCanvas;
using test::Shape;

class LiveViewTest : public ::testing::Test {
 protected:
  LiveViewTest() {
    view.resize(1600, 900);
    link.liveValues = {650, 700, 6000, 2000, 1200, 2, 6000, 900, 950, 0};
  }
  RecordingCanvas& paint() {
    canvas.calls.clear();
    view.paint(canvas, link, playback);
    return canvas;
  }
  std::string chartValue(int channel, int decimals) {
    return std::string(view.chart().FormatValue(channel, decimals));
  }

  LiveView view;
  ValveLink link;
  PlaybackState playback{view.chart(), link};
  RecordingCanvas canvas;
};

TEST_F(LiveViewTest, FillsTheWholeClientAreaFirst) {
  const auto& calls = paint().calls;
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().shape, Shape::Fill);
  EXPECT_EQ(calls.front().rect, (Rect{0, 0, 1600, 900}));
  EXPECT_EQ(calls.front().fill, (Rgb{70, 140, 140}));
}

TEST_F(LiveViewTest, AnO2FeedbackAboveTheScaleIsHeldAtItsEnd) {
  link.liveValues[LIVE_O2_FEEDBACK] = 1500;
  paint();
  EXPECT_EQ(link.liveValues[LIVE_O2_FEEDBACK], 1200);
  // The readouts of gauge 0 and bar 1.
  const auto texts = canvas.texts();
  EXPECT_GE(std::count(texts.begin(), texts.end(), "1.200"), 2) << ::testing::PrintToString(texts);
  EXPECT_EQ(chartValue(1, 3), "1.200 ");
}

TEST_F(LiveViewTest, AnAnalogInputBelowFourMilliampsShowsAndChartsFour) {
  link.liveValues[LIVE_ANALOG_INPUT] = 350;
  paint();
  EXPECT_EQ(link.liveValues[LIVE_ANALOG_INPUT], 400);
  EXPECT_TRUE(canvas.drewText("4.0"));
  EXPECT_EQ(chartValue(3, 1), "4.0 ");
}

TEST_F(LiveViewTest, TheModeNamesTheModeChannel) {
  link.liveValues[LIVE_MODE] = -3;
  EXPECT_TRUE(paint().drewText("Press Xducer Failed"));
  link.liveValues[LIVE_MODE] = 7;
  paint();  // the label set now shows at the next repaint's legend
  EXPECT_TRUE(paint().drewText("MODE: "));
  EXPECT_FALSE(canvas.drewText("Press Xducer Failed"));
}

TEST_F(LiveViewTest, TheWarmUpNoteCountsDownOnlyWhileTheEngineRuns) {
  link.liveC[0] = 37;  // register 39
  link.warmUpSetting = 120;
  paint();
  EXPECT_TRUE(paint().drewText("Warm-up Timer: 37"));
  link.liveValues[LIVE_MODE] = 0;
  paint();
  EXPECT_TRUE(paint().drewText("Warm-up Timer: 120"));
}

TEST_F(LiveViewTest, TheControllersPressureLimitsScaleTheDialAndBarsButNotTheChart) {
  link.pressureRangeMin = -2.0;
  link.pressureRangeMax = 2.0;
  link.liveValues[LIVE_PRESSURE] = 10000;
  paint();
  EXPECT_TRUE(canvas.drewText("-1.6"));
  EXPECT_FALSE(canvas.drewText("-4.8"));
  EXPECT_EQ(chartValue(2, 3), "10.000 ");
}

TEST_F(LiveViewTest, ZoomedTheChartFillsTheWindowWithoutDialsOrBars) {
  paint();
  const std::size_t liveCalls = canvas.calls.size();
  EXPECT_TRUE(canvas.drewText("O2 SENSOR"));
  link.chartZoomed = true;
  paint();
  EXPECT_FALSE(canvas.drewText("O2 SENSOR"));
  EXPECT_FALSE(canvas.drewText("PRE-CATALYST TEMP."));
  EXPECT_TRUE(canvas.drewText("O2 SENSOR SP"));
  EXPECT_LT(canvas.calls.size(), liveCalls);
  // A resize keeps the zoomed layout.
  view.resize(1280, 720);
  EXPECT_FALSE(paint().drewText("O2 SENSOR"));
}

TEST_F(LiveViewTest, EveryLiveRepaintMovesTheChartOnOneSlot) {
  const int before = view.chart().WriteSlot();
  paint();
  paint();
  EXPECT_EQ(view.chart().WriteSlot(), before + 2);
  link.playbackMode = true;
  paint();
  EXPECT_EQ(view.chart().WriteSlot(), before + 2);
}

}  // namespace
}  // namespace vs
