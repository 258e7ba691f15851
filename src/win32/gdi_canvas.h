#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/canvas.h"

namespace vs {

// The canvas on a GDI device context (a DIB frame's memory DC, a window's, a
// printer's) of `width` x `height` device pixels. GDI already draws as the
// canvas means: lines without their end point, shapes without their right
// and bottom edges, arcs counter-clockwise. The pens, brushes and fonts the
// canvas makes live no longer than the canvas, so make one per paint; the DC
// gets back its own objects and settings when the canvas is destroyed.
class GdiCanvas : public Canvas {
 public:
  // `defaultFont` is the device's own font; the other roles derive from it.
  GdiCanvas(HDC dc, int width, int height, const LOGFONTW& defaultFont = panelFont(96));
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  // A bold sans-serif font 13 pixels to the em at 96 dots per inch, scaled
  // to `dpi`: the size the instrument layout is measured for.
  static LOGFONTW panelFont(int dpi);

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
  void useBrush(const Brush& brush);
  void useFont();
  // Flushes pending lines and takes up pen and brush; false when the corners
  // enclose nothing or the shape lies off the device.
  bool prepareShape(const Rect& corners);
  bool offDevice(const Rect& box) const;
  const std::wstring& toWide(std::string_view text);

  HDC dc_;
  int width_;
  int height_;
  int savedState_;
  LOGFONTW defaultFont_;
  // What the DC holds now: made when first needed, replaced when changed.
  Pen dcPen_{};
  HPEN pen_ = nullptr;
  Brush dcBrush_{};
  HBRUSH brush_ = nullptr;
  Font dcFont_{};
  std::array<HFONT, 4> fonts_{};  // by FontRole
  int titleHeight_ = 0;
  // Consecutive lines in one pen go to GDI as one PolyPolyline.
  std::vector<POINT> linePoints_;
  std::vector<DWORD> lineCounts_;
  std::wstring wide_;
};

}  // namespace vs
