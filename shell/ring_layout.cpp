#include "shell/ring_layout.h"

#include <algorithm>

#include "model/texts.h"

namespace ring_layout {

namespace {

std::wstring TimeText(const RingNotice& ring) { return ClockTime(ring.hour, ring.minute); }

std::wstring Name(const RingNotice& ring) {
  return Tr(Text::AlarmName, std::to_wstring(ring.alarm + 1));
}

// Inside [low, high - size] when it fits; at `low` when it does not.
int Clamp(int v, int size, int low, int high) { return std::max(low, std::min(v, high - size)); }

}  // namespace

std::wstring Headline(const RingNotice& ring) { return Name(ring) + L"  " + TimeText(ring); }

std::wstring Title(const RingNotice& ring) {
  std::wstring title = Name(ring) + L" " + TimeText(ring);
  if (!ring.label.empty()) title += L" " + ring.label;
  return title;
}

Box Place(const Box* clock, const Box& work, const Box& size) {
  Box at{0, 0, size.w, size.h};
  if (!clock) {
    at.x = Clamp(work.Right() - size.w, size.w, work.x, work.Right());
    at.y = Clamp(work.Bottom() - size.h, size.h, work.y, work.Bottom());
    return at;
  }
  at.x = clock->Right() + kGap;
  if (at.Right() > work.Right()) at.x = clock->x - kGap - size.w;
  at.x = Clamp(at.x, size.w, work.x, work.Right());
  at.y = Clamp(clock->y, size.h, work.y, work.Bottom());
  return at;
}

}  // namespace ring_layout
