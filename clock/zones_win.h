// The other zones' lines for now: Windows' additional clocks read from the user's registry,
// the time converted through the zones' rules. Refreshed by the clock at each minute and when
// the time or the zone changed, never per frame.
#pragma once

#include <string>
#include <vector>

#include "clock/zones.h"
#include "model/settings.h"

// Windows' zones by their display names, west to east; empty where Windows keeps none.
std::vector<ZoneEntry> WindowsZones();

class OtherZones {
 public:
  // True when the lines changed.
  bool Refresh(const Settings& s);
  const std::vector<std::wstring>& Lines() const { return lines_; }

 private:
  std::vector<std::wstring> lines_;
};
