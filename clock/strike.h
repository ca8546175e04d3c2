// The hours' strike: whether the minute the clock's ordinary tick has just reached strikes, and
// with which strokes. Portable: the sound module plays the strokes, the alarm service asks at
// each tick, and whether the user should hear anything comes through NotificationPort.
//
// A strike is never caught up: only a tick that steps from one local minute to the next can
// strike, so a sleep, a clock set forward or a new time zone jumps over the boundary silently.
// Boundaries are in local wall time (a zone at +5:30 strikes at its own :00).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/settings.h"
#include "sound/alarm_sound.h"

// Whether Windows says the user takes notifications now (not away, busy, in a full-screen
// program or a presentation). The Win32 glue asks the shell; tests say what they like.
class NotificationPort {
 public:
  virtual ~NotificationPort() = default;
  virtual bool UserAccepts() = 0;
};

// The program's bells, WAVE resources made by assets/make_strike.py.
inline constexpr wchar_t kHourBell[] = L"STRIKE_HOUR";  // the count: the lower bell
inline constexpr wchar_t kHalfBell[] = L"STRIKE_HALF";
// The four bells of the quarters, highest first.
extern const wchar_t* const kQuarterBells[4];

// Whether hour `hour` (0..23) lies in the quiet hours [from, to), which wrap past midnight;
// equal ends mean none.
bool QuietHour(int hour, int from, int to);

// The strokes mode `mode` gives at local `hour`:`minute`, quiet hours aside; none when the
// minute is no boundary of the mode.
std::vector<Stroke> StrikeStrokes(int mode, int hour, int minute);

class StrikeClock {
 public:
  // Each handled tick's local minute (alarm.h's LocalMinute). Returns the strokes to sound now:
  // none unless the tick stepped onto a boundary that is not quiet, was not struck before in
  // this run (summer time's end repeats an hour), has no alarm ringing or due (`alarmBusy`,
  // asked only then) and has a user who takes notifications.
  std::vector<Stroke> OnTick(std::int64_t now, const StrikeOptions& keys,
                             const std::function<bool()>& alarmBusy, NotificationPort& user);

 private:
  static constexpr std::int64_t kNever = INT64_MIN;
  // Enough boundaries for the hours that summer time's end can repeat.
  static constexpr std::size_t kRemembered = 12;
  bool struck(std::int64_t minute) const;

  std::int64_t last_ = kNever;
  std::vector<std::int64_t> struck_;  // the latest struck minutes, oldest first
};
