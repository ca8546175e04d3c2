#include "settings/save_settings.h"

#include "model/convert.h"

std::int16_t ParseTrack(const std::wstring& text, std::int16_t previous) {
  // Whether the text is a number is a matter of its form, whatever its size: with every digit
  // a zero it converts, so that a number too large for any type is out of range, not text.
  std::wstring form = text;
  for (wchar_t& c : form) {
    if (c > L'0' && c <= L'9') c = L'0';
  }
  if (!ToInt64(form)) return 0;
  const auto track = ToInt16(text);
  return track ? *track : previous;
}

namespace {

// A combo box's number, or the model's value when the text spells none (no selection).
std::int16_t comboNumber(const std::wstring& text, std::int16_t held) {
  const auto v = ToInt16(text);
  return v ? *v : held;
}

}  // namespace

void ApplyRows(const DialogValues& v, Settings& model) {
  for (int i = 0; i < kRowAlarms; ++i) {
    model.Sound_C[i] = v.EditAlarmOn[i];
    model.Sound_H[i] = comboNumber(v.HourText[i], model.Sound_H[i]);
    model.Sound_M[i] = comboNumber(v.MinuteText[i], model.Sound_M[i]);
    model.Sound_Kbn[i] = v.EditSoundKind[i];
    model.Sound_Repeat[i] = ParseTrack(v.TrackText[i], model.Sound_Repeat[i]);
    model.Sound_F[i] = v.SoundPath[i];
    model.Options[i] = v.Options[i];
  }
  model.Snooze_Min = v.SnoozeMin;
}

void SaveSettings(const DialogValues& v, Settings& model, SettingsWriter& writer) {
  IniEntries keys;
  auto write = [&keys](const std::wstring& key, const std::wstring& value) {
    keys.emplace_back(key, value);
  };
  for (int i = 0; i <= 5; ++i) write(IniKey(L"Color_", i), NumberText(v.EditColor[i]));
  for (int i = 0; i <= 3; ++i) write(IniKey(L"Graph_Color_", i), NumberText(v.GraphColor[i]));
  write(L"Filter_Color", NumberText(v.FilterColor));
  write(L"Shape", NumberText(v.EditShape));
  for (int i = 0; i <= 1; ++i) {
    write(IniKey(L"Sound_C_", i), NumberText(v.EditAlarmOn[i]));
    write(IniKey(L"Sound_H_", i), NumberText(comboNumber(v.HourText[i], model.Sound_H[i])));
    write(IniKey(L"Sound_M_", i), NumberText(comboNumber(v.MinuteText[i], model.Sound_M[i])));
    write(IniKey(L"Sound_Kbn_", i), NumberText(v.EditSoundKind[i]));
    model.Sound_Repeat[i] = ParseTrack(v.TrackText[i], model.Sound_Repeat[i]);
    write(IniKey(L"Sound_Repeat_", i), NumberText(model.Sound_Repeat[i]));
    write(IniKey(L"Sound_F_", i), v.SoundPath[i]);
  }
  // The list's alarms, edited in the model itself; a file without them gets no key of theirs.
  for (const auto& [key, value] : ListAlarmEntries(model)) write(key, value);
  write(L"Mem_Ival", NumberText(v.Ival));
  write(L"Mem_Kagen", NumberText(v.Kagen));
  write(L"Alarm_Path", model.Alarm_Path);
  // Kept in the model too, so the keys' presence is known at the next save without a reload.
  for (int i = 0; i < kRowAlarms; ++i) model.Options[i] = v.Options[i];
  model.Snooze_Min = v.SnoozeMin;
  for (const auto& [key, value] : OptionEntries(model)) {
    write(key, value);
    model.OptionKeysInFile.insert(key);
  }
  model.LastApiResult = writer.Write(keys) ? 1 : 0;
}
