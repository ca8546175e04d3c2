// Blocks for the cleaning straight from the system: committed at once, returned to the system
// (not to a heap) the moment they are released.
#pragma once

#include "memory/cleaner.h"

class VirtualMemory : public BlockAllocator {
 public:
  void* Claim(std::size_t bytes) override;
  void Release(void* block, std::size_t bytes) override;
};
