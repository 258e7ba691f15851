#include "widgets/trend_chart.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "widgets/interpolate.h"
#include "widgets/palette.h"

namespace vs {
namespace {

constexpr int kFullScale = 10000;  // scaled sample of a channel's minimum; 0 is its maximum

constexpr std::array<std::string_view, 4> kStatusText{"", "UnderRange", "Over Range", "No Data"};

// Palette numbers of the scale and time texts and of the legend values.
constexpr int kAxisTextColour = 10;
constexpr int kValueTextColour = 10;

// Decimals of the formatted legend value, by channel.
constexpr std::array<int, TrendChart::kChannels> kLegendDecimals{3, 3, 3, 1, 0, 3, 0, 0};

bool validChannel(int channel) { return channel >= 0 && channel < TrendChart::kChannels; }

std::size_t at(int index) { return static_cast<std::size_t>(index); }

}  // namespace

TrendChart::TrendChart() : clock_([] { return static_cast<std::int32_t>(std::time(nullptr)); }) {
  Clear();
}

void TrendChart::SetSize(std::int16_t widthPercent, std::int16_t heightPercent) {
  widthFraction_ = widthPercent / 100.0;
  heightFraction_ = heightPercent / 100.0;
  layout();
}

void TrendChart::SetPosition(std::int16_t xPercent, std::int16_t yPercent) {
  xFraction_ = xPercent / 100.0;
  yFraction_ = yPercent / 100.0;
  layout();
}

void TrendChart::OnResize(int width, int height) {
  clientWidth_ = std::clamp(width, 0, 0xFFFF);
  clientHeight_ = std::clamp(height, 0, 0xFFFF);
  layout();
}

void TrendChart::SetLegendPosition(std::int16_t xPercent, std::int16_t yPercent, int channel,
                                   bool formatted) {
  if (!validChannel(channel)) return;
  Channel& c = channels_[at(channel)];
  c.legendXFraction = xPercent / 100.0;
  c.legendYFraction = yPercent / 100.0;
  c.formatted = formatted;
  layout();
}

void TrendChart::SetNotePosition(std::int16_t xPercent, std::int16_t yPercent, int channel) {
  if (!validChannel(channel)) return;
  Channel& c = channels_[at(channel)];
  c.noteXFraction = xPercent / 100.0;
  c.noteYFraction = yPercent / 100.0;
  layout();
}

void TrendChart::layout() {
  const int w = clientWidth_;
  const int h = clientHeight_;
  left_ = truncToInt(w * xFraction_);
  right_ = truncToInt(w * widthFraction_ + left_);
  top_ = truncToInt(h * yFraction_);
  bottom_ = truncToInt(h * heightFraction_ + top_);
  right_ = left_ + 20 * ((right_ - left_) / 20);

  // One slot per pixel up to 540 pixels, one per two pixels beyond; never
  // more slots than the store can sweep through.
  int capacity = right_ - left_;
  if (capacity > 549) capacity /= 2;
  capacity_ = std::clamp(capacity, 0, kMaxCapacity);
  yScale_ = (bottom_ - top_) / static_cast<double>(kFullScale);

  for (Channel& c : channels_) {
    c.legendX = truncToInt(w * c.legendXFraction);
    c.legendY = truncToInt(h * c.legendYFraction);
    c.noteX = truncToInt(w * c.noteXFraction);
    c.noteY = truncToInt(h * c.noteYFraction);
  }
}

void TrendChart::SetChannel(double minimum, double maximum, int channel, int colour) {
  if (!validChannel(channel)) return;
  Channel& c = channels_[at(channel)];
  c.minimum = minimum;
  c.maximum = maximum;
  c.colour = colour;
}

void TrendChart::SetChannelLabel(std::string_view name, std::string_view units, int channel) {
  if (!validChannel(channel)) return;
  channels_[at(channel)].name.assignPrefix(name);
  channels_[at(channel)].units.assignPrefix(units);
}

void TrendChart::SetNote(std::string_view text, int colour, int channel) {
  if (!validChannel(channel)) return;
  channels_[at(channel)].note.assignPrefix(text);
  channels_[at(channel)].noteColour = colour;
}

void TrendChart::AddSample(double value, int channel) {
  if (!validChannel(channel)) return;
  const Channel& c = channels_[at(channel)];
  const double scaled = Interpolate(c.minimum, c.maximum, kFullScale, 0, value);
  std::uint8_t status = IN_RANGE;
  if (std::isnan(scaled)) {
    status = NO_DATA;
  } else if (scaled > kFullScale) {
    status = UNDER_RANGE;
  } else if (scaled < 0) {
    status = OVER_RANGE;
  }
  // Classified before it is held to 16 bits, so a value far outside the range
  // still counts on its true side.
  sample_[at(channel)][at(writeSlot_)] =
      static_cast<std::int16_t>(std::clamp(truncToInt(scaled), -32768, 32767));
  status_[at(channel)][at(writeSlot_)] = status;
}

void TrendChart::Advance() {
  ++writeSlot_;
  if (writeSlot_ > capacity_ + 1) {
    Clear();
    writeSlot_ = 0;
  }
  cursorSlot_ = writeSlot_;
}

void TrendChart::StampTime() { timeStamp_[at(writeSlot_)] = clock_(); }

void TrendChart::StampAndAdvance(std::int32_t time) {
  timeStamp_[at(writeSlot_)] = time;
  Advance();
}

void TrendChart::Clear() {
  for (auto& samples : sample_) samples.fill(kFullScale);
  for (auto& statuses : status_) statuses.fill(NO_DATA);
  writeSlot_ = 0;
  cursorSlot_ = 0;
  drawnUpTo_ = 0;
}

void TrendChart::SetCursor(int slot) { cursorSlot_ = std::clamp(slot, 0, kSlots - 1); }

double TrendChart::valueAt(int channel, int slot) const {
  const Channel& c = channels_[at(channel)];
  return Interpolate(0, kFullScale, c.maximum, c.minimum, sample_[at(channel)][at(slot)]);
}

std::string_view TrendChart::FormatValue(int channel, int decimals) {
  if (!validChannel(channel)) return {};
  if (decimals < 1 || decimals > 3) decimals = 0;
  return printTo(textBuffer_, "%.*f ", decimals, valueAt(channel, cursorSlot_));
}

int TrendChart::yOf(int sample) const { return truncToInt(sample * yScale_ + top_); }

void TrendChart::PaintBackground(Canvas& canvas) {
  canvas.setPen(kBlackPen);
  canvas.setBrush({kLightFace});
  canvas.rectangle({left_, top_, right_ + 1, bottom_ + 1});

  const TextMetrics metrics = canvas.textMetrics();
  rowHeight_ = truncToInt(metrics.height * 1.3);
  boxWidth_ = 20 * metrics.averageCharWidth;
  for (const Channel& c : channels_) {
    canvas.rectangle({c.legendX - 10, c.legendY - rowHeight_ - 10, c.legendX + boxWidth_,
                      c.legendY + rowHeight_ - 10});
    canvas.rectangle(
        {c.noteX - 10, c.noteY - rowHeight_ - 10, c.noteX + boxWidth_, c.noteY + rowHeight_ - 10});
  }

  // Twenty divisions each way; the quarter lines are darker.
  const int width = right_ - left_;
  const int height = bottom_ - top_;
  for (int r = 0; r <= 20; ++r) {
    if (r < 19) {
      canvas.setPen({PaletteColor(r == 4 || r == 9 || r == 14 ? 8 : 7), 1});
      const int y = top_ + truncToInt(height * (r + 1) * 0.05);
      canvas.line({left_, y}, {right_, y});
    }
    if (r != 0 && r != 20) {
      canvas.setPen({PaletteColor(r % 5 == 0 ? 8 : 7), 1});
      const int x = left_ + truncToInt(width * r * 0.05);
      canvas.line({x, top_}, {x, bottom_});
    }
  }

  canvas.setBackgroundMode(BackgroundMode::Transparent);
  canvas.setTextColour(PaletteColor(kAxisTextColour));
  const int x = right_ + 5;
  canvas.setTextAlign(HAlign::Left, VAlign::Bottom);
  canvas.text({x, bottom_}, "0");
  canvas.setTextAlign(HAlign::Left, VAlign::Top);
  canvas.text({x, truncToInt((top_ + bottom_) * 0.5 - 10)}, "50");
  canvas.text({x, truncToInt(height * 0.25 - 10 + top_)}, "75");
  canvas.text({x, truncToInt(height * 0.75 - 10 + top_)}, "25");
  canvas.text({x, top_}, "100");
}

void TrendChart::PaintAxes(Canvas& canvas) {
  const int p = pixelsPerSlot();
  const int cursorX = left_ + p * cursorSlot_;
  canvas.setPen({PaletteColor(1), 1});
  canvas.line({cursorX, top_}, {cursorX, bottom_});

  canvas.setBackgroundMode(BackgroundMode::Transparent);
  canvas.setTextColour(PaletteColor(kAxisTextColour));
  TextBuffer buffer;
  // No date until the sweep has stamped the slot two places back.
  if (writeSlot_ >= 2 && timeStamp_[at(writeSlot_ - 2)] != 0) {
    canvas.setTextAlign(HAlign::Centre, VAlign::Bottom);
    canvas.text({cursorX, top_},
                formatLocalTime(buffer, timeStamp_[at(cursorSlot_)], "%m-%d-%Y %H:%M:%S"));
  }

  const int width = right_ - left_;
  canvas.setTextAlign(HAlign::Centre, VAlign::Top);
  for (int i = 0; i <= 4; ++i) {
    const int slot = (i * (width / 4)) / p;
    // A plot wider than the largest sweep has no slot under its right end.
    if (slot >= kSlots || timeStamp_[at(slot)] == 0) continue;
    canvas.text({left_ + truncToInt(width * i * 0.25), bottom_ + 2},
                formatLocalTime(buffer, timeStamp_[at(slot)], "%H:%M:%S"));
  }

  canvas.setTextAlign(HAlign::Left, VAlign::Bottom);
  for (int channel = 0; channel < kChannels; ++channel) {
    if (channels_[at(channel)].legendX > 0) paintLegend(canvas, channel, buffer);
  }
}

void TrendChart::paintLegend(Canvas& canvas, int channel, TextBuffer& buffer) {
  const Channel& c = channels_[at(channel)];
  const int m = c.legendX + 35;
  canvas.setPen({PaletteColor(c.colour), 4});
  canvas.line({c.legendX, c.legendY}, {m, c.legendY});
  canvas.setTextColour(kBlack);
  canvas.text({c.legendX, c.legendY - 10}, c.name.view());
  canvas.setTextColour(PaletteColor(c.noteColour));
  canvas.text({c.noteX, c.noteY - 5}, c.note.view());

  const std::uint8_t status = status_[at(channel)][at(cursorSlot_)];
  if (status != IN_RANGE) {
    canvas.setTextColour(PaletteColor(1));
    canvas.text({m + 4, c.legendY + 5}, kStatusText[status]);
    return;
  }
  canvas.setTextColour(PaletteColor(kValueTextColour));
  canvas.text({m + 6, c.legendY + 5}, c.formatted
                                          ? FormatValue(channel, kLegendDecimals[at(channel)])
                                          : formatNumber(buffer, valueAt(channel, cursorSlot_), 1));
  canvas.setTextColour(kBlack);
  canvas.text({m + truncToInt(boxWidth_ * 0.3) + 11, c.legendY + 5}, c.units.view());
}

void TrendChart::PaintTraces(Canvas& canvas, bool fromStart) {
  if (fromStart) drawnUpTo_ = 0;
  const int p = pixelsPerSlot();
  for (int channel = 0; channel < kChannels; ++channel) {
    const Channel& c = channels_[at(channel)];
    if (c.legendX <= 0) continue;
    const auto& samples = sample_[at(channel)];
    const auto& statuses = status_[at(channel)];
    canvas.setPen({PaletteColor(c.colour), 1});
    for (int j = std::max(drawnUpTo_, 1); j < writeSlot_; ++j) {
      if (statuses[at(j - 1)] != IN_RANGE) continue;
      // A step: level across slot j at the previous value, then to this one;
      // into a slot without a value in range the trace stays level.
      const int x = left_ + p * j;
      const int y = yOf(samples[at(j - 1)]);
      const int next = statuses[at(j)] == IN_RANGE ? samples[at(j)] : samples[at(j - 1)];
      canvas.line({x, y}, {x + p, y});
      canvas.line({x + p, y}, {x + p, yOf(next)});
    }
  }
  drawnUpTo_ = writeSlot_;
  canvas.setPen(kWhitePen);
}

}  // namespace vs
