// The one owner of the program's windows. It creates each window object once, loads and
// unloads their windows on the commands the windows send it, and keeps the flags they share.
// Every window knows it only as `Commands`, so the include graph stays a tree with this file
// just below the entry.
#pragma once

#include <memory>

#include "model/app_state.h"
#include "model/commands.h"
#include "clock/alarm_service.h"
#include "clock/notifications_win.h"
#include "model/settings_store.h"

class Mci;
class F_Sound;
class DiskFileProbe;
class AlarmTimersWin;
class F_Setting;
class F_Tokei;
class F_Clean;
class F_Menu;
class F_TTray;
class F_Ring;
class F_Zones;

class Application : public Commands, private AlarmListener {
 public:
  Application(std::wstring programDir);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Loads the clock window; in the tray when it was quit there and `mayStartInTray`.
  void Start(bool mayStartInTray = true);
  // Runs the message loop until Quit or the clock closes; returns the exit code. While an
  // alarm is on, the loop also waits on the alarms' wake timer.
  int Run();

  void StopClockSound() override;
  void SnoozeClockAlarm() override;
  std::optional<RingNotice> ClockRinging() const override;
  void CancelClockSnooze() override;
  void ShowRingWindow(const std::optional<RingNotice>& ring) override;
  void ShowTrayRinging(bool lit) override;
  void ShowOtherZones(const std::vector<std::wstring>& lines) override;
  bool StartSoundTest(const SoundTest& test) override;
  void StopSoundTest() override;
  bool SoundTesting() const override;
  void SetMemoryCheck(bool on) override;
  void SetClockTopMost(std::int16_t topMost) override;
  void SaveClockPlacement() override;
  void OpenMenu(MenuPlace source, std::optional<ScreenPoint> at) override;
  void SendToTray() override;
  void BackFromTray() override;
  void BringClockBack() override;
  void OpenSettings(MenuPlace from) override;
  void OpenZones() override;
  bool SettingsDialogOpen() const override;
  void OpenStrikeWindow() override;
  bool StartStrikeTest(const StrikeOptions& strike) override;
  void StopStrikeTest() override;
  bool Striking() const override;
  void OpenCleaner() override;
  void Quit() override;
  int RunVerb(Verb verb) override;

 private:
  void dispatch(const struct tagMSG& msg);
  // The store changed: the language, the clock laid out anew, the dialog's alarm rows.
  void settingsChanged(unsigned what, int alarm);
  // Unloads the clock (which saves its place) and loads it again with the store's settings.
  void reloadClock();
  void showTrayBeside();
  // The next ring changed: the tray icon's tip names it.
  void NextRingChanged(const std::wstring& text) override;

  AppState state_;
  bool iniUnwritable_ = false;
  std::unique_ptr<SettingsFile> iniFile_;
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<Mci> winmm_;
  std::unique_ptr<F_Sound> sound_;
  std::unique_ptr<DiskFileProbe> files_;  // the sound files the alarms look for
  std::unique_ptr<AlarmTimersWin> alarmTimers_;
  ShellNotifications notifications_;  // asked before the hours' strike
  std::unique_ptr<AlarmService> alarms_;
  std::unique_ptr<F_Tokei> clock_;
  std::unique_ptr<F_Menu> menu_;
  std::unique_ptr<F_TTray> tray_;
  std::unique_ptr<F_Setting> settings_;  // made at its first opening
  std::unique_ptr<F_Clean> cleaner_;
  std::unique_ptr<F_Ring> ring_;  // made at the first ring
  bool inTray_ = false;  // the clock is hidden in the notification area
  std::unique_ptr<F_Zones> zones_;  // made at its first opening
};
