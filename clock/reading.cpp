#include "clock/reading.h"

#include "clock/alarm.h"
#include "model/texts.h"

namespace {

std::wstring HourMinute(int hour, int minute) {
  return std::to_wstring(hour) + (minute < 10 ? L":0" : L":") + std::to_wstring(minute);
}

constexpr std::int64_t kDay = 24 * 60;

std::int64_t DayOf(std::int64_t minute) {
  return (minute >= 0 ? minute : minute - kDay + 1) / kDay;
}

}  // namespace

std::wstring NextRingText(std::int64_t at, bool snoozed, std::int64_t now) {
  if (at < 0) return L"";
  const LocalTime t = FromLocalMinute(at);
  std::wstring when = HourMinute(t.hour, t.minute);
  if (DayOf(at) != DayOf(now)) {
    const int day = static_cast<int>(Text::Sunday) + WeekdayOf(at);
    when += L" (" + Tr(static_cast<Text>(day)) + L")";
  }
  return Tr(snoozed ? Text::SnoozedAlarm : Text::NextAlarm, when);
}

std::wstring ClockReading(int hour, int minute, const Settings& s, int ringing,
                          const std::wstring& next) {
  std::wstring text = HourMinute(hour, minute);
  // A ringing alarm is named even when it was switched off meanwhile: its sound goes on until
  // it is stopped.
  if (ringing == 0 || ringing == 1) {
    text += L"  " + Tr(Text::ClockAlarm, HourMinute(s.Sound_H[ringing], s.Sound_M[ringing])) +
            L" " + Tr(Text::ClockRinging);
  }
  if (!next.empty()) text += L"  " + next;
  return text;
}
