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
  f.store.SwitchAlarmOff(2);  // an alarm not in use: nothing happens
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

// Alarms 2..7 in the file, through the store as the dialog's OK takes them: each row edits a
// copy of what a file holds and expects the file after the save, and which alarms are in use.
TEST(SettingsStore, TheListsAlarmsWriteTheirKeysOnlyWhileInUse) {
  const std::string before = kFile;
  const std::string three = "Sound_C_3= 1\r\nSound_H_3= 6\r\nSound_M_3= 0\r\nSound_Kbn_3= 1\r\n"
                            "Sound_Repeat_3= 0\r\nSound_F_3=\r\nSound_Once_3=-1\r\n";
  const struct {
    const char* name;
    std::string file;
    std::function<void(Settings&)> edit;
    std::string after;
    std::vector<int> inUse;
  } rows[] = {
      {"a file from before: saved unchanged, byte for byte", before, [](Settings&) {}, before,
       {0, 1}},
      {"alarm 5 added: its time and sound, and of its options the one set",
       before,
       [](Settings& s) {
         s.AlarmInUse[5] = true;
         s.Sound_C[5] = 1;
         s.Sound_H[5] = 7;
         s.Sound_M[5] = 30;
         s.Options[5].Label = L"pills";
       },
       before + "Sound_C_5= 1\r\nSound_H_5= 7\r\nSound_M_5= 30\r\nSound_Kbn_5= 1\r\n"
                "Sound_Repeat_5= 0\r\nSound_F_5=\r\nSound_Label_5=pills\r\n",
       {0, 1, 5}},
      {"an alarm read from the file, saved unchanged", before + three, [](Settings&) {},
       before + three, {0, 1, 3}},
      {"alarm 3 deleted: every key of it goes", before + three,
       [](Settings& s) { ClearAlarm(s, 3); }, before, {0, 1}},
      {"the rows are never deleted", before, [](Settings& s) { ClearAlarm(s, 1); }, before,
       {0, 1}},
      {"deleted and added again: the option the file held is written back as default",
       before + three,
       [](Settings& s) {
         ClearAlarm(s, 3);
         s.AlarmInUse[3] = true;
       },
       before + "Sound_C_3= 0\r\nSound_H_3= 0\r\nSound_M_3= 0\r\nSound_Kbn_3= 1\r\n"
                "Sound_Repeat_3= 0\r\nSound_F_3=\r\nSound_Once_3= 0\r\n",
       {0, 1, 3}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    MemoryFile file(r.file);
    SettingsStore store(file, L"C:\\Tessarine");
    store.Load();
    Settings edited = store.Edit();
    r.edit(edited);
    IniEntries keys = ListAlarmEntries(edited);
    for (const auto& entry : OptionEntries(edited)) keys.push_back(entry);
    store.Replace(edited, keys);
    EXPECT_EQ(file.Bytes(), r.after);
    std::vector<int> inUse;
    for (int i = 0; i < kAlarmCount; ++i)
      if (store.Get().AlarmInUse[i]) inUse.push_back(i);
    EXPECT_EQ(inUse, r.inUse);
  }
}

}  // namespace
