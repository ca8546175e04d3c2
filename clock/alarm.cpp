#include "clock/alarm.h"

#include <algorithm>

namespace {

// The last three characters, upper-cased: how a sound file tells WAV from MP3.
std::wstring fileEnding(const std::wstring& path) {
  std::wstring ending = path.size() > 3 ? path.substr(path.size() - 3) : path;
  for (auto& c : ending)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return ending;
}

constexpr int kCd = 1;
constexpr int kSoundFile = 2;
constexpr std::int64_t kDay = 24 * 60;

// Days from 1 January 1601 of a date of the proleptic Gregorian calendar (400-year cycles of
// 146097 days, years counted from March so that the leap day comes last).
std::int64_t daysFrom1601(int year, int month, int day) {
  const std::int64_t y = year - (month <= 2 ? 1 : 0) - 1600;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 306;  // 1600-03-01 is day 0 of the count above
}

std::int64_t floorMod(std::int64_t a, std::int64_t n) { return ((a % n) + n) % n; }
std::int64_t floorDiv(std::int64_t a, std::int64_t n) { return (a - floorMod(a, n)) / n; }

// The alarm's minute of the day; -1 for a time no day has.
std::int64_t alarmOfDay(const Settings& s, int i) {
  const int h = s.Sound_H[i], m = s.Sound_M[i];
  if (h < 0 || h > 23 || m < 0 || m > 59) return -1;
  return h * 60 + m;
}

}  // namespace

std::int64_t LocalMinute(const LocalTime& t) {
  return daysFrom1601(t.year, t.month, t.day) * kDay + t.hour * 60 + t.minute;
}

std::int64_t DayOf(std::int64_t minute) { return (minute >= 0 ? minute : minute - kDay + 1) / kDay; }

// 1 January 1601 was a Monday.
int WeekdayOf(std::int64_t minute) { return static_cast<int>(floorMod(DayOf(minute) + 1, 7)); }

LocalTime FromLocalMinute(std::int64_t minute) {
  const std::int64_t days = DayOf(minute);
  const int ofDay = static_cast<int>(minute - days * kDay);
  // The inverse of daysFrom1601.
  const std::int64_t z = days + 306;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + 1600 + (month <= 2 ? 1 : 0));
  return LocalTime{year, month, day, ofDay / 60, ofDay % 60};
}

AlarmClock::AlarmClock(const Settings& settings, F_Sound& sound, AlarmHost& host,
                       bool& stopRequested)
    : StopRequested(stopRequested), settings_(settings), sound_(sound), host_(host) {}

void AlarmClock::Reset() {
  AlarmDone = false;
  StopRequested = false;
  loaded_ = true;
}

bool AlarmClock::fired(std::int64_t minute) const {
  return std::find(firedMinutes_.begin(), firedMinutes_.end(), minute) != firedMinutes_.end();
}

bool AlarmClock::OnTick(std::int64_t now, int second) {
  const bool newMinute = loaded_ || now != seen_;
  if (newMinute) onMinute(now);
  // A snooze waits while another ring goes on unanswered; a stop lets it ring at once.
  if (!AlarmDone || StopRequested) ringSnooze(now * 60 + second);
  return newMinute;
}

void AlarmClock::onMinute(std::int64_t now) {
  loaded_ = false;
  const std::int64_t before = seen_;
  seen_ = now;
  if (StopRequested) {
    AlarmDone = false;
    StopRequested = false;
  }
  if (AlarmDone) return;

  // One sound at a time: the lowest-numbered alarm due rings, the others due with it count as
  // rung (named by the ringing window, a once-alarm among them done).
  alsoDue_.clear();
  std::array<std::int64_t, kAlarmCount> due{};
  for (int i = 0; i < kAlarmCount; ++i) due[i] = dueAt(i, now, before);
  bool rang = false;
  for (int i = 0; i < kAlarmCount; ++i) {
    if (due[i] == kNever) continue;
    if (!rang) fire(i);
    // Fired even when nothing could be started; a minute that fired fires no more, neither at
    // a reload nor after the clock is set back. Its own ring comes before a snooze still
    // pending, which it replaces.
    firedMinutes_.push_back(due[i]);
    snoozeAt_[i] = kNever;
    if (rang) {
      alsoDue_.push_back(i);
      if (settings_.Options[i].Once != 0) rungOnce_.push_back(i);
    }
    rang = AlarmDone = true;
  }
}

// The alarm's latest minute up to now when it is to ring in this minute's check: this minute
// when it is due now. An earlier one counts only when the clock jumped forward over it (a
// normal step or a start never passes over a minute), and only while it is not too late.
std::int64_t AlarmClock::dueAt(int i, std::int64_t now, std::int64_t before) const {
  // Only 1 switches an alarm on; a true written as -1 does not.
  const std::int64_t ofDay = alarmOfDay(settings_, i);
  if (!settings_.AlarmInUse[i] || settings_.Sound_C[i] != 1 || ofDay < 0) return kNever;
  const std::int64_t due = now - floorMod(now % kDay - ofDay, kDay);
  const bool jumpedOver = before != kNever && before < due && now - due <= kLateRingMinutes;
  if ((due != now && !jumpedOver) || fired(due)) return kNever;
  if (!settings_.Options[i].RingsOn(WeekdayOf(due))) return kNever;
  return due;
}

std::vector<int> AlarmClock::TakeRungOnce() {
  std::vector<int> taken;
  taken.swap(rungOnce_);
  return taken;
}

