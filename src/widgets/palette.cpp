#include "widgets/palette.h"

#include <array>

namespace vs {

Rgb PaletteColor(int index) {
  static constexpr std::array<Rgb, 15> kColours{{
      kBlack,
      {255, 0, 0},      // 1 red
      {0, 130, 65},     // 2 green
      {0, 255, 0},      // 3 bright green
      {250, 250, 0},    // 4 yellow
      {0, 0, 255},      // 5 blue
      {0, 255, 255},    // 6 cyan
      {128, 128, 128},  // 7 grey
      {97, 97, 97},     // 8 dark grey
      {192, 192, 192},  // 9 silver
      {0, 0, 0},        // 10 black
      {255, 255, 255},  // 11 white
      {128, 0, 0},      // 12 maroon
      {187, 91, 198},   // 13 violet
      {255, 120, 55},   // 14 orange
  }};
  if (index < 1 || index >= static_cast<int>(kColours.size())) return kBlack;
  return kColours[static_cast<std::size_t>(index)];
}

}  // namespace vs
