// What a screen reader reads off the clock: the time as the hands show it and the alarms that
// are switched on ("10:42  ｱﾗｰﾑ 7:30"), the one ringing marked ("ｱﾗｰﾑ 7:30 鳴っています").
// Portable.
#pragma once

#include <string>

#include "model/settings.h"

// `ringing`: the index of the alarm that rings now, -1 for none.
std::wstring ClockReading(int hour, int minute, const Settings& s, int ringing = -1);
