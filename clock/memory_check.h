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
  // Seconds of counting left before the next check, so that the timer can sleep until then;
  // 0 when the interval never checks.
  int SecondsToNext(std::int16_t memIval) const;
  // `seconds` one-second ticks at once (a timer that slept until the check, or was stopped
  // part of the way); true when the last of them opens the cleaner.
  bool Advance(int seconds, std::int16_t memIval, float memKagen, MemorySource& memory);

 private:
  int count_ = 0;
};

// Free physical memory as a percentage of the total, from the kilobyte figures, rounded to
// single precision as the limit is held. Negative when the total cannot be read.
float FreePhysPercent(MemorySource& memory);
