#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fake_mci.h"
#include "sound/alarm_sound.h"

namespace {

using Sent = FakeMci::Sent;
using Answer = FakeMci::Answer;

struct SoundTest : ::testing::Test {
  FakeMci mci;
  F_Sound sound{mci};
};

TEST_F(SoundTest, CommandSequences) {
  struct Case {
    const char* name;
    std::function<void(F_Sound&)> run;
    std::vector<Sent> expected;
  };
  const Case cases[] = {
      {"OpenCd", [](F_Sound& s) { s.OpenCd(); },
       {{L"open cdaudio", 0}, {L"set cdaudio time format tmsf", 0}}},
      {"StopCd", [](F_Sound& s) { s.StopCd(); }, {{L"stop cdaudio", 0}, {L"close cdaudio", 0}}},
      {"StopMp3", [](F_Sound& s) { s.StopMp3(); }, {{L"stop MP3Play", 0}, {L"close MP3Play", 0}}},
      {"RepeatMp3 while stopped", [](F_Sound& s) { s.RepeatMp3(); },
       {{L"status MP3Play mode", 30}, {L"stop MP3Play", 0}, {L"play MP3Play from 0", 0}}},
      {"an MP3 never found playing is restarted, then let go at the third repeat",
       [](F_Sound& s) {
         s.StartMp3(0, L"C:\\a.mp3");
         for (int i = 0; i < F_Sound::kMp3StartTicks + 2; ++i) s.RepeatTick();
       },
       {{mp3OpenCommand(L"C:\\a.mp3"), 0}, {L"play MP3Play", 0},
        {L"status MP3Play mode", 30}, {L"stop MP3Play", 0}, {L"play MP3Play from 0", 0},
        {L"status MP3Play mode", 30}, {L"stop MP3Play", 0}, {L"play MP3Play from 0", 0},
        {L"status MP3Play mode", 30}, {L"stop MP3Play", 0}, {L"close MP3Play", 0}}},
      {"MciStatus", [](F_Sound& s) { s.MciStatus(L"status cdaudio mode"); },
       {{L"status cdaudio mode", 512}}},
  };
  for (const auto& c : cases) {
    FakeMci fresh;
    F_Sound s(fresh);
    c.run(s);
    EXPECT_EQ(fresh.sent, c.expected) << c.name;
  }
}

TEST_F(SoundTest, MciSendEmptyCommandSendsNothing) {
  std::wstring out;
  EXPECT_EQ(sound.MciSend(L"", out), -1);
  EXPECT_EQ(out, L"コマンド文字列が指定されていません");
  EXPECT_TRUE(mci.sent.empty());
  EXPECT_EQ(sound.MciStatus(L""), L"Error:-1");
}

TEST_F(SoundTest, MciSendReplyAndErrorTexts) {
  mci.answers[L"status cdaudio current track"] = {0, L"7"};
  mci.answers[L"open cdaudio"] = {266, L""};
  mci.answers[L"play nothing"] = {263, L""};
  mci.errorTexts[266] = L"No CD drive";
  std::wstring out;

  EXPECT_EQ(sound.MciSend(L"status cdaudio current track", out), 0);
  EXPECT_EQ(out, L"7");
  EXPECT_EQ(sound.MciSend(L"open cdaudio", out), 266);
  EXPECT_EQ(out, L"No CD drive");
  EXPECT_EQ(sound.MciSend(L"play nothing", out), 263);
  EXPECT_EQ(out, L"Error (文字列が取れません)");
  EXPECT_EQ(mci.errorLengths, (std::vector<int>{256, 256}));

  EXPECT_EQ(sound.MciStatus(L"status cdaudio current track"), L"7");
  EXPECT_EQ(sound.MciStatus(L"open cdaudio"), L"Error:266");
}

TEST_F(SoundTest, MciPlayBuildsItsCommand) {
  struct Case {
    const wchar_t* from;
    const wchar_t* to;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"", L"", L"play cdaudio"},
      {L"03:00:00:00", L"", L"play cdaudio from 03:00:00:00"},
      {L"", L"5", L"play cdaudio to 5"},
      {L"1", L"2", L"play cdaudio from 1 to 2"},
  };
  for (const auto& c : cases) sound.MciPlay(L"cdaudio", c.from, c.to);
  ASSERT_EQ(mci.sent.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(mci.sent[i].first, cases[i].expected);
    EXPECT_EQ(mci.sent[i].second, 512);
  }
}

