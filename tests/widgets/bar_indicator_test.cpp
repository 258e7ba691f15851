#include "widgets/bar_indicator.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"
#include "widgets/palette.h"

namespace vs {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::Shape;

// Sized as the main window sizes its bars, once the client size is known: 50
// percent of 1000 pixels snaps to 496, at (250, 400), 16 pixels high.
class BarIndicatorTest : public ::testing::Test {
 protected:
  BarIndicatorTest() {
    bar.OnResize(1000, 800);
    bar.SetSize(50, 2);
    bar.SetPosition(25, 50);
  }

  Rect frame() {
    RecordingCanvas probe;
    bar.Paint(0, probe, 5, 0, false);
    return probe.of(Shape::Rectangle).at(0).rect;
  }
  // The fill is the second rectangle.
  Rect fillFor(double value) {
    RecordingCanvas probe;
    bar.Paint(value, probe, 5, 3, true);
    return probe.of(Shape::Rectangle).at(1).rect;
  }
  std::vector<DrawCall> markerLines() {
    RecordingCanvas probe;
    bar.SetScaleVisible(false);
    bar.Paint(0, probe, 5, 0, false);
    return probe.of(Shape::Line);
  }

  BarIndicator bar;
  RecordingCanvas canvas;
};

TEST_F(BarIndicatorTest, WidthSnapsToEightsAndTheSnappedFractionScales) {
  EXPECT_EQ(frame(), (Rect{250, 400, 746, 416}));
  bar.OnResize(800, 600);
  EXPECT_EQ(frame(), (Rect{200, 300, 596, 312}));  // trunc(800 * 0.496) = 396
  bar.OnResize(0, 600);
  bar.OnResize(800, 0);
  EXPECT_EQ(frame(), (Rect{200, 300, 596, 312}));
}

TEST(BarIndicatorLayoutTest, SizeSetBeforeAnyResizeIsNotSnapped) {
  BarIndicator bar;
  bar.SetSize(50, 2);
  bar.SetPosition(25, 50);
  bar.OnResize(1000, 800);
  RecordingCanvas canvas;
  bar.Paint(0, canvas, 5, 0, false);
  EXPECT_EQ(canvas.of(Shape::Rectangle).at(0).rect, (Rect{250, 400, 750, 416}));
}

TEST_F(BarIndicatorTest, FillIsClampedToTheBarButTheTextIsNot) {
  bar.SetRange(0, 1.2);
  EXPECT_EQ(fillFor(0.6), (Rect{251, 401, 498, 415}));
  EXPECT_EQ(fillFor(1.5), (Rect{251, 401, 746, 415}));
  EXPECT_EQ(fillFor(0), (Rect{251, 401, 250, 415}));
  EXPECT_EQ(fillFor(-7), (Rect{251, 401, 250, 415}));

  bar.SetValueColour(1);
  bar.SetTextColour(5);
  bar.SetUnits("V");
  bar.Paint(1.5, canvas, 13, 3, true);
  const DrawCall& value = canvas.textCall("1.500");
  EXPECT_EQ(value.at, (Point{753, 416}));  // right + cw
  EXPECT_EQ(value.state.textColour, PaletteColor(1));
  EXPECT_EQ(value.state.horizontalAlign, HAlign::Left);
  EXPECT_EQ(value.state.verticalAlign, VAlign::Bottom);
  EXPECT_EQ(canvas.textCall("V").at, (Point{809, 416}));  // right + 9 cw
  EXPECT_EQ(canvas.textCall("V").state.textColour, PaletteColor(5));
  EXPECT_EQ(canvas.textCall("Bar").at, (Point{88, 416}));  // left - cw - 155
  const auto rectangles = canvas.of(Shape::Rectangle);
  EXPECT_EQ(rectangles[0].state.pen, kBlackPen);
  EXPECT_EQ(rectangles[0].state.brush.colour, (Rgb{230, 242, 242}));
  EXPECT_EQ(rectangles[1].state.pen, (Pen{PaletteColor(13), 1}));
  EXPECT_EQ(rectangles[1].state.brush.colour, PaletteColor(13));
  EXPECT_EQ(canvas.state().backgroundMode, BackgroundMode::Transparent);
}

TEST_F(BarIndicatorTest, ValueTextDecimals) {
  bar.SetRange(-8, 24);
  bar.Paint(-3.7, canvas, 5, 0, false);
  bar.Paint(-3.7, canvas, 5, 1, false);
  bar.Paint(2e12, canvas, 5, 0, false);
  EXPECT_TRUE(canvas.drewText("-3"));
  EXPECT_TRUE(canvas.drewText("-3.7"));
  EXPECT_TRUE(canvas.drewText("2147483647"));  // held, not overflowed
}

TEST_F(BarIndicatorTest, ScaleTicksAndLabelsAboveTheBar) {
  bar.SetRange(0, 1300);
  bar.Paint(0, canvas, 5, 0, false);
  const auto texts = canvas.texts();
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 11),
            (std::vector<std::string>{"0", "130", "260", "390", "520", "650", "780", "910", "1040",
                                      "1170", "1300"}));
  const auto ticks = canvas.of(Shape::Line);
  ASSERT_EQ(ticks.size(), 11u);
  EXPECT_EQ(ticks[1].from, (Point{299, 398}));  // step 496 / 10 = 49
  EXPECT_EQ(ticks[1].to, (Point{299, 393}));
  EXPECT_EQ(ticks[10].from.x, 740);
  EXPECT_EQ(canvas.textCall("130").at, (Point{299, 393}));
  EXPECT_EQ(canvas.textCall("130").state.horizontalAlign, HAlign::Centre);

  canvas.calls.clear();
  bar.SetRange(0, 1.2);
  bar.Paint(0, canvas, 5, 0, true);
  EXPECT_EQ(canvas.texts()[1], "0.1");

  canvas.calls.clear();
  bar.SetScaleVisible(false);
  bar.Paint(0, canvas, 5, 0, true);
  EXPECT_TRUE(canvas.of(Shape::Line).empty());
  EXPECT_FALSE(canvas.drewText("0.0"));
}

