#include "clock/clock_schedule.h"

#include <algorithm>

#include "clock/pendulum.h"
#include "clock/tick.h"

void ClockSchedule::Load(std::uint64_t now) {
  // Until shown, then on the timer until the loop takes them.
  shown_ = framesOn_ = loopFrames_ = false;
  hiddenSince_ = now;
  pendulumCarry_ = 0;
}

int ClockSchedule::SetShown(bool shown, std::uint64_t now, int millisecond) {
  shown_ = shown;
  return setFrames(shown && !unseen_, now, millisecond);
}

int ClockSchedule::SetUnseen(bool unseen, std::uint64_t now, int millisecond) {
  if (unseen == unseen_) return 0;
  unseen_ = unseen;
  return shown_ ? setFrames(!unseen, now, millisecond) : 0;
}

int ClockSchedule::setFrames(bool on, std::uint64_t now, int millisecond) {
  if (!on) {
    if (framesOn_) hiddenSince_ = now;  // shown while unseen, the swing still counts from then
    framesOn_ = false;
    return 0;
  }
  const int steps = StepsDue(static_cast<long long>(now - hiddenSince_), pendulumCarry_);
  framesOn_ = true;
  nextFrameAt_ = now + FrameDelay(millisecond, kPendulumStepMs);
  return steps;
}

std::int64_t ClockSchedule::TickDelay(int millisecond, bool everySecond, int dueSecond) const {
  if (framesOn_) return kNone;
  if (everySecond) return ::TickDelay(millisecond % 1000);
  const std::int64_t toMinute = MinuteDelay(millisecond);
  const std::int64_t toDue = std::int64_t{dueSecond} * 1000 - millisecond + kTickMarginMs;
  return dueSecond > 0 && toDue > kTickMarginMs && toDue < toMinute ? toDue : toMinute;
}

std::int64_t ClockSchedule::FrameIn(std::uint64_t now) const {
  if (!framesOn_) return kNone;
  return nextFrameAt_ > now ? static_cast<std::int64_t>(nextFrameAt_ - now) : 0;
}

void ClockSchedule::FrameRan(std::uint64_t now, int millisecond) {
  nextFrameAt_ = now + FrameWaitAfter(millisecond, kPendulumStepMs);
}

bool ClockSchedule::FramesToLoop() {
  if (loopFrames_) return false;
  loopFrames_ = true;
  return true;
}

bool ClockSchedule::FramesToTimer() {
  if (!loopFrames_) return false;
  loopFrames_ = false;
  return framesOn_;
}

int ClockSchedule::FrameTimerDelay(int millisecond) {
  return FrameDelay(millisecond, kPendulumStepMs);
}

void ClockSchedule::MemoryOn(std::int16_t memIval, std::uint64_t now) {
  memArmedSeconds_ = memoryCheck_.SecondsToNext(memIval);
  memArmedAt_ = now;
}

void ClockSchedule::MemoryOff(std::uint64_t now, std::int16_t memIval, float memKagen,
                              MemorySource& memory) {
  if (memArmedSeconds_ <= 0) return;
  const auto slept = static_cast<int>((now - memArmedAt_) / 1000);
  memoryCheck_.Advance(std::min(slept, memArmedSeconds_ - 1), memIval, memKagen, memory);
  memArmedSeconds_ = 0;
}

std::int64_t ClockSchedule::MemoryIn(std::uint64_t now) const {
  if (memArmedSeconds_ <= 0) return kNone;
  const std::uint64_t due = memArmedAt_ + static_cast<std::uint64_t>(memArmedSeconds_) * 1000u;
  return due > now ? static_cast<std::int64_t>(due - now) : 0;
}

bool ClockSchedule::RunMemoryCheck(std::uint64_t now, std::int16_t memIval, float memKagen,
                                   MemorySource& memory) {
  const bool open = memoryCheck_.Advance(memArmedSeconds_, memIval, memKagen, memory);
  MemoryOn(memIval, now);
  return open;
}
