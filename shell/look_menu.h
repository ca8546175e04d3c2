// The menu's entries for how the clock lies on the desktop: whether the mouse passes through
// it, and its opacity in steps. Their ids follow the popup tree's, which they are inserted
// into above 終了. Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

inline constexpr int kMenuClickThrough = 100;
inline constexpr int kMenuOpacityFirst = 110;  // one id per step, the opaque one first

// 100 down to 30 in tens.
std::vector<std::int16_t> OpacitySteps();
// The step an entry sets; none for an id that is no step.
std::optional<std::int16_t> OpacityOfItem(int item);
// The entry of the step nearest to `percent` (a file may hold any value in range).
int OpacityItem(std::int16_t percent);