// A snooze rings at its second or, after a jump over it, while at most kLateRingMinutes late;
// later than that it is dropped. It rings even from a start: it is owed.
void AlarmClock::ringSnooze(std::int64_t now) {
  for (int i = 0; i < kAlarmCount; ++i) {
    const std::int64_t at = snoozeOf(i);
    if (at == kNever || at > now) continue;
    snoozeAt_[i] = kNever;
    if (now - at > kLateRingMinutes * 60) continue;
    alsoDue_.clear();
    fire(i);
    AlarmDone = true;
    StopRequested = false;  // the stop was of the ring before
    return;
  }
}

std::int64_t AlarmClock::SnoozeDue() const {
  std::int64_t due = -1;
  for (int i = 0; i < kAlarmCount; ++i) {
    const std::int64_t at = snoozeOf(i);
    if (at != kNever && (due < 0 || at < due)) due = at;
  }
  return due;
}

void AlarmClock::CancelSnoozes() { snoozeAt_.fill(kNever); }

std::int64_t AlarmClock::snoozeOf(int i) const {
  if (snoozeAt_[i] == kNever) return kNever;
  // Switched off or set to another time since: the snooze belonged to the old alarm.
  if (!settings_.AlarmInUse[i] || settings_.Sound_C[i] != 1 ||
      alarmOfDay(settings_, i) != snoozedTime_[i])
    return kNever;
  return snoozeAt_[i];
}

bool IsWaveHeader(const std::string& start) {
  return start.size() >= 12 && start.compare(0, 4, "RIFF") == 0 &&
         start.compare(8, 4, "WAVE") == 0;
}

void AlarmClock::fire(int i) {
  sound_.SetLoudness({settings_.Options[i].Volume, settings_.Options[i].FadeIn});
  Play(i, settings_.Sound_Kbn[i], settings_.Sound_Repeat[i], settings_.Sound_F[i]);
}

void AlarmClock::Play(int i, std::int16_t kind, std::int16_t track, const std::wstring& file) {
  const auto alarm = static_cast<std::int16_t>(i);
  sound_.CurrentAlarm = alarm;
  if (kind == kCd)
    sound_.StartCd(alarm, track);
  else if (kind == kSoundFile)
    fireFile(alarm, file);
  else
    sound_.StartChime(alarm);
}

// The file as it is at the alarm's minute, not as it was when the settings were read: a stick
// pulled out or a share gone since leaves the chime, not silence.
void AlarmClock::fireFile(std::int16_t alarm, const std::wstring& file) {
  std::string start;
  const std::wstring ending = fileEnding(file);
  if (!host_.FileExists(file) || !host_.ReadStart(file, 12, start))
    sound_.StartChime(alarm);
  else if (ending == L"WAV" && IsWaveHeader(start))
    sound_.StartWav(alarm, host_.PlayablePath(file));
  else if (ending == L"MP3")
    sound_.StartMp3(alarm, host_.PlayablePath(file));
  else
    sound_.StartChime(alarm);  // a WAV the player would refuse, or a kind it cannot play
}

// The start of this minute has passed: a wake-up set for it would go off at once, again and
// again.
std::int64_t AlarmClock::NextAlarm(std::int64_t now) const {
  const std::int64_t at = Next(now).minute;
  return at == now ? now + 1 : at;
}

AlarmClock::NextRing AlarmClock::Next(std::int64_t now) const {
  NextRing next;
  auto consider = [&next](std::int64_t at, int alarm, bool snoozed) {
    if (next.minute < 0 || at < next.minute) next = NextRing{at, alarm, snoozed};
  };
  for (int i = 0; i < kAlarmCount; ++i) {
    const std::int64_t ofDay = alarmOfDay(settings_, i);
    if (!settings_.AlarmInUse[i] || settings_.Sound_C[i] != 1 || ofDay < 0) continue;
    std::int64_t at = now + 1 + floorMod(ofDay - (now + 1) % kDay, kDay);
    // A minute that already fired (the clock was set back) will not fire again, nor a day the
    // alarm skips; a week always holds one of its days.
    for (int day = 0; day < 8 && (fired(at) || !settings_.Options[i].RingsOn(WeekdayOf(at)));
         ++day)
      at += kDay;
    consider(at, i, false);
  }
  for (int i = 0; i < kAlarmCount; ++i) {
    const std::int64_t at = snoozeOf(i);
    // By the minute it falls in; one overdue (waiting for a ring to end) rings at a tick soon.
    if (at != kNever) consider(std::max(floorDiv(at, 60), now), i, true);
  }
  return next;
}

int AlarmClock::StopSound() {
  StopRequested = true;
  const int ringing = RingingAlarm();
  sound_.Stop();
  if (ringing < 0) return -1;
  snoozeAt_[ringing] = kNever;
  return settings_.Options[ringing].Once != 0 ? ringing : -1;
}

bool AlarmClock::Snooze(std::int64_t now, int second) {
  const int i = RingingAlarm();
  if (i < 0) return false;
  StopRequested = true;
  sound_.Stop();
  snoozeAt_[i] = (now + settings_.Snooze_Min) * 60 + second;
  snoozedTime_[i] = alarmOfDay(settings_, i);
  return true;
}

void AlarmClock::Timer4_Timer() { sound_.RepeatTick(); }

void AlarmClock::Timer5_Timer() { sound_.WatchTick(); }
