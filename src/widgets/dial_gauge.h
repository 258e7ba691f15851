#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "widgets/canvas.h"
#include "widgets/fixed_text.h"

namespace vs {

// A round instrument with a 300-degree scale from lower left through the top
// to lower right, up to three coloured bands, captions, a readout, a needle
// and a marker needle. It keeps no value: each paint call is handed one.
class DialGauge {
 public:
  DialGauge();
  virtual ~DialGauge() = default;

  void SetPosition(std::int16_t xPercent, std::int16_t yPercent);
  void SetSize(std::int16_t sizePercent);
  // Client size in pixels, 0 to 65535 each.
  void OnResize(int width, int height);
  // Each caption is kept only if it has at most 24 characters.
  void SetCaptions(std::string_view caption1, std::string_view caption2, bool twoLineCaption,
                   int captionColour);
  void SetUnits(std::string_view units);  // at most 14 characters
  // An empty or inverted range is ignored; always reports success.
  bool SetRange(double minimum, double maximum);
  // Bands 1 to 3 share their edges with their neighbours; the edges are dial
  // angles under the range in force now.
  void SetBand(double from, double to, int band, int colour);

  // Face, hub, bands, units, scale labels, ticks and captions.
  void PaintDial(Canvas& canvas, bool labelsWithDecimal) const;
  void PaintValue(double value, Canvas& canvas, int decimals) const;
  void PaintMarker(double value, Canvas& canvas, int colour) const;

 private:
  void layout();
  // The point at dial angle `dialAngle` (0 at the minimum, 300 at the maximum)
  // and `radius` from the centre.
  Point pointAt(double dialAngle, double radius) const;
  double dialAngle(double value) const;
  int diameter() const { return right_ - left_; }
  void paintHub(Canvas& canvas) const;
  void paintNeedle(double value, Canvas& canvas, Pen pen) const;

  bool twoLineCaption_ = true;
  int captionColour_ = 0;
  int centreX_ = 0, left_ = 0, right_ = 0, centreY_ = 0, top_ = 0, bottom_ = 0;
  int clientWidth_ = 0, clientHeight_ = 0;
  double sizeFraction_ = 0.5;
  double xFraction_ = 0.5, yFraction_ = 0.5;
  double minimum_ = 0.0, maximum_ = 300.0;
  std::array<double, 4> bandEdge_{};
  std::array<Rgb, 3> bandColour_;
  FixedText<24> caption1_{"Gauge"};
  FixedText<24> caption2_{"Gauge2"};
  FixedText<14> units_{"Units"};
};

}  // namespace vs
