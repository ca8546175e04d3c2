#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock/alarm_service.h"
#include "clock/reading.h"
#include "fake_mci.h"
#include "tests/unit/memory_settings_file.h"

namespace {

struct Files : AlarmHost {
  bool FileExists(const std::wstring&) override { return true; }
  bool ReadStart(const std::wstring&, std::size_t, std::string& bytes) override {
    bytes = std::string("RIFF\x24\x08\0\0WAVEfmt ", 16);
    return true;
  }
};

struct Timers : AlarmTimers {
  bool repeat = false, watch = false, fade = false;
  std::int64_t wake = -2;
  void SetSoundTicks(bool r, bool w, bool f) override {
    repeat = r;
    watch = w;
    fade = f;
  }
  void SetWake(std::int64_t minute) override { wake = minute; }
};

struct Heard : AlarmListener {
  int rings = 0;
  std::vector<std::wstring> next;
  void RingChanged() override { ++rings; }
  void NextRingChanged(const std::wstring& text) override { next.push_back(text); }
};

// Alarm 0 at 7:30, a WAV, once; alarm 1 at 7:45 with the chime's kind (neither CD nor file).
const char kFile[] =
    "[Section]\r\nSound_C_0= 1\r\nSound_H_0= 7\r\nSound_M_0= 30\r\nSound_Kbn_0= 2\r\n"
    "Sound_F_0=C:\\a.wav\r\nSound_Once_0=-1\r\nSnooze_Min= 5\r\n";

std::int64_t At(int hour, int minute) { return LocalMinute({2026, 12, 9, hour, minute}); }

TEST(AlarmService, RingsSnoozesStopsAndSwitchesAOnceAlarmOffThroughTheStore) {
  MemoryFile file(kFile);
  file.files.insert(L"C:\\a.wav");
  SettingsStore store(file, L"C:\\");
  store.Load();
  FakeMci mci;
  F_Sound sound(mci);
  Files files;
  Timers timers;
  AlarmService service(store, sound, files, timers);
  Heard heard;
  service.Listen(heard);

  // Before its minute: nothing rings, the wake-up and the tip name 7:30.
  EXPECT_TRUE(service.OnTick(At(7, 29)));
  EXPECT_EQ(heard.rings, 0);
  EXPECT_EQ(timers.wake, At(7, 30));
  EXPECT_EQ(heard.next, std::vector<std::wstring>{NextRingText(At(7, 30), false, At(7, 29))});
  EXPECT_FALSE(service.OnTick(At(7, 29)));  // the same minute again tells nothing new
  service.TimeMoved(At(7, 29));               // nor does the same next ring told again
  EXPECT_EQ(heard.next.size(), 1u);

  // 試聴 of a CD alarm is the chime; of an MP3 that never plays, the chime after three checks.
  ASSERT_TRUE(service.StartTest({0, 1, L"", 100, 0}));
  EXPECT_EQ(mci.played.back().first, L"CHIME");
  service.StopTest();
  ASSERT_TRUE(service.StartTest({1, 2, L"C:\\c.mp3", 50, 0}));
  for (int k = 0; k < F_Sound::kMp3StartTicks; ++k) service.RepeatTick();
  EXPECT_EQ(mci.played.back().first, L"CHIME");
  service.StopTest();

  // 試聴 of an MP3 plays it, rings nothing, and runs the repeat ticks an MP3 needs.
  ASSERT_TRUE(service.StartTest({1, 2, L"C:\\b.mp3", 50, 0}));
  EXPECT_TRUE(service.Testing() && timers.repeat);
  EXPECT_EQ(heard.rings, 0);
  EXPECT_FALSE(service.Ringing());

  // At its minute it rings, ending the test: the listeners hear it, the notice names it.
  service.OnTick(At(7, 30));
  EXPECT_EQ(heard.rings, 1);
  EXPECT_FALSE(service.Testing());
  ASSERT_TRUE(service.Ringing());
  EXPECT_FALSE(service.StartTest({0, 2, L"C:\\a.wav", 50, 0}));  // never over an alarm
  EXPECT_EQ(service.Ringing()->alarm, 0);
  EXPECT_EQ(service.Ringing()->snoozeMinutes, 5);
  EXPECT_EQ(mci.played.back().first, L"C:\\a.wav");

  // Snoozed at 7:31:19: silent, and due again five minutes after the press, to the second; the
  // wake-up follows its minute, a hidden clock's tick its second.
  EXPECT_TRUE(service.Snooze(At(7, 31), 19));
  EXPECT_FALSE(service.Ringing());
  EXPECT_EQ(heard.rings, 2);
  EXPECT_EQ(timers.wake, At(7, 36));
  EXPECT_EQ(heard.next.back(), NextRingText(At(7, 36), true, At(7, 31)));
  EXPECT_FALSE(service.Snooze(At(7, 31)));  // nothing rings to snooze
  EXPECT_EQ(store.Get().Sound_C[0], 1);     // a snooze keeps a once-alarm on
  EXPECT_EQ(service.SnoozeSecond(At(7, 35), 30), -1);  // not in this minute

  service.OnTick(At(7, 36));
  EXPECT_EQ(service.SnoozeSecond(At(7, 36), 0), 19);
  EXPECT_EQ(timers.wake, At(7, 37));  // never the minute under way, whose start has passed
  service.OnTick(At(7, 36), 18);
  EXPECT_FALSE(service.Ringing());
  EXPECT_EQ(service.SnoozeSecond(At(7, 36), 18), 19);
  EXPECT_EQ(service.SnoozeSecond(At(7, 36), 19), -1);  // due now: the tick's, not a wake
  service.OnTick(At(7, 36), 19);
  ASSERT_TRUE(service.Ringing());
  EXPECT_EQ(service.SnoozeSecond(At(7, 36), 0), -1);
  // Rung within the minute, the snooze gives way to the alarm's own next ring at once.
  EXPECT_EQ(heard.next.back(), NextRingText(At(7, 30) + 24 * 60, false, At(7, 36)));
  // Stopped: a once-alarm is off in memory and in the file, and nothing is left to wake for.
  service.Stop(At(7, 37));
  EXPECT_FALSE(service.Ringing());
  EXPECT_EQ(heard.rings, 4);
  EXPECT_EQ(store.Get().Sound_C[0], 0);
  EXPECT_EQ(file.Value(L"Sound_C_0"), L"0");
  EXPECT_EQ(timers.wake, -1);
  EXPECT_EQ(heard.next.back(), L"");
  EXPECT_EQ(mci.played.back().first, L"<null>");

  // New settings from the dialog: the alarm on again for 7:40 rings at its minute.
  Settings edited = store.Edit();
  edited.Sound_C[0] = 1;
  store.Replace(edited, {{L"Sound_C_0", L" 1"}, {L"Sound_M_0", L" 40"}});
  EXPECT_TRUE(service.OnTick(At(7, 36), 20));  // the first tick after them starts afresh
  EXPECT_EQ(timers.wake, At(7, 40));
  service.OnTick(At(7, 40));
  EXPECT_TRUE(service.Ringing());
  EXPECT_EQ(heard.rings, 5);

  // ｽﾇｰｽﾞ解除: the snooze is gone, and the tip, the value and the wake-up name tomorrow's ring.
  service.Snooze(At(7, 40), 30);
  EXPECT_TRUE(service.Snoozing());
  service.CancelSnooze(At(7, 41));
  EXPECT_FALSE(service.Snoozing());
  EXPECT_EQ(heard.next.back(), NextRingText(At(7, 40) + 24 * 60, false, At(7, 41)));
  EXPECT_EQ(timers.wake, At(7, 40) + 24 * 60);
  service.OnTick(At(7, 45), 30);
  EXPECT_FALSE(service.Ringing());
}

}  // namespace
