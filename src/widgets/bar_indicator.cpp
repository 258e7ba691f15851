#include "widgets/bar_indicator.h"

#include <algorithm>

#include "widgets/interpolate.h"
#include "widgets/number_text.h"
#include "widgets/palette.h"

namespace vs {

void BarIndicator::SetSize(std::int16_t widthPercent, std::int16_t heightPercent) {
  widthFraction_ = widthPercent / 100.0;
  heightFraction_ = heightPercent / 100.0;
  relayout();
}

void BarIndicator::SetPosition(std::int16_t xPercent, std::int16_t yPercent) {
  xFraction_ = xPercent / 100.0;
  yFraction_ = yPercent / 100.0;
  relayout();
}

void BarIndicator::OnResize(int width, int height) {
  width = std::clamp(width, 0, 0xFFFF);
  height = std::clamp(height, 0, 0xFFFF);
  if (width == 0 || height == 0) return;
  placeEdges(width, height);
  clientWidth_ = width;
  clientHeight_ = height;
}

void BarIndicator::relayout() {
  if (clientWidth_ == 0) return;
  // Snap the width to whole blocks of 8 pixels at this client width; the
  // snapped fraction is what later resizes scale.
  widthFraction_ = truncToInt(clientWidth_ * widthFraction_ / 8) * 8.0 / clientWidth_;
  placeEdges(clientWidth_, clientHeight_);
}

void BarIndicator::placeEdges(int width, int height) {
  left_ = truncToInt(width * xFraction_);
  top_ = truncToInt(height * yFraction_);
  right_ = left_ + truncToInt(width * widthFraction_);
  bottom_ = top_ + truncToInt(height * heightFraction_);
}

void BarIndicator::SetCaption(std::string_view caption) { caption_.assign(caption); }

void BarIndicator::SetUnits(std::string_view units) { units_.assign(units); }

bool BarIndicator::SetRange(double minimum, double maximum) {
  if (maximum > minimum) {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  return true;
}

bool BarIndicator::SetMarker(double value, int index, int colour) {
  if (index < 0 || index > 3) return false;
  marker_[static_cast<std::size_t>(index)] = value;
  markerColour_[static_cast<std::size_t>(index)] = colour;
  return true;
}

int BarIndicator::xOf(double value) const {
  return truncToInt((value - minimum_) * ((right_ - left_) / (maximum_ - minimum_)) + left_);
}

void BarIndicator::Paint(double value, Canvas& canvas, int barColour, int decimals,
                         bool labelsWithDecimal) const {
  const double clamped = std::clamp(value, minimum_, maximum_);
  const int cw = canvas.textMetrics().averageCharWidth;
  canvas.setBackgroundMode(BackgroundMode::Transparent);
  canvas.setTextColour(PaletteColor(textColour_));

  TextBuffer buffer;
  if (scaleVisible_) {
    canvas.setPen({PaletteColor(textColour_), 1});
    canvas.setTextAlign(HAlign::Centre, VAlign::Bottom);
    const int step = (right_ - left_) / 10;
    for (int i = 0; i <= 10; ++i) {
      const int x = left_ + i * step;
      canvas.line({x, top_ - 2}, {x, top_ - 7});
      const double label = Interpolate(0, 10, minimum_, maximum_, i);
      canvas.text({x, top_ - 7}, formatNumber(buffer, label, labelsWithDecimal ? 1 : 0));
    }
  }

  canvas.setTextAlign(HAlign::Left, VAlign::Bottom);
  canvas.text({left_ - cw - 155, bottom_}, caption_.view());
  canvas.setTextColour(PaletteColor(valueColour_));
  canvas.text({right_ + cw, bottom_}, formatNumber(buffer, value, decimals));
  canvas.setTextColour(PaletteColor(textColour_));
  canvas.text({right_ + 9 * cw, bottom_}, units_.view());

  canvas.setPen(kBlackPen);
  canvas.setBrush({kLightFace});
  canvas.rectangle({left_, top_, right_, bottom_});

  const int fillRight = std::min(xOf(clamped), right_);
  const Rgb fill = PaletteColor(barColour);
  canvas.setPen({fill, 1});
  canvas.setBrush({fill});
  canvas.rectangle({left_ + 1, top_ + 1, fillRight, bottom_ - 1});

  for (std::size_t j = 0; j < marker_.size(); ++j) {
    if (marker_[j] > minimum_) {
      canvas.setPen({PaletteColor(markerColour_[j]), 1});
      const int x = xOf(marker_[j]);
      canvas.line({x, top_ - 7}, {x, bottom_ + 7});
    }
  }
}

}  // namespace vs
