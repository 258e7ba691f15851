#include "support/recording_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vs::test {

void RecordingCanvas::setMetrics(FontRole role, TextMetrics metrics) {
  metrics_[static_cast<std::size_t>(role)] = metrics;
}

TextMetrics RecordingCanvas::textMetrics() {
  return metrics_[static_cast<std::size_t>(state().font.role)];
}

DrawCall& RecordingCanvas::record(Shape shape) {
  DrawCall& call = calls.emplace_back();
  call.shape = shape;
  call.state = state();
  return call;
}

void RecordingCanvas::line(Point from, Point to) {
  DrawCall& call = record(Shape::Line);
  call.from = from;
  call.to = to;
}

void RecordingCanvas::rectangle(const Rect& corners) { record(Shape::Rectangle).rect = corners; }

void RecordingCanvas::ellipse(const Rect& corners) { record(Shape::Ellipse).rect = corners; }

void RecordingCanvas::arc(Point centre, int radius, Point from, Point to) {
  DrawCall& call = record(Shape::Arc);
  call.centre = centre;
  call.radius = radius;
  call.from = from;
  call.to = to;
}

void RecordingCanvas::text(Point at, std::string_view text) {
  DrawCall& call = record(Shape::Text);
  call.at = at;
  call.text = text;
}

void RecordingCanvas::fillRect(const Rect& corners, Rgb colour) {
  DrawCall& call = record(Shape::Fill);
  call.rect = corners;
  call.fill = colour;
}

std::vector<DrawCall> RecordingCanvas::of(Shape shape) const {
  std::vector<DrawCall> matching;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(matching),
               [shape](const DrawCall& call) { return call.shape == shape; });
  return matching;
}

std::vector<std::string> RecordingCanvas::texts() const {
  std::vector<std::string> drawn;
  for (const DrawCall& call : calls) {
    if (call.shape == Shape::Text) drawn.push_back(call.text);
  }
  return drawn;
}

bool RecordingCanvas::drewText(std::string_view text) const {
  return std::any_of(calls.begin(), calls.end(), [text](const DrawCall& call) {
    return call.shape == Shape::Text && call.text == text;
  });
}

const DrawCall& RecordingCanvas::textCall(std::string_view text) const {
  for (const DrawCall& call : calls) {
    if (call.shape == Shape::Text && call.text == text) return call;
  }
  ADD_FAILURE() << "no text \"" << text << "\" was drawn";
  static const DrawCall kNone;
  return kNone;
}

}  // namespace vs::test
