#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "clock/alarm.h"
#include "fake_mci.h"

namespace {

using Call = std::pair<std::wstring, unsigned>;
const Call kChime{L"CHIME", 0x4000Du};

struct FakeHost : AlarmHost {
  std::set<std::wstring> files;
  // The first bytes of a file; one not listed begins like a WAV file.
  std::map<std::wstring, std::string> starts;
  std::set<std::wstring> unreadable;
  bool FileExists(const std::wstring& path) override { return files.count(path) > 0; }
  bool ReadStart(const std::wstring& path, std::size_t count, std::string& bytes) override {
    if (!files.count(path) || unreadable.count(path)) return false;
    const auto it = starts.find(path);
    bytes = (it == starts.end() ? std::string("RIFF\x24\x08\0\0WAVEfmt ", 16) : it->second)
                .substr(0, count);
    return true;
  }
};

// An alarm clock with fakes for all it borrows, one per case of a table.
struct Rig {
  FakeMci m;
  Settings s;
  F_Sound snd{m};
  FakeHost h;
  bool stop = false;
  AlarmClock a{s, snd, h, stop};
  int alarm = 0;
  // Alarm `i` on, at hour:minute, with a WAV file that is there.
  void wavAlarm(int hour, int minute, int i = 0) {
    alarm = i;
    s.AlarmInUse[i] = true;
    s.Sound_C[i] = 1;
    s.Sound_H[i] = static_cast<std::int16_t>(hour);
    s.Sound_M[i] = static_cast<std::int16_t>(minute);
    s.Sound_Kbn[i] = 2;
    s.Sound_F[i] = L"C:\\a.wav";
    h.files.insert(s.Sound_F[i]);
  }
};

struct AlarmTest : ::testing::Test {
  FakeMci mci;
  Settings settings;
  F_Sound sound{mci};
  FakeHost host;
  bool stopRequested = false;
  AlarmClock alarm{settings, sound, host, stopRequested};

