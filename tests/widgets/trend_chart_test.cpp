#include "widgets/trend_chart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "support/recording_canvas.h"
#include "support/time_zone.h"
#include "widgets/palette.h"

namespace vs {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::Shape;

constexpr std::int32_t kTime = 1700000000;  // 11-14-2023 22:13:20 UTC

// A 540 x 200 plot at (100, 100) of a 1000 x 1000 client: one slot per pixel,
// 0.02 pixels per scaled unit. Channel 0 (0 to 100, green) has its legend at
// (50, 500); the other channels are left where the defaults put them.
class TrendChartTest : public ::testing::Test {
 protected:
  TrendChartTest() {
    test::useTimeZone("UTC");
    chart.OnResize(1000, 1000);
    chart.SetPosition(10, 10);
    chart.SetSize(54, 20);
    chart.SetChannel(0, 100, 0, 2);
    chart.SetChannelLabel("O2 SENSOR SP", "V", 0);
    chart.SetLegendPosition(5, 50, 0, true);
  }

  // What channel 0's legend shows after its value or status.
  std::string legendValue() {
    RecordingCanvas canvas;
    chart.PaintAxes(canvas);
    const auto texts = canvas.of(Shape::Text);
    const auto found = std::find_if(texts.begin(), texts.end(), [](const DrawCall& call) {
      return call.at.y == 505 && call.at.x < 100;
    });
    return found == texts.end() ? "" : found->text;
  }
  std::vector<DrawCall> traceOf(int colour, bool fromStart = true) {
    RecordingCanvas canvas;
    chart.PaintTraces(canvas, fromStart);
    std::vector<DrawCall> lines;
    for (const DrawCall& line : canvas.of(Shape::Line)) {
      if (line.state.pen.colour == PaletteColor(colour)) lines.push_back(line);
    }
    return lines;
  }
  // One repaint of the live view: paint, then move on and sample.
  RecordingCanvas liveRepaint(double value) {
    RecordingCanvas canvas;
    chart.PaintBackground(canvas);
    chart.PaintAxes(canvas);
    chart.PaintTraces(canvas, true);
    chart.Advance();
    chart.StampTime();
    chart.AddSample(value, 0);
    return canvas;
  }

