#include "clock/zones.h"

#include <algorithm>

#include "clock/alarm.h"
#include "model/texts.h"

ZoneChoice ChooseZone(const std::wstring& key, const std::wstring& label,
                      const WindowsClock& windows) {
  if (key == L"-") return {};
  if (!key.empty()) return {key, label.empty() ? key : label};
  if (!windows.enabled || windows.zoneKey.empty()) return {};
  if (!label.empty()) return {windows.zoneKey, label};
  return {windows.zoneKey, windows.displayName.empty() ? windows.zoneKey : windows.displayName};
}

std::array<ZoneChoice, kZoneCount> ChooseZones(const Settings& s,
                                               const std::array<WindowsClock, kZoneCount>& windows) {
  std::array<ZoneChoice, kZoneCount> zones;
  for (int n = 0; n < kZoneCount; ++n)
    zones[n] = ChooseZone(s.Zone[n], s.ZoneLabel[n], windows[n]);
  return zones;
}

int DayShift(int localYear, int localMonth, int localDay, int year, int month, int day) {
  const std::int64_t here = DayOf(LocalMinute({localYear, localMonth, localDay, 0, 0}));
  const std::int64_t there = DayOf(LocalMinute({year, month, day, 0, 0}));
  return there < here ? -1 : there > here ? 1 : 0;
}

std::wstring ZoneLine(const std::wstring& label, int hour, int minute, int dayShift) {
  std::wstring line = label + L" " + ClockTime(hour, minute);
  if (dayShift != 0)
    line += L" (" + Tr(dayShift < 0 ? Text::ZoneYesterday : Text::ZoneTomorrow) + L")";
  return line;
}

std::wstring WithLinesThatFit(std::wstring base, const std::vector<std::wstring>& lines,
                              std::size_t room) {
  for (const std::wstring& line : lines) {
    if (line.empty()) continue;
    const std::size_t size = base.size() + (base.empty() ? 0 : 1) + line.size();
    if (size > room) break;
    if (!base.empty()) base += L'\n';
    base += line;
  }
  return base;
}

void SortZones(std::vector<ZoneEntry>& zones) {
  std::stable_sort(zones.begin(), zones.end(), [](const ZoneEntry& a, const ZoneEntry& b) {
    return a.bias != b.bias ? a.bias > b.bias : a.display < b.display;
  });
}

int ZoneListIndex(const std::wstring& key, const std::vector<ZoneEntry>& zones) {
  if (key.empty()) return 0;
  if (key == L"-") return 1;
  for (std::size_t i = 0; i < zones.size(); ++i)
    if (zones[i].key == key) return static_cast<int>(i) + 2;
  return -1;
}

std::vector<std::pair<std::wstring, std::wstring>> ZoneEdits(
    const Settings& s, const std::array<std::wstring, kZoneCount>& zone,
    const std::array<std::wstring, kZoneCount>& label) {
  std::vector<std::pair<std::wstring, std::wstring>> keys;
  for (int n = 0; n < kZoneCount; ++n) {
    const std::wstring key = IniKey(L"Zone_", n + 1);
    if (zone[n] != s.Zone[n]) keys.emplace_back(key, zone[n]);
    if (label[n] != s.ZoneLabel[n]) keys.emplace_back(key + L"_Label", label[n]);
  }
  return keys;
}
