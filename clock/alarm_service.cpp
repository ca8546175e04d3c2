#include "clock/alarm_service.h"

#include "clock/reading.h"

AlarmService::AlarmService(SettingsStore& store, F_Sound& sound, AlarmHost& files,
                           AlarmTimers& timers)
    : store_(store),
      sound_(sound),
      timers_(timers),
      alarm_(store.Get(), sound, files, stopRequested_) {
  alarm_.Reset();
  store_.Listen([this](unsigned what, int) { settingsChanged(what); });
}

void AlarmService::settingsChanged(unsigned what) {
  // New settings: the clock's next tick counts as a new minute, which aims the wake-up anew.
  if (what & kChangedAll) alarm_.Reset();
  // Switched off: a strike under way ends with it.
  if (store_.Get().Strike.Mode == 0 && sound_.Striking()) {
    sound_.StopStrike();
    settle(std::nullopt);
  }
}

bool AlarmService::OnTick(std::int64_t now, int second) {
  const std::int64_t snooze = alarm_.SnoozeDue();
  const bool newMinute = alarm_.OnTick(now, second);
  // A once-alarm that fell due with another is done as if it had rung and been stopped.
  for (int i : alarm_.TakeRungOnce()) store_.SwitchAlarmOff(i);
  strike(now);
  // A snooze that rang within the minute changes the next ring too.
  const bool moved = newMinute || alarm_.SnoozeDue() != snooze;
  settle(moved ? std::optional<std::int64_t>(now) : std::nullopt);
  return newMinute;
}

namespace {

struct AlwaysAccepts final : NotificationPort {
  bool UserAccepts() override { return true; }
};

}  // namespace

// After the alarms' part of the tick: an alarm that began in this minute has the sound already.
void AlarmService::strike(std::int64_t now) {
  const auto alarmBusy = [&] {
    const std::int64_t snooze = alarm_.SnoozeDue();
    return sound_.Ringing() || sound_.Testing() || alarm_.NextAlarm(now - 1) == now ||
           (snooze >= now * 60 && snooze < (now + 1) * 60);
  };
  AlwaysAccepts always;
  const Settings& s = store_.Get();
  const std::vector<Stroke> strokes =
      strike_.OnTick(now, s.Strike, alarmBusy, user_ ? *user_ : always);
  if (!strokes.empty()) sound_.StartStrike(strokes, s.Strike.Volume);
}

bool AlarmService::StartStrikeTest(const StrikeOptions& strike) {
  if (sound_.Ringing() || sound_.Testing()) return false;
  sound_.StopStrike();
  const bool started =
      sound_.StartStrike(StrikeStrokes(strike.Mode != 0 ? strike.Mode : 2, 3, 0), strike.Volume);
  settle(std::nullopt);
  return started;
}

void AlarmService::Swing() {
  if (store_.Get().Strike.Tick != 0) sound_.PlayTick();
}

void AlarmService::StopStrike() {
  sound_.StopStrike();
  settle(std::nullopt);
}

void AlarmService::TimeMoved(std::int64_t now) {
  // The same local minute may lie at another UTC time now: the wake-up is set again.
  timers_.SetWake(alarm_.NextAlarm(now));
  settle(now);
}

void AlarmService::Stop(std::int64_t now) {
  const int switchOff = alarm_.StopSound();
  // A once-alarm is done: off in the model and in the file at once, so that neither new
  // settings nor a restart ring it again.
  if (switchOff >= 0) store_.SwitchAlarmOff(switchOff);
  settle(now);
}

bool AlarmService::Snooze(std::int64_t now, int second) {
  const bool snoozed = alarm_.Snooze(now, second);
  if (snoozed) settle(now);
  return snoozed;
}

void AlarmService::CancelSnooze(std::int64_t now) {
  alarm_.CancelSnoozes();
  settle(now);
}

int AlarmService::SnoozeSecond(std::int64_t now, int second) const {
  const std::int64_t due = alarm_.SnoozeDue();
  if (due < now * 60 + second + 1 || due >= (now + 1) * 60) return -1;
  return static_cast<int>(due - now * 60);
}

std::optional<RingNotice> AlarmService::Ringing() const {
  const int i = alarm_.RingingAlarm();
  if (i < 0) return std::nullopt;
  const Settings& s = store_.Get();
  RingNotice ring{i, s.Sound_H[i], s.Sound_M[i], s.Options[i].Label, s.Snooze_Min, {}};
  for (int j : alarm_.AlsoDue())
    ring.others.push_back({j, s.Sound_H[j], s.Sound_M[j], s.Options[j].Label});
  return ring;
}

bool AlarmService::StartTest(const SoundTest& test) {
  if (!sound_.BeginTest()) return false;
  sound_.SetLoudness({test.volume, test.fadeInSeconds});
  const std::int16_t kind = test.kind == 1 ? 0 : test.kind;  // a CD's test is the chime
  alarm_.Play(test.alarm, kind, 0, test.file);
  settle(std::nullopt);
  return true;
}

void AlarmService::StopTest() {
  sound_.StopTest();
  settle(std::nullopt);
}

void AlarmService::RepeatTick() {
  alarm_.Timer4_Timer();
  settle(std::nullopt);
}

void AlarmService::WatchTick() {
  alarm_.Timer5_Timer();
  settle(std::nullopt);
}

void AlarmService::FadeTick() {
  alarm_.FadeTick();
  sound_.StrikeTick();
  settle(std::nullopt);
}

void AlarmService::settle(std::optional<std::int64_t> now) {
  timers_.SetSoundTicks(alarm_.WantsRepeatTicks(), alarm_.WantsWatchTicks(),
                        alarm_.WantsFadeTicks() || sound_.Striking());
  const int ringing = alarm_.RingingAlarm();
  const bool silent = alarm_.RingingSilently();
  if (ringing != toldRinging_ || silent != toldSilent_) {
    toldRinging_ = ringing;
    toldSilent_ = silent;
    for (AlarmListener* l : listeners_) l->RingChanged();
  }
  // The next ring moves only with the minute, a stop, a snooze or new settings.
  if (!now) return;
  const AlarmClock::NextRing next = alarm_.Next(*now);
  timers_.SetWake(alarm_.NextAlarm(*now));
  const std::wstring text = NextRingText(next.minute, next.snoozed, *now);
  if (nextTold_ && text == nextText_) return;
  nextText_ = text;
  nextTold_ = true;
  for (AlarmListener* l : listeners_) l->NextRingChanged(text);
}