  void set(int i, int hour, int minute, int kind, const std::wstring& file) {
    settings.Sound_C[i] = 1;
    settings.Sound_H[i] = static_cast<std::int16_t>(hour);
    settings.Sound_M[i] = static_cast<std::int16_t>(minute);
    settings.Sound_Kbn[i] = static_cast<std::int16_t>(kind);
    settings.Sound_F[i] = file;
    host.files.insert(file);
  }
  // One handled second of the clock tick, on 1 May 2024 unless another day is given.
  bool tick(int hour, int minute, int day = 1) {
    return alarm.OnTick(LocalMinute({2024, 5, day, hour, minute}));
  }
  void reload() { alarm.Reset(); }
};

std::int64_t At(int hour, int minute, int day = 1) {
  return LocalMinute({2024, 5, day, hour, minute});
}

TEST_F(AlarmTest, FiresOnceAndStaysQuietUntilStopped) {
  set(0, 7, 30, 2, L"C:\\a.wav");
  set(1, 7, 31, 2, L"C:\\b.wav");
  tick(7, 29);
  EXPECT_TRUE(tick(7, 30));  // a new minute
  for (int s = 1; s < 60; ++s) EXPECT_FALSE(tick(7, 30));
  tick(7, 31);
  EXPECT_EQ(mci.played, (std::vector<Call>{{L"C:\\a.wav", 9u}}));
  EXPECT_TRUE(alarm.AlarmDone);
}

TEST_F(AlarmTest, StopRearmsAtTheNextMinute) {
  set(0, 7, 30, 2, L"C:\\a.wav");
  set(1, 7, 31, 2, L"C:\\b.wav");
  tick(7, 30);
  alarm.StopSound();  // Esc at 7:30:20
  tick(7, 30);
  EXPECT_TRUE(alarm.AlarmDone);
  tick(7, 31);
  EXPECT_EQ(mci.played,
            (std::vector<Call>{{L"C:\\a.wav", 9u}, {L"<null>", 0u}, {L"C:\\b.wav", 9u}}));
  EXPECT_EQ(sound.CurrentAlarm, 1);
  EXPECT_TRUE(alarm.AlarmDone);
  EXPECT_FALSE(alarm.StopRequested);
}

TEST_F(AlarmTest, AReloadRingsOnlyAnAlarmThatHasNotRungThisMinute) {
  set(0, 7, 30, 2, L"C:\\a.wav");
  tick(7, 30);
  reload();  // OK in the settings dialog during the alarm's minute
  EXPECT_TRUE(tick(7, 30));  // the first tick of a load counts as a new minute, once
  EXPECT_FALSE(tick(7, 30));
  alarm.StopSound();
  reload();
  EXPECT_FALSE(stopRequested);
  tick(7, 30);
  // An alarm the dialog just set for the current minute rings at the reload.
  tick(7, 32);
  set(1, 7, 32, 2, L"C:\\b.wav");
  reload();
  tick(7, 32);
  EXPECT_EQ(mci.played,
            (std::vector<Call>{{L"C:\\a.wav", 9u}, {L"<null>", 0u}, {L"C:\\b.wav", 9u}}));
}

TEST_F(AlarmTest, BothAlarmsInOneMinuteSoundOnlyTheFirst) {
  set(0, 7, 30, 2, L"C:\\a.wav");
  set(1, 7, 30, 2, L"C:\\b.wav");
  tick(7, 30);
  EXPECT_EQ(sound.CurrentAlarm, 0);
  alarm.StopSound();
  tick(7, 31);  // nor is alarm 1 owed a late ring
  EXPECT_EQ(mci.played, (std::vector<Call>{{L"C:\\a.wav", 9u}, {L"<null>", 0u}}));
}

TEST_F(AlarmTest, WhatAnAlarmStarts) {
  struct Case {
    const char* name;
    std::int16_t on;
    int kind;
    std::wstring file;
    bool exists;
    bool done;
    std::vector<std::wstring> commands;
    std::vector<Call> played;
    bool timer4, timer5;
  };
  const std::wstring mp3 = L"C:\\Music\\a.Mp3";
  const Case cases[] = {
      {"switched on as -1", -1, 2, L"C:\\a.wav", true, false, {}, {}, false, false},
      {"file gone: the chime", 1, 2, L"C:\\a.wav", false, true, {}, {kChime}, false, false},
      {"other ending: the chime", 1, 2, L"C:\\a.ogg", true, true, {}, {kChime}, false, false},
      {"lower-case wav", 1, 2, L"C:\\a.wav", true, true, {}, {{L"C:\\a.wav", 9u}}, false, false},
      {"mp3", 1, 2, mp3, true, true, {mp3OpenCommand(mp3), L"play MP3Play"}, {}, true, false},
      {"cd", 1, 1, L"C:\\a.wav", true, true,
       {L"open cdaudio", L"set cdaudio time format tmsf"}, {}, false, true},
      {"another kind: the chime", 1, 0, L"C:\\a.wav", true, true, {}, {kChime}, false, false},
      {"a name of four letters", 1, 2, L"bwav", true, true, {}, {{L"bwav", 9u}}, false, false},
  };
  for (const auto& c : cases) {
    Rig rig;
    auto& [m, s, snd, h, stop, a, alarm] = rig;
    s.Sound_C[1] = c.on;
    s.Sound_H[1] = 6;
    s.Sound_M[1] = 0;
    s.Sound_Kbn[1] = static_cast<std::int16_t>(c.kind);
    s.Sound_F[1] = c.file;
    if (c.exists) h.files.insert(c.file);

    a.OnTick(At(5, 59));
    EXPECT_FALSE(a.AlarmDone) << c.name;
    a.OnTick(At(6, 0));

    EXPECT_EQ(a.AlarmDone, c.done) << c.name;
    EXPECT_EQ(m.commands(), c.commands) << c.name;
    EXPECT_EQ(m.played, c.played) << c.name;
    EXPECT_EQ(a.WantsRepeatTicks(), c.timer4) << c.name;
    EXPECT_EQ(a.WantsWatchTicks(), c.timer5) << c.name;
    if (c.done) {
      EXPECT_EQ(snd.CurrentAlarm, 1) << c.name;
    }
  }
}

// What the player takes for a WAV file: a RIFF container of WAVE data, whatever follows.
TEST(IsWaveHeader, ARiffContainerOfWaveData) {
  const struct { const char* start; bool wave; } rows[] = {
      {"RIFF1234WAVE", true},      {"RIFF1234WAVEfmt ", true}, {"RIFF1234AVI LIST", false},
      {"RIFX1234WAVEfmt ", false}, {"RIFF1234WAV", false},     {"RIFF", false},
  };
  for (const auto& r : rows) EXPECT_EQ(IsWaveHeader(r.start), r.wave) << r.start;
}

// The stop reaches the sound that was started, whatever the dialog wrote over the alarm's
// settings since, and only that sound.
TEST_F(AlarmTest, StopStopsWhatWasStarted) {
  const std::wstring mp3 = L"C:\\a.mp3";
  const std::vector<std::wstring> stopMp3 = {L"stop MP3Play", L"close MP3Play"};
  const std::vector<std::wstring> stopCd = {L"stop cdaudio", L"close cdaudio"};
  struct Case {
    const char* name;
    int kind;
    std::wstring file;
    int laterKind;
    std::wstring laterFile;
    std::vector<std::wstring> commands;  // sent by the stop
    std::vector<Call> played;
  };
  const Case cases[] = {
      {"mp3, then changed to a wav", 2, mp3, 2, L"C:\\b.wav", stopMp3, {}},
      {"mp3, then changed to a cd", 2, mp3, 1, L"", stopMp3, {}},
      {"wav, then changed to an mp3", 2, L"C:\\a.WaV", 2, mp3, {}, {{L"<null>", 0u}}},
      {"cd, then changed to an mp3", 1, L"", 2, mp3, stopCd, {}},
      {"file gone: the chime", 2, L"C:\\gone.mp3", 2, mp3, {}, {{L"<null>", 0u}}},
  };
  for (const auto& c : cases) {
    Rig rig;
    auto& [m, s, snd, h, stop, a, alarm] = rig;
    s.Sound_C[1] = 1;
    s.Sound_H[1] = 7;
    s.Sound_M[1] = 30;
    s.Sound_Kbn[1] = static_cast<std::int16_t>(c.kind);
    s.Sound_F[1] = c.file;
    if (c.file != L"C:\\gone.mp3") h.files.insert(c.file);
    a.OnTick(At(7, 30));
    s.Sound_Kbn[1] = static_cast<std::int16_t>(c.laterKind);
    s.Sound_F[1] = c.laterFile;
    a.Reset();  // the reload after OK
    const std::size_t sentBefore = m.sent.size(), playedBefore = m.played.size();

    a.StopSound();
    a.StopSound();  // a second press finds nothing left to stop

    EXPECT_TRUE(a.StopRequested) << c.name;
    const auto all = m.commands();
    EXPECT_EQ(std::vector<std::wstring>(all.begin() + sentBefore, all.end()), c.commands)
        << c.name;
    EXPECT_EQ(std::vector<Call>(m.played.begin() + playedBefore, m.played.end()), c.played)
        << c.name;
    EXPECT_FALSE(a.WantsRepeatTicks() || a.WantsWatchTicks()) << c.name;
  }
}

TEST_F(AlarmTest, CdWatcherSwitchesItselfOffWithoutADisc) {
  set(0, 7, 30, 1, L"");
  tick(7, 30);
  ASSERT_TRUE(alarm.WantsWatchTicks());
  alarm.Timer5_Timer();
  EXPECT_TRUE(alarm.WantsWatchTicks());  // the fake's drive answers
  mci.answers[L"status cdaudio current track"] = {266, L""};
  alarm.Timer5_Timer();
  EXPECT_FALSE(alarm.WantsWatchTicks());
  const auto sent = mci.sent.size();
  alarm.StopSound();  // a watcher that gave up has nothing to stop
  EXPECT_EQ(mci.sent.size(), sent);
}

// The alarm's own sound is always tried first; the chime takes over, once, when it cannot
// start: at once for what fails at the alarm's minute, within three seconds for a CD or an
// MP3 that does not play. With no waveform device the alarm rings silently (the clock's sign)
// instead. A stop ends it all.
TEST_F(AlarmTest, ChimeTakesOverWhenTheOwnSoundCannotStart) {
  const std::wstring wav = L"C:\\snd\\a.wav", mp3 = L"C:\\snd\\a.mp3";
  const std::wstring position = L"status cdaudio position track 12";
  struct Case {
    const char* name;
    int kind;
    std::wstring file;
    std::function<void(FakeMci&, FakeHost&)> setup;
    int chimeAt;  // watcher ticks (200 ms) after the alarm; 0 at once, -1 never
    bool silent;  // no device: the sign instead of the chime
  };
  constexpr int kWatchesPerRepeat = 5;  // the repeat ticks once a second
  auto none = [](FakeMci&, FakeHost&) {};
  auto mp3Mode = [](const wchar_t* mode) {
    return [=](FakeMci& m, FakeHost&) { m.answers[L"status MP3Play mode"] = {0, mode}; };
  };
  auto noDevice = [](FakeMci& m, FakeHost&) { m.devices = 0; };
  const Case cases[] = {
      {"cd: no drive", 1, L"", [](FakeMci& m, FakeHost&) { m.answers[L"open cdaudio"] = {275, L""}; },
       0, false},
      {"cd: no disc, the watcher gives up", 1, L"",
       [](FakeMci& m, FakeHost&) { m.answers[L"status cdaudio current track"] = {266, L""}; }, 1,
       false},
      {"cd: track past the last, no play succeeds in 3 s", 1, L"",
       [&](FakeMci& m, FakeHost&) {
         m.answers[L"status cdaudio current track"] = {0, L"1"};
         m.answers[L"status cdaudio mode"] = {0, L"stopped"};
         m.answers[position] = {289, L""};
         m.answers[L"play cdaudio from Error:289"] = {289, L""};
       },
       F_Sound::kCdStartTicks, false},
      {"cd: the disc plays", 1, L"",
       [](FakeMci& m, FakeHost&) {
         m.answers[L"status cdaudio current track"] = {0, L"12"};
         m.answers[L"status cdaudio mode"] = {0, L"stopped"};
       },
       -1, false},
      {"cd: no drive, no device", 1, L"",
       [](FakeMci& m, FakeHost&) {
         m.answers[L"open cdaudio"] = {275, L""};
         m.devices = 0;
       },
       0, true},
      {"wav plays", 2, wav, none, -1, false},
      {"wav gone since the start", 2, wav, [&](FakeMci&, FakeHost& h) { h.files.erase(wav); },
       0, false},
      {"wav unreadable", 2, wav, [&](FakeMci&, FakeHost& h) { h.unreadable.insert(wav); }, 0,
       false},
      {"wav without a RIFF/WAVE header", 2, wav,
       [&](FakeMci&, FakeHost& h) { h.starts[wav] = std::string("ID3\x04\0\0\0\0\0\0\0\0", 12); },
       0, false},
      {"wav refused by the player", 2, wav, [&](FakeMci& m, FakeHost&) { m.refused = {wav}; },
       0, false},
      {"wav, no device", 2, wav, noDevice, 0, true},
      {"mp3 plays", 2, mp3, mp3Mode(L"playing"), -1, false},
      {"mp3 opens but never plays", 2, mp3, mp3Mode(L"stopped"),
       F_Sound::kMp3StartTicks * kWatchesPerRepeat, false},
      {"mp3 does not open", 2, mp3,
       [&](FakeMci& m, FakeHost&) { m.answers[mp3OpenCommand(mp3)] = {277, L""}; }, 0, false},
      {"mp3 does not play", 2, mp3,
       [](FakeMci& m, FakeHost&) { m.answers[L"play MP3Play"] = {278, L""}; }, 0, false},
      {"mp3 unreadable", 2, mp3, [&](FakeMci&, FakeHost& h) { h.unreadable.insert(mp3); }, 0,
       false},
  };
  for (const auto& c : cases) {
    Rig rig;
    auto& [m, s, snd, h, stop, a, alarm] = rig;
    s.Sound_C[0] = 1;
    s.Sound_H[0] = 7;
    s.Sound_M[0] = 0;
    s.Sound_Kbn[0] = static_cast<std::int16_t>(c.kind);
    s.Sound_Repeat[0] = 12;
    s.Sound_F[0] = c.file;
    if (!c.file.empty()) h.files.insert(c.file);
    c.setup(m, h);

    auto chimes = [&] { return std::count(m.played.begin(), m.played.end(), kChime); };
    a.OnTick(At(7, 0));
    int at = chimes() || a.RingingSilently() ? 0 : -1;
    for (int tick = 1; tick <= 2 * F_Sound::kCdStartTicks; ++tick) {
      a.Timer5_Timer();
      if (tick % kWatchesPerRepeat == 0) a.Timer4_Timer();
      if (at < 0 && (chimes() || a.RingingSilently())) at = tick;
    }
    EXPECT_EQ(at, c.chimeAt) << c.name;
    EXPECT_EQ(chimes(), c.chimeAt >= 0 && !c.silent ? 1 : 0) << c.name;  // once per alarm
    EXPECT_EQ(a.RingingSilently(), c.silent) << c.name;
    // A chime that took over is all that sounds: the drive or the MP3 was let go.
    if (c.chimeAt >= 0) {
      EXPECT_FALSE(a.WantsWatchTicks() || a.WantsRepeatTicks()) << c.name;
    }

    a.StopSound();
    EXPECT_FALSE(a.RingingSilently()) << c.name;
    const bool usedPlayer = (c.chimeAt >= 0 && !c.silent) || c.name == std::string("wav plays");
    EXPECT_EQ(!m.played.empty() && m.played.back() == Call(L"<null>", 0u), usedPlayer) << c.name;
    EXPECT_FALSE(a.WantsWatchTicks() || a.WantsRepeatTicks()) << c.name;
  }
}

// The clock's minute jumps when the machine sleeps, the clock is set or the time zone changes;
// the tick sees only the minute before and the minute after.
TEST_F(AlarmTest, AJumpRingsLateOrNeverAndNoMinuteTwice) {
  constexpr std::int64_t kStop = 0;  // the user stops the sound (no tick falls on 1601-01-01)
  struct Case {
    const char* name;
    int hour, minute;  // alarm 0
    std::vector<std::int64_t> steps;
    std::size_t rings;
  };
  const Case cases[] = {
      {"6:58 to 7:05 over 7:00 rings late", 7, 0, {At(6, 58), At(7, 5)}, 1},
      {"30 minutes late still rings", 7, 0, {At(6, 58), At(7, 30)}, 1},
      {"31 minutes late stays silent", 7, 0, {At(6, 58), At(7, 31)}, 0},
      {"6:58 to 7:45 stays silent", 7, 0, {At(6, 58), At(7, 45)}, 0},
      {"a start after the alarm is no jump", 7, 0, {At(7, 5)}, 0},
      {"nor is the step after it", 7, 0, {At(7, 5), At(7, 6)}, 0},
      {"minute 59 rings", 7, 59, {At(7, 58), At(7, 59)}, 1},
      {"hour 24 is no time", 24, 0, {At(23, 59), At(0, 0, 2)}, 0},
      {"minute 60 is no time", 7, 60, {At(7, 59), At(8, 0)}, 0},
      {"minute -1 is no time", 7, -1, {At(6, 58), At(6, 59)}, 0},
      {"set back over an alarm that rang: it rings once", 7, 0,
       {At(6, 59), At(7, 0), kStop, At(7, 5), At(6, 55), At(6, 59), At(7, 0), At(7, 1), kStop,
        At(6, 58), At(7, 6)},
       1},
      {"set back over an alarm that was skipped: it rings", 7, 0,
       {At(6, 58), At(7, 45), At(6, 58), At(7, 0)}, 1},
      {"an hour's jump lands on the same minute number", 7, 30, {At(6, 40), At(7, 40)}, 1},
      {"23:58 to 0:03 over a 0:00 alarm", 0, 0, {At(23, 58, 1), At(0, 3, 2)}, 1},
      {"23:50 to 0:10 over a 23:55 alarm", 23, 55, {At(23, 50, 1), At(0, 10, 2)}, 1},
      {"a day and 5 minutes asleep: today's alarm is 5 minutes late", 7, 0,
       {At(6, 58, 1), At(7, 5, 2)}, 1},
      {"a day asleep, woken before the alarm: yesterday's stays silent", 7, 0,
       {At(6, 58, 1), At(6, 59, 2)}, 0},
  };
  for (const auto& c : cases) {
    Rig rig;
    auto& [m, s, snd, h, stop, a, alarm] = rig;
    rig.wavAlarm(c.hour, c.minute);
    a.Reset();
    for (std::int64_t step : c.steps) {
      if (step == kStop)
        a.StopSound();
      else
        a.OnTick(step);
    }
    std::size_t rings = 0;
    for (const auto& call : m.played) rings += call.first == L"C:\\a.wav";
    EXPECT_EQ(rings, c.rings) << c.name;
  }
}

// Where the wake timer is set: the next minute at which an alarm would fire.
TEST_F(AlarmTest, NextAlarmIsTheNextMinuteThatWouldFire) {
  struct Case {
    const char* name;
    std::int16_t on0;
    int h0, m0;
    std::int16_t on1;
    int h1, m1;
    std::vector<std::int64_t> ticks;  // before the question
    std::int64_t now, next;
    int alarm;
  };
  const Case cases[] = {
      {"none on", 0, 7, 0, 0, 8, 0, {}, At(6, 58), -1, -1},
      {"a true written as -1 is off", -1, 7, 0, 0, 8, 0, {}, At(6, 58), -1, -1},
      {"later today", 1, 7, 0, 0, 8, 0, {}, At(6, 58), At(7, 0), 0},
      {"in this minute: tomorrow", 1, 7, 0, 0, 8, 0, {}, At(7, 0), At(7, 0, 2), 0},
      {"the earlier of two", 1, 9, 0, 1, 7, 30, {}, At(6, 0), At(7, 30), 1},
      {"the earlier of two, alarm 0", 1, 7, 30, 1, 9, 0, {}, At(6, 0), At(7, 30), 0},
      {"a shared minute is alarm 0's", 1, 7, 30, 1, 7, 30, {}, At(6, 0), At(7, 30), 0},
      {"over midnight", 1, 0, 0, 0, 8, 0, {}, At(23, 59), At(0, 0, 2), 0},
      {"hour 24 is no time", 1, 24, 0, 0, 8, 0, {}, At(6, 0), -1, -1},
      {"set back over a minute that fired: tomorrow's", 1, 7, 0, 0, 8, 0,
       {At(6, 59), At(7, 0)}, At(6, 50), At(7, 0, 2), 0},
  };
  for (const auto& c : cases) {
    Rig rig;
    auto& [m, s, snd, h, stop, a, alarm] = rig;
    s.Sound_C = {c.on0, c.on1};
    s.Sound_H = {static_cast<std::int16_t>(c.h0), static_cast<std::int16_t>(c.h1)};
    s.Sound_M = {static_cast<std::int16_t>(c.m0), static_cast<std::int16_t>(c.m1)};
    for (std::int64_t t : c.ticks) a.OnTick(t);
    EXPECT_EQ(a.NextAlarm(c.now), c.next) << c.name;
    EXPECT_EQ(a.Next(c.now).alarm, c.alarm) << c.name;
  }
}

TEST(LocalMinute, CountsDaysOverMonthsYearsAndLeapDays) {
  // 1 January 1970 is 11644473600 seconds after 1 January 1601 (the platform's epochs).
  EXPECT_EQ(LocalMinute({1970, 1, 1, 0, 0}), 11644473600 / 60);
  EXPECT_EQ(LocalMinute({1601, 1, 1, 0, 0}), 0);
  struct Case { LocalTime last, next; };  // one minute apart
  const Case cases[] = {
      {{2024, 2, 28, 23, 59}, {2024, 2, 29, 0, 0}},  // a leap year
      {{2024, 2, 29, 23, 59}, {2024, 3, 1, 0, 0}},
      {{2023, 2, 28, 23, 59}, {2023, 3, 1, 0, 0}},
      {{2100, 2, 28, 23, 59}, {2100, 3, 1, 0, 0}},   // a century is no leap year...
      {{2000, 2, 28, 23, 59}, {2000, 2, 29, 0, 0}},  // ...unless it is a fourth one
      {{2023, 12, 31, 23, 59}, {2024, 1, 1, 0, 0}},
      {{2024, 4, 30, 6, 59}, {2024, 4, 30, 7, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LocalMinute(c.last) + 1, LocalMinute(c.next)) << c.next.year << "-" << c.next.month;
    for (const LocalTime& t : {c.last, c.next}) {
      const LocalTime back = FromLocalMinute(LocalMinute(t));
      EXPECT_EQ(std::vector<int>({back.year, back.month, back.day, back.hour, back.minute}),
                std::vector<int>({t.year, t.month, t.day, t.hour, t.minute}));
    }
  }
  // Every day from 1200 to 2400 (before 1601 too), at 0:00 and 23:59: a day after the day
  // before, and back to the same date.
  auto monthDays = [](int y, int m) {
    const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
    return m == 2 ? 28 + leap : 30 + (m + (m > 7)) % 2;
  };
  LocalTime d{1200, 1, 1, 0, 0};
  for (std::int64_t day = LocalMinute(d) / (24 * 60); d.year <= 2400; ++day) {
    for (const int minute : {0, 24 * 60 - 1}) {
      const LocalTime t{d.year, d.month, d.day, minute / 60, minute % 60};
      const LocalTime back = FromLocalMinute(day * 24 * 60 + minute);
      if (LocalMinute(t) != day * 24 * 60 + minute || DayOf(LocalMinute(t)) != day ||
          std::vector<int>({back.year, back.month, back.day, back.hour, back.minute}) !=
              std::vector<int>({t.year, t.month, t.day, t.hour, t.minute})) {
        ADD_FAILURE() << t.year << "-" << t.month << "-" << t.day << " " << minute;
        return;
      }
    }
    if (++d.day > monthDays(d.year, d.month)) d.day = 1, d.month = d.month % 12 + 1;
    if (d.day == 1 && d.month == 1) ++d.year;
  }
}

}  // namespace

namespace {

// A tick at a second of its minute; a bare minute is its second 0.
struct Tick {
  std::int64_t minute;
  int second;
  Tick(std::int64_t m, int s = 0) : minute(m), second(s) {}
  bool operator==(const Tick& o) const { return minute == o.minute && second == o.second; }
  friend std::ostream& operator<<(std::ostream& out, const Tick& t) {
    return out << t.minute << ":" << t.second;
  }
};

// Steps besides ticks: the user's stop, snooze and ｽﾇｰｽﾞ解除, the alarm switched off, a reload,
// the alarm moved to 7:45. 1 May 2024 is a Wednesday (bit 3); no tick falls in the first
// minutes of 1601.
constexpr std::int64_t kStop = 0, kSnooze = 1, kOff = 2, kReload = 3, kMove = 4, kCancel = 5;

// Takes the steps with the rig's alarm (a WAV): the ticks at which it rang. `switchedOff` is
// what the last stop returned.
std::vector<Tick> Play(Rig& rig, const std::vector<Tick>& steps, int& switchedOff) {
  auto& [m, s, snd, h, stop, a, alarm] = rig;
  std::vector<Tick> rings;
  Tick last = 0;
  for (const Tick& step : steps) {
    const std::size_t before = m.played.size();
    const bool ringing = a.RingingAlarm() >= 0;
    if (step.minute == kStop) switchedOff = a.StopSound();
    else if (step.minute == kSnooze)  // silenced, to ring again
      EXPECT_EQ(a.Snooze(last.minute, last.second), ringing);
    else if (step.minute == kOff) s.Sound_C[alarm] = 0;
    else if (step.minute == kReload) a.Reset();
    else if (step.minute == kMove) s.Sound_M[alarm] = 45;
    else if (step.minute == kCancel) a.CancelSnoozes();
    else a.OnTick((last = step).minute, step.second);
    if (step.minute == kSnooze) {
      EXPECT_EQ(a.RingingAlarm(), -1);
    }
    for (std::size_t k = before; k < m.played.size(); ++k) {
      if (m.played[k].first != L"C:\\a.wav") continue;
      rings.push_back(last);
      EXPECT_TRUE(a.AlarmDone);  // until the stop, nothing else rings
    }
  }
  return rings;
}

// Days of the week, once and snooze under the same jump rules: each row the ticks at which
// the alarm (7:30 unless given, a WAV) rings, and whether its last stop switched it off.
TEST(AlarmOptions, DaysOnceAndSnoozeRingAtTheirMinutesOrNever) {
  constexpr std::int16_t kWed = 1 << 3, kThu = 1 << 4, kEvery = 127;
  struct Case {
    const char* name;
    std::int16_t days, once;
    int hour, minute;
    std::vector<Tick> steps;
    std::vector<Tick> rings;
    int switchedOff;  // what the last stop returned
  };
  const Case cases[] = {
      {"today's weekday rings", kWed, 0, 7, 30, {At(7, 29), At(7, 30)}, {At(7, 30)}, -1},
      {"another weekday stays silent", kThu, 0, 7, 30, {At(7, 29), At(7, 30)}, {}, -1},
      {"and rings on its day", kThu, 0, 7, 30, {At(7, 29, 2), At(7, 30, 2)}, {At(7, 30, 2)}, -1},
      {"a jump over midnight into its day rings late", kThu, 0, 0, 0,
       {At(23, 58), At(0, 3, 2)}, {At(0, 3, 2)}, -1},
      {"a jump over midnight out of its day stays silent", kWed, 0, 0, 0,
       {At(23, 58), At(0, 3, 2)}, {}, -1},
      {"a snooze rings the snooze's minutes later", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, At(7, 31), At(7, 39), At(7, 40)}, {At(7, 30), At(7, 40)}, -1},
      {"a snooze jumped over rings late", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, At(7, 31), At(8, 10)}, {At(7, 30), At(8, 10)}, -1},
      {"a snooze over 30 minutes late is dropped", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, At(7, 31), At(8, 11), At(8, 12)}, {At(7, 30)}, -1},
      {"a snooze rings its length after the press, to the second", kEvery, 0, 7, 30,
       {{At(7, 30), 5}, {At(7, 30), 19}, kSnooze, At(7, 40), {At(7, 40), 18}, {At(7, 40), 19}},
       {{At(7, 30), 5}, {At(7, 40), 19}}, -1},
      {"a jump over a snooze's second, 30 minutes late, rings", kEvery, 0, 7, 30,
       {At(7, 30), {At(7, 30), 19}, kSnooze, {At(8, 10), 19}}, {At(7, 30), {At(8, 10), 19}}, -1},
      {"and a second later is dropped", kEvery, 0, 7, 30,
       {At(7, 30), {At(7, 30), 19}, kSnooze, {At(8, 10), 20}, At(8, 11)}, {At(7, 30)}, -1},
      {"ｽﾇｰｽﾞ解除 drops the snooze", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, kCancel, At(7, 40), At(7, 41)}, {At(7, 30)}, -1},
      {"a snooze lives through a reload", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, kReload, At(7, 35), At(7, 40)}, {At(7, 30), At(7, 40)}, -1},
      {"switching the alarm off drops its snooze", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, kOff, At(7, 40)}, {At(7, 30)}, -1},
      {"so does moving it", kEvery, 0, 7, 30, {At(7, 30), kSnooze, kMove, At(7, 40), At(7, 45)},
       {At(7, 30), At(7, 45)}, -1},
      {"set back after the snooze rang: never twice", kEvery, 0, 7, 30,
       {At(7, 30), kSnooze, At(7, 40), kStop, At(7, 35), At(7, 41)}, {At(7, 30), At(7, 40)},
       -1},
      {"a stopped once-alarm switches itself off", kEvery, -1, 7, 30, {At(7, 30), kStop},
       {At(7, 30)}, 0},
      {"a snoozed once-alarm stays on until the snooze's stop", kEvery, -1, 7, 30,
       {At(7, 30), kSnooze, At(7, 40), kStop}, {At(7, 30), At(7, 40)}, 0},
      {"a stop with nothing ringing switches nothing off", kEvery, -1, 7, 30,
       {At(7, 29), kStop}, {}, -1},
      {"a snooze with nothing ringing does nothing", kEvery, 0, 7, 30,
       {At(7, 29), kSnooze, At(7, 30), At(7, 39)}, {At(7, 30)}, -1},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < kAlarmCount; ++i) {  // every alarm alike
      SCOPED_TRACE(testing::Message() << c.name << ", alarm " << i);
      Rig rig;
      rig.wavAlarm(c.hour, c.minute, i);
      rig.s.Options[i].Days = c.days;
      rig.s.Options[i].Once = c.once;
      rig.a.Reset();
      int switchedOff = -1;
      EXPECT_EQ(Play(rig, c.steps, switchedOff), c.rings);
      EXPECT_EQ(switchedOff, c.switchedOff < 0 ? -1 : i);
    }
  }
}

