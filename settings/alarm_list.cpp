#include "settings/alarm_list.h"

#include "model/texts.h"

namespace alarm_list {

std::vector<int> Shown(const Settings& s) {
  std::vector<int> shown;
  for (int i = 0; i < kAlarmCount; ++i)
    if (i < kRowAlarms || s.AlarmInUse[i]) shown.push_back(i);
  return shown;
}

int FreeAlarm(const Settings& s) {
  for (int i = kRowAlarms; i < kAlarmCount; ++i)
    if (!s.AlarmInUse[i]) return i;
  return -1;
}

int CountOn(const Settings& s) {
  int on = 0;
  for (int i = kRowAlarms; i < kAlarmCount; ++i) on += s.AlarmInUse[i] && s.Sound_C[i] == 1;
  return on;
}

std::wstring DaysText(std::int16_t days) {
  if ((days & AlarmOptions::kEveryDay) == AlarmOptions::kEveryDay) return Tr(Text::EveryDay);
  std::wstring text;
  for (int d = 0; d < 7; ++d) {
    if (!(days >> d & 1)) continue;
    if (!text.empty()) text += L' ';
    text += Tr(DayName(d));
  }
  return text;
}

namespace {

std::wstring soundOf(const Settings& s, int i) {
  if (s.Sound_Kbn[i] == 1) {
    const int track = s.Sound_Repeat[i];
    return Tr(Text::Cd) + L" " + (track > 0 ? std::to_wstring(track) : Tr(Text::NoTrack));
  }
  const std::wstring& path = s.Sound_F[i];
  if (s.Sound_Kbn[i] != 2 || path.empty()) return Tr(Text::RingsChime);
  std::wstring name = path.substr(path.find_last_of(L"\\/:") + 1);  // npos + 1: the whole path
  // As the dialog's row says of its own: the chime will ring instead.
  if (s.SoundFileMissing[i]) name += L" (" + Tr(Text::PathMissing) + L")";
  return name;
}

}  // namespace

Row RowOf(const Settings& s, int alarm) {
  const AlarmOptions& o = s.Options[alarm];
  return Row{Tr(Text::AlarmName, std::to_wstring(alarm + 1)),
             ClockTime(s.Sound_H[alarm], s.Sound_M[alarm]), DaysText(o.Days),
             o.Label.substr(0, AlarmOptions::kMaxLabel), soundOf(s, alarm)};
}

std::wstring ValueOf(const Row& row) {
  std::wstring value = row.time + L"  " + row.days;
  if (!row.label.empty()) value += L"  " + row.label;
  return value + L"  " + row.sound;
}

}  // namespace alarm_list
