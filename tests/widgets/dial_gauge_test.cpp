#include "widgets/dial_gauge.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"
#include "widgets/interpolate.h"
#include "widgets/palette.h"

namespace vs {
namespace {

using test::DrawCall;
using test::RecordingCanvas;
using test::Shape;

TEST(PaletteTest, NumbersOutsideOneToFourteenAreBlack) {
  EXPECT_EQ(PaletteColor(2), (Rgb{0, 130, 65}));
  EXPECT_EQ(PaletteColor(13), (Rgb{187, 91, 198}));
  EXPECT_EQ(PaletteColor(14), (Rgb{255, 120, 55}));
  for (int index : {0, 15, -1, 32767}) EXPECT_EQ(PaletteColor(index), kBlack) << index;
}

TEST(InterpolateTest, ExtrapolatesAndAveragesADegenerateSpan) {
  EXPECT_DOUBLE_EQ(Interpolate(0, 1.2, 0, 300, 0.6), 150);
  EXPECT_DOUBLE_EQ(Interpolate(0, 100, 0, 300, 200), 600);
  EXPECT_DOUBLE_EQ(Interpolate(0, 100, 10000, 0, -50), 15000);
  EXPECT_DOUBLE_EQ(Interpolate(5, 5, 10000, 0, 123), 5000);
}

// A dial of radius 100 centred at (500, 400): D = 200, R = 100.
class DialGaugeTest : public ::testing::Test {
 protected:
  DialGaugeTest() {
    gauge.OnResize(1000, 800);
    gauge.SetPosition(50, 50);
    gauge.SetSize(40);
  }

  std::vector<DrawCall> arcs() {
    canvas.calls.clear();
    gauge.PaintDial(canvas, false);
    return canvas.of(Shape::Arc);
  }

  DialGauge gauge;
  RecordingCanvas canvas;
};

TEST_F(DialGaugeTest, FaceAndHubFollowTheClientWidthOnly) {
  gauge.PaintDial(canvas, false);
  const auto ellipses = canvas.of(Shape::Ellipse);
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[0].rect, (Rect{400, 300, 600, 500}));
  EXPECT_EQ(ellipses[0].state.brush.colour, (Rgb{230, 242, 242}));
  EXPECT_EQ(ellipses[0].state.pen, (Pen{kBlack, 2}));
  EXPECT_EQ(ellipses[1].rect, (Rect{490, 390, 510, 410}));
  EXPECT_EQ(ellipses[1].state.brush, kBlackBrush);
  EXPECT_EQ(canvas.state().pen, kWhitePen);

  gauge.OnResize(1000, 2000);
  canvas.calls.clear();
  gauge.PaintDial(canvas, false);
  EXPECT_EQ(canvas.of(Shape::Ellipse)[0].rect, (Rect{400, 900, 600, 1100}));
}

TEST_F(DialGaugeTest, ScaleLabelsAreTruncatedAndPlacedAroundTheDial) {
  gauge.SetRange(-8, 24);
  gauge.PaintDial(canvas, false);
  const auto texts = canvas.texts();
  ASSERT_EQ(texts.size(), 14u);  // units, 11 labels, 2 captions
  EXPECT_EQ(
      std::vector<std::string>(texts.begin() + 1, texts.begin() + 12),
      (std::vector<std::string>{"-8", "-4", "-1", "1", "4", "8", "11", "14", "17", "20", "24"}));

  const auto labels = canvas.of(Shape::Text);
  // Pi is 3.14159, so the label at 120 degrees lands at x = 500 - 39.
  EXPECT_EQ(labels[1].at, (Point{461, 469}));
  EXPECT_EQ(labels[1].state.horizontalAlign, HAlign::Centre);
  EXPECT_EQ(labels[1].state.verticalAlign, VAlign::Bottom);
  EXPECT_EQ(labels[3].at, (Point{421, 392}));
  EXPECT_EQ(labels[3].state.horizontalAlign, HAlign::Left);
  EXPECT_EQ(labels[6].at, (Point{500, 321}));
  EXPECT_EQ(labels[9].at, (Point{579, 392}));
  EXPECT_EQ(labels[9].state.horizontalAlign, HAlign::Right);
  EXPECT_EQ(labels[11].at, (Point{540, 469}));

  canvas.calls.clear();
  gauge.SetRange(0, 1.2);
  gauge.PaintDial(canvas, true);
  EXPECT_EQ(canvas.texts()[1], "0.0");
  EXPECT_EQ(canvas.texts()[6], "0.6");
  EXPECT_EQ(canvas.texts()[11], "1.2");
}

TEST_F(DialGaugeTest, EmptyOrInvertedRangesAreIgnored) {
  gauge.SetRange(-8, 24);
  gauge.SetRange(5, 5);
  gauge.SetRange(6, 5);
  gauge.PaintDial(canvas, false);
  EXPECT_EQ(canvas.texts()[1], "-8");
  EXPECT_EQ(canvas.texts()[11], "24");
}

TEST_F(DialGaugeTest, TicksRunToNinetyFivePercentOfTheRadius) {
  gauge.PaintDial(canvas, false);
  const auto ticks = canvas.of(Shape::Line);
  ASSERT_EQ(ticks.size(), 101u);
  EXPECT_EQ(ticks[0].from, (Point{460, 471}));  // major, from 0.82 R
  EXPECT_EQ(ticks[0].to, (Point{453, 482}));
  EXPECT_EQ(ticks[1].from, (Point{452, 474}));  // minor, from 0.89 R
  EXPECT_EQ(ticks[1].to, (Point{449, 479}));
  EXPECT_EQ(ticks[50].from, (Point{500, 319}));  // the top
  EXPECT_EQ(ticks[50].to, (Point{500, 306}));
  for (const DrawCall& tick : ticks) EXPECT_EQ(tick.state.pen, (Pen{Rgb{7, 0, 0}, 1}));
}

TEST_F(DialGaugeTest, BandsAreDialAnglesFixedWhenSet) {
  EXPECT_TRUE(arcs().empty());

  gauge.SetRange(0, 1.2);
  gauge.SetBand(0, 1.2, 1, 2);
  gauge.SetRange(0, 2.4);
  auto drawn = arcs();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].centre, (Point{500, 400}));
  EXPECT_EQ(drawn[0].radius, 94);
  // Counter-clockwise from the end of the scale back to its start.
  EXPECT_EQ(drawn[0].from, (Point{547, 481}));
  EXPECT_EQ(drawn[0].to, (Point{454, 481}));
  EXPECT_EQ(drawn[0].state.pen, (Pen{PaletteColor(2), 5}));

  // Band 2 starts where band 1 ends, and moves it.
  gauge.SetRange(0, 300);
  gauge.SetBand(0, 100, 1, 4);
  gauge.SetBand(200, 300, 2, 1);
  drawn = arcs();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].state.pen.colour, PaletteColor(4));
  EXPECT_EQ(drawn[0].from, (Point{572, 340}));  // dial angle 200
  EXPECT_EQ(drawn[0].to, (Point{454, 481}));
  EXPECT_EQ(drawn[1].state.pen.colour, PaletteColor(1));
  EXPECT_EQ(drawn[1].from, (Point{547, 481}));
  EXPECT_EQ(drawn[1].to, (Point{572, 340}));

  gauge.SetBand(-100, 0, 1, 2);  // ends exactly at angle 0: never drawn
  gauge.SetBand(0, 0, 2, 2);
  EXPECT_TRUE(arcs().empty());
}

