#include "shell/tray_icon.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "clock/face.h"

namespace {

// How far (x, y) lies from the segment from (x1, y1) to (x2, y2).
double FromSegment(double x, double y, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double t = std::clamp(((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - x1 - t * dx, y - y1 - t * dy);
}

std::uint32_t Opaque(Colour c) {
  return 0xFF000000u | static_cast<std::uint32_t>(GetRed(c)) << 16 |
         static_cast<std::uint32_t>(GetGreen(c)) << 8 | static_cast<std::uint32_t>(GetBlue(c));
}

}  // namespace

IconPixels ContrastClockIcon(int size, Colour back, Colour fore) {
  IconPixels icon;
  icon.size = std::max(size, 0);
  icon.argb.assign(static_cast<std::size_t>(icon.size * icon.size), 0);
  const double r = icon.size / 2.0, line = std::max(1.0, icon.size / 8.0);
  // The hands' tips at ten past ten, clockwise from twelve.
  auto tip = [r](double degrees, double length) {
    const double a = degrees * TwoPi / 360;
    return std::pair{r + length * r * std::sin(a), r - length * r * std::cos(a)};
  };
  const auto [hx, hy] = tip(305, 0.5);
  const auto [mx, my] = tip(60, 0.75);
  for (int y = 0; y < icon.size; ++y) {
    for (int x = 0; x < icon.size; ++x) {
      const double px = x + 0.5, py = y + 0.5, d = std::hypot(px - r, py - r);
      if (d > r) continue;
      const bool hand = FromSegment(px, py, r, r, hx, hy) <= line / 2 ||
                        FromSegment(px, py, r, r, mx, my) <= line / 2;
      icon.argb[static_cast<std::size_t>(y * icon.size + x)] =
          Opaque(d > r - line || hand ? fore : back);
    }
  }
  return icon;
}
