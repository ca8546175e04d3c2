// The clock's periodic memory check: counts the seconds of its one-second timer and, every
// Mem_Ival minutes, compares the free share of physical memory with the lower limit.
#pragma once

#include <cstdint>

#include "memory/memtext.h"

class MemoryCheck {
 public:
  // One tick of the one-second timer; true when the cleaner is to be opened. An interval of 0
  // (or less) never checks and does not count either. The count survives the clock window's
  // reloads: it belongs to this object, not to the window.
  bool Tick(std::int16_t memIval, float memKagen, MemorySource& memory);
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

// Free physical memory as a percentage of the total, from the kilobyte figures, rounded to
// single precision as the limit is held. Negative when the total cannot be read.
float FreePhysPercent(MemorySource& memory);
