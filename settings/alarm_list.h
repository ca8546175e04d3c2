// The list of every alarm, the part that needs no window: which alarms it shows, the text of
// each row's columns and what a reader hears of a row, where an added alarm goes, and the count
// the settings dialog's button shows. Portable: the unit tests check it as data.
#pragma once

#include <string>
#include <vector>

#include "model/settings.h"

namespace alarm_list {

// The alarms in use, lowest first: always 0 and 1, then those of 2..7 in use.
std::vector<int> Shown(const Settings& s);
// The lowest of alarms 2..7 not in use; -1 when all eight are.
int FreeAlarm(const Settings& s);
// How many of alarms 2..7 are in use and switched on.
int CountOn(const Settings& s);

// The columns after the switch: the alarm's name, its time, its days, its label, its sound.
struct Row {
  std::wstring name, time, days, label, sound;
};
Row RowOf(const Settings& s, int alarm);
// "毎日", or the days it rings on: "月 火 水 木 金".
std::wstring DaysText(std::int16_t days);
// What a reader hears as a row's value: the columns after the name, in order.
std::wstring ValueOf(const Row& row);

}  // namespace alarm_list
