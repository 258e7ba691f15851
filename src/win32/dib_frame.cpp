#include "win32/dib_frame.h"

namespace vs {

DibFrame::~DibFrame() { release(); }

void DibFrame::release() {
  if (dc_ != nullptr) {
    SelectObject(dc_, originalBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
}

bool DibFrame::resize(int width, int height) {
  if (dc_ != nullptr && width == width_ && height == height_) return true;
  release();
  if (width < 1 || height < 1) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (bitmap_ == nullptr || dc_ == nullptr) {
    release();
    return false;
  }
  originalBitmap_ = SelectObject(dc_, bitmap_);
  bits_ = static_cast<const std::uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

Rgb DibFrame::pixel(int x, int y) const {
  GdiFlush();
  const std::uint32_t value = bits_[static_cast<std::size_t>(y) * width_ + x];
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

void DibFrame::copyTo(HDC target, int x, int y) const {
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace vs
