// The clock window: a captionless 81 x 137 window (at 96 DPI; scaled to the density of the
// monitor it is on) cut to a rounded rectangle, with the dial
// on top and the pendulum area below. It loads the settings, paints and freezes the dial,
// runs the one-second tick and the pendulum, and lets the user drag it about. Its position
// and on-top state are written back when it is unloaded. While an alarm is on it keeps a
// waitable timer set for the alarm's next time, so that a sleeping machine that allows wake
// timers wakes up for it; after sleep or a change of the clock the tick rings what it jumped
// over (clock/alarm.h).
#pragma once

#include <cstdint>
#include <memory>

#include "model/app_state.h"
#include "model/commands.h"
#include "clock/alarm.h"
#include "clock/clock_schedule.h"
#include "clock/pendulum.h"
#include "clock/tick.h"
#include "memory/system_memory_win.h"
#include "ui/accessible.h"
#include "ui/form.h"
#include "ui/handle.h"
#include "ui/picture_box.h"
#include "ui/timer.h"
#include "ui/window_drag.h"

class F_Tokei : public Form, private AccessibleSource {
 public:
  F_Tokei(AppState& app, F_Sound& sound, Commands& commands);
  ~F_Tokei() override;

  // Creates the window and everything on it, then shows it.
  void Form_Load();
  // Stops a ringing alarm (Esc, Space, a press on the dial; the tray icon calls it too).
  void StopSound();
  // ｽﾇｰｽﾞ: the ringing alarm stops and rings again Snooze_Min minutes later.
  void Snooze();
  // The alarm that rings now, as the ringing window and the menu show it.
  std::optional<RingNotice> Ringing() const;
  // The periodic memory check; never on while the interval is 0 or the machine too small.
  void SetMemoryCheck(bool on);
  // Writes "Pos_X", "Pos_Y" and "TopMost" (at every unload, and when the menu quits).
  void SavePlacement();
  // The wake timer while it is set, for the message loop to wait on (null while no alarm is
  // on), and what the loop calls when it goes off.
  HANDLE WakeTimer() const { return armedDue_ ? wakeTimer_.get() : nullptr; }
  void WakeTimer_Timer();
  // The pendulum's frames while the clock is shown. Waiting in the message loop, they cost one
  // wait each and no timer message: FrameWait hands them to the loop and says how long it may
  // wait (INFINITE while there is no frame to run), Frame runs one. Before the loop hands on a
  // message, which may run the nested loop of a menu or a dialog, FramesToTimer gives them back
  // to Timer2. Nothing a frame does runs a loop of its own.
  DWORD FrameWait();
  void Frame();
  void FramesToTimer();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override;
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  void placeWindow(SettingsSource& source);
  void moveWindow();
  void keepOnAMonitor();
  void armWakeTimer();
  // The clock was set, the time zone changed or the machine woke: tick now, not at the next
  // timer, and aim the wake timer anew.
  void timeMoved();
  void buildFace();
  void wireMouse();
  void Timer1_Timer();
  void handleTick(const SYSTEMTIME& now);
  void armTick(const SYSTEMTIME& now);
  void armFrame(const SYSTEMTIME& now);
  void onShown(bool shown);
  void armMemoryCheck(ULONGLONG now);
  void Timer2_Timer();
  void runFrame(const SYSTEMTIME& now);
  void Timer3_Timer();
  void Timer4_Timer() {
    alarm_.Timer4_Timer();
    syncSoundTimers();
  }
  void Timer5_Timer() {
    alarm_.Timer5_Timer();
    syncSoundTimers();
  }
  // Timer4 and Timer5 only forward ticks, while the sound module has something to repeat or
  // watch; after a reload they come back on for a sound that still runs.
  void syncSoundTimers() {
    Timer4.SetEnabled(alarm_.WantsRepeatTicks());
    Timer5.SetEnabled(alarm_.WantsWatchTicks());
    Timer6.SetEnabled(alarm_.WantsFadeTicks());
  }
  void Timer6_Timer() {
    alarm_.FadeTick();
    syncSoundTimers();
  }
  // The ring began, stopped or was snoozed: the reader, the ringing window, the tray's tip and
  // the wake timer hear of it at once.
  void ringChanged();
  // The tray icon's tip and the clock's value name the next ring; told when it changes.
  void tellNextRing(std::int64_t now);
  void drawCurrentState();
  // A reader hears at once when an alarm begins or stops ringing, not at the next minute.
  void tellReaderOfRing();
  // The keyboard: Esc and Space, the menu keys, the arrows; false for any other key.
  HWND owner();
  bool onKeyDown(WPARAM key);
  void onContextMenu(LPARAM lp);
  void nudge(int dx, int dy);

  // What a screen reader reads: "Tessarine", a clock, the time shown and the alarms set.
  int AccessibleCount() override;
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  // While an alarm rings that no device can sound: the sign over the hands, and the tray icon
  // alternating once a second.
  void drawDial(const TickResult& t);
  void showRinging(int second);

  AppState& app_;
  Commands& commands_;
  SystemMemory memory_;

  std::unique_ptr<PictureBox> Pic_Tokei;
  std::unique_ptr<PictureBox> Pic_Furiko;
  std::unique_ptr<ImageCanvas> Pic_ball;  // the bob sprite, never shown itself
  // Hidden, the tick wakes alone just past each second boundary; shown, the pendulum's frames
  // carry it, run by the message loop's wait or, while a nested loop runs, by Timer2.
  Timer Timer1{1, 1000, [this] { Timer1_Timer(); }};
  Timer Timer2{2, kPendulumStepMs, [this] { Timer2_Timer(); }};
  Timer Timer3{3, 1000, [this] { Timer3_Timer(); }};  // sleeps until the next memory check is due
  Timer Timer4{4, 1000, [this] { Timer4_Timer(); }};
  Timer Timer5{5, 200, [this] { Timer5_Timer(); }};
  Timer Timer6{6, F_Sound::kFadeTickMs, [this] { Timer6_Timer(); }};  // only while fading in

  std::int32_t PosX = 0, PosY = 0;  // twips
  int dpi_ = 96;                     // of the monitor the window is on
  WindowDrag drag_;
  ClockSchedule schedule_;  // outlives reloads: the memory check's count goes on across them
  ClockTick tick_;
  TickResult lastTick_;  // the last handled second, drawn when a hidden clock is shown
  Pendulum pendulum_;
  DiskFileProbe files_;  // the sound files the alarms look for
  AlarmClock alarm_;
  KernelHandle wakeTimer_;
  HWND owner_ = nullptr;  // hidden; outlives reloads
  AccessibleServer access_{*this};
  LONGLONG armedDue_ = 0;  // UTC file time the wake timer is set for; 0 when it is not set
  bool trayRinging_ = false;  // the tray was last told that an alarm rings
  bool tickEverySecond_ = false;  // the hidden tick was last armed for the next second
  int toldRinging_ = -1;  // the ringing alarm a reader last heard of in the clock's value
  bool loading_ = false;  // Form_Load has not shown the window yet
  std::wstring nextRing_;  // the next ring as last told (NextRingText)
  bool nextRingTold_ = false;
};
