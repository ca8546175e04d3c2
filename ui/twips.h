// Twips, 1/1440 inch: the unit in which the settings file keeps window positions. The program
// sees every screen at 96 DPI, so a pixel is 15 twips.
#pragma once

#include <cmath>
#include <cstdint>

constexpr int kTwipsPerPixel = 15;

inline int TwipsToPixels(double twips) {
  return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
