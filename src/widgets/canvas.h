#pragma once

#include <cstdint>
#include <string_view>

namespace vs {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Corners as the device context takes them: the right and bottom edges are
// outside the shape.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// A solid pen; width in device pixels.
struct Pen {
  Rgb colour;
  int width = 1;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  Rgb colour;
  friend bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr Pen kBlackPen{kBlack, 1};
inline constexpr Pen kWhitePen{kWhite, 1};
inline constexpr Brush kBlackBrush{kBlack};
inline constexpr Brush kWhiteBrush{kWhite};

enum class HAlign { Left, Centre, Right };
// Top: the point is the top of the character cell; Bottom: its bottom.
enum class VAlign { Top, Bottom };
enum class BackgroundMode { Transparent, Opaque };

// Default: the device's own font. Heavy: the same, weight 900. Title: the
// default face, weight 900, `height` device units tall. Fixed: a fixed-pitch
// font of the device's usual size.
enum class FontRole { Default, Heavy, Title, Fixed };

struct Font {
  FontRole role = FontRole::Default;
  int height = 0;  // Title only
  friend bool operator==(const Font&, const Font&) = default;
};

struct TextMetrics {
  int averageCharWidth = 0;
  int height = 0;  // of the character cell
  bool fixedPitch = false;
  friend bool operator==(const TextMetrics&, const TextMetrics&) = default;
};

// What a drawing call uses besides its arguments. A fresh canvas starts as a
// fresh device context does. (Not DrawState: <windows.h> makes that a macro.)
struct CanvasState {
  Pen pen = kBlackPen;
  Brush brush = kWhiteBrush;
  Font font;
  Rgb textColour = kBlack;
  Rgb backColour = kWhite;
  BackgroundMode backgroundMode = BackgroundMode::Opaque;
  HAlign horizontalAlign = HAlign::Left;
  VAlign verticalAlign = VAlign::Top;
  friend bool operator==(const CanvasState&, const CanvasState&) = default;
};

// The drawing surface of the instruments and the printed report, in device
// pixels with y growing downward. Pens, brushes, colours, alignment and font
// are plain values that stay set until changed.
class Canvas {
 public:
  virtual ~Canvas() = default;

  void setPen(const Pen& pen) { state_.pen = pen; }
  void setBrush(const Brush& brush) { state_.brush = brush; }
  void setFont(const Font& font) { state_.font = font; }
  void setTextColour(Rgb colour) { state_.textColour = colour; }
  // Fills behind text in opaque mode.
  void setBackColour(Rgb colour) { state_.backColour = colour; }
  void setBackgroundMode(BackgroundMode mode) { state_.backgroundMode = mode; }
  void setTextAlign(HAlign horizontal, VAlign vertical) {
    state_.horizontalAlign = horizontal;
    state_.verticalAlign = vertical;
  }
  const CanvasState& state() const { return state_; }

  // Of the current font.
  virtual TextMetrics textMetrics() = 0;

  // With the pen; the end point itself is not drawn.
  virtual void line(Point from, Point to) = 0;
  // Outlined with the pen, filled with the brush.
  virtual void rectangle(const Rect& corners) = 0;
  virtual void ellipse(const Rect& corners) = 0;
  // Part of the circle of `radius` about `centre`, with the pen, running
  // counter-clockwise on screen from the ray through `from` to the ray through
  // `to`; the whole circle when both rays coincide.
  virtual void arc(Point centre, int radius, Point from, Point to) = 0;
  // With the text colour, aligned on `at`; the cell is first filled with the
  // back colour in opaque mode.
  virtual void text(Point at, std::string_view text) = 0;
  // Ignores pen and brush.
  virtual void fillRect(const Rect& corners, Rgb colour) = 0;

 private:
  CanvasState state_;
};

}  // namespace vs
