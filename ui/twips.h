// Twips, 1/1440 inch: the unit in which the settings file keeps window positions. A pixel is
// 1440 / DPI twips (15 at 96, 10 at 144, 7.5 at 192). The clock's place is kept in twips of
// 96 DPI at every scaling, so that the same pixel place holds when the scaling changes and a
// file written at 100 % reads as it always did.
#pragma once

#include <cmath>
#include <cstdint>

#include "ui/dpi.h"

inline int TwipsToPixels(double twips, int dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

// Positions are whole twips; at 192 DPI an odd pixel is half a twip off, rounded away.
inline std::int32_t PixelsToTwips(double pixels, int dpi) {
  return static_cast<std::int32_t>(std::lround(pixels * 1440.0 / dpi));
}
