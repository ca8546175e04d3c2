#include "clock/reading.h"

#include "model/texts.h"

namespace {

std::wstring HourMinute(int hour, int minute) {
  return std::to_wstring(hour) + (minute < 10 ? L":0" : L":") + std::to_wstring(minute);
}

}  // namespace

std::wstring ClockReading(int hour, int minute, const Settings& s, int ringing) {
  std::wstring text = HourMinute(hour, minute);
  for (int i = 0; i <= 1; ++i) {
    // Only 1 rings, so only 1 reads as on. A ringing alarm is named even when it was switched
    // off meanwhile: its sound goes on until it is stopped.
    if (s.Sound_C[i] != 1 && ringing != i) continue;
    text += L"  " + Tr(Text::ClockAlarm, HourMinute(s.Sound_H[i], s.Sound_M[i]));
    if (ringing == i) text += L" " + Tr(Text::ClockRinging);
  }
  return text;
}
