// Writing the settings dialog's edits to the settings file. The dialog gathers what its
// controls and edit values hold into DialogValues; SaveSettings turns them into the 27 keys, in
// the file's established order and value forms, and hands them all at once to a writer port
// (the INI file in the program, a recorder in the tests), so that the file takes either all of
// them or none.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/ini_codec.h"
#include "model/settings.h"

struct DialogValues {
  std::array<Colour, 6> EditColor{};
  std::array<Colour, 4> GraphColor{};  // Cmd_C(0..3).BackColor
  Colour FilterColor = 0;              // Cmd_Filter.BackColor
  std::int16_t EditShape = 0;
  std::array<std::int16_t, 2> EditAlarmOn{};
  std::array<std::int16_t, 2> EditSoundKind{};
  std::array<std::wstring, 2> HourText;    // Combo_hh(i).Text, "00".."23" or empty
  std::array<std::wstring, 2> MinuteText;  // Combo_mm(i).Text
  std::array<std::wstring, 2> TrackText;   // CD_Repeat(i).Text, typed freely
  std::array<std::wstring, 2> SoundPath;   // lbl_Sound_Path(i).Caption
  std::int16_t Ival = 0;                   // HS_Ival.Value
  std::int16_t Kagen = 0;                  // HS_Kagen.Value
  // Each alarm's own settings window, and the snooze the two share.
  std::array<AlarmOptions, 2> Options{};
  std::int16_t SnoozeMin = kDefaultSnooze;
};

class SettingsWriter {
 public:
  virtual ~SettingsWriter() = default;
  // Keys of the settings section, set in order in one replace of the file; true when they
  // reached it, false when the file was left as it was.
  virtual bool Write(const IniEntries& entries) = 0;
};

// The CD track a typed text stands for: a number rounds half to even, anything else (empty
// included) is 0, and a number beyond 16 bits leaves `previous` as it was.
std::int16_t ParseTrack(const std::wstring& text, std::int16_t previous);

// Writes every edited value. Of the model it reads Alarm_Path, and the hour or minute it holds
// when a combo box's text is empty; it stores the parsed CD tracks in Sound_Repeat and the
// write's result in LastApiResult.
void SaveSettings(const DialogValues& v, Settings& model, SettingsWriter& writer);

// The two rows' values and the snooze into `model`, as a save would read them back: for the
// list of every alarm, which shows the rows as they are being edited.
void ApplyRows(const DialogValues& v, Settings& model);
