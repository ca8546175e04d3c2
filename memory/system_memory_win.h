// The machine's memory figures, read from the system at every call.
#pragma once

#include "memory/memtext.h"

class SystemMemory : public MemorySource {
 public:
  MemorySnapshot Read() override;
};
