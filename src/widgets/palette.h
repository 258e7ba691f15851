#pragma once

#include "widgets/canvas.h"

namespace vs {

// Colour numbers 1 to 14 as the instruments and their callers name them; any
// other number is black.
Rgb PaletteColor(int index);

inline constexpr Rgb kLightFace{230, 242, 242};  // dial faces, bar frames, chart plot
inline constexpr Rgb kSilver{192, 192, 192};
// Scale text and ticks use the raw colour value 7, not palette entry 7.
inline constexpr Rgb kScaleInk{7, 0, 0};

}  // namespace vs
