#include "clock/reading.h"

namespace {

std::wstring HourMinute(int hour, int minute) {
  return std::to_wstring(hour) + (minute < 10 ? L":0" : L":") + std::to_wstring(minute);
}

}  // namespace

std::wstring ClockReading(int hour, int minute, const Settings& s) {
  std::wstring text = HourMinute(hour, minute);
  for (int i = 0; i <= 1; ++i) {
    // A switch holds a 16-bit Boolean; only "on" (nonzero) rings.
    if (s.Sound_C[i] != 0) text += L"  ｱﾗｰﾑ " + HourMinute(s.Sound_H[i], s.Sound_M[i]);
  }
  return text;
}
