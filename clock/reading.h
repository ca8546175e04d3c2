// What a screen reader reads off the clock: the time as the hands show it and the alarms that
// are switched on ("10:42  ｱﾗｰﾑ 7:30"). Portable.
#pragma once

#include <string>

#include "model/settings.h"

std::wstring ClockReading(int hour, int minute, const Settings& s);