  TrendChart chart;
};

TEST_F(TrendChartTest, PlotWidthSetsCapacityAndPixelsPerSlot) {
  EXPECT_EQ(chart.Capacity(), 540);
  chart.SetSize(55, 20);  // 550 snaps to 540
  EXPECT_EQ(chart.Capacity(), 540);
  chart.SetSize(56, 20);
  EXPECT_EQ(chart.Capacity(), 280);
  chart.SetSize(25, 20);
  EXPECT_EQ(chart.Capacity(), 240);

  TrendChart unsized;
  unsized.SetSize(51, 31);
  EXPECT_EQ(unsized.Capacity(), 0);
}

TEST_F(TrendChartTest, WidePlotsAreCappedSoTheSweepStaysInTheStore) {
  chart.OnResize(4000, 1000);
  chart.SetSize(60, 20);  // 2400 pixels would ask for 1200 slots
  ASSERT_EQ(chart.Capacity(), TrendChart::kMaxCapacity);
  for (int slot = 0; slot <= TrendChart::kMaxCapacity + 1; ++slot) {
    chart.AddSample(50, 0);
    chart.StampAndAdvance(kTime + slot);
  }
  EXPECT_EQ(chart.WriteSlot(), 0);

  // Only the time axis labels over slots 0, 300, 600 and 900 exist.
  RecordingCanvas canvas;
  chart.PaintAxes(canvas);
  int times = 0;
  for (const DrawCall& text : canvas.of(Shape::Text)) times += text.at.y == 302;
  EXPECT_EQ(times, 4);
}

TEST_F(TrendChartTest, SweepClearsAfterCapacityPlusOne) {
  chart.AddSample(50, 0);
  chart.StampAndAdvance(kTime);
  for (int slot = 1; slot <= 540; ++slot) chart.Advance();
  EXPECT_EQ(chart.WriteSlot(), 541);
  EXPECT_EQ(chart.CursorSlot(), 541);
  chart.AddSample(50, 0);

  chart.Advance();
  EXPECT_EQ(chart.WriteSlot(), 0);
  EXPECT_EQ(chart.CursorSlot(), 0);
  EXPECT_EQ(legendValue(), "No Data");
  EXPECT_TRUE(traceOf(2).empty());
  // The time stamps of the last sweep stay on the time axis.
  RecordingCanvas canvas;
  chart.PaintAxes(canvas);
  EXPECT_EQ(canvas.textCall("22:13:20").at, (Point{100, 302}));
}

TEST_F(TrendChartTest, SamplesAreClassifiedByTheirTrueSide) {
  EXPECT_EQ(legendValue(), "No Data");
  // 1e9, -1e9 and the lowest 32-bit reading in thousandths scale far past 16 bits.
  const std::vector<std::pair<double, std::string>> cases{
      {50, "50.000 "},      {-1, "UnderRange"},           {101, "Over Range"}, {1e9, "Over Range"},
      {-1e9, "UnderRange"}, {-2147483.648, "UnderRange"}, {0, "0.000 "},       {100, "100.000 "},
  };
  for (const auto& [value, shown] : cases) {
    chart.AddSample(value, 0);
    EXPECT_EQ(legendValue(), shown) << value;
  }
}

TEST_F(TrendChartTest, LegendEntry) {
  chart.SetNote("Warm-up Timer: 12", 5, 0);
  chart.SetNotePosition(80, 85, 0);
  chart.AddSample(25, 0);
  RecordingCanvas canvas;
  chart.PaintBackground(canvas);
  chart.PaintAxes(canvas);

  const auto lines = canvas.of(Shape::Line);
  const auto swatch = *std::find_if(lines.begin(), lines.end(),
                                    [](const DrawCall& line) { return line.state.pen.width == 4; });
  EXPECT_EQ(swatch.from, (Point{50, 500}));
  EXPECT_EQ(swatch.to, (Point{85, 500}));
  EXPECT_EQ(swatch.state.pen, (Pen{PaletteColor(2), 4}));
  EXPECT_EQ(canvas.textCall("O2 SENSOR SP").at, (Point{50, 490}));
  EXPECT_EQ(canvas.textCall("O2 SENSOR SP").state.textColour, kBlack);
  EXPECT_EQ(canvas.textCall("Warm-up Timer: 12").at, (Point{800, 845}));
  EXPECT_EQ(canvas.textCall("Warm-up Timer: 12").state.textColour, PaletteColor(5));
  EXPECT_EQ(canvas.textCall("25.000 ").at, (Point{91, 505}));
  EXPECT_EQ(canvas.textCall("V").at, (Point{138, 505}));  // m + trunc(140 * 0.3) + 11
  EXPECT_EQ(canvas.textCall("V").state.verticalAlign, VAlign::Bottom);

  // Boxes from the 16-pixel font: rows of 20, 140 wide.
  const auto boxes = canvas.of(Shape::Rectangle);
  EXPECT_EQ(boxes[1].rect, (Rect{40, 470, 190, 510}));
  EXPECT_EQ(boxes[2].rect, (Rect{790, 820, 940, 860}));

  chart.SetLegendPosition(5, 50, 0, false);
  EXPECT_EQ(legendValue(), "25.0");
  chart.AddSample(-1, 0);
  RecordingCanvas statusCanvas;
  chart.PaintAxes(statusCanvas);
  EXPECT_EQ(statusCanvas.textCall("UnderRange").at, (Point{89, 505}));
  EXPECT_EQ(statusCanvas.textCall("UnderRange").state.textColour, PaletteColor(1));
  EXPECT_FALSE(statusCanvas.drewText("V"));
}

TEST_F(TrendChartTest, FormatValueDecimals) {
  chart.AddSample(12.5, 0);
  EXPECT_EQ(chart.FormatValue(0, 1), "12.5 ");
  EXPECT_EQ(chart.FormatValue(0, 2), "12.50 ");
  EXPECT_EQ(chart.FormatValue(0, 7), "12 ");
}

TEST_F(TrendChartTest, StepTracesStopAtSamplesOutOfRange) {
  for (double value : {50.0, 25.0, -1.0, 75.0, 75.0}) {
    chart.AddSample(value, 0);
    chart.Advance();
  }
  // y: 50 -> 200, 25 -> 250, 75 -> 150. Slot 2 is under range: the trace
  // stays level into it and nothing starts from it.
  const std::vector<std::pair<Point, Point>> expected{
      {{101, 200}, {102, 200}}, {{102, 200}, {102, 250}}, {{102, 250}, {103, 250}},
      {{103, 250}, {103, 250}}, {{104, 150}, {105, 150}}, {{105, 150}, {105, 150}}};
  const auto lines = traceOf(2);
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].from, expected[i].first) << i;
    EXPECT_EQ(lines[i].to, expected[i].second) << i;
  }
  // Once drawn, only slots written since are drawn again unless told.
  EXPECT_TRUE(traceOf(2, false).empty());

  chart.SetSize(56, 20);  // two pixels per slot
  const auto wide = traceOf(2);
  ASSERT_EQ(wide.size(), expected.size());
  EXPECT_EQ(wide[0].from, (Point{102, 200}));
  EXPECT_EQ(wide[0].to, (Point{104, 200}));
  EXPECT_EQ(wide[5].from, (Point{110, 150}));
}

TEST_F(TrendChartTest, UnplacedChannelTracesThroughTheMiddleWithItsLegendOffScreen) {
  chart.SetChannel(-500, 500, 7, 10);
  for (int slot = 0; slot < 3; ++slot) {
    chart.AddSample(0, 7);
    chart.Advance();
  }
  for (const DrawCall& line : traceOf(10)) {
    EXPECT_EQ(line.from.y, 200);
    EXPECT_EQ(line.to.y, 200);
  }
  RecordingCanvas canvas;
  chart.PaintAxes(canvas);
  for (const DrawCall& line : canvas.of(Shape::Line)) {
    if (line.state.pen.width == 4 && line.state.pen.colour == kBlack) {
      EXPECT_GE(line.from.x, 1000);
      EXPECT_GE(line.from.y, 1000);
    }
  }
}

