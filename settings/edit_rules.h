// The settings dialog's editing rules that do not need a window: the alarm switch's look, the
// default clock colours, the colour dialog's custom colours, the scroll bars' ranges and labels,
// the folder the file chooser opens in, and the test behind "ﾒﾓﾘ開放".
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "model/settings.h"
#include "model/texts.h"
#include "ui/scroll_range.h"

// How an alarm row looks for a switch state. Only 1 rings, so only 1 shows as on: a -1 written
// by hand (the file's true for other keys) shows off rather than an "On" that never rings.
struct AlarmSwitchLook {
  int picture;            // index into the switch pictures: 0 off, 1 on
  Text caption;            // "On" / "Off"
  Colour captionColour;    // red / black
  bool rowEnabled;         // the row's controls that act only while it is on
};
AlarmSwitchLook AlarmSwitch(std::int16_t on);
// A press on the switch: 1 becomes 0, any other value 1.
std::int16_t ToggledAlarm(std::int16_t on);

// A row's path with the note drawn after it ("見つかりません", "ﾁｬｲﾑで鳴ります"): what a reader hears.
std::wstring PathReading(const std::wstring& path, const std::wstring& note);
// The track list as a reader hears it: the track, or "なし" ("None") for the whole disc.
std::wstring TrackReading(const std::wstring& text);

// "初期値": black, white, black, black, white, black.
std::array<Colour, 6> DefaultClockColours();

// The colour dialog's 16 custom boxes: the system colours 0..15, read afresh for every call.
std::array<std::uint32_t, 16> CustomColours(const std::function<std::uint32_t(int)>& sysColour);

// The memory controls' scroll bars.
constexpr ScrollRange kIvalRange{0, 60, 1, 5, 10};     // minutes; 0 = no check
constexpr ScrollRange kKagenRange{10, 60, 1, 10, 10};  // percent of free memory

// The value labels: 30 -> "30分" ("30 min"), 12.5 -> "12.5％" ("12.5%").
std::wstring IvalLabel(double minutes);
std::wstring KagenLabel(double percent);

// The folder the sound-file chooser opens in. A bare drive ("C:", what a file in a drive's
// root leaves in Alarm_Path) would open the drive's current folder, so it becomes its root.
std::wstring ChooserInitialDir(const std::wstring& alarmPath);

// "ﾒﾓﾘ開放": clean only when the free share is below the limit shown on the bar. Figures are
// plain kilobyte texts; when one cannot be read the test fails safe and nothing is cleaned.
bool ShouldReleaseMemory(const std::wstring& totalKb, const std::wstring& availKb,
                         double limitPercent);
