// The floor under every drawing: colour values as the settings keep them (red + 256 * green +
// 65536 * blue), the helpers that take them apart and put them together, and the rounding the
// drawing code shares. Portable and header-only, so both the core and the window layer use it.
#pragma once

#include <cmath>
#include <cstdint>

using Colour = std::int32_t;
inline constexpr Colour kMaxColour = 0xFFFFFF;

namespace colour_detail {
// Division rounded towards minus infinity: a negative colour still splits into components that
// put it back together.
constexpr std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}
}  // namespace colour_detail

inline std::int32_t GetBlue(Colour c) { return colour_detail::floorDiv(c, 65536); }
inline std::int32_t GetGreen(Colour c) {
  return colour_detail::floorDiv(c - 65536 * GetBlue(c), 256);
}
inline std::int32_t GetRed(Colour c) { return c - 256 * GetGreen(c) - 65536 * GetBlue(c); }

// 0 below 0, 255 at 256 and above.
inline void ClampByte(std::int32_t& component) {
  if (component < 0) component = 0;
  if (component >= 256) component = 255;
}

// The colour of three components; a component above 255 counts as 255, one below 0 as 0.
inline Colour RGBColour(std::int32_t r, std::int32_t g, std::int32_t b) {
  ClampByte(r);
  ClampByte(g);
  ClampByte(b);
  return r + 256 * g + 65536 * b;
}

// Every component 50 lower, floored at 0 (the memory graph's shaded edges).
inline Colour DarkenColor(Colour c) { return RGBColour(GetRed(c) - 50, GetGreen(c) - 50, GetBlue(c) - 50); }

// Halves to the even neighbour, as the numbers the face and the pie are drawn from expect.
inline int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// The system colours a window drawn by hand takes in high contrast (COLOR_WINDOW,
// COLOR_WINDOWTEXT, COLOR_HIGHLIGHT).
struct SystemColours {
  Colour window = 0xFFFFFF;
  Colour windowText = 0;
  Colour highlight = 0xD77800;
};
