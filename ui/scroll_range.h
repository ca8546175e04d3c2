// A horizontal scroll bar's range and steps, and how a step moves its value. Free of
// <windows.h>: the scroll bar control uses it, and the dialog's ranges are tested natively.
#pragma once

#include <algorithm>
#include <cstdint>

struct ScrollRange {
  std::int16_t min, max, small, large, initial;
};

// `value` moved by `delta` and kept within the range.
inline std::int16_t Scrolled(const ScrollRange& r, std::int16_t value, int delta) {
  const int v = std::clamp(static_cast<int>(value) + delta, static_cast<int>(r.min),
                           static_cast<int>(r.max));
  return static_cast<std::int16_t>(v);
}
