#include <gtest/gtest.h>

#include <map>
#include <set>

#include "model/convert.h"
#include "model/ini_source.h"
#include "model/settings.h"
#include "tests/support/test_code_page.h"

namespace {

// The "Section" keys as a map (already trimmed, as the file reader returns them) and the
// files that open.
class MapSource : public SettingsSource {
 public:
  std::map<std::wstring, std::wstring> values;
  std::set<std::wstring> files;
  std::vector<std::wstring> opened;

  std::wstring Read(const std::wstring& key) override {
    const auto it = values.find(key);
    return it == values.end() ? L"" : it->second;
  }
  bool CanOpen(const std::wstring& path) override {
    opened.push_back(path);
    return files.count(path) > 0;
  }
};

TEST(LoadSettings, EmptyFileGivesDefaults) {
  MapSource src;
  Settings s;
  s.Color[6] = 123;
  LoadSettings(s, src, L"C:\\Prog");
  EXPECT_EQ(s.Color, (std::array<Colour, 7>{0, 16777215, 0, 0, 16777215, 0, 123}));
  EXPECT_EQ(s.Graph_Color, (std::array<Colour, 4>{0, 16776960, 4259584, 0}));
  EXPECT_EQ(s.Filter_Color, 16776960);
  EXPECT_EQ(s.Shape, 0);
  EXPECT_EQ(s.ShapeRatio, (std::array<double, 4>{1, 1, 1, 1}));
  for (int n = 0; n < 2; ++n) {
    EXPECT_EQ(s.Sound_C[n], 0);
    EXPECT_EQ(s.Sound_H[n], 0);
    EXPECT_EQ(s.Sound_M[n], 0);
    EXPECT_EQ(s.Sound_Kbn[n], 1);
    EXPECT_EQ(s.Sound_Repeat[n], 0);
    EXPECT_EQ(s.Sound_F[n], L"");
  }
  EXPECT_EQ(s.Mem_Ival, 30);
  EXPECT_EQ(s.Mem_Kagen, 30.0f);
  EXPECT_EQ(s.Alarm_Path, L"C:\\Prog");
  EXPECT_TRUE(src.opened.empty());
}

TEST(LoadSettings, ReadsStoredValues) {
  MapSource src;
  src.values = {{L"Color_0", L"255"},        {L"Color_4", L"0"},          {L"Graph_Color_0", L"1"},
                {L"Graph_Color_1", L"2"},    {L"Graph_Color_2", L"3"},    {L"Graph_Color_3", L"4"},
                {L"Filter_Color", L"65280"}, {L"Sound_C_1", L"1"},        {L"Sound_H_1", L"23"},
                {L"Sound_M_1", L"59"},       {L"Sound_Repeat_0", L"3"},   {L"Mem_Ival", L"0"},
                {L"Mem_Kagen", L"12.5"},     {L"Alarm_Path", L"D:\\Snd"},   {L"Language", L"en"}};
  Settings s;
  LoadSettings(s, src, L"C:\\Prog");
  EXPECT_EQ(s.Color[0], 255);
  EXPECT_EQ(s.Color[4], 0);
  EXPECT_EQ(s.Graph_Color, (std::array<Colour, 4>{1, 2, 3, 4}));
  EXPECT_EQ(s.Filter_Color, 65280);
  EXPECT_EQ(s.Sound_C[1], 1);
  EXPECT_EQ(s.Sound_H[1], 23);
  EXPECT_EQ(s.Sound_M[1], 59);
  EXPECT_EQ(s.Sound_Repeat[0], 3);
  EXPECT_EQ(s.Mem_Ival, 0);
  EXPECT_EQ(s.Mem_Kagen, 12.5f);
  EXPECT_EQ(s.Alarm_Path, L"D:\\Snd");
  EXPECT_EQ(s.Language, L"en");
}

TEST(LoadSettings, OneMissingGraphColourResetsAllFour) {
  MapSource src;
  src.values = {{L"Graph_Color_0", L"111"}, {L"Graph_Color_1", L"222"}, {L"Graph_Color_3", L"444"}};
  Settings s;
  LoadSettings(s, src, L"");
  EXPECT_EQ(s.Graph_Color, (std::array<Colour, 4>{0, 16776960, 4259584, 0}));
}

TEST(LoadSettings, ShapeSetsRatios) {
  struct Case {
    const wchar_t* shape;
    std::int16_t shapeBefore;
    std::array<double, 4> before;
    std::array<double, 4> expected;
  } cases[] = {
      {L"0", 0, {}, {1, 1, 1, 1}},
      {L"1", 0, {}, {1.5, 1, 1.5, 1}},
      {L"2", 0, {}, {1, 1.3, 1, 1.3}},
      {L" 2", 1, {1.5, 1, 1.5, 1}, {1, 1.3, 1, 1.3}},
      {L"5", 1, {1.5, 1, 1.5, 1}, {1.5, 1, 1.5, 1}},  // unknown shape keeps the shape it had
      {L"5", 0, {}, {1, 1, 1, 1}},                    // ... which at first load is the circle
      // A model set elsewhere to an unknown shape keeps its ratios, or, without any, is round.
      {L"5", 7, {1.5, 1, 1.5, 1}, {1.5, 1, 1.5, 1}},
      {L"5", 7, {}, {1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    MapSource src;
    src.values[L"Shape"] = c.shape;
    Settings s;
    s.ShapeRatio = c.before;
    s.Shape = c.shapeBefore;
    LoadSettings(s, src, L"");
    EXPECT_EQ(s.ShapeRatio, c.expected) << c.shape;
  }
  EXPECT_FALSE(ShapeRatioOf(-1).has_value());
  EXPECT_FALSE(ShapeRatioOf(3).has_value());
}

// A sound file that does not open at load (a drive not there yet, a file renamed for a
// moment) is only marked: switch and path stay, so the next save writes them back unchanged.
TEST(LoadSettings, SoundFileCheckMarksAndNeverForgets) {
  struct Row {
    const wchar_t *on, *kind, *file;
    bool opens;
    std::int16_t wantOn;
    const wchar_t* wantFile;
    bool missing;
  };
  const Row rows[] = {
      {L"1", L"2", L"C:\\a.wav", true, 1, L"C:\\a.wav", false},
      {L"1", L"2", L"C:\\gone.wav\\", false, 1, L"C:\\gone.wav\\", true},
      {L"0", L"2", L"E:\\usb\\a.mp3", false, 0, L"E:\\usb\\a.mp3", true},
      {L"1", L"2", L"", false, 1, L"", false},  // nothing to play: on, for the chime
      {L"1", L"1", L"", false, 1, L"", false},  // a CD needs no file
      {L"1", L"1", L"C:\\gone.wav", false, 1, L"C:\\gone.wav", false},
  };
  for (const Row& r : rows) {
    MapSource src;
    src.values = {{L"Sound_C_1", r.on}, {L"Sound_Kbn_1", r.kind}, {L"Sound_F_1", r.file}};
    if (r.opens) src.files = {r.file};
    Settings s;
    s.SoundFileMissing = {true, true};  // a mark from an earlier load goes
    LoadSettings(s, src, L"");
    EXPECT_EQ(s.Sound_C[1], r.wantOn) << r.file;
    EXPECT_EQ(s.Sound_F[1], r.wantFile) << r.file;
    EXPECT_EQ(s.SoundFileMissing[1], r.missing) << r.file;
    EXPECT_FALSE(s.SoundFileMissing[0]);
  }
}

TEST(LoadSettings, UnconvertibleValuesKeepThePreviousLoad) {
  MapSource src;
  src.values = {{L"Color_2", L"255"}, {L"Shape", L"1"}, {L"Mem_Ival", L"45"},
                {L"Sound_H_0", L"7"}, {L"Mem_Kagen", L"20"}};
  Settings s;
  LoadSettings(s, src, L"");
  src.values = {{L"Color_2", L"red"}, {L"Shape", L"abc"}, {L"Mem_Ival", L"40000"},
                {L"Sound_H_0", L"7x"}, {L"Mem_Kagen", L"1e3"}};
  LoadSettings(s, src, L"");
  EXPECT_EQ(s.Color[2], 255);
  EXPECT_EQ(s.Shape, 1);
  EXPECT_EQ(s.ShapeRatio, (std::array<double, 4>{1.5, 1, 1.5, 1}));
  EXPECT_EQ(s.Mem_Ival, 45);
  EXPECT_EQ(s.Sound_H[0], 7);
  EXPECT_EQ(s.Mem_Kagen, 20.0f);
}

TEST(LoadSettings, ValuesOutsideAFieldsRangeKeepThePreviousLoadButAlarmsTakeTheFile) {
  struct Case {
    const wchar_t* key;
    const wchar_t* good;  // in range: taken
    const wchar_t* bad;   // out of range: the good value stays
  } cases[] = {
      {L"Color_0", L"16777215", L"16777216"}, {L"Color_2", L"0", L"-1"},
      {L"Filter_Color", L"255", L"-16777216"}, {L"Graph_Color_0", L"1", L"99999999"},
      {L"Shape", L"2", L"3"},                  {L"Sound_C_0", L"1", L"-1"},
      {L"Sound_H_1", L"23", L"24"},            {L"Sound_M_0", L"59", L"60"},
      {L"Sound_Kbn_1", L"2", L"0"},            {L"Sound_Repeat_0", L"99", L"100"},
      {L"Mem_Ival", L"0", L"-5"},              {L"Mem_Kagen", L"100", L"100.5"},
  };
  MapSource good, bad;
  for (int n = 0; n < 4; ++n) good.values[IniKey(L"Graph_Color_", n)] = L"7";
  bad.values = good.values;
  for (const Case& c : cases) {
    good.values[c.key] = c.good;
    bad.values[c.key] = c.bad;
  }
  Settings first, second;
  LoadSettings(first, good, L"");
  second = first;
  LoadSettings(second, bad, L"");
  EXPECT_EQ(second.Color, first.Color);
  EXPECT_EQ(second.Color[0], 16777215);
  EXPECT_EQ(second.Filter_Color, 255);
  EXPECT_EQ(second.Graph_Color, (std::array<Colour, 4>{1, 7, 7, 7}));
  EXPECT_EQ(second.Shape, 2);
  EXPECT_EQ(second.ShapeRatio, (std::array<double, 4>{1, 1.3, 1, 1.3}));
  // The alarm fields take what the file says, even when it can never fire.
  EXPECT_EQ(second.Sound_C[0], -1);
  EXPECT_EQ(second.Sound_H[1], 24);
  EXPECT_EQ(second.Sound_M[0], 60);
  EXPECT_EQ(second.Sound_Kbn[1], 0);
  EXPECT_EQ(second.Sound_Repeat[0], 99);
  EXPECT_EQ(second.Mem_Ival, 0);
  EXPECT_EQ(second.Mem_Kagen, 100.0f);
}

// Each ranged key at both edges of its range, loaded over another value: the edge is taken.
TEST(LoadSettings, EachRangedKeyAtBothEdgesIsTakenOverAnotherValue) {
  using Field = double (*)(const Settings&);
  const std::map<std::wstring, Field> fields = {
      {L"Color_5", [](const Settings& s) -> double { return s.Color[5]; }},
      {L"Graph_Color_2", [](const Settings& s) -> double { return s.Graph_Color[2]; }},
      {L"Filter_Color", [](const Settings& s) -> double { return s.Filter_Color; }},
      {L"Shape", [](const Settings& s) -> double { return s.Shape; }},
      {L"Sound_Repeat_1", [](const Settings& s) -> double { return s.Sound_Repeat[1]; }},
      {L"Mem_Ival", [](const Settings& s) -> double { return s.Mem_Ival; }},
      {L"Mem_Kagen", [](const Settings& s) -> double { return s.Mem_Kagen; }},
      {L"Sound_Days_1", [](const Settings& s) -> double { return s.Options[1].Days; }},
      {L"Sound_Volume_1", [](const Settings& s) -> double { return s.Options[1].Volume; }},
      {L"Sound_FadeIn_1", [](const Settings& s) -> double { return s.Options[1].FadeIn; }},
      {L"Snooze_Min", [](const Settings& s) -> double { return s.Snooze_Min; }},
  };
  const struct { const wchar_t *key, *text; double want; } rows[] = {
      {L"Color_5", L"0", 0},        {L"Color_5", L"16777215", 16777215},
      {L"Graph_Color_2", L"0", 0},  {L"Graph_Color_2", L"16777215", 16777215},
      {L"Filter_Color", L"0", 0},   {L"Filter_Color", L"16777215", 16777215},
      {L"Shape", L"0", 0},          {L"Shape", L"2", 2},
      {L"Sound_Repeat_1", L"0", 0}, {L"Sound_Repeat_1", L"99", 99},
      {L"Mem_Ival", L"0", 0},       {L"Mem_Kagen", L"0", 0},     {L"Mem_Kagen", L"100", 100},
      {L"Sound_Days_1", L"1", 1},   // Sundays only
      {L"Sound_Days_1", L"127", 127},
      {L"Sound_Volume_1", L"0", 0}, {L"Sound_Volume_1", L"100", 100},
      {L"Sound_FadeIn_1", L"0", 0}, {L"Sound_FadeIn_1", L"60", 60},
      {L"Snooze_Min", L"1", 1},     {L"Snooze_Min", L"60", 60},
  };
  MapSource middle;  // a value inside every range, and the four graph colours
  for (const auto& [key, field] : fields) middle.values[key] = L"7";
  for (int n = 0; n < 4; ++n) middle.values[IniKey(L"Graph_Color_", n)] = L"7";
  middle.values[L"Shape"] = L"1";
  for (const auto& r : rows) {
    Settings s;
    LoadSettings(s, middle, L"");
    MapSource edge = middle;
    edge.values[r.key] = r.text;
    LoadSettings(s, edge, L"");
    EXPECT_EQ(fields.at(r.key)(s), r.want) << r.key << "=" << r.text;
  }
}

// A load reads some 30 keys; the file behind them must be read and parsed once, and not at
// all when only a sound file's existence is asked.
TEST(IniFileSource, ReadsTheFileOnceAtTheFirstKey) {
  class CountingSource : public IniFileSource {
   public:
    CountingSource(int& loads, const AnsiCodePage& page)
        : IniFileSource(
              [&loads] {
                ++loads;
                return std::string("[Section]\r\nShape=1\r\nPos_X= 1500\r\nTopMost=-1\r\n");
              },
              page) {}
    bool CanOpen(const std::wstring&) override { return true; }
  };
  const TestCodePage page;
  int loads = 0;
  CountingSource idle(loads, page);
  EXPECT_TRUE(FileExists(idle, L"C:\\a.wav"));
  EXPECT_EQ(loads, 0);

  CountingSource source(loads, page);
  Settings s;
  std::int32_t x = 0;
  ReadPosition(source, L"Pos_X", 9000, x);
  LoadSettings(s, source, L"");
  ReadTopMost(s, source);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(x, 1500);
  EXPECT_EQ(s.Shape, 1);
  EXPECT_EQ(s.TopMost, -1);
}

TEST(ReadPosition, CentresKeepsOrTakes32BitValues) {
  MapSource src;
  std::int32_t pos = 111;
  ReadPosition(src, L"Pos_X", 9000, pos);
  EXPECT_EQ(pos, 9000);
  src.values[L"Pos_X"] = L"40000";  // beyond 16 bits: a wide screen's right edge
  ReadPosition(src, L"Pos_X", 9000, pos);
  EXPECT_EQ(pos, 40000);
  src.values[L"Pos_X"] = L"-300";
  ReadPosition(src, L"Pos_X", 9000, pos);
  EXPECT_EQ(pos, -300);
  src.values[L"Pos_X"] = L"left";
  ReadPosition(src, L"Pos_X", 9000, pos);
  EXPECT_EQ(pos, -300);
}

TEST(ReadTopMost, BooleanText) {
  struct Case {
    const wchar_t* text;
    std::int16_t before;
    std::int16_t expected;
  } cases[] = {{L"", -1, 0}, {L"-1", 0, -1}, {L" 0", -1, 0}, {L"1", 0, -1},
               {L"true", 0, -1}, {L"yes", -1, -1}, {L"yes", 0, 0}};
  for (const Case& c : cases) {
    MapSource src;
    src.values[L"TopMost"] = c.text;
    Settings s;
    s.TopMost = c.before;
    ReadTopMost(s, src);
    EXPECT_EQ(s.TopMost, c.expected) << c.text;
  }
}

TEST(Convert, ReadsNumbers) {
  struct Case {
    const wchar_t* text;
    std::optional<std::int16_t> i16;
    std::optional<std::int32_t> i32;
  } cases[] = {
      {L" 16777215", std::nullopt, 16777215},
      {L"-300", -300, -300},
      {L"\t+7 ", 7, 7},
      {L"2.5", 2, 2},
      {L"3.5", 4, 4},
      {L"-2.5", -2, -2},
      {L"2.51", 3, 3},
      {L"-0.4", 0, 0},
      {L".5", 0, 0},
      {L"32767", 32767, 32767},
      {L"32768", std::nullopt, 32768},
      {L"-32768", -32768, -32768},
      {L"32767.5", std::nullopt, 32768},
      {L"2147483648", std::nullopt, std::nullopt},
      {L"99999999999999999999", std::nullopt, std::nullopt},
      {L"", std::nullopt, std::nullopt},
      {L"-", std::nullopt, std::nullopt},
      {L"1 2", std::nullopt, std::nullopt},
      {L"0x10", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToInt16(c.text), c.i16) << c.text;
    EXPECT_EQ(ToInt32(c.text), c.i32) << c.text;
  }
  EXPECT_EQ(ToSingle(L" 25.5"), 25.5f);
  EXPECT_EQ(ToSingle(L"-0.25"), -0.25f);
  EXPECT_EQ(ToSingle(L"1" + std::wstring(39, L'0')), std::nullopt);
}

TEST(Convert, WritersForm) {
  EXPECT_EQ(NumberText(1500), L" 1500");
  EXPECT_EQ(NumberText(0), L" 0");
  EXPECT_EQ(NumberText(-300), L"-300");
  EXPECT_EQ(SingleText(30.0f), L" 30");
  EXPECT_EQ(SingleText(12.5f), L" 12.5");
  EXPECT_EQ(BooleanText(true), L"-1");
  EXPECT_EQ(BooleanText(false), L" 0");
  EXPECT_EQ(ToInt32(NumberText(-2147483647 - 1)), -2147483647 - 1);
  EXPECT_EQ(ToSingle(SingleText(33.3f)), 33.3f);
}

TEST(Paths, GetDirectoryAndFileExists) {
  EXPECT_EQ(GetDirectory(L"C:\\Music\\a.wav"), L"C:\\Music");
  EXPECT_EQ(GetDirectory(L"C:\\a.wav"), L"C:");
  EXPECT_EQ(GetDirectory(L"C:a.wav"), L"C:");
  EXPECT_EQ(GetDirectory(L"a.wav"), L"");
  EXPECT_EQ(GetDirectory(L"\\\\srv\\share\\x\\"), L"\\\\srv\\share\\x");

  MapSource src;
  src.files = {L"C:\\a.wav"};
  EXPECT_TRUE(FileExists(src, L"C:\\a.wav\\"));
  EXPECT_FALSE(FileExists(src, L"C:\\a.wav\\\\"));  // only one backslash is dropped
  EXPECT_FALSE(FileExists(src, L"\\"));
  EXPECT_FALSE(FileExists(src, L""));
  EXPECT_EQ(src.opened.size(), 2u);  // the empty path never reaches the file system
  EXPECT_EQ(IniKey(L"Sound_Kbn_", 1), L"Sound_Kbn_1");
}

}  // namespace

namespace {

// The alarms' options: a value missing, empty or out of range means the old behaviour, and a
// save writes only the keys that differ from their defaults or that the file held already.
TEST(AlarmOptionsInTheFile, ReadAsWrittenOrDefaultAndWrittenOnlyWhenUsed) {
  const struct {
    const wchar_t *key, *text;
    std::int16_t days, once, volume, fade, snooze;
    const wchar_t* label;
  } rows[] = {
      {L"", L"", 127, 0, 100, 0, 10, L""},
      {L"Sound_Days_0", L"42", 42, 0, 100, 0, 10, L""},
      {L"Sound_Days_0", L"0", 127, 0, 100, 0, 10, L""},  // no day at all: every day
      {L"Sound_Days_0", L"128", 127, 0, 100, 0, 10, L""},
      {L"Sound_Once_0", L"-1", 127, -1, 100, 0, 10, L""},
      {L"Sound_Once_0", L"yes", 127, 0, 100, 0, 10, L""},
      {L"Sound_Volume_0", L"35", 127, 0, 35, 0, 10, L""},
      {L"Sound_Volume_0", L"101", 127, 0, 100, 0, 10, L""},
      {L"Sound_FadeIn_0", L"60", 127, 0, 100, 60, 10, L""},
      {L"Sound_FadeIn_0", L"-5", 127, 0, 100, 0, 10, L""},
      {L"Snooze_Min", L"0", 127, 0, 100, 0, 10, L""},
      {L"Snooze_Min", L"60", 127, 0, 100, 0, 60, L""},
      {L"Sound_Label_0", L"お薬 pills", 127, 0, 100, 0, 10, L"お薬 pills"},
  };
  for (const auto& r : rows) {
    MapSource source;
    if (*r.key) source.values[r.key] = r.text;
    Settings s;
    LoadSettings(s, source, L"C:\\Program");
    const AlarmOptions& o = s.Options[0];
    EXPECT_EQ(o.Days, r.days) << r.key << r.text;
    EXPECT_EQ(o.Once, r.once) << r.key << r.text;
    EXPECT_EQ(o.Volume, r.volume) << r.key << r.text;
    EXPECT_EQ(o.FadeIn, r.fade) << r.key << r.text;
    EXPECT_EQ(s.Snooze_Min, r.snooze) << r.key << r.text;
    EXPECT_EQ(o.Label, r.label) << r.key << r.text;
    // Saved unchanged: the key the file held comes back (as the value read), no other.
    const auto entries = OptionEntries(s);
    EXPECT_EQ(entries.size(), *r.key ? 1u : 0u) << r.key << r.text;
    if (!entries.empty()) {
      EXPECT_EQ(entries[0].first, r.key);
    }
  }
  // A label longer than the window edits is kept whole, to be written back as it was; a changed
  // value is written even when the file lacked it.
  MapSource source;
  source.values[L"Sound_Label_1"] = std::wstring(70, L'x');
  Settings s;
  LoadSettings(s, source, L"C:\\Program");
  EXPECT_EQ(s.Options[1].Label, std::wstring(70, L'x'));
  s.Options[0].Volume = 50;
  const auto entries = OptionEntries(s);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (std::pair<std::wstring, std::wstring>{L"Sound_Volume_0", L" 50"}));
  EXPECT_EQ(entries[1].first, L"Sound_Label_1");
  // A key the next load no longer finds in the file is no longer the file's.
  MapSource empty;
  LoadSettings(s, empty, L"C:\\Program");
  EXPECT_TRUE(OptionEntries(s).empty());
}

}  // namespace
