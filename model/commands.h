// What a window may ask of the program. One object (the application) owns every window and
// carries these commands, so that a window never includes another window's header: the menu
// sends the clock to the tray, the tray stops the clock's sound, the memory check and the
// dialog open the cleaner. Settings go through the store (model/settings_store.h), not here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/command_line.h"

#include "model/settings.h"

struct ScreenPoint {
  int x, y;
};

// Where the popup menu was opened from; it decides which entries the menu shows and whether OK
// in the settings dialog opened from it reloads the clock.
enum class MenuPlace : std::int16_t { None = 0, Clock = 1, Tray = 2 };

// What an alarm window's 試聴 plays: the alarm's sound as the dialog holds it now, at the volume
// and fade-in the window shows.
struct SoundTest {
  int alarm = 0;
  std::int16_t kind = 2;  // 1 a music CD (the chime stands in for it), 2 a sound file
  std::wstring file;
  int volume = 100;      // percent
  int fadeInSeconds = 0;
};

// An alarm that rings, as the ringing window shows it.
struct RingNotice {
  int alarm = 0;             // 0..7
  int hour = 0, minute = 0;  // its time as set (a snoozed ring keeps it)
  std::wstring label;        // may be empty
  int snoozeMinutes = 0;     // what ｽﾇｰｽﾞ gives
  // The alarms due in the same minute, which count as rung without a sound of their own.
  struct Other {
    int alarm = 0, hour = 0, minute = 0;
    std::wstring label;
  };
  std::vector<Other> others;
};

class Commands {
 public:
  virtual ~Commands() = default;

  // The clock window.
  // Esc, Space, a press on the dial, mouse activity over the tray icon.
  virtual void StopClockSound() = 0;
  // The ringing window's and the menu's ｽﾇｰｽﾞ: the sound stops and the alarm rings again later.
  virtual void SnoozeClockAlarm() = 0;
  // An alarm rings now (its notice) or none does: the popup menu begins with ｽﾇｰｽﾞ and 停止.
  virtual std::optional<RingNotice> ClockRinging() const = 0;
  // The menu's ｽﾇｰｽﾞ解除: every pending snooze is dropped. Offered while one waits.
  virtual void CancelClockSnooze() = 0;
  // An alarm began ringing (its notice) or stopped (none): the ringing window opens or closes.
  virtual void ShowRingWindow(const std::optional<RingNotice>& ring) = 0;
  // An alarm window's 試聴 through the sound module: false, refused, while an alarm rings.
  virtual bool StartSoundTest(const SoundTest& test) = 0;
  virtual void StopSoundTest() = 0;
  // The test still plays: an alarm has not taken the player, nor the test been stopped.
  virtual bool SoundTesting() const = 0;
  // While the clock is in the tray: its icon (false) or the ringing one (true).
  virtual void ShowTrayRinging(bool lit) = 0;
  // The other zones' lines changed (each minute at most): the tray icon's tip carries them.
  virtual void ShowOtherZones(const std::vector<std::wstring>& /*lines*/) {}
  // The clock's periodic memory check (its Timer3).
  virtual void SetMemoryCheck(bool on) = 0;
  // Keeps the clock above other windows (true) or not, without saving anything.
  virtual void SetClockTopMost(std::int16_t topMost) = 0;
  // Writes the clock's "Pos_X", "Pos_Y" and "TopMost".
  virtual void SaveClockPlacement() = 0;

  // Loads the menu for `source` and pops it up at `at` (screen pixels) or at the cursor;
  // returns when the menu has closed and its command has run.
  virtual void OpenMenu(MenuPlace source, std::optional<ScreenPoint> at = std::nullopt) = 0;
  // Hides the clock and puts the icon into the notification area.
  virtual void SendToTray() = 0;
  // Removes the icon and shows the clock again.
  virtual void BackFromTray() = 0;
  // The program was started again: the clock comes back from the tray if it is there, and to
  // the front.
  virtual void BringClockBack() = 0;
  // Shows the settings dialog (not modal), opened from the menu of `from`.
  virtual void OpenSettings(MenuPlace from) = 0;
  // Shows the other zones' window (not modal), or brings it to the front.
  virtual void OpenZones() {}
  // The settings dialog is open: the dial and the tray icon open no menu meanwhile.
  virtual bool SettingsDialogOpen() const = 0;
  // Shows the hours' strike's own window.
  virtual void OpenStrikeWindow() = 0;
  // Its 試聴: the strike of 3:00 in `strike`'s mode (the count when off) at its volume.
  // Refused (false) while an alarm rings or is tested.
  virtual bool StartStrikeTest(const StrikeOptions& strike) = 0;
  virtual void StopStrikeTest() = 0;
  virtual bool Striking() const = 0;
  // Loads the memory cleaner, which cleans once and closes itself.
  virtual void OpenCleaner() = 0;
  // Ends the program at once: no other window's closing handler runs.
  virtual void Quit() = 0;
  // A verb from the command line of a second start: acts on it and returns its ExitCode.
  virtual int RunVerb(Verb verb) = 0;
};
