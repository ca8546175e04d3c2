#include "clock/tick.h"

void ClockTick::Reset() {
  LastSecond = 99;
}

TickResult ClockTick::Tick(int hour, int minute, int second) {
  TickResult r;
  if (second == LastSecond) return r;
  LastSecond = second;
  r.Handled = true;
  r.ClockHour = hour;
  r.ClockMinute = minute;
  r.ClockSecond = LastSecond;
  return r;
}