TEST_F(BarIndicatorTest, MarkersAboveTheMinimumCrossTheBarUnclamped) {
  EXPECT_TRUE(markerLines().empty());  // default markers sit on the minimum 0

  bar.SetRange(-8, 24);
  auto lines = markerLines();
  ASSERT_EQ(lines.size(), 4u);
  for (const DrawCall& line : lines) {
    EXPECT_EQ(line.from, (Point{374, 393}));  // a quarter of the way along
    EXPECT_EQ(line.to, (Point{374, 423}));
  }

  bar.SetMarker(48, 1, 1);
  EXPECT_FALSE(bar.SetMarker(1, 4, 1));
  EXPECT_FALSE(bar.SetMarker(1, -1, 1));
  lines = markerLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].from.x, 1118);  // past the right end
  EXPECT_EQ(lines[1].state.pen, (Pen{PaletteColor(1), 1}));
  EXPECT_EQ(lines[2].state.pen, kBlackPen);
}

TEST_F(BarIndicatorTest, RangeAndTextsIgnoreInvalidInput) {
  bar.SetRange(0, 1.2);
  bar.SetRange(2, 2);
  bar.SetRange(3, 2);
  EXPECT_EQ(fillFor(0.6), (Rect{251, 401, 498, 415}));

  bar.SetCaption("PRE-CATALYST TEMP.");
  bar.SetCaption(std::string(25, 'c'));
  bar.SetUnits("F");
  bar.SetUnits(std::string(15, 'u'));
  bar.Paint(0, canvas, 5, 0, false);
  EXPECT_TRUE(canvas.drewText("PRE-CATALYST TEMP."));
  EXPECT_TRUE(canvas.drewText("F"));
}

}  // namespace
}  // namespace vs