// The next ring skips the days an alarm (7:30) keeps silent and names a pending snooze (of 5
// minutes) until it rings, is too late, or gives way to the alarm's own ring or a new time.
TEST(AlarmOptions, NextRingSkipsSilentDaysAndNamesTheSnooze) {
  const struct {
    const char* name;
    std::int16_t days;
    std::vector<Tick> steps;
    std::int64_t now, next;
    bool snoozed;
  } rows[] = {
      {"Mondays: after Wednesday 1 May, 6 May", 1 << 1, {}, At(8, 0), At(7, 30, 6), false},
      {"a pending snooze", 127, {At(7, 30), kSnooze}, At(7, 31), At(7, 35), true},
      {"a snooze due rings at the next tick, in this minute", 127, {At(7, 30), kSnooze},
       At(7, 36), At(7, 36), true},
      {"a snooze that rang", 127, {At(7, 30), kSnooze, At(7, 35)}, At(7, 35), At(7, 30, 2), false},
      {"a snooze too late", 127, {At(7, 30), kSnooze, At(7, 31), At(8, 20)}, At(8, 20),
       At(7, 30, 2), false},
      {"the alarm's own ring", 127, {At(7, 30), kSnooze, At(7, 31), At(7, 32, 2)}, At(7, 32, 2),
       At(7, 30, 3), false},
      {"a new time", 127, {At(7, 30), kSnooze, kMove}, At(7, 31), At(7, 45), false},
      {"set back over eight days that rang: the ninth", 127,
       {At(7, 30, 1), kStop, At(7, 30, 2), kStop, At(7, 30, 3), kStop, At(7, 30, 4), kStop,
        At(7, 30, 5), kStop, At(7, 30, 6), kStop, At(7, 30, 7), kStop, At(7, 30, 8), kStop},
       At(7, 0, 1), At(7, 30, 9), false},
  };
  for (const auto& r : rows) {
    for (int i = 0; i < kAlarmCount; ++i) {
      SCOPED_TRACE(testing::Message() << r.name << ", alarm " << i);
      Rig rig;
      rig.wavAlarm(7, 30, i);
      rig.s.Options[i].Days = r.days;
      rig.s.Snooze_Min = 5;
      int switchedOff = -1;
      Play(rig, r.steps, switchedOff);
      const AlarmClock::NextRing next = rig.a.Next(r.now);
      EXPECT_EQ(next.minute, r.next);
      EXPECT_EQ(next.snoozed, r.snoozed);
    }
  }
}

