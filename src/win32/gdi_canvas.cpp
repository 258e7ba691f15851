#include "win32/gdi_canvas.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <utility>

namespace vs {
namespace {

// GDI takes coordinates of 27 bits; anything beyond this is brought in or
// left out before GDI sees it, with room to spare for pen widths.
constexpr long long kFar = 1 << 24;
// Lines that go to GDI in one call at most.
constexpr std::size_t kLineBatch = 1024;

COLORREF toColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

bool beyondReach(long long value) { return value < -kFar || value > kFar; }

// The part of the segment from (x0, y0) to (x1, y1) inside the box, found
// by Liang and Barsky's parameter clipping; false when none is.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double left, double top,
                 double right, double bottom) {
  double enter = 0;
  double leave = 1;
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const std::pair<double, double> edges[] = {
      {-dx, x0 - left}, {dx, right - x0}, {-dy, y0 - top}, {dy, bottom - y0}};
  for (const auto& [p, q] : edges) {
    if (p == 0) {
      if (q < 0) return false;
      continue;
    }
    const double t = q / p;
    if (p < 0) {
      enter = std::max(enter, t);
    } else {
      leave = std::min(leave, t);
    }
  }
  if (enter > leave) return false;
  x1 = x0 + leave * dx;
  y1 = y0 + leave * dy;
  x0 += enter * dx;
  y0 += enter * dy;
  return true;
}

// A point on the same ray from `centre` as `point`, near enough for GDI.
POINT rayPoint(Point centre, Point point) {
  long long dx = static_cast<long long>(point.x) - centre.x;
  long long dy = static_cast<long long>(point.y) - centre.y;
  while (beyondReach(dx) || beyondReach(dy)) {
    dx /= 2;
    dy /= 2;
  }
  return {static_cast<LONG>(centre.x + dx), static_cast<LONG>(centre.y + dy)};
}

// Corners in the wrong order are put in order first, as GDI itself does.
Rect ordered(Rect r) {
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  return r;
}

// The font of `font`'s role, derived from the device's own.
LOGFONTW describe(const Font& font, LOGFONTW description) {
  switch (font.role) {
    case FontRole::Default: break;
    case FontRole::Heavy: description.lfWeight = FW_HEAVY; break;
    case FontRole::Title:
      description.lfWeight = FW_HEAVY;
      // A positive height asks GDI for the whole character cell, as the role
      // means, not the em.
      description.lfHeight = std::max(font.height, 1);
      break;
    case FontRole::Fixed:
      description.lfWeight = FW_NORMAL;
      description.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      std::wcscpy(description.lfFaceName, L"Courier New");
      break;
  }
  return description;
}

}  // namespace

GdiCanvas::GdiCanvas(HDC dc, int width, int height, const LOGFONTW& defaultFont)
    : dc_(dc), width_(width), height_(height), savedState_(SaveDC(dc)), defaultFont_(defaultFont) {
  // Text cells are filled by ExtTextOut's own rectangle, never by the mode.
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetArcDirection(dc_, AD_COUNTERCLOCKWISE);
  linePoints_.reserve(2 * kLineBatch);
  lineCounts_.reserve(kLineBatch);
}

