#include "memory/memory_status.h"

namespace {

std::int64_t field(const MemorySnapshot& m, MemoryProperty property) {
  switch (property) {
    case MemoryProperty::AvailablePageFile: return m.availPageFile;
    case MemoryProperty::AvailablePhysical: return m.availPhys;
    case MemoryProperty::AvailableVirtual: return m.availVirtual;
    case MemoryProperty::MemoryLoad: return m.memoryLoad;
    case MemoryProperty::TotalPageFile: return m.totalPageFile;
    case MemoryProperty::TotalPhysical: return m.totalPhys;
    case MemoryProperty::TotalVirtual: return m.totalVirtual;
  }
  return 0;
}

}  // namespace

std::int64_t NOMemoryStatus::read(MemoryProperty property) {
  std::int64_t& member = members_[static_cast<int>(property)];
  member = field(source_.Read(), property);
  return member;
}

int NOMemoryStatus::Set(MemoryProperty /*property*/, std::int64_t /*value*/) {
  return designMode_ ? kSetNotPermitted : kSetNotSupportedAtRuntime;
}

std::int64_t NOMemoryStatus::Stored(MemoryProperty property) const {
  return members_[static_cast<int>(property)];
}
