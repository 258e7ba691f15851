#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "widgets/canvas.h"
#include "widgets/fixed_text.h"

namespace vs {

// A horizontal bar filled from its left end in proportion to a value, with an
// optional scale above, the caption to the left, value and units to the right
// and up to four marker lines. It keeps no value: each paint is handed one.
class BarIndicator {
 public:
  BarIndicator() = default;
  virtual ~BarIndicator() = default;

  void SetSize(std::int16_t widthPercent, std::int16_t heightPercent);
  void SetPosition(std::int16_t xPercent, std::int16_t yPercent);
  // Client size in pixels, 0 to 65535 each; a zero width or height is ignored.
  void OnResize(int width, int height);
  void SetCaption(std::string_view caption);  // at most 24 characters
  void SetUnits(std::string_view units);      // at most 14 characters
  // An empty or inverted range is ignored; always reports success.
  bool SetRange(double minimum, double maximum);
  void SetScaleVisible(bool visible) { scaleVisible_ = visible; }
  // False, and nothing changes, for an index outside 0 to 3.
  bool SetMarker(double value, int index, int colour);
  void SetValueColour(int colour) { valueColour_ = colour; }
  void SetTextColour(int colour) { textColour_ = colour; }

  // The fill is clamped to the bar; the value text shows `value` as given.
  void Paint(double value, Canvas& canvas, int barColour, int decimals,
             bool labelsWithDecimal) const;

 private:
  void relayout();
  void placeEdges(int width, int height);
  int xOf(double value) const;

  int left_ = 0, right_ = 0, top_ = 0, bottom_ = 0;
  bool scaleVisible_ = true;
  std::array<int, 4> markerColour_{};
  int valueColour_ = 10;
  int textColour_ = 10;
  int clientWidth_ = 0, clientHeight_ = 0;
  std::array<double, 4> marker_{};
  double widthFraction_ = 0.5, heightFraction_ = 0.5;
  double xFraction_ = 0.5, yFraction_ = 0.5;
  double minimum_ = 0.0, maximum_ = 1000.0;
  FixedText<24> caption_{"Bar"};
  FixedText<14> units_{"Units"};
};

}  // namespace vs
