// The one owner of the program's windows. It creates each window object once, loads and
// unloads their windows on the commands the windows send it, and keeps the flags they share.
// Every window knows it only as `Commands`, so the include graph stays a tree with this file
// just below the entry.
#pragma once

#include <memory>

#include "model/app_state.h"
#include "model/commands.h"

class Mci;
class F_Sound;
class F_Setting;
class F_Tokei;
class F_Clean;
class F_Menu;
class F_TTray;
class F_Ring;

class Application : public Commands {
 public:
  Application(std::wstring programDir);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Loads the clock window.
  void Start();
  // Runs the message loop until Quit or the clock closes; returns the exit code. While an
  // alarm is on, the loop also waits on the clock's wake timer.
  int Run();

  void ReloadClock() override;
  void StopClockSound() override;
  void SnoozeClockAlarm() override;
  std::optional<RingNotice> ClockRinging() const override;
  void ShowRingWindow(const std::optional<RingNotice>& ring) override;
  void AlarmSwitchedOff(int alarm) override;
  void ShowNextAlarm(const std::wstring& text) override;
  void ShowTrayRinging(bool lit) override;
  void SetMemoryCheck(bool on) override;
  void SetClockTopMost(std::int16_t topMost) override;
  void SaveClockPlacement() override;
  void OpenMenu(MenuPlace source, std::optional<ScreenPoint> at) override;
  void SendToTray() override;
  void BackFromTray() override;
  void BringClockBack() override;
  void OpenSettings(MenuPlace from) override;
  bool SettingsDialogOpen() const override;
  void OpenCleaner() override;
  void Quit() override;

 private:
  void dispatch(const struct tagMSG& msg);

  AppState state_;
  bool iniUnwritable_ = false;
  std::unique_ptr<Mci> winmm_;
  std::unique_ptr<F_Sound> sound_;
  std::unique_ptr<F_Tokei> clock_;
  std::unique_ptr<F_Menu> menu_;
  std::unique_ptr<F_TTray> tray_;
  std::unique_ptr<F_Setting> settings_;  // made at its first opening
  std::unique_ptr<F_Clean> cleaner_;
  std::unique_ptr<F_Ring> ring_;  // made at the first ring
};
