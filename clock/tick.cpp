#include "clock/tick.h"

void ClockTick::Reset() {
  LastSecond = 99;
  LastMinute = 99;
  LastHour = 99;
}

TickResult ClockTick::Tick(int hour, int minute, int second) {
  TickResult r;
  if (second == LastSecond && minute == LastMinute && hour == LastHour) return r;
  LastSecond = second;
  LastMinute = minute;
  LastHour = hour;
  r.Handled = true;
  r.ClockHour = hour;
  r.ClockMinute = minute;
  r.ClockSecond = LastSecond;
  return r;
}

int TickDelay(int millisecond) {
  if (millisecond < 0) millisecond = 0;
  if (millisecond > 999) millisecond = 999;
  return 1000 - millisecond + kTickMarginMs;
}

int MinuteDelay(int millisecond) {
  if (millisecond < 0) millisecond = 0;
  if (millisecond > 59999) millisecond = 59999;
  return 60000 - millisecond + kTickMarginMs;
}

int FrameDelay(int millisecond, int intervalMs) {
  const int late = ((millisecond - kTickMarginMs) % intervalMs + intervalMs) % intervalMs;
  return late <= kFrameSlackMs ? intervalMs : intervalMs - late;
}

int FrameWaitAfter(int millisecond, int intervalMs) {
  const int late = ((millisecond - kTickMarginMs) % intervalMs + intervalMs) % intervalMs;
  const int wait = intervalMs - late;
  return wait < kFrameMinGapMs ? wait + intervalMs : wait;
}
