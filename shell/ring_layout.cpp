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

Boxes LayOut(int labelLines, bool others) {
  const int lines = std::clamp(labelLines, 1, kMaxLabelLines);
  Boxes b;
  b.label = {kLabel.x, kLabel.y, kLabel.w, kLabel.h + (lines - 1) * kLineHeight};
  int y = b.label.Bottom();
  b.others = {kLabel.x, y + 2, kLabel.w, others ? kLineHeight : 0};
  if (others) y = b.others.Bottom();
  y += kSnooze.y - kLabel.Bottom();
  b.snooze = {kSnooze.x, y, kSnooze.w, kSnooze.h};
  b.stop = {kStop.x, y, kStop.w, kStop.h};
  b.client = {0, 0, kClient.w, b.snooze.Bottom() + kClient.h - kSnooze.Bottom()};
  return b;
}

std::wstring Others(const RingNotice& ring) {
  if (ring.others.empty()) return L"";
  std::wstring text = L"+" + std::to_wstring(ring.others.size()) + L":";
  for (std::size_t k = 0; k < ring.others.size(); ++k) {
    const RingNotice::Other& o = ring.others[k];
    text += (k ? L", " : L" ") + Title({o.alarm, o.hour, o.minute, o.label, 0, {}});
  }
  return text;
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
