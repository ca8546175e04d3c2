// A memory-status source whose figures the test sets, counting how often it is asked.
#pragma once

#include "memory/memtext.h"

class FakeMemory : public MemorySource {
 public:
  MemorySnapshot next;
  int reads = 0;
  MemorySnapshot Read() override {
    ++reads;
    return next;
  }
};