TEST_F(DialGaugeTest, NeedlesSwingPastTheEndsOfTheScale) {
  gauge.SetRange(0, 100);
  gauge.PaintValue(200, canvas, 0);
  gauge.PaintMarker(-50, canvas, 1);
  const auto lines = canvas.of(Shape::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].from, (Point{500, 400}));
  EXPECT_EQ(lines[0].to, (Point{596, 400}));  // dial angle 600
  EXPECT_EQ(lines[0].state.pen, (Pen{kBlack, 2}));
  EXPECT_EQ(lines[1].to, (Point{584, 352}));  // dial angle -150
  EXPECT_EQ(lines[1].state.pen, (Pen{PaletteColor(1), 2}));

  const DrawCall& readout = canvas.textCall("200");
  EXPECT_EQ(readout.at, (Point{500, 420}));
  EXPECT_EQ(readout.state.textColour, PaletteColor(5));
  EXPECT_EQ(readout.state.backColour, (Rgb{192, 192, 192}));

  // The marker's hub is painted over both needles.
  ASSERT_EQ(canvas.calls.back().shape, Shape::Ellipse);
  EXPECT_EQ(canvas.calls.back().rect, (Rect{490, 390, 510, 410}));
  EXPECT_EQ(canvas.calls.back().state.brush, kBlackBrush);
  EXPECT_EQ(canvas.state().pen, kBlackPen);
}

TEST_F(DialGaugeTest, ReadoutDecimals) {
  gauge.PaintValue(1.23456, canvas, 3);
  gauge.PaintValue(1.23456, canvas, 2);
  gauge.PaintValue(-3.7, canvas, 0);
  gauge.PaintValue(-3.7, canvas, 4);
  EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"1.235", "1.23", "-3", "-3"}));
}

TEST_F(DialGaugeTest, CaptionsInsideOrInABoxAbove) {
  gauge.SetCaptions("PRESSURE", "FDBK", true, 5);
  gauge.SetUnits("in. W.C.");
  gauge.PaintDial(canvas, false);
  EXPECT_EQ(canvas.textCall("PRESSURE").at, (Point{500, 350}));
  EXPECT_EQ(canvas.textCall("FDBK").at, (Point{500, 366}));
  EXPECT_EQ(canvas.textCall("FDBK").state.textColour, PaletteColor(5));
  EXPECT_EQ(canvas.textCall("in. W.C.").at, (Point{500, 472}));
  EXPECT_EQ(canvas.textCall("in. W.C.").state.textColour, (Rgb{7, 0, 0}));

  canvas.calls.clear();
  gauge.SetCaptions("ANALOG INPUT", "4-20 mA", false, 11);
  gauge.PaintDial(canvas, false);
  EXPECT_FALSE(canvas.drewText("4-20 mA"));
  const auto boxes = canvas.of(Shape::Rectangle);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rect, (Rect{400, 280, 600, 298}));
  EXPECT_EQ(boxes[0].state.brush, kBlackBrush);
  const DrawCall& caption = canvas.textCall("ANALOG INPUT");
  EXPECT_EQ(caption.at, (Point{500, 295}));
  EXPECT_EQ(caption.state.verticalAlign, VAlign::Bottom);
  EXPECT_EQ(caption.state.backColour, kBlack);
  EXPECT_EQ(caption.state.textColour, kWhite);
}

TEST_F(DialGaugeTest, OverlongTextsKeepThePreviousOnes) {
  gauge.SetCaptions("O2 SENSOR", "FDBK", true, 5);
  gauge.SetCaptions(std::string(25, 'x'), std::string(24, 'y'), true, 5);
  gauge.SetUnits("V");
  gauge.SetUnits(std::string(15, 'u'));
  gauge.PaintDial(canvas, false);
  EXPECT_TRUE(canvas.drewText("O2 SENSOR"));
  EXPECT_TRUE(canvas.drewText(std::string(24, 'y')));
  EXPECT_TRUE(canvas.drewText("V"));
}

}  // namespace
}  // namespace vs
