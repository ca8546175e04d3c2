#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock/alarm_service.h"
#include "clock/strike.h"
#include "fake_mci.h"
#include "tests/unit/memory_settings_file.h"

namespace {

struct User : NotificationPort {
  bool accepts = true;
  bool UserAccepts() override { return accepts; }
};

// A stroke as one letter: H the hour's bell, h the half hour's, 1..4 the quarters' bells.
std::wstring Letters(const std::vector<Stroke>& strokes) {
  std::wstring out;
  for (const Stroke& s : strokes) {
    const std::wstring bell = s.bell;
    if (bell == kHourBell) out += L'H';
    else if (bell == kHalfBell) out += L'h';
    else out += bell.back();
  }
  return out;
}

// Hour 24 is the next day's midnight.
std::int64_t At(int hour, int minute) {
  return LocalMinute({2026, 12, 9, 0, 0}) + hour * 60 + minute;
}

struct Row {
  const char* name;
  std::int16_t mode, from, to;
  int offset;  // minutes from UTC: the ticks are UTC times of day, the clock reads local ones
  std::vector<std::pair<int, int>> ticks;
  bool alarmBusy, accepts;
  const wchar_t* strokes;  // every stroke of the run, in order
};

TEST(Strike, DecidesFromTheTicksTheKeysTheAlarmsAndTheUser) {
  const Row rows[] = {
      {"local :00 at +0", 2, 22, 7, 0, {{14, 59}, {15, 0}}, false, true, L"HHH"},
      {"local :00 at +5:30", 2, 22, 7, 330, {{9, 29}, {9, 30}}, false, true, L"HHH"},
      {"UTC's :00 at +5:30 is a half hour", 2, 22, 7, 330, {{9, 59}, {10, 0}}, false, true, L""},
      {"the half hour's bell", 3, 22, 7, 330, {{9, 59}, {10, 0}}, false, true, L"h"},
      {"one bell on the hour", 1, 22, 7, 0, {{14, 59}, {15, 0}, {15, 29}, {15, 30}}, false, true,
       L"H"},
      {"21:00 before the quiet hours", 2, 22, 7, 0, {{20, 59}, {21, 0}}, false, true,
       L"HHHHHHHHH"},
      {"22:00 is quiet", 2, 22, 7, 0, {{21, 59}, {22, 0}}, false, true, L""},
      {"6:00 is quiet", 2, 22, 7, 0, {{5, 59}, {6, 0}}, false, true, L""},
      {"7:00 strikes", 2, 22, 7, 0, {{6, 59}, {7, 0}}, false, true, L"HHHHHHH"},
      {"From = To: no quiet hours", 2, 5, 5, 0, {{2, 59}, {3, 0}, {21, 59}, {22, 0}}, false, true,
       L"HHH" L"HHHHHHHHHH"},
      {"midnight and noon strike twelve", 2, 5, 5, 0, {{11, 59}, {12, 0}, {23, 59}, {24, 0}},
       false, true, L"HHHHHHHHHHHH" L"HHHHHHHHHHHH"},
      {"a jump from 13:50 to 16:05", 2, 22, 7, 0, {{13, 50}, {16, 5}, {16, 6}}, false, true, L""},
      {"a jump onto the boundary", 2, 22, 7, 0, {{14, 58}, {15, 0}}, false, true, L""},
      {"the run's first tick", 2, 22, 7, 0, {{15, 0}}, false, true, L""},
      {"an alarm due at 15:00", 2, 22, 7, 0, {{14, 59}, {15, 0}}, true, true, L""},
      {"the user is busy", 2, 22, 7, 0, {{14, 59}, {15, 0}}, false, false, L""},
      {"off", 0, 5, 5, 0, {{14, 59}, {15, 0}}, false, true, L""},
      {"the quarters", 4, 5, 5, 0, {{8, 14}, {8, 15}, {8, 29}, {8, 30}, {8, 44}, {8, 45}},
       false, true, L"1234" L"31243213" L"132442131234"},
      {"the quarters on the hour, then the count", 4, 5, 5, 0, {{1, 59}, {2, 0}}, false, true,
       L"3124321313244213" L"HH"},
      // Summer time ends at 3:00: the clock goes back from 2:59 to 2:00.
      {"summer time's repeated hour", 4, 5, 5, 0,
       {{2, 14}, {2, 15}, {2, 59}, {2, 0}, {2, 14}, {2, 15}, {2, 16}}, false, true, L"1234"},
  };
  for (const Row& row : rows) {
    StrikeClock strike;
    User user;
    user.accepts = row.accepts;
    int asked = 0;
    const auto busy = [&] {
      ++asked;
      return row.alarmBusy;
    };
    const StrikeOptions keys{row.mode, row.from, row.to, 40};
    std::wstring heard;
    for (const auto& [hour, minute] : row.ticks) {
      const std::int64_t now = At(hour, minute) + row.offset;
      heard += Letters(strike.OnTick(now, keys, busy, user));
      EXPECT_TRUE(strike.OnTick(now, keys, busy, user).empty()) << row.name;  // once a minute
    }
    EXPECT_EQ(heard, row.strokes) << row.name;
    EXPECT_LE(asked, static_cast<int>(row.ticks.size())) << row.name;
  }
}

// An alarm at 7:30 (a WAV at 70 %); the strike counts the hours and strikes the half hour.
const char kFile[] =
    "[Section]\r\nSound_C_0= 1\r\nSound_H_0= 7\r\nSound_M_0= 30\r\nSound_Kbn_0= 2\r\n"
    "Sound_F_0=C:\\a.wav\r\nSound_Volume_0= 70\r\nStrike= 3\r\nStrike_Quiet_From= 5\r\n"
    "Strike_Quiet_To= 5\r\n";

struct Files : AlarmHost {
  bool FileExists(const std::wstring&) override { return true; }
  bool ReadStart(const std::wstring&, std::size_t, std::string& bytes) override {
    bytes = std::string("RIFF\x24\x08\0\0WAVEfmt ", 16);
    return true;
  }
};

struct Timers : AlarmTimers {
  bool fade = false;
  void SetSoundTicks(bool, bool, bool f) override { fade = f; }
  void SetWake(std::int64_t) override {}
};

TEST(Strike, PacedThroughThePlayerStoppedByTheUserAndNeverOverAnAlarm) {
  MemoryFile file(kFile);
  file.files.insert(L"C:\\a.wav");
  SettingsStore store(file, L"C:\\");
  store.Load();
  FakeMci mci;
  F_Sound sound(mci);
  Files files;
  Timers timers;
  AlarmService service(store, sound, files, timers);
  const auto strokes = [&] {
    std::vector<std::wstring> out;
    for (const auto& [name, flags] : mci.played) out.push_back(name);
    return out;
  };
  const auto tick = [&](unsigned long ms) {
    mci.now += ms;
    service.FadeTick();
  };

  // 3:00: three strokes two seconds apart, at the strike's own level, then the player's back.
  service.OnTick(At(2, 59));
  service.OnTick(At(3, 0));
  EXPECT_TRUE(service.Striking() && timers.fade);
  tick(1750);
  EXPECT_EQ(strokes().size(), 1u);
  tick(250);
  tick(2000);
  EXPECT_EQ(strokes(), std::vector<std::wstring>(3, kHourBell));
  EXPECT_EQ(mci.played.back().second, kSndAsync | kSndResource);
  tick(2000);
  EXPECT_FALSE(service.Striking() || timers.fade);
  EXPECT_EQ(mci.volumes, (std::vector<int>{40, 100}));

  // 4:00: Esc after the second stroke ends it at once.
  mci.played.clear();
  service.OnTick(At(3, 59));
  service.OnTick(At(4, 0));
  tick(2000);
  service.Stop(At(4, 0));
  tick(2000);
  EXPECT_EQ(strokes(), (std::vector<std::wstring>{kHourBell, kHourBell, L"<null>"}));
  EXPECT_FALSE(service.Striking());

  // 7:30: the alarm alone, at its own level.
  mci.played.clear();
  mci.volumes.clear();
  service.OnTick(At(7, 29));
  service.OnTick(At(7, 30));
  EXPECT_EQ(strokes(), std::vector<std::wstring>{L"C:\\a.wav"});
  EXPECT_EQ(mci.volumes, std::vector<int>{70});
  service.Stop(At(7, 30));

  // An alarm's sound that starts during a strike ends it first and keeps its own level.
  mci.played.clear();
  mci.volumes.clear();
  ASSERT_TRUE(sound.StartStrike({{kHourBell, 2000}, {kHourBell, 2000}}, 40));
  sound.SetLoudness({70, 0});
  sound.StartWav(0, L"C:\\a.wav");
  EXPECT_EQ(strokes(), (std::vector<std::wstring>{kHourBell, L"<null>", L"C:\\a.wav"}));
  EXPECT_EQ(mci.volumes.back(), 70);
  EXPECT_FALSE(sound.StartStrike({{kHourBell, 2000}}, 40));  // nor does a strike start over it
  service.Stop(At(7, 30));

  // The pendulum's tick: only when switched on, and never over a strike.
  mci.played.clear();
  service.Swing();
  StrikeOptions ticking = store.Get().Strike;
  ticking.Tick = -1;
  store.SetStrike(ticking);
  EXPECT_NE(file.Bytes().find("Tick=-1"), std::string::npos);
  service.Swing();
  ASSERT_TRUE(service.StartStrikeTest(ticking));
  service.Swing();
  EXPECT_EQ(strokes(), (std::vector<std::wstring>{kTickResource, kHourBell}));
}

}  // namespace
