// The two daily alarms: when one fires, which sound it starts, and how the user's stop re-arms
// them. The clock window keeps the timers and the file system; it lends them through AlarmHost.
#pragma once

#include <string>

#include "app/settings.h"
#include "sound/f_sound.h"

class AlarmHost {
 public:
  virtual ~AlarmHost() = default;
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual void SetTimer4(bool on) = 0;  // the MP3 repeat
  virtual void SetTimer5(bool on) = 0;  // the CD watcher
  virtual bool Timer5Enabled() = 0;
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
  // the alarms (after a stop) and may fire one.
  void OnTick(bool minuteChanged, int hour, int minute);
  // Esc, Space, a press on the dial, mouse activity over the tray icon.
  void StopSound();
  void Timer4_Timer();
  void Timer5_Timer();

 private:
  const Settings& settings_;
  F_Sound& sound_;
  AlarmHost& host_;
};
