#include "clock/zones_win.h"

#include <windows.h>

#include "clock/zones.h"

namespace {

// Found at run time: a Windows older than Vista has no per-zone rules, and shows no zones.
// (The Ex variant of the conversion would spare the year's rules, but under Wine it is missing
// and ends the program.)
using ForYearFn = BOOL(WINAPI*)(USHORT, DYNAMIC_TIME_ZONE_INFORMATION*, TIME_ZONE_INFORMATION*);

ForYearFn forYear() {
  static const ForYearFn fn = reinterpret_cast<ForYearFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTimeZoneInformationForYear")));
  return fn;
}

std::wstring readText(HKEY key, const wchar_t* name) {
  wchar_t text[256] = {};
  DWORD type = 0, size = sizeof text - sizeof text[0];
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return L"";
  return text;
}

WindowsClock readWindowsClock(int n) {
  WindowsClock clock;
  const std::wstring path = L"Control Panel\\TimeDate\\AdditionalClocks\\" + std::to_wstring(n);
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return clock;
  DWORD enable = 0, type = 0, size = sizeof enable;
  clock.enabled = RegQueryValueExW(key, L"Enable", nullptr, &type, reinterpret_cast<BYTE*>(&enable),
                                   &size) == ERROR_SUCCESS &&
                  type == REG_DWORD && enable != 0;
  clock.displayName = readText(key, L"DisplayName");
  clock.zoneKey = readText(key, L"TzRegKeyName");
  RegCloseKey(key);
  return clock;
}

// The zone's time at `utc`; false for a zone Windows does not know, which then shows nothing.
bool timeIn(const std::wstring& zoneKey, const SYSTEMTIME& utc, SYSTEMTIME& there) {
  const ForYearFn rules = forYear();
  if (!rules || zoneKey.size() >= 128) return false;
  DYNAMIC_TIME_ZONE_INFORMATION dynamic{};
  zoneKey.copy(dynamic.TimeZoneKeyName, zoneKey.size());
  TIME_ZONE_INFORMATION zone{};
  return rules(utc.wYear, &dynamic, &zone) &&
         SystemTimeToTzSpecificLocalTime(&zone, &utc, &there);
}

}  // namespace

std::vector<ZoneEntry> WindowsZones() {
  std::vector<ZoneEntry> zones;
  HKEY all;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", 0,
                    KEY_READ, &all) != ERROR_SUCCESS)
    return zones;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = 256;
    if (RegEnumKeyExW(all, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    HKEY zone;
    if (RegOpenKeyExW(all, name, 0, KEY_READ, &zone) != ERROR_SUCCESS) continue;
    ZoneEntry entry{name, readText(zone, L"Display"), 0};
    // The rules begin with the bias in minutes west of UTC.
    BYTE tzi[44] = {};
    DWORD type = 0, bytes = sizeof tzi;
    if (RegQueryValueExW(zone, L"TZI", nullptr, &type, tzi, &bytes) == ERROR_SUCCESS &&
        bytes >= 4)
      entry.bias = *reinterpret_cast<const LONG*>(tzi);
    RegCloseKey(zone);
    if (entry.display.empty()) entry.display = entry.key;
    zones.push_back(std::move(entry));
  }
  RegCloseKey(all);
  SortZones(zones);
  return zones;
}

bool OtherZones::Refresh(const Settings& s) {
  std::array<WindowsClock, kZoneCount> windows;
  for (int n = 0; n < kZoneCount; ++n) windows[n] = readWindowsClock(n + 1);
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  GetLocalTime(&local);
  std::vector<std::wstring> lines;
  for (const ZoneChoice& zone : ChooseZones(s, windows)) {
    SYSTEMTIME there;
    if (zone.zoneKey.empty() || !timeIn(zone.zoneKey, utc, there)) continue;
    lines.push_back(ZoneLine(zone.label, there.wHour, there.wMinute,
                             DayShift(local.wYear, local.wMonth, local.wDay, there.wYear,
                                      there.wMonth, there.wDay)));
  }
  if (lines == lines_) return false;
  lines_ = std::move(lines);
  return true;
}
