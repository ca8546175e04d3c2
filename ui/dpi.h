// Screen density. Every length of the program's windows is laid out for 96 DPI (100 %) and
// scaled once to the DPI of the monitor a window is on, so a denser screen gets more pixels
// rather than a stretched copy of the 96-DPI picture.
#pragma once

#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

constexpr int kBaseDpi = 96;

// `value` pixels at 96 DPI, at `dpi`, rounded half away from zero (as MulDiv rounds): the
// clock's 81 x 137 becomes 101 x 171 at 120 DPI, 122 x 206 at 144 and 162 x 274 at 192.
inline int ScaleToDpi(int value, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(value) * dpi / kBaseDpi));
}

inline double DpiScale(int dpi) { return static_cast<double>(dpi) / kBaseDpi; }

// The scales, in percent, the program's pictures are drawn at; the 150 % and 200 % drawings of
// a picture are numbered 100 and 200 above its 100 % one among the resources.
inline constexpr std::array<int, 3> kArtScales{100, 150, 200};

inline int ArtResourceId(int id100, int scale) { return id100 + (scale - 100) * 2; }

// The drawn scales in the order a window at `dpi` takes them: the nearest first, and of two as
// near the larger, since a picture made smaller keeps its edges where an enlarged one blurs.
// A picture lacking one takes the next.
inline std::array<int, 3> ArtScalesFor(int dpi) {
  std::array<int, 3> order = kArtScales;
  auto apart = [dpi](int scale) { return std::abs(scale * kBaseDpi - dpi * 100); };
  for (std::size_t i = 1; i < order.size(); ++i)
    for (std::size_t j = i; j > 0; --j) {
      const int a = apart(order[j - 1]), b = apart(order[j]);
      if (b < a || (b == a && order[j] > order[j - 1])) std::swap(order[j - 1], order[j]);
    }
  return order;
}
