#include "clock/memory_check.h"

bool MemoryCheck::Tick(std::int16_t memIval, float memKagen, MemorySource& memory) {
  if (memIval <= 0) return false;
  if (++count_ < memIval * 60) return false;
  count_ = 0;
  const float p = FreePhysPercent(memory);
  return p >= 0 && p < memKagen;
}

int MemoryCheck::SecondsToNext(std::int16_t memIval) const {
  if (memIval <= 0) return 0;
  const int left = memIval * 60 - count_;
  return left > 0 ? left : 1;
}

bool MemoryCheck::Advance(int seconds, std::int16_t memIval, float memKagen,
                          MemorySource& memory) {
  bool open = false;
  for (int i = 0; i < seconds; ++i) open = Tick(memIval, memKagen, memory) || open;
  return open;
}

float FreePhysPercent(MemorySource& memory) {
  // The kilobyte figures are 64-bit: a machine above 2 GB (or 4 GB) keeps its true share.
  const auto share = FreePhysShare(memory);
  return share ? static_cast<float>(*share) : -1;
}
