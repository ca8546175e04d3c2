// The clock window: a captionless 81 x 137 window (at 96 DPI; scaled to the density of the
// monitor it is on) cut to a rounded rectangle, with the dial
// on top and the pendulum area below. It paints and freezes the dial from the settings store,
// runs the one-second tick and the pendulum, and lets the user drag it about. Its position and
// on-top state go to the store when it is unloaded. Its tick hands the time to the alarm
// service (clock/alarm_service.h), which decides; the clock shows what the service tells it and
// asks it to stop a ring.
#pragma once

#include <cstdint>
#include <memory>

#include "model/settings_store.h"
#include "model/commands.h"
#include "clock/alarm_service.h"
#include "clock/clock_schedule.h"
#include "clock/pendulum.h"
#include "clock/tick.h"
#include "clock/zones_win.h"
#include "memory/system_memory_win.h"
#include "model/palette.h"
#include "ui/accessible.h"
#include "ui/form.h"
#include "ui/handle.h"
#include "ui/picture_box.h"
#include "ui/timer.h"
#include "ui/window_drag.h"

class F_Tokei : public Form, private AccessibleSource, private AlarmListener {
 public:
  F_Tokei(SettingsStore& store, AlarmService& alarms, Commands& commands);
  ~F_Tokei() override;

  // Creates the window and everything on it, then shows it unless it starts in the tray.
  void Form_Load(bool shown = true);
  // The periodic memory check; never on while the interval is 0 or the machine too small.
  void SetMemoryCheck(bool on);
  // Writes "Pos_X", "Pos_Y" and "TopMost" (at every unload, and when the menu quits).
  void SavePlacement();
  // The clock was set, the time zone changed or the machine woke (the alarms' wake-up went
  // off): tick now, not at the next timer.
  void TimeMoved();
  // Other zones were chosen: the tray, a reader and the dial's tip have them at once.
  void ZonesChanged() { refreshZones(); }
  // The pendulum's frames while the clock is shown. Waiting in the message loop, they cost one
  // wait each and no timer message: FrameWait hands them to the loop and says how long it may
  // wait (INFINITE while there is no frame to run), Frame runs one. Before the loop hands on a
  // message, which may run the nested loop of a menu or a dialog, FramesToTimer gives them back
  // to Timer2. Nothing a frame does runs a loop of its own.
  DWORD FrameWait();
  void Frame();
  void FramesToTimer();
  // See-through and click-through as the store holds them.
  void ApplyLook();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override;
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  void placeWindow();
  void moveWindow();
  void keepOnAMonitor();
  void buildFace();
  void wireMouse();
  void Timer1_Timer();
  void handleTick(const SYSTEMTIME& now);
  void armTick(const SYSTEMTIME& now);
  void armFrame(const SYSTEMTIME& now);
  void onShown(bool shown);
  void framesChanged(int missed, const SYSTEMTIME& now);
  // Whether anyone can see the clock: the session's lock and the display's power.
  void watchWhetherSeen();
  void unwatchWhetherSeen();
  void onSessionChange(WPARAM event);
  void onDisplayState(LPARAM setting);
  void setUnseen();
  void armMemoryCheck(ULONGLONG now);
  void Timer2_Timer();
  void runFrame(const SYSTEMTIME& now);
  void Timer3_Timer();
  // Esc, Space, a press on the dial.
  void stopSound();
  // The ring began, stopped or was snoozed: the reader, the ringing window and the tray icon
  // hear of it at once.
  void RingChanged() override;
  // The clock's value names the next ring: a reader hears of it.
  void NextRingChanged(const std::wstring& text) override;
  void drawCurrentState();
  // The other zones for this minute; the tray and a reader hear when their lines changed.
  bool refreshZones();
  // The zones' lines as a tool tip over the dial, made at the first hover while there are
  // any, so that the common controls are loaded only for someone who looks.
  void showZoneTip();
  void dropZoneTip();
  // The face's colours now: the user's, or the system's in high contrast.
  FacePalette facePalette() const;
  // The system's colours or its high contrast changed: the face drawn anew at once.
  void coloursChanged();
  BlitMode ballMode() const { return palette_.flat ? BlitMode::Copy : BlitMode::Or; }
  // A reader hears at once when an alarm begins or stops ringing, not at the next minute.
  void tellReaderOfRing();
  // The keyboard: Esc and Space, the menu keys, the arrows; false for any other key.
  HWND owner();
  bool onKeyDown(WPARAM key);
  void onContextMenu(LPARAM lp);
  void nudge(int dx, int dy);
  // What other programs and the system send about the clock's place among them: a second
  // start's call and verbs, a session locked or unlocked. True when `msg` was one of them.
  bool outsideMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& answer);
  // A verb of a second start (WM_COPYDATA): its ExitCode.
  LRESULT AnswerVerb(const COPYDATASTRUCT* data);
  void acceptOutsideMessages();

  // What a screen reader reads: "Tessarine", a clock, the time shown and the alarms set.
  int AccessibleCount() override;
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  // While an alarm rings that no device can sound: the sign over the hands, and the tray icon
  // alternating once a second.
  void drawDial(const TickResult& t);
  void showRinging(int second);

  SettingsStore& store_;
  AlarmService& alarms_;
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

  // The settings file keeps the place in twips of 96 DPI at every scaling: the same pixel place
  // holds when the scaling changes, and a file written at 100 % means there what it always did.
  static constexpr int kPlaceDpi = 96;
  std::int32_t PosX = 0, PosY = 0;  // twips
  int dpi_ = 96;                     // of the monitor the window is on
  WindowDrag drag_;
  ClockSchedule schedule_;  // outlives reloads: the memory check's count goes on across them
  ClockTick tick_;
  TickResult lastTick_;  // the last handled second, drawn when a hidden clock is shown
  Pendulum pendulum_;
  OtherZones zones_;
  FacePalette palette_;
  HWND zoneTip_ = nullptr;  // owned by the window, remade with the dial
  HWND owner_ = nullptr;  // hidden; outlives reloads
  AccessibleServer access_{*this};
  bool trayRinging_ = false;  // the tray was last told that an alarm rings
  bool tickEverySecond_ = false;  // the hidden tick was last armed for the next second
  int toldRinging_ = -1;  // the ringing alarm a reader last heard of in the clock's value
  bool loading_ = false;  // Form_Load has not shown the window yet
  bool locked_ = false, displayOff_ = false;
  bool sessionWatched_ = false;
  void* displayWatch_ = nullptr;  // HPOWERNOTIFY
};
