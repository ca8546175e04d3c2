// An alarm's own settings window, opened from the "詳細" button of its row in the settings
// dialog: the days it rings on, once only, its label, its volume and fade-in, and the snooze
// both alarms share. Modal to the dialog, as its colour and file choosers are; what it returns
// is kept as the dialog's edits until the dialog's OK writes them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "model/commands.h"
#include "model/settings.h"

// An alarm's time and sound, which the window edits when the list of alarms opens it.
struct AlarmTimeSound {
  std::int16_t hour = 0, minute = 0;
  std::int16_t kind = 1;  // Sound_Kbn: 1 a music CD, 2 a sound file
  std::int16_t track = 0;
  std::wstring file;
  std::wstring folder;  // where the file chooser opens
};

struct AlarmOptionsEdit {
  AlarmOptions options;
  std::int16_t snooze = kDefaultSnooze;
  std::optional<AlarmTimeSound> timeSound;  // none: the window leaves them to the dialog's row
};

// Opens the window for alarm `alarm` (0..7) over `owner`, laid out at `dpi`, showing
// `current`. With `cd` the alarm plays a music CD, whose volume is the drive's: the volume and
// the fade-in are shown but cannot be changed. Its 試聴 plays the alarm's sound (`file`, or the
// chime for a CD) through `commands` to the sound module. The values at OK, or nothing when cancelled or when the owner went away meanwhile.
std::optional<AlarmOptionsEdit> EditAlarmOptions(HWND owner, int alarm,
                                                 const AlarmOptionsEdit& current, bool cd,
                                                 int dpi, Commands& commands,
                                                 const std::wstring& file);
