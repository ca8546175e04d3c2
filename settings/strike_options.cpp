#include "settings/strike_options.h"

namespace strike_options {
namespace {

using dialog_layout::kFilledIn;

std::vector<Control> Build() {
  std::vector<Control> t;
  auto add = [&t](Id id, Kind kind, dialog_layout::Box box, Text text, int index = 0,
                  Align align = Align::Left) {
    t.push_back(Control{id, index, kind, box, text, align});
  };
  const Text modes[] = {Text::StrikeOff, Text::StrikeOne, Text::StrikeCount, Text::StrikeHalf,
                        Text::StrikeQuarters};
  for (int m = 0; m < 5; ++m) add(Id::Mode, Kind::Radio, {12, 12 + 22 * m, 352, 17}, modes[m], m);
  add(Id::QuietCaption, Kind::Text, {12, 132, 352, 13}, Text::StrikeQuiet);
  // Three sliders, each with its caption to the left and its value to the right.
  add(Id::FromCaption, Kind::Text, {12, 157, 66, 13}, Text::StrikeFrom);
  add(Id::From, Kind::Slider, {80, 152, 170, 24}, kFilledIn);
  add(Id::FromValue, Kind::Text, {252, 157, 52, 13}, kFilledIn, 0, Align::Right);
  add(Id::ToCaption, Kind::Text, {12, 189, 66, 13}, Text::StrikeTo);
  add(Id::To, Kind::Slider, {80, 184, 170, 24}, kFilledIn);
  add(Id::ToValue, Kind::Text, {252, 189, 52, 13}, kFilledIn, 0, Align::Right);
  add(Id::VolumeCaption, Kind::Text, {12, 229, 66, 13}, Text::Volume);
  add(Id::Volume, Kind::Slider, {80, 224, 170, 24}, kFilledIn);
  add(Id::VolumeValue, Kind::Text, {252, 229, 52, 13}, kFilledIn, 0, Align::Right);
  add(Id::VolumeTest, Kind::Button, {312, 224, 52, 23}, Text::VolumeTest);
  add(Id::Tick, Kind::Check, {12, 258, 352, 17}, Text::StrikeTick);
  add(Id::Ok, Kind::DefaultButton, {204, 288, 76, 23}, Text::OptionsOk);
  add(Id::Cancel, Kind::Button, {288, 288, 76, 23}, Text::Cancel);
  return t;
}

}  // namespace

const std::vector<Control>& Controls() {
  static const std::vector<Control> table = Build();
  return table;
}

ReaderRole RoleOf(Kind k) {
  switch (k) {
    case Kind::Radio: return ReaderRole::RadioButton;
    case Kind::Check: return ReaderRole::CheckBox;
    case Kind::Slider: return ReaderRole::Slider;
    case Kind::Button: case Kind::DefaultButton: return ReaderRole::PushButton;
    case Kind::Text: break;
  }
  return ReaderRole::StaticText;
}

std::wstring NameOf(const Control& c) {
  switch (c.id) {
    case Id::From: case Id::FromValue: return Tr(Text::StrikeFrom);
    case Id::To: case Id::ToValue: return Tr(Text::StrikeTo);
    case Id::Volume: case Id::VolumeValue: return Tr(Text::Volume);
    default: return Tr(c.text);
  }
}

Range RangeOf(Id slider) {
  if (slider == Id::Volume) return {0, 100, 10};
  return {0, 23, 3};
}

std::wstring ValueText(Id slider, int value) {
  return Tr(slider == Id::Volume ? Text::VolumeValue : Text::StrikeHourValue,
            std::to_wstring(value));
}

}  // namespace strike_options