TEST_F(TrendChartTest, HeaderWaitsForTheSlotTwoBackToBeStamped) {
  std::int32_t now = kTime;
  chart.SetClock([&now] { return now++; });
  for (int repaint = 1; repaint <= 3; ++repaint) {
    for (const std::string& text : liveRepaint(50).texts()) {
      EXPECT_EQ(text.find("2023"), std::string::npos) << repaint;
    }
  }
  const RecordingCanvas fourth = liveRepaint(50);
  // The cursor is on slot 3, stamped at the third repaint.
  const DrawCall& header = fourth.textCall("11-14-2023 22:13:22");
  EXPECT_EQ(header.at, (Point{103, 100}));
  EXPECT_EQ(header.state.horizontalAlign, HAlign::Centre);
  EXPECT_EQ(header.state.verticalAlign, VAlign::Bottom);
  // The cursor line is on the write slot.
  const auto cursor = std::find_if(fourth.calls.begin(), fourth.calls.end(), [](const DrawCall& c) {
    return c.state.pen == Pen{PaletteColor(1), 1};
  });
  ASSERT_NE(cursor, fourth.calls.end());
  EXPECT_EQ(cursor->from, (Point{103, 100}));
  EXPECT_EQ(cursor->to, (Point{103, 300}));
  // The first sweep after start-up never samples slot 0.
  EXPECT_EQ(traceOf(2).front().from.x, 102);
}

TEST_F(TrendChartTest, TimeAxisShowsStampedQuarterSlots) {
  for (int slot = 0; slot <= 135; ++slot) chart.StampAndAdvance(kTime + slot);
  chart.SetCursor(10);
  RecordingCanvas canvas;
  chart.PaintAxes(canvas);
  EXPECT_EQ(canvas.textCall("22:13:20").at, (Point{100, 302}));
  EXPECT_EQ(canvas.textCall("22:15:35").at, (Point{235, 302}));
  EXPECT_EQ(canvas.textCall("22:15:35").state.verticalAlign, VAlign::Top);
  EXPECT_TRUE(canvas.drewText("11-14-2023 22:13:30"));  // the cursor's slot
  int times = 0;
  for (const DrawCall& text : canvas.of(Shape::Text)) times += text.at.y == 302;
  EXPECT_EQ(times, 2);

  chart.SetCursor(5000);  // held inside the store
  EXPECT_EQ(chart.CursorSlot(), TrendChart::kSlots - 1);
}

TEST_F(TrendChartTest, BackgroundGridAndPercentScale) {
  RecordingCanvas canvas;
  chart.PaintBackground(canvas);
  EXPECT_EQ(canvas.of(Shape::Rectangle).front().rect, (Rect{100, 100, 641, 301}));
  EXPECT_EQ(canvas.of(Shape::Rectangle).size(), 17u);  // plot, 8 legend and 8 note boxes

  std::vector<int> rows, columns, darkRows, darkColumns;
  for (const DrawCall& line : canvas.of(Shape::Line)) {
    const bool dark = line.state.pen == Pen{PaletteColor(8), 1};
    EXPECT_TRUE(dark || line.state.pen == (Pen{PaletteColor(7), 1}));
    if (line.from.y == line.to.y) {
      EXPECT_EQ(line.from.x, 100);
      EXPECT_EQ(line.to.x, 640);
      (dark ? darkRows : rows).push_back(line.from.y);
    } else {
      EXPECT_EQ(line.from.y, 100);
      EXPECT_EQ(line.to.y, 300);
      (dark ? darkColumns : columns).push_back(line.from.x);
    }
  }
  EXPECT_EQ(darkRows, (std::vector<int>{150, 200, 250}));
  EXPECT_EQ(rows.size(), 16u);
  EXPECT_EQ(rows.back(), 290);
  EXPECT_EQ(darkColumns, (std::vector<int>{235, 370, 505}));
  EXPECT_EQ(columns.size(), 16u);
  EXPECT_EQ(columns.front(), 127);

  EXPECT_EQ(canvas.textCall("0").at, (Point{645, 300}));
  EXPECT_EQ(canvas.textCall("0").state.verticalAlign, VAlign::Bottom);
  EXPECT_EQ(canvas.textCall("25").at, (Point{645, 240}));
  EXPECT_EQ(canvas.textCall("50").at, (Point{645, 190}));
  EXPECT_EQ(canvas.textCall("75").at, (Point{645, 140}));
  EXPECT_EQ(canvas.textCall("100").at, (Point{645, 100}));
  EXPECT_EQ(canvas.textCall("100").state.verticalAlign, VAlign::Top);
  EXPECT_EQ(canvas.state().backgroundMode, BackgroundMode::Transparent);
}

}  // namespace
}  // namespace vs
