#include "clock/reading.h"

#include "clock/alarm.h"
#include "model/texts.h"

std::wstring NextRingText(std::int64_t at, bool snoozed, std::int64_t now) {
  if (at < 0) return L"";
  const LocalTime t = FromLocalMinute(at);
  std::wstring when = ClockTime(t.hour, t.minute);
  if (DayOf(at) != DayOf(now)) when += L" (" + Tr(DayName(WeekdayOf(at))) + L")";
  return Tr(snoozed ? Text::SnoozedAlarm : Text::NextAlarm, when);
}

std::wstring ClockReading(int hour, int minute, const Settings& s, int ringing,
                          const std::wstring& next) {
  std::wstring text = ClockTime(hour, minute);
  // A ringing alarm is named even when it was switched off meanwhile: its sound goes on until
  // it is stopped.
  if (ringing == 0 || ringing == 1) {
    text += L"  " + Tr(Text::ClockAlarm, ClockTime(s.Sound_H[ringing], s.Sound_M[ringing])) +
            L" " + Tr(Text::ClockRinging);
  }
  if (!next.empty()) text += L"  " + next;
  return text;
}
