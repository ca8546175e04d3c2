#include "memory/system_memory_win.h"

#include <windows.h>

// GlobalMemoryStatusEx, not GlobalMemoryStatus: the older call caps or wraps every figure of
// a machine with more than 2 GB.
MemorySnapshot SystemMemory::Read() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof ms;
  MemorySnapshot s;
  if (!GlobalMemoryStatusEx(&ms)) return s;
  s.memoryLoad = ms.dwMemoryLoad;
  s.totalPhys = static_cast<std::int64_t>(ms.ullTotalPhys);
  s.availPhys = static_cast<std::int64_t>(ms.ullAvailPhys);
  s.totalPageFile = static_cast<std::int64_t>(ms.ullTotalPageFile);
  s.availPageFile = static_cast<std::int64_t>(ms.ullAvailPageFile);
  s.totalVirtual = static_cast<std::int64_t>(ms.ullTotalVirtual);
  s.availVirtual = static_cast<std::int64_t>(ms.ullAvailVirtual);
  return s;
}
