// Screen density. Every length of the program's windows is laid out for 96 DPI (100 %) and
// scaled once to the DPI of the monitor a window is on, so a denser screen gets more pixels
// rather than a stretched copy of the 96-DPI picture.
#pragma once

#include <cmath>

constexpr int kBaseDpi = 96;

// `value` pixels at 96 DPI, at `dpi`, rounded half away from zero (as MulDiv rounds): the
// clock's 81 x 137 becomes 101 x 171 at 120 DPI, 122 x 206 at 144 and 162 x 274 at 192.
inline int ScaleToDpi(int value, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(value) * dpi / kBaseDpi));
}

inline double DpiScale(int dpi) { return static_cast<double>(dpi) / kBaseDpi; }
