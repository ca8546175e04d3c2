// What a screen reader reads off the clock: the time as the hands show it, the alarm that
// rings now and the next ring ("7:30  ｱﾗｰﾑ 7:30 鳴っています  次のｱﾗｰﾑ 7:30 (木)"), and what the
// tray icon's tip says of that next ring. Portable.
#pragma once

#include <cstdint>
#include <string>

#include "model/settings.h"

// The next ring at local minute `at` (-1: none) seen from local minute `now`: "次のｱﾗｰﾑ 7:30",
// with its day of the week when that is not today's ("次のｱﾗｰﾑ 7:30 (木)"), or a snoozed one
// ("ｽﾇｰｽﾞ中 7:40"); empty for none.
std::wstring NextRingText(std::int64_t at, bool snoozed, std::int64_t now);

// `ringing`: the index of the alarm that rings now, -1 for none; `next`: NextRingText's.
std::wstring ClockReading(int hour, int minute, const Settings& s, int ringing = -1,
                          const std::wstring& next = L"");
