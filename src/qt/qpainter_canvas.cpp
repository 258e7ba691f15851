#include "qt/qpainter_canvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace vs {
namespace {

QColor toQColor(Rgb colour) { return {colour.red, colour.green, colour.blue}; }

// The corners as a QRect whose outline, drawn with a one-pixel pen, covers
// `left` to `right` - 1 and `top` to `bottom` - 1; inverted corners are put in
// order first, as a device context does. Empty when nothing would be drawn.
std::optional<QRect> outlineRect(Rect r) {
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return std::nullopt;
  return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

// Angle of the ray from `centre` through `point`, counter-clockwise on screen
// from three o'clock, in degrees.
double screenAngle(Point centre, Point point) {
  return -std::atan2(point.y - centre.y, point.x - centre.x) * 180 / std::numbers::pi;
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPaintDevice& device, const QFont& defaultFont)
    : deviceWidth_(device.width()), deviceHeight_(device.height()), defaultFont_(defaultFont) {
  painter_.begin(&device);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  heavyFont_ = defaultFont_;
  heavyFont_.setWeight(QFont::Black);
  fixedFont_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (defaultFont_.pixelSize() > 0) {
    fixedFont_.setPixelSize(defaultFont_.pixelSize());
  } else {
    fixedFont_.setPointSizeF(defaultFont_.pointSizeF());
  }
}

QPainterCanvas::~QPainterCanvas() {
  flushLines();
  painter_.end();
}

QFont QPainterCanvas::panelFont() {
  QFont font;
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(13);
  font.setBold(true);
  return font;
}

void QPainterCanvas::flushLines() {
  if (lineCount_ == 0) return;
  painter_.drawLines(lines_.data(), static_cast<int>(lineCount_));
  lineCount_ = 0;
}

void QPainterCanvas::usePen(const Pen& pen) {
  if (pen == painterPen_) return;
  flushLines();
  painterPen_ = pen;
  // A one-pixel line leaves out its end point; a wide one has round ends.
  const bool thin = pen.width <= 1;
  painter_.setPen(QPen(toQColor(pen.colour), pen.width, Qt::SolidLine,
                       thin ? Qt::FlatCap : Qt::RoundCap, thin ? Qt::MiterJoin : Qt::RoundJoin));
}

void QPainterCanvas::useShapeBrush() {
  if (painterBrush_ == state().brush) return;
  painterBrush_ = state().brush;
  painter_.setBrush(toQColor(state().brush.colour));
}

void QPainterCanvas::useFont() {
  const Font& font = state().font;
  if (painterFont_ == font) return;
  painterFont_ = font;
  switch (font.role) {
    case FontRole::Default: painter_.setFont(defaultFont_); break;
    case FontRole::Heavy: painter_.setFont(heavyFont_); break;
    case FontRole::Fixed: painter_.setFont(fixedFont_); break;
    case FontRole::Title:
      if (font.height != titleHeight_) {
        titleHeight_ = font.height;
        titleFont_ = heavyFont_;
        titleFont_.setPixelSize(std::max(font.height, 1));
        // The height asked for is the whole character cell, not the em.
        const int cell = QFontMetrics(titleFont_, painter_.device()).height();
        if (cell > 0) titleFont_.setPixelSize(std::max(font.height * font.height / cell, 1));
      }
      painter_.setFont(titleFont_);
      break;
  }
  metrics_.emplace(painter_.fontMetrics());
}

TextMetrics QPainterCanvas::textMetrics() {
  useFont();
  // Measured rather than asked of the font: fontconfig describes some
  // monospaced families (Noto Sans Mono among them) as proportional.
  const bool fixedPitch =
      metrics_->horizontalAdvance(QChar('i')) == metrics_->horizontalAdvance(QChar('W'));
  return {metrics_->averageCharWidth(), metrics_->height(), fixedPitch};
}

void QPainterCanvas::line(Point from, Point to) {
  // A thin line without length covers no pixel at all (its end is left out).
  if (from == to && state().pen.width <= 1) return;
  usePen(state().pen);
  if (lineCount_ == lines_.size()) flushLines();
  lines_[lineCount_++] = QLine(from.x, from.y, to.x, to.y);
}

std::optional<QRect> QPainterCanvas::prepareShape(const Rect& corners) {
  flushLines();
  const std::optional<QRect> rect = outlineRect(corners);
  if (rect) {
    usePen(state().pen);
    useShapeBrush();
  }
  return rect;
}

void QPainterCanvas::rectangle(const Rect& corners) {
  if (const auto rect = prepareShape(corners)) painter_.drawRect(*rect);
}

void QPainterCanvas::ellipse(const Rect& corners) {
  if (const auto rect = prepareShape(corners)) painter_.drawEllipse(*rect);
}

void QPainterCanvas::arc(Point centre, int radius, Point from, Point to) {
  flushLines();
  const std::optional<QRect> rect =
      outlineRect({centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius});
  if (!rect) return;
  usePen(state().pen);
  const double start = screenAngle(centre, from);
  double span = std::fmod(screenAngle(centre, to) - start, 360.0);
  if (span <= 0) span += 360;
  painter_.drawArc(*rect, static_cast<int>(std::lround(start * 16)),
                   static_cast<int>(std::lround(span * 16)));
}

void QPainterCanvas::text(Point at, std::string_view text) {
  if (text.empty()) return;
  flushLines();
  useFont();
  const QString& string = toQString(text);
  const int width = metrics_->horizontalAdvance(string);
  const int height = metrics_->height();
  int left = at.x;
  if (state().horizontalAlign == HAlign::Centre) left -= width / 2;
  if (state().horizontalAlign == HAlign::Right) left -= width;
  const int top = state().verticalAlign == VAlign::Top ? at.y : at.y - height;
  // Far-off texts (unplaced legends) cost nothing.
  if (left >= deviceWidth_ || left + width <= 0 || top >= deviceHeight_ || top + height <= 0) {
    return;
  }
  if (state().backgroundMode == BackgroundMode::Opaque) {
    painter_.fillRect(QRect(left, top, width, height), toQColor(state().backColour));
  }
  usePen({state().textColour, 0});
  painter_.drawText(QPoint(left, top + metrics_->ascent()), string);
}

void QPainterCanvas::fillRect(const Rect& corners, Rgb colour) {
  flushLines();
  if (corners.right <= corners.left || corners.bottom <= corners.top) return;
  painter_.fillRect(
      QRect(corners.left, corners.top, corners.right - corners.left, corners.bottom - corners.top),
      toQColor(colour));
}

const QString& QPainterCanvas::toQString(std::string_view text) {
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) {
    textBuffer_ = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return textBuffer_;
  }
  // Reuses the buffer's storage: most repaints print only ASCII.
  textBuffer_.resize(static_cast<qsizetype>(text.size()));
  QChar* out = textBuffer_.data();
  for (char c : text) *out++ = QLatin1Char(c);
  return textBuffer_;
}

}  // namespace vs