// Eight alarms under one decision. Each row sets some alarms (a WAV each) and takes its steps;
// it expects the alarms whose sound started, in order, those the last ring named as due with it,
// the once-alarms that counted as rung, and then the next ring. 1 May 2024 is a Wednesday.
TEST(EightAlarms, OneSoundTheOthersCountAsRungEachItsOwnSnooze) {
  constexpr std::int16_t kThu = 1 << 4, kFri = 1 << 5;
  struct Alarm {
    int i, hour, minute;
    std::int16_t days = 127, once = 0;
    bool inUse = true;
  };
  const struct {
    const char* name;
    std::vector<Alarm> alarms;
    std::vector<Tick> steps;
    std::vector<int> rang, alsoDue, rungOnce;
    std::int64_t now, next;
    int nextAlarm;
  } rows[] = {
      {"three in one minute: the lowest rings, the once-alarm among the others is done",
       {{6, 7, 30}, {3, 7, 30}, {5, 7, 30, 127, -1}}, {At(7, 29), At(7, 30)}, {3}, {5, 6}, {5},
       At(7, 31), At(7, 30, 2), 3},
      {"alarm 0 before the list's", {{7, 7, 30}, {0, 7, 30}}, {At(7, 30)}, {0}, {7}, {},
       At(7, 31), At(7, 30, 2), 0},
      {"the others do not ring after the stop", {{2, 7, 30}, {4, 7, 30}},
       {At(7, 30), kStop, At(7, 31), At(7, 32)}, {2}, {}, {}, At(7, 32), At(7, 30, 2), 2},
      {"an alarm not in use never rings nor is next", {{4, 7, 30, 127, 0, false}, {7, 7, 31}},
       {At(7, 29), At(7, 30)}, {}, {}, {}, At(7, 30), At(7, 31), 7},
      {"a jump over two minutes: the lowest rings, the other counts as rung",
       {{5, 7, 10}, {2, 7, 20, 127, -1}}, {At(7, 0), At(7, 25)}, {2}, {5}, {}, At(7, 25),
       At(7, 10, 2), 5},
      {"the next ring across days: Thursday's 6:00 before Friday's 5:00",
       {{2, 6, 0, kThu}, {7, 5, 0, kFri}, {1, 4, 0, kFri}}, {At(8, 0)}, {}, {}, {}, At(8, 0),
       At(6, 0, 2), 2},
      {"each keeps its own snooze", {{2, 7, 30}, {6, 7, 32}},
       {At(7, 30), kSnooze, At(7, 32), kSnooze, At(7, 35), kStop, At(7, 36), At(7, 37)},
       {2, 6, 2, 6}, {}, {}, At(7, 38), At(7, 30, 2), 2},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Rig rig;
    rig.s.Snooze_Min = 5;
    for (const Alarm& a : r.alarms) {
      rig.wavAlarm(a.hour, a.minute, a.i);
      rig.s.AlarmInUse[a.i] = a.inUse;
      rig.s.Options[a.i].Days = a.days;
      rig.s.Options[a.i].Once = a.once;
    }
    rig.a.Reset();
    std::vector<int> rang, rungOnce;
    Tick last = 0;
    for (const Tick& step : r.steps) {
      const std::size_t before = rig.m.played.size();
      if (step.minute == kStop) rig.a.StopSound();
      else if (step.minute == kSnooze) rig.a.Snooze(last.minute, last.second);
      else rig.a.OnTick((last = step).minute, step.second);
      for (std::size_t k = before; k < rig.m.played.size(); ++k)
        if (rig.m.played[k].first != L"<null>") rang.push_back(rig.snd.CurrentAlarm);
      for (int i : rig.a.TakeRungOnce()) rungOnce.push_back(i);
    }
    EXPECT_EQ(rang, r.rang);
    EXPECT_EQ(rig.a.AlsoDue(), r.alsoDue);
    EXPECT_EQ(rungOnce, r.rungOnce);
    const AlarmClock::NextRing next = rig.a.Next(r.now);
    EXPECT_EQ(next.minute, r.next);
    EXPECT_EQ(next.alarm, r.nextAlarm);
  }
}

