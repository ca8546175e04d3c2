// The settings model: every value the program keeps in its INI file, named after the keys.
// One instance lives for the whole run (owned by the application object) and is refilled by
// LoadSettings at every load of the clock window and of the settings dialog.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/colour.h"

inline constexpr std::int16_t kMaxTrack = 99;  // the most tracks a music CD can hold

// What an alarm does beyond its time and sound. The defaults are how every alarm behaved
// before these existed: every day, until stopped, without a label, at full volume at once.
struct AlarmOptions {
  static constexpr std::int16_t kEveryDay = 127;  // bit 0 Sunday .. bit 6 Saturday
  static constexpr std::size_t kMaxLabel = 64;  // what the alarm's window shows and edits
  static constexpr std::int16_t kMaxFadeIn = 60;  // seconds

  std::int16_t Days = kEveryDay;
  std::int16_t Once = 0;  // 16-bit Boolean: -1 true. Stopped, a once-alarm switches itself off
  std::wstring Label;     // shown and read while it rings
  std::int16_t Volume = 100;  // percent of the program's own output
  std::int16_t FadeIn = 0;    // seconds from silence to Volume
  bool operator==(const AlarmOptions& o) const {
    return Days == o.Days && Once == o.Once && Label == o.Label && Volume == o.Volume &&
           FadeIn == o.FadeIn;
  }
  bool operator!=(const AlarmOptions& o) const { return !(*this == o); }
  bool RingsOn(int weekday) const { return (Days >> weekday & 1) != 0; }  // 0 Sunday
};
// The hours' strike: off by default; quiet hours [QuietFrom, QuietTo) wrap past midnight and are
// none when both are equal.
struct StrikeOptions {
  static constexpr std::int16_t kModes = 4;  // 1 one bell .. 4 the quarters and the count
  std::int16_t Mode = 0;
  std::int16_t QuietFrom = 22;
  std::int16_t QuietTo = 7;
  std::int16_t Volume = 40;  // percent, the strike's own
  std::int16_t Tick = 0;     // 16-bit Boolean: -1, a soft tick with each swing while shown
  bool operator==(const StrikeOptions& o) const {
    return Mode == o.Mode && QuietFrom == o.QuietFrom && QuietTo == o.QuietTo &&
           Volume == o.Volume && Tick == o.Tick;
  }
};
inline constexpr std::int16_t kDefaultSnooze = 10;
// Alarms 0 and 1 are the settings dialog's two rows; 2..7 live in a list of their own and are
// in use only while the file holds a key of theirs.
inline constexpr int kAlarmCount = 8;
inline constexpr int kRowAlarms = 2;
inline constexpr std::int16_t kMaxSnooze = 60;

inline constexpr std::int16_t kOpaque = 100, kFaintest = 30;  // "Opacity", in percent

struct Settings {
  std::array<Colour, 7> Color{};  // 0 background .. 5 pendulum; slot 6 never touches the file
  std::array<Colour, 4> Graph_Color{};
  Colour Filter_Color = 0;
  std::int16_t Shape = 0;
  std::array<double, 4> ShapeRatio{};
  std::array<std::int16_t, kAlarmCount> Sound_C{};
  std::array<std::int16_t, kAlarmCount> Sound_H{};
  std::array<std::int16_t, kAlarmCount> Sound_M{};
  std::array<std::int16_t, kAlarmCount> Sound_Kbn{};
  std::array<std::int16_t, kAlarmCount> Sound_Repeat{};
  std::array<std::wstring, kAlarmCount> Sound_F{};
  // Not kept in the file: the alarm's sound file did not open when the settings were read. The
  // alarm stays as the user set it (the drive may come back); the dialog marks the path.
  std::array<bool, kAlarmCount> SoundFileMissing{};
  // Sound_Days_n, Sound_Once_n, Sound_Label_n, Sound_Volume_n, Sound_FadeIn_n.
  std::array<AlarmOptions, kAlarmCount> Options{};
  // Which alarms exist: 0 and 1 always; one of 2..7 only with a key in the file, and none of
  // an unused one's keys is written. AlarmInFile: its keys were in the file at the last read,
  // so that a delete removes them.
  std::array<bool, kAlarmCount> AlarmInUse{true, true};
  std::array<bool, kAlarmCount> AlarmInFile{true, true};
  std::int16_t Snooze_Min = kDefaultSnooze;  // minutes, for every alarm
  // Strike, Strike_Quiet_From, Strike_Quiet_To, Strike_Volume, Tick.
  StrikeOptions Strike;
  // Which of the keys above the file held: the others are written only once they differ from
  // their defaults, so that a file from before them stays as it was.
  std::set<std::wstring> OptionKeysInFile;
  std::int16_t Mem_Ival = 0;
  float Mem_Kagen = 0;
  std::wstring Alarm_Path;
  std::int16_t TopMost = 0;  // 16-bit Boolean: -1 true, 0 false
  // "ja", "en", or empty for the user's display language. Read, never written: the file keeps
  // the key only when the user put it there.
  std::wstring Language;
  // Other zones' keys ("Zone_1", "Zone_1_Label", "Zone_2", "Zone_2_Label") and "HighContrast",
  // as the file holds them (clock/zones.h and ui/palette.h say what they mean). Read, never
  // written but by their own window.
  std::array<std::wstring, 2> Zone{}, ZoneLabel{};
  std::wstring HighContrast;
  std::int32_t LastApiResult = 0;
  // The clock lets the mouse through to what lies beneath it (16-bit Boolean), and how much of
  // it shows, in percent. Set from the menu; written only once set.
  std::int16_t ClickThrough = 0;
  std::int16_t Opacity = kOpaque;
};

