#pragma once

#include <cmath>
#include <cstdint>

#include "forms/valve_link.h"

namespace vs::test {

// Made-up live values for pictures and timings of the instrument panel:
// slowly wandering, with the pressure over its 24 in. W.C. scale for a while
// so that the chart shows a gap.
inline LiveValues sampleLiveValues(int tick) {
  const double t = tick;
  const auto wave = [t](double centre, double swing, double period) {
    return static_cast<std::int32_t>(centre + swing * std::sin(t / period));
  };
  return {650,
          wave(650, 180, 9),
          tick >= 200 && tick < 230 ? 26000 : wave(6000, 5000, 31),
          wave(2000, 1500, 47),
          wave(1200, 500, 61),
          2,
          6000,
          wave(900, 60, 23),
          wave(950, 40, 37),
          0};
}

}  // namespace vs::test
