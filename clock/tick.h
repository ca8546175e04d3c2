// The hands' part of the clock's one-second tick. The timer fires ten times a second; only the
// first firing in a new second moves the hands. The caller reads the local time once per
// firing and passes it in.
//
// Order in the window's timer handler:
//   auto t = tick.Tick(hour, minute, second);
//   if (!t.Handled) return;
//   ...the alarms, given the local date and minute (clock/alarm.h)...
//   DrawHands(Pic_Tokei, t.ClockHour, t.ClockMinute, t.ClockSecond, settings);  (clock/face.h)
#pragma once

struct TickResult {
  bool Handled = false;  // false: same second as the last handled tick, draw nothing
  int ClockHour = 0;     // 0..23
  int ClockMinute = 0;
  int ClockSecond = 0;
};

class ClockTick {
 public:
  // 99 is no real second, so the first tick after a load redraws.
  int LastSecond = 99;

  void Reset();
  TickResult Tick(int hour, int minute, int second);
};
