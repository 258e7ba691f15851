#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/canvas.h"

namespace vs::test {

enum class Shape { Line, Rectangle, Ellipse, Arc, Text, Fill };

// One drawing call with its arguments and the canvas state it was made in.
struct DrawCall {
  Shape shape = Shape::Line;
  Point from, to;    // Line: its ends; Arc: the points on the start and end rays
  Rect rect;         // Rectangle, Ellipse, Fill
  Point centre;      // Arc
  int radius = 0;    // Arc
  Point at;          // Text
  std::string text;  // Text
  Rgb fill;          // Fill
  CanvasState state;
};

// A canvas that draws nothing and keeps every call, for asserting geometry.
// Its text metrics are the ones it is given, per font role.
class RecordingCanvas : public Canvas {
 public:
  // Those of the 16-pixel system font an instrument panel is laid out for.
  static constexpr TextMetrics kPanelMetrics{7, 16, false};

  explicit RecordingCanvas(TextMetrics metrics = kPanelMetrics) { metrics_.fill(metrics); }

  void setMetrics(FontRole role, TextMetrics metrics);
  TextMetrics textMetrics() override;
  void line(Point from, Point to) override;
  void rectangle(const Rect& corners) override;
  void ellipse(const Rect& corners) override;
  void arc(Point centre, int radius, Point from, Point to) override;
  void text(Point at, std::string_view text) override;
  void fillRect(const Rect& corners, Rgb colour) override;

  std::vector<DrawCall> calls;

  // The calls of one shape, in order.
  std::vector<DrawCall> of(Shape shape) const;
  // The texts drawn, in order.
  std::vector<std::string> texts() const;
  // The first text call showing exactly `text`; fails the test when there is none.
  const DrawCall& textCall(std::string_view text) const;
  bool drewText(std::string_view text) const;

 private:
  DrawCall& record(Shape shape);

  std::array<TextMetrics, 4> metrics_;
};

}  // namespace vs::test
