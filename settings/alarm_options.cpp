#include "settings/alarm_options.h"

namespace alarm_options {
namespace {

using dialog_layout::kFilledIn;

std::vector<Control> Build() {
  std::vector<Control> t;
  auto add = [&t](Id id, Kind kind, dialog_layout::Box box, Text text, int index = 0,
                  Align align = Align::Left) {
    t.push_back(Control{id, index, kind, box, text, align});
  };
  // The time band: hour and minute, then the sound's kind with its track or file.
  auto band = [&](Id id, Kind kind, dialog_layout::Box box, Text text) {
    add(id, kind, box, text);
    t.back().timeSound = true;
  };
  band(Id::TimeCaption, Kind::Text, {12, 13, 66, 13}, Text::ColumnTime);
  band(Id::Hour, Kind::Edit, {80, 9, 32, 21}, kFilledIn);
  band(Id::HourUnit, Kind::Text, {116, 13, 20, 13}, Text::HourUnit);
  band(Id::Minute, Kind::Edit, {140, 9, 32, 21}, kFilledIn);
  band(Id::MinuteUnit, Kind::Text, {176, 13, 20, 13}, Text::MinuteUnit);
  band(Id::SoundCaption, Kind::Text, {12, 41, 66, 13}, Text::ColumnSound);
  band(Id::SoundKind, Kind::Combo, {80, 37, 96, 21}, kFilledIn);
  // One of these two shows: the track for a CD, the file for a sound file.
  band(Id::Track, Kind::Edit, {180, 37, 48, 21}, kFilledIn);
  band(Id::File, Kind::Edit, {180, 37, 152, 21}, kFilledIn);
  band(Id::Browse, Kind::Button, {336, 37, 28, 21}, Text::ChooseFile);
  add(Id::DaysCaption, Kind::Text, {12, 12, 66, 13}, Text::Days);
  for (int d = 0; d < 7; ++d) add(Id::Day, Kind::Check, {12 + 50 * d, 30, 48, 17}, DayName(d), d);
  // Why a press on the last checked day does nothing, above the days it is about.
  add(Id::DaysNote, Kind::Text, {80, 12, 284, 13}, Text::DaysNote);
  add(Id::Once, Kind::Check, {12, 54, 352, 17}, Text::Once);
  add(Id::LabelCaption, Kind::Text, {12, 85, 66, 13}, Text::Label);
  add(Id::Label, Kind::Edit, {80, 81, 284, 21}, kFilledIn);
  // Three sliders, each with its caption to the left and its value to the right.
  add(Id::VolumeCaption, Kind::Text, {12, 117, 66, 13}, Text::Volume);
  add(Id::Volume, Kind::Slider, {80, 112, 170, 24}, kFilledIn);
  add(Id::VolumeValue, Kind::Text, {252, 117, 52, 13}, kFilledIn, 0, Align::Right);
  add(Id::VolumeTest, Kind::Button, {312, 112, 52, 23}, Text::VolumeTest);
  add(Id::CdNote, Kind::Text, {80, 138, 284, 13}, Text::CdVolume);
  add(Id::FadeCaption, Kind::Text, {12, 163, 66, 13}, Text::FadeIn);
  add(Id::FadeIn, Kind::Slider, {80, 158, 170, 24}, kFilledIn);
  add(Id::FadeValue, Kind::Text, {252, 163, 52, 13}, kFilledIn, 0, Align::Right);
  add(Id::SnoozeCaption, Kind::Text, {12, 195, 66, 13}, Text::Snooze);
  add(Id::Snooze, Kind::Slider, {80, 190, 170, 24}, kFilledIn);
  add(Id::SnoozeValue, Kind::Text, {252, 195, 52, 13}, kFilledIn, 0, Align::Right);
  add(Id::SnoozeShared, Kind::Text, {80, 216, 284, 13}, Text::SnoozeShared);
  add(Id::Ok, Kind::DefaultButton, {204, 240, 76, 23}, Text::OptionsOk);
  add(Id::Cancel, Kind::Button, {288, 240, 76, 23}, Text::Cancel);
  return t;
}

}  // namespace

const std::vector<Control>& Controls() {
  static const std::vector<Control> table = Build();
  return table;
}

ui::Box Place(const Control& c, bool withTime) {
  ui::Box b = c.box;
  if (withTime && !c.timeSound) b.y += kTimeBand;
  return b;
}

ui::Box Client(bool withTime) {
  ui::Box b = kClient;
  if (withTime) b.h += kTimeBand;
  return b;
}

ReaderRole RoleOf(Kind k) {
  switch (k) {
    case Kind::Combo: return ReaderRole::ComboBox;
    case Kind::Check: return ReaderRole::CheckBox;
    case Kind::Edit: return ReaderRole::EditText;
    case Kind::Slider: return ReaderRole::Slider;
    case Kind::Button: case Kind::DefaultButton: return ReaderRole::PushButton;
    case Kind::Text: break;
  }
  return ReaderRole::StaticText;
}

std::wstring NameOf(const Control& c) {
  switch (c.id) {
    case Id::Label: return Tr(Text::Label);
    case Id::Hour: return Tr(Text::ColumnTime) + L" " + Tr(Text::HourUnit);
    case Id::Minute: return Tr(Text::ColumnTime) + L" " + Tr(Text::MinuteUnit);
    case Id::SoundKind: return Tr(Text::ColumnSound);
    case Id::Track: return Tr(Text::Track);
    case Id::File: return Tr(Text::SoundFile);
    case Id::Browse: return Tr(Text::SoundFile) + L" " + Tr(Text::ChooseFile);
    case Id::Volume: case Id::VolumeValue: return Tr(Text::Volume);
    case Id::FadeIn: case Id::FadeValue: return Tr(Text::FadeIn);
    case Id::Snooze: case Id::SnoozeValue: return Tr(Text::Snooze);
    default: return Tr(c.text);
  }
}

Range RangeOf(Id slider) {
  switch (slider) {
    case Id::Volume: return {0, 100, 10};
    case Id::FadeIn: return {0, AlarmOptions::kMaxFadeIn, 5};
    default: return {1, kMaxSnooze, 5};
  }
}

std::wstring ValueText(Id slider, int value) {
  const Text text = slider == Id::Volume   ? Text::VolumeValue
                    : slider == Id::FadeIn ? Text::FadeValue
                                           : Text::SnoozeValue;
  return Tr(text, std::to_wstring(value));
}

std::int16_t ToggledDay(std::int16_t days, int day) {
  if (day < 0 || day > 6) return days;
  const int all = days & AlarmOptions::kEveryDay;
  const int toggled = all ^ (1 << day);
  return static_cast<std::int16_t>(toggled == 0 ? days : toggled);
}

}  // namespace alarm_options
