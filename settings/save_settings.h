// Writing the settings dialog's edits to the settings file. The dialog gathers what its
// controls and edit values hold into DialogValues; SaveSettings turns them into the 27 keys, in
// the file's established order and value forms, through a writer port (the INI file in the
// program, a recorder in the tests).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/settings.h"

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
};

class SettingsWriter {
 public:
  virtual ~SettingsWriter() = default;
  // One key of the settings section; true when it reached the file.
  virtual bool Write(const std::wstring& key, const std::wstring& value) = 0;
};

// The CD track a typed text stands for: a number rounds half to even, anything else (empty
// included) is 0, and a number beyond 16 bits leaves `previous` as it was.
std::int16_t ParseTrack(const std::wstring& text, std::int16_t previous);

// Writes every edited value. Of the model it reads Alarm_Path, and the hour or minute it holds
// when a combo box's text is empty; it stores the parsed CD tracks in Sound_Repeat and each
// write's result in LastApiResult.
void SaveSettings(const DialogValues& v, Settings& model, SettingsWriter& writer);
