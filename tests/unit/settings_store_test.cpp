#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "model/convert.h"
#include "model/settings_store.h"
#include "tests/unit/memory_settings_file.h"

namespace {

const char kFile[] =
    "[Section]\r\nColor_0= 255\r\nPos_X= 1500\r\nSound_C_0= 1\r\nSound_H_0= 7\r\nSound_M_0= 30\r\n"
    "Sound_Kbn_0= 2\r\nSound_F_0=C:\\a.wav\r\nTopMost=-1\r\n";

struct Fixture {
  MemoryFile file{kFile};
  SettingsStore store{file, L"C:\\Tessarine"};
  std::vector<unsigned> heard;
  std::vector<std::wstring> told;
  Fixture(bool toldAtStart = false) {
    file.files.insert(L"C:\\a.wav");
    store.Load();
    store.Listen([this](unsigned what, int) { heard.push_back(what); });
    store.TellFailuresBy([this](const std::wstring& path) { told.push_back(path); }, toldAtStart);
  }
};

TEST(SettingsStore, ReadsTheFileOnceAndTellsEachChangeOnce) {
  Fixture f;
  EXPECT_EQ(f.file.reads, 1);
  EXPECT_EQ(f.store.Get().Color[0], 255);
  EXPECT_EQ(f.store.Get().TopMost, -1);
  EXPECT_EQ(f.store.Where().x, 1500);
  EXPECT_FALSE(f.store.Where().y.has_value());  // centred

  // Each change: what listeners hear, and the keys that reach the file in one write.
  const struct {
    std::function<void(SettingsStore&)> change;
    unsigned heard;
    IniEntries keys;
  } rows[] = {
      {[](SettingsStore& s) { s.SetPlacement(30, 45); }, kChangedPlacement,
       {{L"Pos_X", L" 30"}, {L"Pos_Y", L" 45"}, {L"TopMost", L"-1"}}},
      {[](SettingsStore& s) { s.SetTopMost(0); }, kChangedTopMost, {{L"TopMost", L" 0"}}},
      {[](SettingsStore& s) { s.SwitchAlarmOff(0); }, kChangedAlarmSwitch, {{L"Sound_C_0", L" 0"}}},
      {[](SettingsStore& s) { s.SetFilterColour(42); }, kChangedFilter, {}},
      // The menu's look, the faintest step kept in range.
      {[](SettingsStore& s) { s.SetClickThrough(1); }, kChangedLook, {{L"ClickThrough", L"-1"}}},
      {[](SettingsStore& s) { s.SetOpacity(10); }, kChangedLook, {{L"Opacity", L" 30"}}},
      // Quitting in the tray is kept with the place, once it differs from the file's.
      {[](SettingsStore& s) { s.NoteInTray(true); s.SetPlacement(30, 45); }, kChangedPlacement,
       {{L"Pos_X", L" 30"}, {L"Pos_Y", L" 45"}, {L"TopMost", L" 0"}, {L"InTray", L"-1"}}},
      {[](SettingsStore& s) { s.SetPlacement(30, 45); }, kChangedPlacement,
       {{L"Pos_X", L" 30"}, {L"Pos_Y", L" 45"}, {L"TopMost", L" 0"}}},
      {[](SettingsStore& s) { s.NoteInTray(false); s.SetPlacement(30, 45); }, kChangedPlacement,
       {{L"Pos_X", L" 30"}, {L"Pos_Y", L" 45"}, {L"TopMost", L" 0"}, {L"InTray", L" 0"}}},
  };
  for (const auto& row : rows) {
    const std::size_t writes = f.file.writes.size();
    f.heard.clear();
    row.change(f.store);
    EXPECT_EQ(f.heard, std::vector<unsigned>{row.heard});
    if (row.keys.empty()) {
      EXPECT_EQ(f.file.writes.size(), writes);
    } else {
      ASSERT_EQ(f.file.writes.size(), writes + 1);
      EXPECT_EQ(f.file.writes.back(), row.keys);
    }
  }
  EXPECT_EQ(f.store.Get().Sound_C[0], 0);
  EXPECT_EQ(f.store.Get().Filter_Color, 42);
  EXPECT_EQ(f.store.Where().x, 30);
  EXPECT_TRUE(f.store.BesideProgram());
  const std::size_t writes = f.file.writes.size();
  f.store.SwitchAlarmOff(2);  // no such alarm: nothing happens
  EXPECT_EQ(f.file.writes.size(), writes);
  EXPECT_EQ(f.file.reads, 1);  // nothing read the file again
  EXPECT_TRUE(f.told.empty());
}

TEST(SettingsStore, AFailedWriteKeepsMemoryTellsOnceAndIsCarriedByTheNextWrite) {
  Fixture f;
  // As the clock does, laid out anew: it saves its place within the change.
  f.store.Listen([&f](unsigned what, int) {
    if (what & kChangedAll) f.store.SetPlacement(10, 20);
  });
  f.file.readOnly = true;
  Settings edited = f.store.Edit();
  edited.Color[0] = 65280;
  edited.Options[0].Days = 0;
  f.store.Replace(edited, {{L"Color_0", L" 65280"}, {L"Sound_Days_0", L" 0"}});
  // Memory is what the file would read back: the new colour, and no day read as every day,
  // as a load would have it.
  EXPECT_EQ(f.store.Get().Color[0], 65280);
  EXPECT_EQ(f.store.Get().Options[0].Days, AlarmOptions::kEveryDay);
  EXPECT_EQ(f.heard, (std::vector<unsigned>{kChangedAll, kChangedPlacement}));
  EXPECT_EQ(f.file.Value(L"Color_0"), L"255");
  f.store.SetPlacement(11, 21);
  EXPECT_EQ(f.told, std::vector<std::wstring>{f.file.Path()});  // once for every failure
  EXPECT_EQ(f.store.Get().LastApiResult, 0);

  // Writable again: the next write carries what failed before it.
  f.file.readOnly = false;
  f.store.SetTopMost(0);
  EXPECT_EQ(f.file.writes.back().size(), 5u);  // each key once, at its latest value
  EXPECT_EQ(f.file.Value(L"Color_0"), L"65280");
  EXPECT_EQ(f.file.Value(L"Pos_Y"), L"21");
  EXPECT_EQ(f.file.Value(L"TopMost"), L"0");
  EXPECT_EQ(f.store.Get().LastApiResult, 1);
  f.file.readOnly = true;
  f.store.SetTopMost(-1);
  EXPECT_EQ(f.file.writes.back(), (IniEntries{{L"TopMost", L"-1"}}));  // nothing left over
  EXPECT_EQ(f.told.size(), 2u);  // failing again after a success is told again
}

TEST(SettingsStore, TheStartsOwnMessageCountsAsTheOneToldAndEditsAreCopies) {
  Fixture f(true);
  f.file.readOnly = true;
  f.store.SetTopMost(0);
  EXPECT_TRUE(f.told.empty());
  // The dialog's copy looks for the sound files afresh; the store's model stays as it was.
  f.file.files.clear();
  Settings copy = f.store.Edit();
  EXPECT_TRUE(copy.SoundFileMissing[0]);
  copy.Color[0] = 1;
  EXPECT_FALSE(f.store.Get().SoundFileMissing[0]);
  EXPECT_EQ(f.store.Get().Color[0], 255);
  // The dialog's OK keeps the menu's on-top, which may have changed while it was open.
  copy.TopMost = -1;
  f.store.Replace(copy, {{L"Color_0", L" 1"}, {L"Sound_F_0", L""}});
  EXPECT_EQ(f.store.Get().TopMost, 0);
  EXPECT_EQ(f.store.Get().Color[0], 1);
  // A sound-file alarm with no file has nothing to look for, so nothing is missing.
  EXPECT_FALSE(f.store.Edit().SoundFileMissing[0]);
  // A store never loaded still takes a change, into a new file.
  MemoryFile empty("");
  SettingsStore fresh(empty, L"C:\\Tessarine");
  fresh.SetTopMost(-1);
  EXPECT_EQ(empty.Value(L"TopMost"), L"-1");
}

}  // namespace
