// Memory figures as display text. Every call reads the figures afresh from a MemorySource; the
// Win32 side fills it from GlobalMemoryStatusEx, so sizes above 4 GB come through whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct MemorySnapshot {
  std::int64_t memoryLoad = 0;  // percent
  std::int64_t totalPhys = 0;   // bytes, like every field below
  std::int64_t availPhys = 0;
  std::int64_t totalPageFile = 0;
  std::int64_t availPageFile = 0;
  std::int64_t totalVirtual = 0;
  std::int64_t availVirtual = 0;
};

class MemorySource {
 public:
  virtual ~MemorySource() = default;
  virtual MemorySnapshot Read() = 0;
};

// Kilobytes (bytes / 1024). Formatted: grouped by thousands and followed by " K", a zero
// figure shown as nothing (" K"), except AvailPhysText, which shows "0 K". Otherwise plain
// digits, for callers that compare the figure as a number.
std::wstring TotalPhysText(MemorySource& source, bool formatted);
std::wstring AvailPhysText(MemorySource& source, bool formatted);
std::wstring TotalVirtualText(MemorySource& source, bool formatted);
std::wstring AvailVirtualText(MemorySource& source, bool formatted);

// Free physical memory in percent of the total, from the two plain kilobyte figures; nothing
// when either does not read as a number or the total is not positive. The memory check, the
// settings dialog's pie and its release button all judge memory by this one share.
std::optional<double> FreePhysShare(const std::wstring& totalKb, const std::wstring& availKb);
// The same from the figures of this moment (total read first).
std::optional<double> FreePhysShare(MemorySource& source);

// A machine with less physical memory than this (KB) is never cleaned.
constexpr std::int64_t kSmallestCleanedKb = 24000;
bool TooSmallToClean(MemorySource& source);
