// Colour values as the settings keep them: red + 256 * green + 65536 * blue.
#pragma once

#include <cstdint>

#include "app/settings.h"

std::int32_t GetRed(Colour c);
std::int32_t GetGreen(Colour c);
std::int32_t GetBlue(Colour c);  // c / 65536, rounded down

// 0 below 0, 255 at 256 and above.
void ClampByte(std::int32_t& component);

// Every component 50 lower, floored at 0 (the memory graph's shaded edges).
Colour DarkenColor(Colour c);

// The colour of three components; a component above 255 counts as 255, one below 0 as 0.
Colour RGBColour(std::int32_t r, std::int32_t g, std::int32_t b);
