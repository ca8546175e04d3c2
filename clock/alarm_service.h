// The alarms, owned by the application and by no window: when one rings (AlarmClock), the
// sound module's calls and its periodic ticks, the wake-up for the next ring and the snooze. A
// window asks it to stop or snooze and hears from it when a ring starts, stops or is snoozed
// and when the next ring changes; the clock's tick hands it the local time. Portable: the
// timers and the wake-up come through AlarmTimers, the sound through the sound module's port.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clock/alarm.h"
#include "clock/strike.h"
#include "model/commands.h"
#include "model/file_probe.h"
#include "model/settings_store.h"
#include "sound/alarm_sound.h"

// What the service needs of the platform's timers.
class AlarmTimers {
 public:
  virtual ~AlarmTimers() = default;
  // Which of the sound module's ticks run: the MP3 repeat (every second), the CD watcher
  // (every 200 ms) and the fade (every F_Sound::kFadeTickMs).
  virtual void SetSoundTicks(bool repeat, bool watch, bool fade) = 0;
  // Wakes the machine at the start of a local minute, for the next ring; -1: no wake-up.
  virtual void SetWake(std::int64_t minute) = 0;
};

class AlarmListener {
 public:
  virtual ~AlarmListener() = default;
  // A ring began, stopped or was snoozed, or its silent sign came or went: Ringing() says how
  // things are now.
  virtual void RingChanged() {}
  // What the tray tip and the clock's reader value say of the next ring ("" for none).
  virtual void NextRingChanged(const std::wstring& /*text*/) {}
};

class AlarmService {
 public:
  AlarmService(SettingsStore& store, F_Sound& sound, AlarmHost& files, AlarmTimers& timers);

  // Listeners live as long as the service and are told in the order they were added.
  void Listen(AlarmListener& listener) { listeners_.push_back(&listener); }

  // The clock's tick: each handled second, with its local minute (alarm.h's LocalMinute) and
  // second. The first tick of a minute may ring an alarm, any tick a snooze; true when the tick
  // began a new minute.
  bool OnTick(std::int64_t now, int second = 0);
  // The clock was set, the zone changed or the machine woke: the wake-up is aimed anew.
  void TimeMoved(std::int64_t now);
  // Esc, Space, a press on the dial, the tray icon, 停止. A once-alarm stopped so is switched
  // off through the store.
  void Stop(std::int64_t now);
  // ｽﾇｰｽﾞ, pressed at `second` of minute `now`: false when nothing rings.
  bool Snooze(std::int64_t now, int second = 0);
  // ｽﾇｰｽﾞ解除: every pending snooze is dropped.
  void CancelSnooze(std::int64_t now);
  bool Snoozing() const { return alarm_.SnoozeDue() >= 0; }
  // The second of minute `now`, after `second`, at which a snooze falls due; -1 for none. A
  // hidden clock, which otherwise wakes only at the minute's turn, wakes for it.
  int SnoozeSecond(std::int64_t now, int second) const;

  std::optional<RingNotice> Ringing() const;
  int RingingAlarm() const { return alarm_.RingingAlarm(); }
  bool RingingSilently() const { return alarm_.RingingSilently(); }
  const std::wstring& NextRing() const { return nextText_; }
  AlarmClock::NextRing Next(std::int64_t now) const { return alarm_.Next(now); }

  // 試聴: the alarm's sound as `test` has it, at its volume and fade-in, looped until stopped;
  // a CD's is the chime. Refused (false) while an alarm rings.
  bool StartTest(const SoundTest& test);
  void StopTest();
  bool Testing() const { return sound_.Testing(); }

  // Who says whether the user takes notifications, for the hours' strike; without one, always.
  void AskBeforeStriking(NotificationPort& user) { user_ = &user; }
  bool Striking() const { return sound_.Striking(); }
  // The strike's window's 試聴 (model/commands.h) and its stop, which leaves an alarm alone.
  bool StartStrikeTest(const StrikeOptions& strike);
  void StopStrike();
  // The shown clock's pendulum turned at the end of a swing: a tick when the keys want one.
  void Swing();

  // The sound module's ticks, from the platform's timers.
  void RepeatTick();
  void WatchTick();
  void FadeTick();

 private:
  // After every entry: the ticks the sound needs, and the listeners told of what changed.
  void settle(std::optional<std::int64_t> now);
  void settingsChanged(unsigned what);
  void strike(std::int64_t now);

  SettingsStore& store_;
  F_Sound& sound_;
  AlarmTimers& timers_;
  bool stopRequested_ = false;
  AlarmClock alarm_;
  std::vector<AlarmListener*> listeners_;
  int toldRinging_ = -1;
  bool toldSilent_ = false;
  std::wstring nextText_;
  bool nextTold_ = false;
  StrikeClock strike_;
  NotificationPort* user_ = nullptr;
};
