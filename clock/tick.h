// The hands' part of the clock's one-second tick. The timer is armed for just after the next
// second boundary (TickDelay), so it wakes once a second; an arrival that is early, late,
// doubled or held up by a loaded machine or a change of the clock still handles each second
// once and each minute change once. The caller reads the local time once per arrival and
// passes it in.
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
  // 99 is no real time, so the first tick after a load redraws.
  int LastSecond = 99;
  int LastMinute = 99;
  int LastHour = 99;

  void Reset();
  // Handled when the time differs from the last handled one in any field: a timer held up by
  // exactly a minute must not take the new minute for the old one.
  TickResult Tick(int hour, int minute, int second);
};

// Past the boundary by this much, so that a timer that fires a little early still finds the
// new second.
constexpr int kTickMarginMs = 15;

// Milliseconds from a reading `millisecond` into its second (0..999) to just past the next
// second boundary.
int TickDelay(int millisecond);

// Milliseconds from a reading `millisecond` into its minute (0..59999) to just past the next
// minute boundary.
int MinuteDelay(int millisecond);

// While the clock is shown its pendulum frames carry the tick, so that one timer wakes it. The
// frames keep to fixed places in the second, just past each tenth, so that one of them comes
// just after every second boundary. A frame that arrives there, or up to this much after, is
// in step; one further off (a late timer, a change of the clock) puts the next frame back in
// place.
constexpr int kFrameSlackMs = 40;

// Milliseconds from a frame read at `millisecond` into its second to the next frame: the
// frame interval when it is in step, else what is left to the next place.
int FrameDelay(int millisecond, int intervalMs);

// A frame never follows the one before by less than this: a wait that ends a little early, or a
// frame run late, does not bring the next one right after it.
constexpr int kFrameMinGapMs = 20;

// For a frame source that waits afresh for every frame (the message loop's own wait): from a
// frame run at `millisecond` into its second, the milliseconds to the next place at least
// kFrameMinGapMs away.
int FrameWaitAfter(int millisecond, int intervalMs);
