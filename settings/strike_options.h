// The hours' strike's own window, the part that needs no window: its controls as data (kind,
// box, caption, what a reader calls them) and its sliders' ranges and value texts. Portable:
// the unit tests check it as data.
#pragma once

#include <string>
#include <vector>

#include "model/texts.h"
#include "settings/dialog_layout.h"
#include "ui/box.h"
#include "ui/reader_role.h"

namespace strike_options {

// The client area, in pixels at 96 DPI.
inline constexpr ui::Box kClient{0, 0, 376, 323};

enum class Kind { Text, Radio, Check, Slider, Button, DefaultButton };

enum class Id {
  Mode, QuietCaption, FromCaption, From, FromValue, ToCaption, To, ToValue, VolumeCaption, Volume,
  VolumeValue, VolumeTest, Tick, Ok, Cancel,
};

struct Control {
  Id id;
  int index;  // the mode of a Mode button; 0 for the others
  Kind kind;
  ui::Box box;
  Text text;  // dialog_layout::kFilledIn for what shows a value
  Align align = Align::Left;
};

// Every control in the order the window makes them, which is the order Tab walks them.
const std::vector<Control>& Controls();
std::wstring NameOf(const Control& c);
ReaderRole RoleOf(Kind k);

struct Range {
  int min, max, page;
};
Range RangeOf(Id slider);
// "22時" or "22:00" for the hours, "40％" for the volume.
std::wstring ValueText(Id slider, int value);

}  // namespace strike_options
