// The memory-status component: the seven figures of the memory status as read-only properties.
// Every read asks the source again; the members only remember the last figure read, so that a
// host could save them with its window.
#pragma once

#include <cstdint>

#include "memory/memtext.h"

enum class MemoryProperty {
  AvailablePageFile,
  AvailablePhysical,
  AvailableVirtual,
  MemoryLoad,
  TotalPageFile,
  TotalPhysical,
  TotalVirtual,
};

class NOMemoryStatus {
 public:
  // Errors an assignment raises: at run time, and while the host is being designed.
  static constexpr int kSetNotSupportedAtRuntime = 393;
  static constexpr int kSetNotPermitted = 394;

  explicit NOMemoryStatus(MemorySource& source, bool designMode = false)
      : source_(source), designMode_(designMode) {}

  std::int64_t AvailablePageFile() { return read(MemoryProperty::AvailablePageFile); }
  std::int64_t AvailablePhysical() { return read(MemoryProperty::AvailablePhysical); }
  std::int64_t AvailableVirtual() { return read(MemoryProperty::AvailableVirtual); }
  std::int64_t MemoryLoad() { return read(MemoryProperty::MemoryLoad); }
  std::int64_t TotalPageFile() { return read(MemoryProperty::TotalPageFile); }
  std::int64_t TotalPhysical() { return read(MemoryProperty::TotalPhysical); }
  std::int64_t TotalVirtual() { return read(MemoryProperty::TotalVirtual); }

  // Every property is read-only: an assignment changes nothing and returns the error number.
  int Set(MemoryProperty property, std::int64_t value);

  // The figure the property's last read returned (0 before any read).
  std::int64_t Stored(MemoryProperty property) const;

 private:
  std::int64_t read(MemoryProperty property);

  MemorySource& source_;
  bool designMode_;
  std::int64_t members_[7] = {};
};