TEST_F(SoundTest, WatchCd) {
  const std::wstring track = L"status cdaudio current track";
  const std::wstring count = L"status cdaudio number of tracks";
  const std::wstring mode = L"status cdaudio mode";
  struct Case {
    const char* name;
    std::int16_t repeat;
    Answer track;
    Answer count;
    const wchar_t* mode;
    Answer position;  // answer to "status cdaudio position track <repeat>"
    bool cdOk;
    std::vector<std::wstring> afterMode;  // commands after the mode query
    std::size_t queries;                  // commands up to and including the mode query
  };
  const Case cases[] = {
      {"no disc", 0, {266, L""}, {}, L"", {}, false, {}, 1},
      {"count fails", 0, {0, L"1"}, {266, L""}, L"", {}, false, {}, 2},
      {"whole disc playing", 0, {0, L"2"}, {0, L"12"}, L"playing", {}, true, {}, 3},
      {"whole disc stopped", 0, {0, L"1"}, {0, L"12"}, L"stopped", {}, true, {L"play cdaudio"}, 3},
      {"whole disc, track not a number", 0, {0, L""}, {0, L"12"}, L"stopped", {}, true,
       {L"play cdaudio"}, 3},
      {"repeat track playing", 3, {0, L"3"}, {0, L"12"}, L"playing", {}, true, {}, 3},
      {"ran on into the next track", 3, {0, L"4"}, {0, L"12"}, L"playing", {0, L"03:00:00:00"},
       true, {L"status cdaudio position track 3", L"play cdaudio from 03:00:00:00"}, 3},
      {"repeat track stopped", 3, {0, L" 3 "}, {0, L"12"}, L"stopped", {0, L"03:00:00:00"}, true,
       {L"status cdaudio position track 3", L"play cdaudio from 03:00:00:00"}, 3},
      {"repeat track beyond the last", 15, {0, L"1"}, {0, L"12"}, L"stopped", {277, L""}, true,
       {L"status cdaudio position track 15", L"play cdaudio from Error:277"}, 3},
      {"track not a number", 3, {0, L"?"}, {0, L"12"}, L"stopped", {}, false, {}, 3},
  };
  for (const auto& c : cases) {
    FakeMci fake;
    F_Sound cd(fake);
    fake.answers[track] = c.track;
    fake.answers[count] = c.count;
    fake.answers[mode] = {0, c.mode};
    fake.answers[L"status cdaudio position track " + std::to_wstring(c.repeat)] = c.position;

    cd.WatchCd(c.repeat);

    EXPECT_EQ(cd.CdOk, c.cdOk) << c.name;
    const std::vector<std::wstring> all = fake.commands();
    std::vector<std::wstring> expected = {track, count, mode};
    expected.resize(c.queries);
    expected.insert(expected.end(), c.afterMode.begin(), c.afterMode.end());
    EXPECT_EQ(all, expected) << c.name;
    if (c.queries == 3) {
      EXPECT_EQ(fake.sent[2].second, 255) << c.name;
    }
  }
}

TEST_F(SoundTest, CdModeBufferKeepsItsContent) {
  mci.answers[L"status cdaudio current track"] = {0, L"1"};
  mci.answers[L"status cdaudio mode"] = {0, L"stopped"};
  sound.WatchCd(0);
  mci.answers[L"status cdaudio mode"] = {263, L"", false};  // writes nothing this time
  sound.WatchCd(0);
  const auto all = mci.commands();
  EXPECT_EQ(std::count(all.begin(), all.end(), L"play cdaudio"), 2);
}

