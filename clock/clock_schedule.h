// When the clock window wakes, and for what: the one-second tick, the pendulum's frames and the
// memory check. The window reads the clocks and tells this object what happened (shown or
// hidden, a frame run, the check switched on or off); it answers with delays, and the window
// arms its timers with them. Times are the monotonic tick count in milliseconds and the
// position of the local time in its second or minute.
//
// Shown, the frames carry the tick ten times a second. Hidden, nothing is drawn and nothing the
// clock decides changes faster than the minute (an alarm), so the tick wakes once, at the
// minute's turn, computed afresh at every wake, and besides only at the second a snooze falls
// due; the memory check keeps its own sleeping timer. Only a ringing alarm that no device can sound wakes it every second, for the tray icon
// that alternates.
#pragma once

#include <cstdint>

#include "clock/memory_check.h"

class ClockSchedule {
 public:
  // No timer wanted.
  static constexpr std::int64_t kNone = -1;

  // At every load: hidden, no frames, the swing's catch-up counted from `now`.
  void Load(std::uint64_t now);

  // Shown or hidden. Hiding stops the frames; showing starts them, with the first where its
  // place in the second puts it, and returns the pendulum steps missed while hidden.
  int SetShown(bool shown, std::uint64_t now, int millisecond);
  // Shown but seen by nobody (the session locked, the display off): the clock wakes as the
  // hidden one does, and the frames resume, caught up, when it is seen again. Kept across loads.
  int SetUnseen(bool unseen, std::uint64_t now, int millisecond);
  bool FramesOn() const { return framesOn_; }

  // The tick's own timer, from a reading `millisecond` into its minute (0..59999): kNone while
  // shown (the frames carry the tick); hidden, just past the next minute boundary, or the next
  // second's while `everySecond`, or just past second `dueSecond` of this minute when that
  // comes first (-1: none).
  std::int64_t TickDelay(int millisecond, bool everySecond, int dueSecond = -1) const;

  // The frames, while shown. FrameIn: milliseconds to the next one (0 when due, kNone while
  // hidden). FrameRan: one ran at `millisecond` into its second; the next keeps its place.
  std::int64_t FrameIn(std::uint64_t now) const;
  void FrameRan(std::uint64_t now, int millisecond);
  // Who runs the frames: the message loop's wait, or a timer while a nested loop runs. Each
  // returns true when the frames changed hands, for the window to stop or start its timer.
  bool FramesInLoop() const { return loopFrames_; }
  bool FramesToLoop();
  bool FramesToTimer();
  // The frame timer's next delay from a frame at `millisecond`: in step it keeps its interval.
  static int FrameTimerDelay(int millisecond);

  // The memory check, from when it is switched on: due every `memIval` minutes of its count,
  // which survives switching off and reloads.
  void MemoryOn(std::int16_t memIval, std::uint64_t now);
  // Switched off: the whole seconds slept so far still count; the check itself waits.
  void MemoryOff(std::uint64_t now, std::int16_t memIval, float memKagen, MemorySource& memory);
  bool MemoryOnNow() const { return memArmedSeconds_ > 0; }
  // Milliseconds from `now` to the check; kNone while it is off.
  std::int64_t MemoryIn(std::uint64_t now) const;
  // The check is due: runs it, arms the next; true when the cleaner is to be opened.
  bool RunMemoryCheck(std::uint64_t now, std::int16_t memIval, float memKagen,
                      MemorySource& memory);

 private:
  int setFrames(bool on, std::uint64_t now, int millisecond);

  bool shown_ = false;
  bool unseen_ = false;
  bool framesOn_ = false;
  bool loopFrames_ = false;        // the message loop runs the frames; the timer sleeps
  std::uint64_t nextFrameAt_ = 0;  // tick count the next frame is due at
  std::uint64_t hiddenSince_ = 0;  // when the pendulum last stopped
  long long pendulumCarry_ = 0;    // part of a step left over from the last catch-up
  MemoryCheck memoryCheck_;        // its count goes on across reloads
  int memArmedSeconds_ = 0;        // what the check was armed for; 0 while off
  std::uint64_t memArmedAt_ = 0;
};
