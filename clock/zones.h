// Other places' time, spoken where the clock already speaks: the tray icon's tip, the clock's
// value for a screen reader and the tool tip over the dial. Up to two zones; by default the
// additional clocks the user set in Windows, so that the clock agrees with the taskbar.
// Portable: the platform's glue reads Windows' choice and converts the time.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/settings.h"

inline constexpr int kZoneCount = 2;

// One of Windows' additional clocks as its date and time settings keep it.
struct WindowsClock {
  bool enabled = false;
  std::wstring displayName;
  std::wstring zoneKey;  // the zone's registry key name: "India Standard Time"
};

// A zone to show: its key name (empty: none) and the label its line begins with.
struct ZoneChoice {
  std::wstring zoneKey;
  std::wstring label;
  bool operator==(const ZoneChoice& o) const { return zoneKey == o.zoneKey && label == o.label; }
};

// The file's "Zone_n" (empty: follow Windows; "-": none; otherwise a zone's key name) and
// "Zone_n_Label" (empty: Windows' display name, or the key name) against Windows' own clock.
ZoneChoice ChooseZone(const std::wstring& key, const std::wstring& label,
                      const WindowsClock& windows);

// Both zones of the settings, in order.
std::array<ZoneChoice, kZoneCount> ChooseZones(const Settings& s,
                                               const std::array<WindowsClock, kZoneCount>& windows);

// The days from `local`'s date to `there`'s: -1, 0 or 1 (any other gap as its sign).
int DayShift(int localYear, int localMonth, int localDay, int year, int month, int day);

// "London 23:49", with "(yesterday)" or "(tomorrow)" when `dayShift` says the day differs.
std::wstring ZoneLine(const std::wstring& label, int hour, int minute, int dayShift);

// `base` with each of `lines` on a line of its own, as many whole lines as fit in `room`
// characters: a line cut short would tell a wrong time.
std::wstring WithLinesThatFit(std::wstring base, const std::vector<std::wstring>& lines,
                              std::size_t room);

// A zone as Windows lists it: its key name, display name ("(UTC+05:30) Chennai, ...") and
// bias (minutes west of UTC, standard time).
struct ZoneEntry {
  std::wstring key, display;
  int bias = 0;
};

// West to east, as Windows lists them, and by name within one offset.
void SortZones(std::vector<ZoneEntry>& zones);

// A "Zone_n" value's place in the chooser's list: 0 follow Windows, 1 none, 2 + i the zone i;
// -1 for a key the list lacks.
int ZoneListIndex(const std::wstring& key, const std::vector<ZoneEntry>& zones);

// The keys the chooser writes: those of `zone` and `label` (for clock 1 and 2) that differ
// from the settings, so that a key the user never changed is never written.
std::vector<std::pair<std::wstring, std::wstring>> ZoneEdits(
    const Settings& s, const std::array<std::wstring, kZoneCount>& zone,
    const std::array<std::wstring, kZoneCount>& label);
