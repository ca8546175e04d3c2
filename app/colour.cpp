#include "app/colour.h"

namespace {

std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
  std::int32_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

}  // namespace

std::int32_t GetBlue(Colour c) { return floorDiv(c, 65536); }

std::int32_t GetGreen(Colour c) { return floorDiv(c - 65536 * GetBlue(c), 256); }

std::int32_t GetRed(Colour c) { return c - 256 * GetGreen(c) - 65536 * GetBlue(c); }

void ClampByte(std::int32_t& component) {
  if (component < 0) component = 0;
  if (component >= 256) component = 255;
}

Colour DarkenColor(Colour c) {
  std::int32_t r = GetRed(c) - 50;
  std::int32_t g = GetGreen(c) - 50;
  std::int32_t b = GetBlue(c) - 50;
  ClampByte(r);
  ClampByte(g);
  ClampByte(b);
  return RGBColour(r, g, b);
}

Colour RGBColour(std::int32_t r, std::int32_t g, std::int32_t b) {
  ClampByte(r);
  ClampByte(g);
  ClampByte(b);
  return r + 256 * g + 65536 * b;
}
