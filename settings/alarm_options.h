// An alarm's own settings window, the part that needs no window: its controls as data (kind,
// box, caption, what a reader calls them), the sliders' ranges and value texts, and the rule
// that an alarm keeps at least one day to ring on. Portable: the unit tests check it as data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/settings.h"
#include "model/texts.h"
#include "settings/dialog_layout.h"
#include "ui/box.h"
#include "ui/reader_role.h"

namespace alarm_options {

// The client area, in pixels at 96 DPI; opened from the list of alarms the window shows the
// alarm's time and sound as well, in a band of this height above the rest.
inline constexpr ui::Box kClient{0, 0, 376, 275};
inline constexpr int kTimeBand = 64;

enum class Kind { Text, Check, Edit, Slider, Button, DefaultButton, Combo };

enum class Id {
  TimeCaption, Hour, HourUnit, Minute, MinuteUnit, SoundCaption, SoundKind, Track, File, Browse,
  DaysCaption, Day, DaysNote, Once, LabelCaption, Label, VolumeCaption, Volume, VolumeValue, VolumeTest,
  CdNote, FadeCaption, FadeIn, FadeValue, SnoozeCaption, Snooze, SnoozeValue, SnoozeShared, Ok,
  Cancel,
};

struct Control {
  Id id;
  int index;  // the day, Sunday 0; 0 for the others
  Kind kind;
  ui::Box box;
  Text text;  // dialog_layout::kFilledIn for what shows a value
  Align align = Align::Left;
  bool timeSound = false;  // shown only when opened from the list
};

// Every control in the order the window makes them, which is the order Tab walks them: each
// caption comes just before the control it names.
const std::vector<Control>& Controls();
// A control's box and the client area, with the time band or without it.
ui::Box Place(const Control& c, bool withTime);
ui::Box Client(bool withTime);
// The sound kinds the band's list offers, in its order: the music CD, a sound file.
inline constexpr std::int16_t kKinds[] = {1, 2};

// What a reader calls a control: its caption, or the caption of the row it sits in.
std::wstring NameOf(const Control& c);
// What a reader takes a control for.
ReaderRole RoleOf(Kind k);

struct Range {
  int min, max, page;
};
// The range of a slider (Volume, FadeIn, Snooze).
Range RangeOf(Id slider);
// A slider's value as its label shows it: "80％", "10秒", "10分".
std::wstring ValueText(Id slider, int value);

// `days` with `day` (0 Sunday .. 6 Saturday) switched, except the last day left: an alarm with
// no day would never ring, and switching an alarm off is its switch's job.
std::int16_t ToggledDay(std::int16_t days, int day);

}  // namespace alarm_options
