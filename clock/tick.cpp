#include "clock/tick.h"

#include "clock/face.h"

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

void DrawHands(Canvas& dial, int h, int m, int s, const Settings& settings) {
  double hourAngle = (m / 60.0 + h) * TwoPi / 12 - HalfPi;
  double minuteAngle = (s / 60.0 + m) * TwoPi / 60 - HalfPi;
  double secondAngle = s * TwoPi / 60 - HalfPi;
  // The hour hand's side points follow its whole hour on the 60-mark dial: 0 gives 0, 12
  // gives 60, afternoon hours fold back onto the same marks.
  int hourMark = (h > 12 ? h - 12 : h) * 5;
  dial.Clear();
  DrawHand(dial, false, hourAngle, 6, hourMark, settings.Color[2]);
  DrawHand(dial, false, minuteAngle, 8, m, settings.Color[3]);
  DrawHand(dial, true, secondAngle, 8, s, settings.Color[4]);
}
