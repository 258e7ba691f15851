#pragma once

#include <windows.h>

#include <cstdint>

#include "widgets/canvas.h"

namespace vs {

// An off-screen picture: a top-down 32-bit DIB section in a memory DC. A
// window draws its whole client area into it and then copies it to the
// screen in one piece, so that nothing flickers; tests read its pixels.
class DibFrame {
 public:
  DibFrame() = default;
  ~DibFrame();
  DibFrame(const DibFrame&) = delete;
  DibFrame& operator=(const DibFrame&) = delete;

  // Makes the picture `width` x `height` pixels, its content undefined; the
  // old one is kept when the size is the same. False when GDI refuses (out
  // of memory, or a size below one pixel), and the frame is then empty.
  bool resize(int width, int height);

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Waits for GDI's drawing to reach the bits first.
  Rgb pixel(int x, int y) const;
  // Copies the picture to `target` with its top left corner at (x, y).
  void copyTo(HDC target, int x = 0, int y = 0) const;

 private:
  void release();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ originalBitmap_ = nullptr;
  const std::uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace vs
