#include "clock/memory_check.h"

#include "app/convert.h"

bool MemoryCheck::Tick(std::int16_t memIval, float memKagen, MemorySource& memory) {
  if (memIval <= 0) return false;
  if (++count_ < memIval * 60) return false;
  count_ = 0;
  const float p = FreePhysPercent(memory);
  return p >= 0 && p < memKagen;
}

float FreePhysPercent(MemorySource& memory) {
  // The kilobyte figures are 64-bit: a machine above 2 GB (or 4 GB) keeps its true share.
  const auto total = ToInt64(TotalPhysText(memory, false));
  const auto avail = ToInt64(AvailPhysText(memory, false));
  if (!total || !avail || *total <= 0) return -1;
  return static_cast<float>(static_cast<double>(*avail) / static_cast<double>(*total) * 100.0);
}
