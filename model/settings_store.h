// The one owner of the settings: the model in memory and the settings file. It reads the file
// once, at the start; every change after that (the dialog's OK, the clock's place, on-top, a
// once-alarm that switched itself off, the cleaner's filter colour in use) goes through it:
// memory first, then the file in one all-or-nothing write. A write that fails keeps the change
// in memory, carries it into the next write, and is told once (until a write succeeds again).
// Windows read the model from here and hear of changes as listeners; none of them reads or
// writes the file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/ini_codec.h"
#include "model/settings.h"

// The settings file as the store needs it. The Win32 glue binds it to the disk; tests to memory.
class SettingsFile {
 public:
  virtual ~SettingsFile() = default;
  // The whole file as it is now ("" when it is missing or unreadable).
  virtual std::string Bytes() = 0;
  virtual const AnsiCodePage& CodePage() = 0;
  // Whether a sound file opens for reading (the settings' load marks a missing one).
  virtual bool CanOpen(const std::wstring& path) = 0;
  // Sets the keys of the settings section in one replace of the file; false when the file was
  // left as it was.
  virtual bool Write(const IniEntries& entries) = 0;
  virtual const std::wstring& Path() const = 0;
};

// The clock's top-left corner in twips; none: centred on the primary monitor.
struct Placement {
  std::optional<std::int32_t> x, y;
  // "InTray": the clock was in the notification area when its place was last saved, so a
  // Startup shortcut shows only the icon next time.
  bool inTray = false;
};

// What a change touched, as listeners hear it.
enum SettingsChange : unsigned {
  kChangedAll = 1,          // the dialog's OK: any value may be new
  kChangedPlacement = 2,    // Pos_X, Pos_Y
  kChangedTopMost = 4,
  kChangedAlarmSwitch = 8,  // a once-alarm switched itself off
  kChangedFilter = 16,      // in memory only
  kChangedLook = 32,        // ClickThrough, Opacity
  kChangedZones = 64,       // Zone_n, Zone_n_Label
  kChangedStrike = 128,      // the menu's 時報 or the strike's window
};

class SettingsStore {
 public:
  using Listener = std::function<void(unsigned what, int alarm)>;
  using FailureTeller = std::function<void(const std::wstring& path)>;

  SettingsStore(SettingsFile& file, std::wstring programDir);

  // Reads the file, once at the start.
  void Load();
  const Settings& Get() const { return s_; }
  const Placement& Where() const { return placement_; }
  const std::wstring& Path() const { return file_.Path(); }
  // The file is the one beside the program, not the user's own.
  bool BesideProgram() const;
  // A copy for the dialog to edit, its sound files looked for afresh.
  Settings Edit();

  // Told after each change is in memory (and written or not). Listeners live as long as the
  // store, and are told in the order they were added.
  void Listen(Listener listener) { listeners_.push_back(std::move(listener)); }
  // How a failed write is told: once, until a write succeeds again. `alreadyTold` when the
  // start has said that no settings file can be written.
  void TellFailuresBy(FailureTeller teller, bool alreadyTold);

  // The dialog's OK: the model it edited (a copy of Get()) and the keys it writes. Memory
  // becomes what the file would read back after those keys.
  void Replace(const Settings& edited, const IniEntries& keys);
  // The clock was moved or is quitting: "Pos_X", "Pos_Y" and "TopMost", in one write, with
  // "InTray" once it differs from what the file holds.
  void SetPlacement(std::int32_t x, std::int32_t y);
  // The clock went to the notification area or came back: in memory until the next placement.
  void NoteInTray(bool inTray) { placement_.inTray = inTray; }
  void SetTopMost(std::int16_t topMost);
  // The menu's click-through entry and opacity step.
  void SetClickThrough(std::int16_t on);
  void SetOpacity(std::int16_t percent);
  // The strike's keys, written as the alarm options are: once they differ from their defaults.
  void SetStrike(const StrikeOptions& strike);
  void SwitchAlarmOff(int alarm);
  // The other zones' window's OK: only the keys it changed ("Zone_1", "Zone_1_Label", ...).
  void SetZones(const IniEntries& keys);
  // The cleaner's filter in use at once, before the dialog's OK (or even if it is cancelled).
  void SetFilterColour(Colour colour);

 private:
  bool write(const IniEntries& keys);
  void tell(unsigned what, int alarm = -1);
  // The model read anew from the image of the file, keeping what the load keeps on bad text.
  void reload();

  SettingsFile& file_;
  std::wstring programDir_;
  Settings s_;
  Placement placement_;
  bool inTrayInFile_ = false;
  // The file's text as this program last read or wrote it: the model is read from it.
  std::unique_ptr<IniText> image_;
  // Keys a failed write could not carry; the next write carries them along.
  IniEntries pending_;
  bool failing_ = false;  // the last write failed and that was told
  bool failureToTell_ = false;
  FailureTeller teller_;
  std::vector<Listener> listeners_;
};
