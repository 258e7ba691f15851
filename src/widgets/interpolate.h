#pragma once

#include <cmath>
#include <limits>

namespace vs {

// The straight line through (x0, y0) and (x1, y1) at x, extrapolating past the
// ends; the mean of y0 and y1 when x0 equals x1.
inline double Interpolate(double x0, double x1, double y0, double y1, double x) {
  if (x0 == x1) return (y0 + y1) / 2;
  const double slope = (y1 - y0) / (x1 - x0);
  return slope * x + (y1 - x1 * slope);
}

// Truncation toward zero that saturates instead of overflowing, so that a wild
// value puts a needle or marker far off the canvas rather than invoking
// undefined behaviour. NaN gives 0.
inline int truncToInt(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<int>::min();
  constexpr double kHigh = std::numeric_limits<int>::max();
  if (value <= kLow) return std::numeric_limits<int>::min();
  if (value >= kHigh) return std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

}  // namespace vs
