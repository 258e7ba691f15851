#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "widgets/canvas.h"
#include "widgets/fixed_text.h"
#include "widgets/number_text.h"

namespace vs {

// An eight-channel strip chart that sweeps from the left edge of its plot to
// the right edge and then clears and starts again; it does not scroll. The
// samples live in a fixed store inside the object, so adding one never
// allocates.
class TrendChart {
 public:
  static constexpr int kChannels = 8;
  static constexpr int kSlots = 1000;
  // The write slot runs up to capacity + 1, which must stay inside the store.
  static constexpr int kMaxCapacity = kSlots - 2;

  enum Status : std::uint8_t { IN_RANGE = 0, UNDER_RANGE = 1, OVER_RANGE = 2, NO_DATA = 3 };

  TrendChart();
  virtual ~TrendChart() = default;

  void SetSize(std::int16_t widthPercent, std::int16_t heightPercent);
  void SetPosition(std::int16_t xPercent, std::int16_t yPercent);
  // Client size in pixels, 0 to 65535 each.
  void OnResize(int width, int height);
  // A channel outside 0 to 7 changes nothing.
  void SetLegendPosition(std::int16_t xPercent, std::int16_t yPercent, int channel, bool formatted);
  void SetNotePosition(std::int16_t xPercent, std::int16_t yPercent, int channel);
  // The range is not validated: an empty one maps every value to mid-plot.
  void SetChannel(double minimum, double maximum, int channel, int colour);
  // Texts longer than their fields (19, 14, 34 characters) are cut.
  void SetChannelLabel(std::string_view name, std::string_view units, int channel);
  void SetNote(std::string_view text, int colour, int channel);

  void AddSample(double value, int channel);
  void Advance();
  void StampTime();
  void StampAndAdvance(std::int32_t time);
  // Empties every channel and rewinds; the time stamps stay.
  void Clear();
  int Capacity() const { return capacity_; }
  // Slots outside the store are held at its ends.
  void SetCursor(int slot);
  // The channel's value at the cursor slot with 1, 2 or 3 decimals (no
  // decimals for any other number) and a trailing blank.
  std::string_view FormatValue(int channel, int decimals);

  void PaintBackground(Canvas& canvas);
  void PaintAxes(Canvas& canvas);
  void PaintTraces(Canvas& canvas, bool fromStart);

  // Where StampTime takes the time from: seconds since 1970 UTC, the system
  // clock unless replaced.
  void SetClock(std::function<std::int32_t()> clock) { clock_ = std::move(clock); }
  int WriteSlot() const { return writeSlot_; }
  int CursorSlot() const { return cursorSlot_; }

 private:
  struct Channel {
    FixedText<19> name;
    FixedText<14> units;
    FixedText<34> note;
    int noteColour = 0;
    int colour = 5;
    double minimum = 0.0, maximum = 0.0;
    bool formatted = false;
    double legendXFraction = 50.0, legendYFraction = 50.0;
    double noteXFraction = 50.0, noteYFraction = 50.0;
    // Held wide enough that the far-off defaults stay far off (and positive)
    // for any client size.
    int legendX = -1, legendY = 0, noteX = 0, noteY = 0;
  };

  void layout();
  int pixelsPerSlot() const { return right_ - left_ >= 550 ? 2 : 1; }
  int yOf(int sample) const;
  double valueAt(int channel, int slot) const;
  void paintLegend(Canvas& canvas, int channel, TextBuffer& buffer);

  std::array<std::array<std::int16_t, kSlots>, kChannels> sample_;
  std::array<std::array<std::uint8_t, kSlots>, kChannels> status_;
  std::array<std::int32_t, kSlots> timeStamp_{};

  std::array<Channel, kChannels> channels_;
  int left_ = 50, right_ = 700, top_ = 25, bottom_ = 275;
  double widthFraction_ = 0.25, heightFraction_ = 0.2;
  double xFraction_ = 50.0, yFraction_ = 50.0;
  int clientWidth_ = 0, clientHeight_ = 0;
  int capacity_ = 10;
  double yScale_ = 0.0;
  int writeSlot_ = 0;
  int cursorSlot_ = 0;
  int drawnUpTo_ = 0;
  int rowHeight_ = 0, boxWidth_ = 0;
  TextBuffer textBuffer_{};
  std::function<std::int32_t()> clock_;
};

}  // namespace vs
