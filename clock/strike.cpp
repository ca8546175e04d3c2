#include "clock/strike.h"

#include <algorithm>

#include "clock/alarm.h"

namespace {

// A bell rings for about two seconds before the next one; the quarters' bells go faster,
// with a breath between two changes.
constexpr int kBellGapMs = 2000;
constexpr int kQuarterGapMs = 750;
constexpr int kChangeGapMs = 1500;

// The five changes of the quarters, as indexes into kQuarterBells.
constexpr int kChanges[5][4] = {{0, 1, 2, 3}, {2, 0, 1, 3}, {2, 1, 0, 2}, {0, 2, 1, 3},
                                {3, 1, 0, 2}};

void addChange(std::vector<Stroke>& strokes, int change) {
  for (int i = 0; i < 4; ++i)
    strokes.push_back({kQuarterBells[kChanges[change][i]], i == 3 ? kChangeGapMs : kQuarterGapMs});
}

void addCount(std::vector<Stroke>& strokes, int hour) {
  const int count = hour % 12 == 0 ? 12 : hour % 12;
  for (int i = 0; i < count; ++i) strokes.push_back({kHourBell, kBellGapMs});
}

}  // namespace

const wchar_t* const kQuarterBells[4] = {L"QUARTER_1", L"QUARTER_2", L"QUARTER_3",
                                         L"QUARTER_4"};

bool QuietHour(int hour, int from, int to) {
  if (from == to) return false;
  if (from < to) return hour >= from && hour < to;
  return hour >= from || hour < to;
}

std::vector<Stroke> StrikeStrokes(int mode, int hour, int minute) {
  std::vector<Stroke> strokes;
  if (mode == 1 && minute == 0) strokes.push_back({kHourBell, kBellGapMs});
  if ((mode == 2 || mode == 3) && minute == 0) addCount(strokes, hour);
  if (mode == 3 && minute == 30) strokes.push_back({kHalfBell, kBellGapMs});
  if (mode == 4 && minute % 15 == 0) {
    // One change at :15, two at :30, three at :45, all four on the hour before the count.
    static constexpr int kFirst[4] = {1, 0, 1, 3};
    const int quarter = minute / 15;
    const int changes = quarter == 0 ? 4 : quarter;
    for (int i = 0; i < changes; ++i) addChange(strokes, (kFirst[quarter] + i) % 5);
    if (quarter == 0) addCount(strokes, hour);
  }
  return strokes;
}

bool StrikeClock::struck(std::int64_t minute) const {
  return std::find(struck_.begin(), struck_.end(), minute) != struck_.end();
}

std::vector<Stroke> StrikeClock::OnTick(std::int64_t now, const StrikeOptions& keys,
                                        const std::function<bool()>& alarmBusy,
                                        NotificationPort& user) {
  const bool step = last_ != kNever && now == last_ + 1;
  if (now == last_) return {};
  last_ = now;
  if (!step || keys.Mode == 0) return {};
  const LocalTime t = FromLocalMinute(now);
  std::vector<Stroke> strokes = StrikeStrokes(keys.Mode, t.hour, t.minute);
  if (strokes.empty() || QuietHour(t.hour, keys.QuietFrom, keys.QuietTo) || struck(now))
    return {};
  if (alarmBusy() || !user.UserAccepts()) return {};
  struck_.push_back(now);
  if (struck_.size() > kRemembered) struck_.erase(struck_.begin());
  return strokes;
}
