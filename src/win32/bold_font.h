#pragma once

#include <windows.h>

#include <cmath>

namespace vs {

// A bold face of a dialog's own font, larger by a factor, for the headings
// and warnings a maintenance dialog sets apart. The view that makes it in
// setUp() holds it, and so outlives the controls that show it.
class BoldFont {
 public:
  BoldFont(HWND dialog, double scale) {
    LOGFONTW face{};
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof face, &face) == 0) return;
    face.lfHeight = static_cast<LONG>(std::lround(face.lfHeight * scale));
    face.lfWeight = FW_BOLD;
    font_ = CreateFontIndirectW(&face);
  }
  ~BoldFont() {
    if (font_ != nullptr) DeleteObject(font_);
  }
  BoldFont(const BoldFont&) = delete;
  BoldFont& operator=(const BoldFont&) = delete;

  // A control that Windows would not give the font keeps its own.
  void setOn(HWND control) const {
    if (font_ != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }

 private:
  HFONT font_ = nullptr;
};

}  // namespace vs
