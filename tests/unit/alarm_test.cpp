#include <gtest/gtest.h>

#include <set>

#include "clock/alarm.h"
#include "fake_mci.h"

namespace {

using Call = std::pair<std::wstring, unsigned>;

struct FakeHost : AlarmHost {
  std::set<std::wstring> files;
  bool FileExists(const std::wstring& path) override { return files.count(path) > 0; }
};

struct AlarmTest : ::testing::Test {
  FakeMci mci;
  Settings settings;
  F_Sound sound{mci};
  FakeHost host;
  bool stopRequested = false;
  AlarmClock alarm{settings, sound, host, stopRequested};
  int lastMinute = 99;  // as after a load of the window

  void set(int i, int hour, int minute, int kind, const std::wstring& file) {
    settings.Sound_C[i] = 1;
    settings.Sound_H[i] = static_cast<std::int16_t>(hour);
    settings.Sound_M[i] = static_cast<std::int16_t>(minute);
    settings.Sound_Kbn[i] = static_cast<std::int16_t>(kind);
    settings.Sound_F[i] = file;
    host.files.insert(file);
  }
  // One handled second of the clock tick.
  void tick(int hour, int minute) {
    const bool changed = minute != lastMinute;
    lastMinute = minute;
    alarm.OnTick(changed, hour, minute);
  }
  void reload() {
    alarm.Reset();
    lastMinute = 99;
  }
};

TEST_F(AlarmTest, FiresOnceAndStaysQuietUntilStopped) {
  set(0, 7, 30, 2, L"C:\\a.wav");
  set(1, 7, 31, 2, L"C:\\b.wav");
  tick(7, 29);
  for (int s = 0; s < 60; ++s) tick(7, 30);
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
  tick(7, 30);
  alarm.StopSound();
  reload();
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
  EXPECT_EQ(mci.played, (std::vector<Call>{{L"C:\\a.wav", 9u}}));
  EXPECT_EQ(sound.CurrentAlarm, 0);
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
      {"file gone", 1, 2, L"C:\\a.wav", false, true, {}, {}, false, false},
      {"other ending", 1, 2, L"C:\\a.ogg", true, true, {}, {}, false, false},
      {"lower-case wav", 1, 2, L"C:\\a.wav", true, true, {}, {{L"C:\\a.wav", 9u}}, false, false},
      {"mp3", 1, 2, mp3, true, true, {mp3OpenCommand(mp3), L"play MP3Play"}, {}, true, false},
      {"cd", 1, 1, L"C:\\a.wav", true, true,
       {L"open cdaudio", L"set cdaudio time format tmsf"}, {}, false, true},
  };
  for (const auto& c : cases) {
    FakeMci m;
    Settings s;
    F_Sound snd(m);
    FakeHost h;
    bool stop = false;
    AlarmClock a(s, snd, h, stop);
    s.Sound_C[1] = c.on;
    s.Sound_H[1] = 6;
    s.Sound_M[1] = 0;
    s.Sound_Kbn[1] = static_cast<std::int16_t>(c.kind);
    s.Sound_F[1] = c.file;
    if (c.exists) h.files.insert(c.file);

    a.OnTick(false, 6, 0);  // not the first tick of the minute
    EXPECT_FALSE(a.AlarmDone) << c.name;
    a.OnTick(true, 6, 0);

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
      {"file gone: nothing started", 2, L"C:\\gone.mp3", 2, mp3, {}, {}},
  };
  for (const auto& c : cases) {
    FakeMci m;
    Settings s;
    F_Sound snd(m);
    FakeHost h;
    bool stop = false;
    AlarmClock a(s, snd, h, stop);
    s.Sound_C[1] = 1;
    s.Sound_H[1] = 7;
    s.Sound_M[1] = 30;
    s.Sound_Kbn[1] = static_cast<std::int16_t>(c.kind);
    s.Sound_F[1] = c.file;
    if (c.file != L"C:\\gone.mp3") h.files.insert(c.file);
    a.OnTick(true, 7, 30);
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

}  // namespace
