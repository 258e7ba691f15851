#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QRect>
#include <QString>
#include <array>
#include <optional>

#include "widgets/canvas.h"

class QPaintDevice;

namespace vs {

// The canvas on a QPainter over any paint device (an off-screen QImage, a
// printer), drawing as a device context does: aliased shapes, corners with
// the right and bottom edges excluded, lines without their end point, arcs
// counter-clockwise. Drawing is finished when the canvas is destroyed.
class QPainterCanvas : public Canvas {
 public:
  // `defaultFont` is the device's own font; the other roles derive from it.
  explicit QPainterCanvas(QPaintDevice& device, const QFont& defaultFont = panelFont());
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  // A heavy sans-serif font 16 pixels high with characters about 7 pixels
  // wide, the size the instrument layout is measured for.
  static QFont panelFont();

  TextMetrics textMetrics() override;
  void line(Point from, Point to) override;
  void rectangle(const Rect& corners) override;
  void ellipse(const Rect& corners) override;
  void arc(Point centre, int radius, Point from, Point to) override;
  void text(Point at, std::string_view text) override;
  void fillRect(const Rect& corners, Rgb colour) override;

 private:
  void flushLines();
  void usePen(const Pen& pen);
  void useShapeBrush();
  // Flushes pending lines and takes up pen and brush; empty when the corners
  // enclose nothing.
  std::optional<QRect> prepareShape(const Rect& corners);
  void useFont();
  const QString& toQString(std::string_view text);

  QPainter painter_;
  int deviceWidth_;
  int deviceHeight_;
  QFont defaultFont_;
  QFont heavyFont_;
  QFont fixedFont_;
  QFont titleFont_;
  int titleHeight_ = -1;
  // What the painter holds now; the text colour counts as a pen of width 0.
  Pen painterPen_{kBlack, -1};
  std::optional<Brush> painterBrush_;
  std::optional<Font> painterFont_;
  std::optional<QFontMetrics> metrics_;
  // Consecutive lines in one pen go to the painter as one batch.
  std::array<QLine, 1024> lines_;
  std::size_t lineCount_ = 0;
  QString textBuffer_;
};

}  // namespace vs
