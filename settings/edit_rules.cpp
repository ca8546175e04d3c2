#include "settings/edit_rules.h"

#include <cstdio>
#include <cstdlib>

#include "memory/memtext.h"

AlarmSwitchLook AlarmSwitch(std::int16_t on) {
  if (on == 1) return {1, Text::On, 255, true};
  return {0, Text::Off, 0, false};
}

std::int16_t ToggledAlarm(std::int16_t on) { return on == 1 ? 0 : 1; }

std::wstring PathReading(const std::wstring& path, const std::wstring& note) {
  if (note.empty()) return path;
  return path.empty() ? note : path + L" " + note;
}

std::wstring TrackReading(const std::wstring& text) { return text.empty() ? Tr(Text::NoTrack) : text; }

std::array<Colour, 6> DefaultClockColours() {
  return {0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0};
}

std::array<std::uint32_t, 16> CustomColours(const std::function<std::uint32_t(int)>& sysColour) {
  std::array<std::uint32_t, 16> table{};
  for (int k = 0; k < 16; ++k) table[k] = sysColour(k);
  return table;
}

namespace {

// The shortest decimal text that reads back as the same single-precision value.
std::wstring shortest(double value) {
  const float f = static_cast<float>(value);
  char buf[32];
  for (int decimals = 0; decimals <= 9; ++decimals) {
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(f));
    if (static_cast<float>(std::strtod(buf, nullptr)) == f) break;
  }
  return std::wstring(buf, buf + std::char_traits<char>::length(buf));
}

}  // namespace

std::wstring IvalLabel(double minutes) { return Tr(Text::IntervalValue, shortest(minutes)); }
std::wstring KagenLabel(double percent) { return Tr(Text::LimitValue, shortest(percent)); }

std::wstring ChooserInitialDir(const std::wstring& alarmPath) {
  if (alarmPath.size() == 2 && alarmPath[1] == L':') return alarmPath + L"\\";
  return alarmPath;
}

bool ShouldReleaseMemory(const std::wstring& totalKb, const std::wstring& availKb,
                         double limitPercent) {
  const auto share = FreePhysShare(totalKb, availKb);
  return share && *share < limitPercent;
}
