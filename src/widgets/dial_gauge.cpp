#include "widgets/dial_gauge.h"

#include <algorithm>
#include <cmath>

#include "widgets/interpolate.h"
#include "widgets/number_text.h"
#include "widgets/palette.h"

namespace vs {
namespace {

constexpr double kPi = 3.14159;

struct LabelPlacement {
  HAlign horizontal;
  VAlign vertical;
  int yAdjust;
};

// Scale labels k = 0 to 10 sit outside-in around the dial, so each is anchored
// on the side facing the centre.
constexpr std::array<LabelPlacement, 11> kLabelPlacement{{
    {HAlign::Centre, VAlign::Bottom, 0},
    {HAlign::Left, VAlign::Bottom, 0},
    {HAlign::Left, VAlign::Top, -8},
    {HAlign::Left, VAlign::Top, 0},
    {HAlign::Centre, VAlign::Top, 0},
    {HAlign::Centre, VAlign::Top, 0},
    {HAlign::Centre, VAlign::Top, 0},
    {HAlign::Right, VAlign::Top, 0},
    {HAlign::Right, VAlign::Top, -8},
    {HAlign::Right, VAlign::Bottom, 0},
    {HAlign::Centre, VAlign::Bottom, 0},
}};

}  // namespace

DialGauge::DialGauge() { bandColour_.fill(PaletteColor(2)); }

void DialGauge::SetPosition(std::int16_t xPercent, std::int16_t yPercent) {
  xFraction_ = xPercent / 100.0;
  yFraction_ = yPercent / 100.0;
  layout();
}

void DialGauge::SetSize(std::int16_t sizePercent) {
  sizeFraction_ = sizePercent / 100.0;
  layout();
}

void DialGauge::OnResize(int width, int height) {
  clientWidth_ = std::clamp(width, 0, 0xFFFF);
  clientHeight_ = std::clamp(height, 0, 0xFFFF);
  layout();
}

void DialGauge::layout() {
  centreX_ = truncToInt(clientWidth_ * xFraction_);
  centreY_ = truncToInt(clientHeight_ * yFraction_);
  // The dial follows the client width only.
  const int g = truncToInt(clientWidth_ * sizeFraction_ * 0.25);
  left_ = centreX_ - g;
  right_ = centreX_ + g;
  top_ = centreY_ - g;
  bottom_ = centreY_ + g;
}

void DialGauge::SetCaptions(std::string_view caption1, std::string_view caption2,
                            bool twoLineCaption, int captionColour) {
  caption1_.assign(caption1);
  caption2_.assign(caption2);
  twoLineCaption_ = twoLineCaption;
  captionColour_ = captionColour;
}

void DialGauge::SetUnits(std::string_view units) { units_.assign(units); }

bool DialGauge::SetRange(double minimum, double maximum) {
  if (maximum > minimum) {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  return true;
}

void DialGauge::SetBand(double from, double to, int band, int colour) {
  if (band < 1 || band > 3) return;
  const auto n = static_cast<std::size_t>(band);
  bandEdge_[n - 1] = dialAngle(from);
  bandEdge_[n] = dialAngle(to);
  bandColour_[n - 1] = PaletteColor(colour);
}

double DialGauge::dialAngle(double value) const {
  return Interpolate(minimum_, maximum_, 0, 300, value);
}

Point DialGauge::pointAt(double dialAngle, double radius) const {
  const double a = (120 + dialAngle) * kPi / 180;
  return {centreX_ + truncToInt(radius * std::cos(a)), centreY_ + truncToInt(radius * std::sin(a))};
}

void DialGauge::paintHub(Canvas& canvas) const {
  const int r = truncToInt(0.05 * diameter());
  canvas.ellipse({centreX_ - r, centreY_ - r, centreX_ + r, centreY_ + r});
}

void DialGauge::paintNeedle(double value, Canvas& canvas, Pen pen) const {
  canvas.setPen(pen);
  const double r = 0.97 * (diameter() / 2);
  canvas.line({centreX_, centreY_}, pointAt(dialAngle(value), r));
}

void DialGauge::PaintDial(Canvas& canvas, bool labelsWithDecimal) const {
  const int d = diameter();
  const int r = d / 2;

  canvas.setBrush({kLightFace});
  canvas.setPen({kBlack, 2});
  canvas.ellipse({left_, top_, right_, bottom_});
  canvas.setBrush(kBlackBrush);
  paintHub(canvas);

  const int bandRadius = truncToInt(0.47 * d);
  for (std::size_t k = 1; k <= 3; ++k) {
    if (bandEdge_[k - 1] < bandEdge_[k] && bandEdge_[k] != 0) {
      canvas.setPen({bandColour_[k - 1], 5});
      // Counter-clockwise from the band's end back to its start covers it.
      canvas.arc({centreX_, centreY_}, bandRadius, pointAt(bandEdge_[k], bandRadius),
                 pointAt(bandEdge_[k - 1], bandRadius));
    }
  }

  canvas.setBackColour(kSilver);
  canvas.setTextAlign(HAlign::Centre, VAlign::Top);
  canvas.setTextColour(kScaleInk);
  canvas.text({centreX_, truncToInt(centreY_ + 0.36 * d)}, units_.view());
  canvas.setPen(kBlackPen);

  TextBuffer buffer;
  for (int k = 0; k <= 10; ++k) {
    const double value = k == 10 ? maximum_ : minimum_ + (maximum_ - minimum_) * k / 10;
    const LabelPlacement& place = kLabelPlacement[static_cast<std::size_t>(k)];
    Point at = pointAt(30.0 * k, 0.8 * r);
    at.y += place.yAdjust;
    canvas.setTextAlign(place.horizontal, place.vertical);
    canvas.text(at, formatNumber(buffer, value, labelsWithDecimal ? 1 : 0));
  }

  canvas.setPen({kScaleInk, 1});
  for (int tick = 0; tick <= 100; ++tick) {
    const double inner = tick % 5 == 0 ? 0.82 * r : 0.89 * r;
    canvas.line(pointAt(3.0 * tick, inner), pointAt(3.0 * tick, 0.95 * r));
  }

  canvas.setTextColour(PaletteColor(captionColour_));
  if (twoLineCaption_) {
    canvas.setBackColour(kSilver);
    canvas.setTextAlign(HAlign::Centre, VAlign::Top);
    const int y1 = truncToInt(centreY_ - 0.25 * d);
    canvas.text({centreX_, y1}, caption1_.view());
    canvas.text({centreX_, y1 + 16}, caption2_.view());
  } else {
    canvas.setBrush(kBlackBrush);
    canvas.rectangle({left_, top_ - 20, right_, top_ - 2});
    canvas.setBackColour(kBlack);
    canvas.setTextAlign(HAlign::Centre, VAlign::Bottom);
    canvas.text({centreX_, top_ - 5}, caption1_.view());
  }
  canvas.setPen(kWhitePen);
}

void DialGauge::PaintValue(double value, Canvas& canvas, int decimals) const {
  canvas.setBackColour(kSilver);
  canvas.setTextColour(PaletteColor(5));
  canvas.setTextAlign(HAlign::Centre, VAlign::Top);
  TextBuffer buffer;
  canvas.text({centreX_, truncToInt(centreY_ + 0.1 * diameter())},
              formatNumber(buffer, value, decimals));
  paintNeedle(value, canvas, {kBlack, 2});
  canvas.setPen(kWhitePen);
}

void DialGauge::PaintMarker(double value, Canvas& canvas, int colour) const {
  paintNeedle(value, canvas, {PaletteColor(colour), 2});
  canvas.setBrush(kBlackBrush);
  canvas.setPen(kBlackPen);
  paintHub(canvas);
}

}  // namespace vs
