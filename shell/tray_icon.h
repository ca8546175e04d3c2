// The tray's clock for high contrast, worked out pixel by pixel: a disc of one colour edged in
// another, with hands at ten past ten. Worked out rather than drawn with the system's pens, so
// that a 16-pixel icon comes out the same on every system. Portable.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/colour.h"

struct IconPixels {
  int size = 0;
  // Top row first, 0xAARRGGBB as a 32-bit icon holds them: opaque over the disc, and 0 (the
  // taskbar shows through) outside it.
  std::vector<std::uint32_t> argb;
  bool Inside(int x, int y) const {
    return (argb[static_cast<std::size_t>(y * size + x)] >> 24) != 0;
  }
};

IconPixels ContrastClockIcon(int size, Colour back, Colour fore);
