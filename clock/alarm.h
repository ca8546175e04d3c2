// The two daily alarms: when one fires, which sound it starts, and how the user's stop re-arms
// them. The clock window lends the file system through AlarmHost and forwards its timers' ticks;
// the sound module keeps what it started, so the stop does not depend on today's settings.
#pragma once

#include <string>

#include "app/settings.h"
#include "sound/alarm_sound.h"

class AlarmHost {
 public:
  virtual ~AlarmHost() = default;
  virtual bool FileExists(const std::wstring& path) = 0;
};

class AlarmClock {
 public:
  // `stopRequested` is the program's shared flag: the tray icon sets it as well.
  AlarmClock(const Settings& settings, F_Sound& sound, AlarmHost& host, bool& stopRequested);

  // True from the moment an alarm fires until it is re-armed.
  bool AlarmDone = false;
  // Set by every user action that stops a sound; cleared when the alarms are re-armed.
  bool& StopRequested;

  // At every load of the clock window.
  void Reset();
  // Once per handled second, with the time of the tick. Only the first tick of a minute re-arms
  // the alarms (after a stop) and may fire one; a minute in which one already fired fires no
  // other, even when a reload of the window makes it look new.
  void OnTick(bool minuteChanged, int hour, int minute);
  // Esc, Space, a press on the dial, mouse activity over the tray icon.
  void StopSound();
  void Timer4_Timer();
  void Timer5_Timer();
  // Whether the sound module wants the MP3 repeat (Timer4) and the CD watcher (Timer5) ticks.
  bool WantsRepeatTicks() const { return sound_.Repeating(); }
  bool WantsWatchTicks() const { return sound_.Watching(); }

 private:
  const Settings& settings_;
  F_Sound& sound_;
  AlarmHost& host_;
  int firedMinute_ = -1;  // minute of the day in which an alarm fired; -1 once it has passed
};