TEST_F(SoundTest, PlayMp3QuotesThePathInAFieldThatHoldsIt) {
  // A short command is padded to the fixed field; a long one keeps its whole path, since a cut
  // command can never open the file.
  const std::wstring longPath = L"C:\\" + std::wstring(241, L'x') + L"\\a.mp3";
  ASSERT_EQ(longPath.size(), 250u);
  for (const std::wstring& path : {std::wstring(L"C:\\My Music\\a.mp3"), longPath}) {
    FakeMci m;
    F_Sound snd(m);
    snd.PlayMp3(path);
    const std::wstring open = L"open \"" + path + L"\" type MPEGVideo Alias MP3Play";
    ASSERT_EQ(m.sent.size(), 2u);
    EXPECT_EQ(m.sent[0].first.size(), std::max<std::size_t>(255, open.size()));
    EXPECT_EQ(m.sent[0].first.substr(0, open.size()), open);
    EXPECT_EQ(m.sent[0].first.find_first_not_of(L' ', open.size()), std::wstring::npos);
    EXPECT_EQ(m.sent[1], Sent(L"play MP3Play", 0));
  }
}

TEST_F(SoundTest, PlayMp3PlaysOnlyAfterASuccessfulOpen) {
  const std::wstring file = std::wstring(300, L'x') + L".mp3";
  mci.answers[mp3OpenCommand(file)] = {263, L""};
  sound.PlayMp3(file);
  EXPECT_EQ(mci.commands(), (std::vector<std::wstring>{mp3OpenCommand(file)}));
}

TEST_F(SoundTest, Mp3PlayingIsReadFromTheModePrefix) {
  const struct {
    const wchar_t* mode;
    bool playing;
  } cases[] = {{L"playing", true}, {L"stopped", false}, {L"paused", false}, {L"play", false}};
  for (const auto& c : cases) {
    mci.answers[L"status MP3Play mode"] = {0, c.mode};
    mci.sent.clear();
    EXPECT_EQ(sound.IsMp3Playing(), c.playing) << c.mode;
    sound.RepeatMp3();
    EXPECT_EQ(mci.sent.size(), c.playing ? 2u : 4u) << c.mode;
  }
}

TEST_F(SoundTest, WavLoopsTheAlarmFileAndStops) {
  mci.devices = 0;
  EXPECT_FALSE(sound.PlayWav(L"C:\\b.wav"));
  EXPECT_TRUE(mci.played.empty());
  mci.devices = 1;
  EXPECT_TRUE(sound.PlayWav(L"C:\\b.wav"));
  sound.StopWav();
  using Call = std::pair<std::wstring, unsigned>;
  EXPECT_EQ(mci.played, (std::vector<Call>{{L"C:\\b.wav", 9u}, {L"<null>", 0u}}));
  EXPECT_TRUE(mci.sent.empty());
}

// The alarm window's test plays an alarm's sound as the alarm would, but rings nothing; it never
// replaces or stops an alarm.
TEST_F(SoundTest, ASoundTestPlaysTheAlarmsSoundAndNeverSilencesAnAlarm) {
  using Call = std::pair<std::wstring, unsigned>;
  ASSERT_TRUE(sound.BeginTest());
  sound.SetLoudness({40, 0});
  sound.StartWav(0, L"C:\\a.wav");
  EXPECT_TRUE(sound.Testing());
  EXPECT_FALSE(sound.Ringing());
  sound.StopTest();
  EXPECT_FALSE(sound.Testing());
  EXPECT_EQ(mci.played, (std::vector<Call>{{L"C:\\a.wav", 9u}, {L"<null>", 0u}}));
  EXPECT_EQ(mci.volumes, std::vector<int>{40});

  // An alarm that begins during a test takes the player; the test's stop leaves it sounding.
  ASSERT_TRUE(sound.BeginTest());
  sound.StartChime(0);
  sound.StartWav(1, L"C:\\b.wav");
  EXPECT_FALSE(sound.Testing());
  sound.StopTest();
  EXPECT_EQ(mci.played.back(), (Call{L"C:\\b.wav", 9u}));
  EXPECT_TRUE(sound.Ringing());
  // While it rings a test is refused, and its level stays the alarm's.
  const auto volumes = mci.volumes;
  EXPECT_FALSE(sound.BeginTest());
  sound.StopTest();
  EXPECT_EQ(mci.played.back(), (Call{L"C:\\b.wav", 9u}));
  EXPECT_EQ(mci.volumes, volumes);
}

}  // namespace