GdiCanvas::~GdiCanvas() {
  flushLines();
  // The DC's own pen, brush and font go back in before ours are deleted.
  RestoreDC(dc_, savedState_);
  if (pen_ != nullptr) DeleteObject(pen_);
  if (brush_ != nullptr) DeleteObject(brush_);
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

LOGFONTW GdiCanvas::panelFont(int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(13, dpi, 96);
  font.lfWeight = FW_BOLD;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  std::wcscpy(font.lfFaceName, L"Tahoma");
  return font;
}

void GdiCanvas::flushLines() {
  if (lineCounts_.empty()) return;
  PolyPolyline(dc_, linePoints_.data(), lineCounts_.data(), static_cast<DWORD>(lineCounts_.size()));
  linePoints_.clear();
  lineCounts_.clear();
}

void GdiCanvas::usePen(const Pen& pen) {
  if (pen_ != nullptr && pen == dcPen_) return;
  flushLines();
  // A one-pixel pen is cosmetic and leaves out a line's end point; a wider
  // one is geometric with round ends and joins.
  HPEN made = CreatePen(PS_SOLID, std::max(pen.width, 1), toColorRef(pen.colour));
  SelectObject(dc_, made);
  if (pen_ != nullptr) DeleteObject(pen_);
  pen_ = made;
  dcPen_ = pen;
}

void GdiCanvas::useBrush(const Brush& brush) {
  if (brush_ != nullptr && brush == dcBrush_) return;
  HBRUSH made = CreateSolidBrush(toColorRef(brush.colour));
  SelectObject(dc_, made);
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = made;
  dcBrush_ = brush;
}

void GdiCanvas::useFont() {
  const Font& font = state().font;
  HFONT& slot = fonts_[static_cast<std::size_t>(font.role)];
  if (slot != nullptr && font == dcFont_) return;
  // The title font is the one role whose size changes: it is made again.
  if (slot == nullptr || (font.role == FontRole::Title && font.height != titleHeight_)) {
    const LOGFONTW description = describe(font, defaultFont_);
    HFONT made = CreateFontIndirectW(&description);
    SelectObject(dc_, made);
    if (slot != nullptr) DeleteObject(slot);
    slot = made;
    if (font.role == FontRole::Title) titleHeight_ = font.height;
  } else {
    SelectObject(dc_, slot);
  }
  dcFont_ = font;
}

TextMetrics GdiCanvas::textMetrics() {
  useFont();
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  // Measured, as the other front end does, rather than read from the
  // metrics' pitch bit.
  SIZE narrow{};
  SIZE wide{};
  GetTextExtentPoint32W(dc_, L"i", 1, &narrow);
  GetTextExtentPoint32W(dc_, L"W", 1, &wide);
  return {metrics.tmAveCharWidth, metrics.tmHeight, narrow.cx == wide.cx};
}

bool GdiCanvas::offDevice(const Rect& box) const {
  return box.right <= 0 || box.bottom <= 0 || box.left >= width_ || box.top >= height_;
}

void GdiCanvas::line(Point from, Point to) {
  const int penWidth = std::max(state().pen.width, 1);
  // A thin line without length covers no pixel at all (its end is left out).
  if (from == to && penWidth == 1) return;
  const int margin = penWidth + 1;
  double x0 = from.x;
  double y0 = from.y;
  double x1 = to.x;
  double y1 = to.y;
  if (!clipSegment(x0, y0, x1, y1, -margin, -margin, width_ + margin, height_ + margin)) return;
  usePen(state().pen);
  if (beyondReach(from.x) || beyondReach(from.y) || beyondReach(to.x) || beyondReach(to.y)) {
    // Clipped ends lie outside the device, so the pixels on it stay put.
    linePoints_.push_back({std::lround(x0), std::lround(y0)});
    linePoints_.push_back({std::lround(x1), std::lround(y1)});
  } else {
    linePoints_.push_back({from.x, from.y});
    linePoints_.push_back({to.x, to.y});
  }
  lineCounts_.push_back(2);
  if (lineCounts_.size() == kLineBatch) flushLines();
}

bool GdiCanvas::prepareShape(const Rect& corners) {
  flushLines();
  const int margin = std::max(state().pen.width, 1);
  if (corners.right - corners.left < 1 || corners.bottom - corners.top < 1 ||
      offDevice({corners.left - margin, corners.top - margin, corners.right + margin,
                 corners.bottom + margin})) {
    return false;
  }
  usePen(state().pen);
  useBrush(state().brush);
  return true;
}

void GdiCanvas::rectangle(const Rect& corners) {
  Rect r = ordered(corners);
  if (!prepareShape(r)) return;
  // Far-off edges move to just off the device, where they stay unseen.
  const int margin = std::max(state().pen.width, 1) + 1;
  r.left = std::max(r.left, -margin);
  r.top = std::max(r.top, -margin);
  r.right = std::min(r.right, width_ + margin);
  r.bottom = std::min(r.bottom, height_ + margin);
  Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::ellipse(const Rect& corners) {
  const Rect r = ordered(corners);
  // A curve that large cannot be handed to GDI; none is drawn.
  if (beyondReach(r.left) || beyondReach(r.top) || beyondReach(r.right) || beyondReach(r.bottom) ||
      !prepareShape(r))
    return;
  Ellipse(dc_, r.left, r.top, r.right, r.bottom);
}

void GdiCanvas::arc(Point centre, int radius, Point from, Point to) {
  flushLines();
  if (radius < 1 || beyondReach(centre.x) || beyondReach(centre.y) || beyondReach(radius)) return;
  const Rect box{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
  const int margin = std::max(state().pen.width, 1);
  if (offDevice({box.left - margin, box.top - margin, box.right + margin, box.bottom + margin})) {
    return;
  }
  usePen(state().pen);
  const POINT start = rayPoint(centre, from);
  const POINT end = rayPoint(centre, to);
  Arc(dc_, box.left, box.top, box.right, box.bottom, start.x, start.y, end.x, end.y);
}

void GdiCanvas::text(Point at, std::string_view text) {
  if (text.empty()) return;
  flushLines();
  useFont();
  const std::wstring& wide = toWide(text);
  const int length = static_cast<int>(wide.size());
  SIZE extent{};
  GetTextExtentPoint32W(dc_, wide.data(), length, &extent);
  long long left = at.x;
  if (state().horizontalAlign == HAlign::Centre) left -= extent.cx / 2;
  if (state().horizontalAlign == HAlign::Right) left -= extent.cx;
  const long long top = state().verticalAlign == VAlign::Top ? at.y : at.y - extent.cy;
  // Far-off texts (unplaced legends) cost nothing.
  if (left >= width_ || left + extent.cx <= 0 || top >= height_ || top + extent.cy <= 0) return;
  const RECT cell{static_cast<LONG>(left), static_cast<LONG>(top),
                  static_cast<LONG>(left + extent.cx), static_cast<LONG>(top + extent.cy)};
  UINT options = 0;
  if (state().backgroundMode == BackgroundMode::Opaque) {
    SetBkColor(dc_, toColorRef(state().backColour));
    options = ETO_OPAQUE;
  }
  SetTextColor(dc_, toColorRef(state().textColour));
  ExtTextOutW(dc_, cell.left, cell.top, options, &cell, wide.data(), static_cast<UINT>(length),
              nullptr);
}

void GdiCanvas::fillRect(const Rect& corners, Rgb colour) {
  flushLines();
  if (corners.right <= corners.left || corners.bottom <= corners.top || offDevice(corners)) return;
  const RECT area{std::max(corners.left, 0), std::max(corners.top, 0),
                  std::min(corners.right, width_), std::min(corners.bottom, height_)};
  // An empty opaque text: the fill without a brush to make.
  SetBkColor(dc_, toColorRef(colour));
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &area, L"", 0, nullptr);
}

const std::wstring& GdiCanvas::toWide(std::string_view text) {
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    // Reuses the buffer's storage: most repaints print only ASCII.
    wide_.assign(text.begin(), text.end());
    return wide_;
  }
  const int size = static_cast<int>(text.size());
  wide_.resize(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)));
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide_.data(), static_cast<int>(wide_.size()));
  return wide_;
}

}  // namespace vs
