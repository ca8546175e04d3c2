// The alarm service's timers on Windows: a message-only window whose timers carry the sound
// module's ticks, and a waitable timer that wakes a sleeping machine for the next ring (where
// the power settings allow wake timers; otherwise the ring comes late at resume).
#pragma once

#include <windows.h>

#include <cstdint>

#include "clock/alarm_service.h"
#include "ui/form.h"
#include "ui/handle.h"
#include "ui/timer.h"

// The local minute now (alarm.h's LocalMinute), and its second.
std::int64_t LocalMinuteNow();
std::int64_t LocalMinuteNow(int& second);

class AlarmTimersWin : public Form, public AlarmTimers {
 public:
  AlarmTimersWin();
  ~AlarmTimersWin() override;
  // The service the ticks go to; made after these timers, which it uses.
  void Serve(AlarmService& service);

  void SetSoundTicks(bool repeat, bool watch, bool fade) override;
  void SetWake(std::int64_t minute) override;
  // The wake-up while it is set, for the message loop to wait on (null while none is set), and
  // what the loop calls when it went off, before the clock is told that time moved.
  HANDLE WakeHandle() const { return armedDue_ ? wakeTimer_.get() : nullptr; }
  void WakeFired() { armedDue_ = 0; }

 private:
  AlarmService* service_ = nullptr;
  Timer Timer4{4, 1000, [this] { service_->RepeatTick(); }};
  Timer Timer5{5, 200, [this] { service_->WatchTick(); }};
  Timer Timer6{6, F_Sound::kFadeTickMs, [this] { service_->FadeTick(); }};  // only while fading
  KernelHandle wakeTimer_;
  LONGLONG armedDue_ = 0;  // UTC file time the wake timer is set for; 0 when it is not set
};
