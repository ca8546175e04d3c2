// The memory-status component: the seven figures of the memory status as read-only properties.
// Every read asks the source again, so a figure is never older than its read.
#pragma once

#include <cstdint>

#include "memory/memtext.h"

class NOMemoryStatus {
 public:
  explicit NOMemoryStatus(MemorySource& source) : source_(source) {}

  std::int64_t AvailablePageFile() { return source_.Read().availPageFile; }
  std::int64_t AvailablePhysical() { return source_.Read().availPhys; }
  std::int64_t AvailableVirtual() { return source_.Read().availVirtual; }
  std::int64_t MemoryLoad() { return source_.Read().memoryLoad; }
  std::int64_t TotalPageFile() { return source_.Read().totalPageFile; }
  std::int64_t TotalPhysical() { return source_.Read().totalPhys; }
  std::int64_t TotalVirtual() { return source_.Read().totalVirtual; }

 private:
  MemorySource& source_;
};
