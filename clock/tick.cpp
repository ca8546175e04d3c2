#include "clock/tick.h"

void ClockTick::Reset() {
  LastSecond = 99;
  LastMinute = 99;
}

TickResult ClockTick::Tick(int hour, int minute, int second) {
  TickResult r;
  if (second == LastSecond) return r;
  LastSecond = second;
  if (minute != LastMinute) {
    LastMinute = minute;
    r.MinuteChanged = true;
  }
  r.Handled = true;
  r.ClockHour = hour;
  r.ClockMinute = LastMinute;
  r.ClockSecond = LastSecond;
  return r;
}