// A fade rises from silence to the alarm's volume on the program's own output: the player's
// volume for a WAV (set before it plays), MCI's scale of 1000 for an MP3.
TEST(AlarmOptions, AFadeRisesFromSilenceToTheVolume) {
  for (const bool mp3 : {false, true}) {
    Rig rig;
    auto& [m, s, snd, h, stop, a, alarm] = rig;
    rig.wavAlarm(7, 30);
    if (mp3) h.files.insert(s.Sound_F[0] = L"C:\\a.mp3");
    s.Options[0].Volume = 80;
    s.Options[0].FadeIn = 10;
    a.OnTick(At(7, 30));  // the alarm's volume and fade go with the sound it starts
    std::vector<int> levels = m.volumes;
    for (unsigned long t : {2500ul, 5000ul, 10000ul, 12000ul}) {
      m.now = t;
      snd.FadeTick();
    }
    EXPECT_FALSE(snd.Fading());
    if (mp3) {
      std::vector<std::wstring> set;
      for (const auto& c : m.commands())
        if (c.rfind(L"setaudio", 0) == 0) set.push_back(c);
      EXPECT_EQ(set, (std::vector<std::wstring>{L"setaudio MP3Play volume to 0",
                                                 L"setaudio MP3Play volume to 200",
                                                 L"setaudio MP3Play volume to 400",
                                                 L"setaudio MP3Play volume to 800"}));
      EXPECT_EQ(m.commands()[2], L"play MP3Play") << "silent before it plays";
    } else {
      EXPECT_EQ(m.volumes, (std::vector<int>{0, 20, 40, 80}));
      EXPECT_EQ(levels, std::vector<int>{0}) << "silent before the player starts";
    }
    // The next alarm at the default volume sets the player back to full, whatever set it since.
    snd.Stop();
    m.volumes.clear();
    snd.StartWav(1, L"C:\\b.wav");
    EXPECT_EQ(m.volumes, std::vector<int>{100});
  }
}

}  // namespace
