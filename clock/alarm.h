// The daily alarms: when one fires, which sound it starts, and how the user's stop re-arms
// them. The file system comes through AlarmHost (model/file_probe.h), the clock window forwards
// its timers' ticks, and the sound module keeps what it started, so the stop does not depend on
// today's settings.
//
// Time reaches the alarms as local minutes counted on one line (LocalMinute), so that the step
// from one minute to the next can be told from a jump: a machine that slept, a clock set
// forward or back, a new time zone. A snooze alone counts to the second: it rings its length
// after the press, not after the start of the press's minute.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/file_probe.h"
#include "model/settings.h"
#include "sound/alarm_sound.h"

struct LocalTime {
  int year, month, day, hour, minute;  // month 1..12, day 1..31
};

// Minutes since 1 January 1601, 0:00 local time (the platform's file-time origin).
std::int64_t LocalMinute(const LocalTime& t);
LocalTime FromLocalMinute(std::int64_t minute);
// The day of a local minute, counted from 1 January 1601, and its day of the week (0 Sunday
// .. 6 Saturday).
std::int64_t DayOf(std::int64_t minute);
int WeekdayOf(std::int64_t minute);

// An alarm whose minute the clock jumped over still rings when that minute is at most this
// many minutes ago; a longer jump past it stays silent (nobody wants yesterday's alarm at noon).
constexpr int kLateRingMinutes = 30;

// Whether the bytes begin like a file the sound player takes: a RIFF container of WAVE data.
bool IsWaveHeader(const std::string& start);

class AlarmClock {
 public:
  // `stopRequested` is the program's shared flag: the tray icon sets it as well.
  AlarmClock(const Settings& settings, F_Sound& sound, AlarmHost& host, bool& stopRequested);

  // True from the moment an alarm fires until it is re-armed.
  bool AlarmDone = false;
  // Set by every user action that stops a sound; cleared when the alarms are re-armed.
  bool& StopRequested;

  // At every load of the clock window: its first tick counts as a new minute.
  void Reset();
  // Once per handled second, with the local minute and second of the tick. The first tick of a minute
  // re-arms the alarms (after a stop) and may fire one: the alarm of this minute, or, when the
  // clock jumped forward over an alarm's minute, that alarm if it is at most kLateRingMinutes
  // late. No minute fires twice in one run of the clock, whether a reload makes it look new
  // or the clock is set back over it. Every tick may ring a snooze that fell due, once nothing
  // rings. True when the tick began a new minute.
  bool OnTick(std::int64_t now, int second = 0);
  // The minute the wake-up is set for: the next at which a switched-on alarm or a snooze would
  // fire, never `now` itself (a snooze later in this minute is the tick's); -1 when none is on.
  std::int64_t NextAlarm(std::int64_t now) const;
  // The next ring, as the tray tip and a reader name it: a snooze by the minute it falls in.
  struct NextRing {
    std::int64_t minute = -1;  // -1: none
    int alarm = -1;
    bool snoozed = false;
  };
  NextRing Next(std::int64_t now) const;
  // Esc, Space, a press on the dial, mouse activity over the tray icon, 停止. The alarm that
  // was ringing loses its snooze; a once-alarm stopped this way is to be switched off: its
  // index is returned (-1 for none), for the caller to store.
  int StopSound();
  // ｽﾇｰｽﾞ: the ringing alarm stops and rings again Snooze_Min minutes after the press at
  // `second` of minute `now`, to the second, with the same sound. False when nothing rings.
  bool Snooze(std::int64_t now, int second = 0);
  // Starts alarm `alarm`'s sound of `kind` (the CD's `track`, or `file`), falling back to the
  // chime as an alarm does; the loudness is the sound module's next.
  void Play(int alarm, std::int16_t kind, std::int16_t track, const std::wstring& file);
  // The local second (minute * 60 + second) at which the earliest pending snooze rings; -1 for
  // none.
  std::int64_t SnoozeDue() const;
  // ｽﾇｰｽﾞ解除: every pending snooze is dropped; the alarms ring at their own times.
  void CancelSnoozes();
  void Timer4_Timer();
  void Timer5_Timer();
  void FadeTick() { sound_.FadeTick(); }
  bool WantsFadeTicks() const { return sound_.Fading(); }
  // Whether the sound module wants the MP3 repeat (Timer4) and the CD watcher (Timer5) ticks.
  bool WantsRepeatTicks() const { return sound_.Repeating(); }
  bool WantsWatchTicks() const { return sound_.Watching(); }
  // The alarms that fell due with the one ringing and count as rung, lowest first; empty for
  // a snooze's ring.
  const std::vector<int>& AlsoDue() const { return alsoDue_; }
  // The once-alarms that counted as rung since the last call: the caller switches them off.
  std::vector<int> TakeRungOnce();
  // The alarm (0..7) whose sound goes on from its minute to the stop; -1 when none rings.
  int RingingAlarm() const { return sound_.Ringing() ? sound_.CurrentAlarm : -1; }
  // Fired, and no device can sound it: the clock shows a sign until the stop.
  bool RingingSilently() const { return sound_.RingingSilently(); }

 private:
  static std::array<std::int64_t, kAlarmCount> filled(std::int64_t v) {
    std::array<std::int64_t, kAlarmCount> a{};
    a.fill(v);
    return a;
  }
  bool fired(std::int64_t minute) const;
  // The minute alarm i is due at in the check of minute `now` (the last handled was `before`);
  // kNever when it does not ring now.
  std::int64_t dueAt(int i, std::int64_t now, std::int64_t before) const;
  // The alarms' part of a tick that begins a minute.
  void onMinute(std::int64_t now);
  // A snooze due at local second `now` rings, or is dropped when too late.
  void ringSnooze(std::int64_t now);
  // The snooze of alarm i, while its alarm is still on at the time it was snoozed at; kNever
  // for none.
  std::int64_t snoozeOf(int i) const;
  void fire(int alarm);
  void fireFile(std::int16_t alarm, const std::wstring& file);

  const Settings& settings_;
  F_Sound& sound_;
  AlarmHost& host_;
  static constexpr std::int64_t kNever = INT64_MIN;
  std::int64_t seen_ = kNever;  // the minute of the last handled tick, over reloads
  bool loaded_ = false;         // set by Reset: the next tick is the first of a load
  // The minutes in which an alarm fired during this run; a few a day at most.
  std::vector<std::int64_t> firedMinutes_;
  // Each alarm's pending snooze: the local second it rings again, and the alarm's minute of the
  // day when it was snoozed (a new time drops it). Not in the file: a restart forgets it.
  std::array<std::int64_t, kAlarmCount> snoozeAt_ = filled(kNever);
  std::array<std::int64_t, kAlarmCount> snoozedTime_ = filled(-1);
  std::vector<int> alsoDue_;   // the others due with the ring of the last minute's check
  std::vector<int> rungOnce_;  // once-alarms among them, not yet switched off
};