// Where LoadSettings reads from: the "Section" section of the program's INI file, and the
// file system for the sound-file check. The Win32 glue binds it to the real file; tests to a map.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  // The value of `key` in section "Section", cut to 255 characters; empty when missing.
  virtual std::wstring Read(const std::wstring& key) = 0;
  // The same, uncut: for the paths and labels, which the file may hold longer.
  virtual std::wstring ReadWhole(const std::wstring& key) { return Read(key); }
  // True when `path` (already stripped of one trailing backslash) opens for reading.
  virtual bool CanOpen(const std::wstring& path) = 0;
};

// The section that holds every setting.
inline const wchar_t kSettingsSection[] = L"Section";

// Fills `s` from `source`, falling back to the defaults for empty values. A colour, Shape,
// Sound_Repeat, Mem_Ival or Mem_Kagen whose text does not convert or lies outside its range
// (colours 0..0xFFFFFF, Shape 0..2, Sound_Repeat 0..99, Mem_Ival 0 and up, Mem_Kagen 0..100)
// keeps its previous value. An alarm's Sound_C, Sound_H, Sound_M and Sound_Kbn are taken as
// written whenever they convert to 16 bits, so an impossible alarm never fires rather than
// falling back to an earlier one. A sound-file alarm without a path stays as written (it rings
// the chime); one whose file does not open now keeps its switch and path and is only marked
// (SoundFileMissing): a drive not there yet at sign-in must not cost the user the alarm. `programDir` is the default
// sound folder.
void LoadSettings(Settings& s, SettingsSource& source, const std::wstring& programDir);

// True when `path`, less one trailing backslash, names something that opens for reading.
bool FileExists(SettingsSource& source, std::wstring path);

// The folder part of `path`, without a trailing backslash: C:\Music\a.wav -> C:\Music,
// C:\a.wav -> C:, a.wav -> "".
std::wstring GetDirectory(const std::wstring& path);

// The dial scale factors of a face shape (0 circle, 1 taller, 2 wider); none for another value.
std::optional<std::array<double, 4>> ShapeRatioOf(int shape);

// The keys of an alarm's options and the shared snooze, with their values as the file holds
// them, in the file's order; SaveSettings writes those that differ from their defaults or that
// the file held already.
std::vector<std::pair<std::wstring, std::wstring>> OptionEntries(const Settings& s);

// The keys that the menu's 時報 and the strike's window write, and no other.
bool IsStrikeKey(const std::wstring& key);

// The keys of alarms 2..7 in use (their time and sound, as alarm 0's are written) and the
// removal (kIniRemove) of every key of one deleted since the file was read.
std::vector<std::pair<std::wstring, std::wstring>> ListAlarmEntries(const Settings& s);

// Alarm n of 2..7 back to unused, with every value at its default.
void ClearAlarm(Settings& s, int n);

// Key stem plus index: ("Color_", 0) -> "Color_0".
std::wstring IniKey(const std::wstring& stem, int n);

// The clock window's stored left or top ("Pos_X" / "Pos_Y") in twips: `centred` when the key is
// empty, the stored value when it converts to 32 bits, otherwise `pos` is left as it was.
void ReadPosition(SettingsSource& source, const std::wstring& key, std::int32_t centred,
                  std::int32_t& pos);

// "TopMost" into s.TopMost: false when empty, unchanged when it does not convert.
void ReadTopMost(Settings& s, SettingsSource& source);
