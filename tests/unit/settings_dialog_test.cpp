// The settings dialog's portable parts: the keys it saves, the memory pie, the panel texture
// and the clock preview.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "ui/colour.h"
#include "recording_canvas.h"
#include "model/palette.h"
#include "settings/memory_graph.h"
#include "settings/preview.h"
#include "settings/save_settings.h"
#include "settings/tile_background.h"
#include "tests/support/test_code_page.h"
#include "fake_memory.h"

namespace {

using K = RecordingCanvas::Kind;
using KeyValue = std::pair<std::wstring, std::wstring>;

class RecordingWriter : public SettingsWriter {
 public:
  std::vector<IniEntries> writes;
  bool failing = false;
  bool Write(const IniEntries& entries) override {
    writes.push_back(entries);
    return !failing;
  }
};

DialogValues sampleValues() {
  DialogValues v;
  v.EditColor = {0, 16777215, 255, 65280, 16711680, 8421504};
  v.GraphColor = {0, 16776960, 4259584, -5};
  v.FilterColor = 16776960;
  v.EditShape = 2;
  v.EditAlarmOn = {1, 0};
  v.EditSoundKind = {2, 1};
  v.HourText = {L"07", L""};
  v.MinuteText = {L"00", L"59"};
  v.TrackText = {L"2.5", L"abc"};
  v.SoundPath = {L"C:\\My Music\\wake up.mp3", L""};
  v.Ival = 0;
  v.Kagen = 45;
  return v;
}

TEST(SaveSettings, WritesTheTwentySevenKeysInOrderAndForm) {
  Settings model;
  model.Sound_H = {3, 21};  // the empty hour of alarm 1 falls back to 21
  model.Sound_Repeat = {9, 9};
  model.Alarm_Path = L"D:\\Sounds and more";
  RecordingWriter w;
  SaveSettings(sampleValues(), model, w);

  const std::vector<KeyValue> expected = {
      {L"Color_0", L" 0"}, {L"Color_1", L" 16777215"}, {L"Color_2", L" 255"},
      {L"Color_3", L" 65280"}, {L"Color_4", L" 16711680"}, {L"Color_5", L" 8421504"},
      {L"Graph_Color_0", L" 0"}, {L"Graph_Color_1", L" 16776960"},
      {L"Graph_Color_2", L" 4259584"}, {L"Graph_Color_3", L"-5"},
      {L"Filter_Color", L" 16776960"}, {L"Shape", L" 2"},
      {L"Sound_C_0", L" 1"}, {L"Sound_H_0", L" 7"}, {L"Sound_M_0", L" 0"},
      {L"Sound_Kbn_0", L" 2"}, {L"Sound_Repeat_0", L" 2"},
      {L"Sound_F_0", L"C:\\My Music\\wake up.mp3"},
      {L"Sound_C_1", L" 0"}, {L"Sound_H_1", L" 21"}, {L"Sound_M_1", L" 59"},
      {L"Sound_Kbn_1", L" 1"}, {L"Sound_Repeat_1", L" 0"}, {L"Sound_F_1", L""},
      {L"Mem_Ival", L" 0"}, {L"Mem_Kagen", L" 45"}, {L"Alarm_Path", L"D:\\Sounds and more"},
  };
  ASSERT_EQ(w.writes.size(), 1u);  // one replace of the file: all or nothing
  EXPECT_EQ(w.writes[0], expected);
  EXPECT_EQ(model.LastApiResult, 1);
  // Of all the edits, only the CD tracks reach the model at once.
  EXPECT_EQ(model.Sound_Repeat, (std::array<std::int16_t, kAlarmCount>{2, 0}));
  EXPECT_EQ(model.Sound_H, (std::array<std::int16_t, kAlarmCount>{3, 21}));
  EXPECT_EQ(model.Shape, 0);
  EXPECT_EQ(model.Mem_Ival, 0);
}

TEST(SaveSettings, AFailedWriteIsKeptInLastApiResult) {
  Settings model;
  model.LastApiResult = 1;
  RecordingWriter w;
  w.failing = true;
  SaveSettings(sampleValues(), model, w);
  EXPECT_EQ(w.writes.size(), 1u);
  EXPECT_EQ(model.LastApiResult, 0);
}

// The one write of all 27 keys leaves the bytes that 27 writes of one key each, every one
// reading the file the one before wrote, used to leave.
TEST(SaveSettings, OneWriteGivesTheBytesOfOneWritePerKey) {
  Settings model;
  model.Alarm_Path = L"D:\\Sounds and more";
  RecordingWriter w;
  SaveSettings(sampleValues(), model, w);
  ASSERT_EQ(w.writes.size(), 1u);
  const IniEntries& keys = w.writes[0];

  const TestCodePage page;
  auto utf16le = [](const std::u16string& s) {
    std::string out = "\xFF\xFE";
    for (char16_t c : s) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return out;
  };
  const struct {
    const char* name;
    std::string before;
  } cases[] = {
      {"no file", ""},
      {"every key already there, spelt otherwise",
       "[Section]\r\ncolor_0=1\r\nColor_1=1\r\nColor_2=1\r\nColor_3=1\r\nColor_4=1\r\n"
       "Color_5=1\r\nGraph_Color_0=1\r\nGraph_Color_1=1\r\nGraph_Color_2=1\r\n"
       "Graph_Color_3=1\r\nFilter_Color=1\r\nSHAPE = 1\r\nSound_C_0=1\r\nSound_H_0=1\r\n"
       "Sound_M_0=1\r\nSound_Kbn_0=1\r\nSound_Repeat_0=1\r\nSound_F_0=old.wav\r\n"
       "Sound_C_1=1\r\nSound_H_1=1\r\nSound_M_1=1\r\nSound_Kbn_1=1\r\nSound_Repeat_1=1\r\n"
       "Sound_F_1=\r\nMem_Ival=1\r\nMem_Kagen=1\r\nAlarm_Path=C:\\\r\nPos_X= 1500\r\n"},
      {"comments and blank lines",
       "; kept\r\n[Section]\r\n; Color_0=5\r\nShape= 1\r\n\r\n; end\r\n\r\n"},
      {"other sections around it",
       "[Other]\r\nColor_0=1\r\n[Section]\r\nShape=1\r\n[Next]\r\nSound_F_0=x\r\n"},
      {"no section, LF, no last line end", "[Other]\nColor_0=1"},
      {"LF, then CR alone", "; note\n[Section]\rShape=1\rPos_X= 15"},
      {"UTF-16LE", utf16le(u"; \u6642\u8a08\r\n[Section]\r\nShape= 1\r\n\r\n[Other]\r\nX=1\r\n")},
  };
  for (const auto& c : cases) {
    std::string oneByOne = c.before;
    for (const auto& [key, value] : keys) {
      IniText file(oneByOne, page);
      file.Set(L"Section", key, value);
      oneByOne = file.Bytes();
    }
    IniText file(c.before, page);
    file.Set(L"Section", keys);
    EXPECT_EQ(file.Bytes(), oneByOne) << c.name;
    for (const auto& [key, value] : keys) {
      // The number form's leading blank is trimmed when read.
      const std::wstring read = value.rfind(L' ', 0) == 0 ? value.substr(1) : value;
      EXPECT_EQ(file.Get(L"Section", key), read) << c.name;
    }
  }
}

TEST(SaveSettings, CdTrackText) {
  // A number out of range keeps the previous track, however many digits it has.
  const std::wstring digits300(300, L'9');
  const struct {
    std::wstring text;
    std::int16_t previous, expected;
  } cases[] = {
      {L"", 5, 0},       {L"abc", 5, 0},    {L"7", 5, 7},      {L" 12 ", 5, 12},
      {L"2.5", 5, 2},    {L"3.5", 5, 4},    {L"40000", 5, 5},  {L"-3", 5, -3},
      {L"1e", 5, 0},     {L"20", 0, 20},    {L"32767", 5, 32767}, {L"-32769", 5, 5},
      {L"9223372036854775808", 5, 5},       {L"1" + std::wstring(39, L'0'), 5, 5},
      {digits300, 5, 5}, {L"-" + digits300 + L".5", 5, 5}, {L"000" + digits300 + L"x", 5, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseTrack(c.text, c.previous), c.expected) << "text \"" << c.text << "\"";
  }
  // The kept value is the one written.
  Settings model;
  model.Sound_Repeat = {11, 0};
  DialogValues v = sampleValues();
  v.TrackText[0] = L"40000";
  RecordingWriter w;
  SaveSettings(v, model, w);
  EXPECT_EQ(w.writes.at(0).at(16), (KeyValue{L"Sound_Repeat_0", L" 11"}));
}

// ----------------------------------------------------------------------------- memory graph

FakeMemory memoryWithFree(std::int64_t totalKb, std::int64_t freeKb) {
  FakeMemory m;
  m.next.totalPhys = totalKb * 1024;
  m.next.availPhys = freeKb * 1024;
  m.next.totalVirtual = 2097024LL * 1024;
  m.next.availVirtual = 1234567LL * 1024;
  return m;
}

const std::array<Colour, 4> kGraph = {Rgb(10, 10, 10), Rgb(0, 0, 200), Rgb(200, 100, 0),
                                      Rgb(1, 2, 3)};

// Direction of a spoke in degrees, clockwise from three o'clock (y grows downwards).
double spokeDegrees(const RecordingCanvas::Call& line) {
  double a = std::atan2(line.y2 - line.y1, line.x2 - line.x1) * 180 / 3.14159;
  return a < -0.5 ? a + 360 : a;
}

TEST(MemoryGraph, FreeSectorFromThreeOClockAndFlooredPercent) {
  const struct {
    std::int64_t total, free;
    int lastFreeSpoke;
    const wchar_t* text;
  } cases[] = {
      {1000000, 250000, 90, L"25%"},
      {1000000, 506000, 182, L"50%"},  // 182.16 degrees, 50.6 %
      {1000000, 0, 0, L"0%"},           // the one spoke at 0 still shows
      {1000, 999, 360, L"99%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.free << " of " << c.total);
    FakeMemory m = memoryWithFree(c.total, c.free);
    RecordingCanvas board(130, 130);
    const MemoryGraphCaptions captions = MemoryGraph().Refresh(board, kGraph, m);

    ASSERT_EQ(board.calls.front().kind, K::SetBackColour);
    EXPECT_EQ(board.calls.front().colour, kGraph[0]);
    std::vector<RecordingCanvas::Call> spokes, rims;
    for (const auto& l : board.Of(K::Line)) {
      EXPECT_EQ(l.width, 3);
      (l.x1 == 65 && l.y1 == 65 ? spokes : rims).push_back(l);
    }
    const int freeSpokes = c.lastFreeSpoke / 2 + 1;
    ASSERT_EQ(spokes.size(), 181u + freeSpokes);
    for (size_t i = 0; i < spokes.size(); ++i) {
      const bool free = i >= 181;
      const int degrees = static_cast<int>(free ? (i - 181) * 2 : i * 2);
      EXPECT_EQ(spokes[i].colour, free ? kGraph[2] : kGraph[1]) << i;
      EXPECT_NEAR(std::hypot(spokes[i].x2 - 65, spokes[i].y2 - 65), 45, 1e-9);
      EXPECT_NEAR(spokeDegrees(spokes[i]), degrees % 360, 1e-3) << i;
    }
    // The rim hangs 10 pixels below the lower half only, darkened.
    const size_t freeRims = std::min(freeSpokes - 1, 89);
    ASSERT_EQ(rims.size(), 89u + freeRims);
    for (size_t i = 0; i < rims.size(); ++i) {
      EXPECT_EQ(rims[i].x1, rims[i].x2);
      EXPECT_NEAR(rims[i].y2 - rims[i].y1, 10, 1e-9);
      EXPECT_GT(rims[i].y1, 65);
      EXPECT_EQ(rims[i].colour, DarkenColor(i >= 89 ? kGraph[2] : kGraph[1]));
    }
    const auto prints = board.Of(K::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].text, c.text);
    EXPECT_EQ(prints[0].colour, kGraph[3]);
    const double w = RecordingCanvas::CharWidthPx * prints[0].text.size();
    EXPECT_EQ(prints[0].x1, 65 - static_cast<int>(std::nearbyint(w)) / 2);
    EXPECT_EQ(prints[0].y1, 65 - 13 / 2);
    EXPECT_EQ(captions.freeVirtual, L"1,234,567 K");
  }
}

TEST(MemoryGraph, NoTotalLeavesTheCaptionsAndAClearedBoard) {
  FakeMemory m = memoryWithFree(0, 0);
  RecordingCanvas board(130, 130);
  const MemoryGraphCaptions captions = MemoryGraph().Refresh(board, kGraph, m);
  ASSERT_EQ(board.calls.size(), 1u);
  EXPECT_EQ(board.calls[0].kind, K::SetBackColour);
  EXPECT_EQ(captions.freePhysical, L"0 K");
}

// One refresh a second, one graph: the board is redrawn only when the free sector, the
// percentage or a colour changed; the captions always follow the figures.
TEST(MemoryGraph, RedrawsOnlyWhatWouldLookDifferent) {
  const std::array<Colour, 4> otherText = {kGraph[0], kGraph[1], kGraph[2], Rgb(9, 9, 9)};
  const struct {
    std::int64_t total, free;
    std::array<Colour, 4> colours;
    bool redrawn;
    const wchar_t* freeCaption;
  } refreshes[] = {
      {1000000, 250000, kGraph, true, L"250,000 K"},     // the first one draws
      {1000000, 250000, kGraph, false, L"250,000 K"},
      {1000000, 250400, kGraph, false, L"250,400 K"},    // 25.04 %: same sector, same text
      {1000000, 255600, kGraph, true, L"255,600 K"},     // 92.02 degrees: one more spoke
      {1000000, 259000, kGraph, false, L"259,000 K"},    // 93.24 degrees, 25 %: the same
      {1000000, 260000, kGraph, true, L"260,000 K"},     // 26 %
      {1000000, 260000, otherText, true, L"260,000 K"},  // a colour
      {0, 260000, otherText, true, L"260,000 K"},        // no total: cleared
      {0, 260000, otherText, false, L"260,000 K"},
      {1000000, 260000, otherText, true, L"260,000 K"},  // drawn again once it can be
  };
  MemoryGraph graph;
  RecordingCanvas board(130, 130);
  for (const auto& r : refreshes) {
    SCOPED_TRACE(testing::Message() << r.free << " of " << r.total);
    FakeMemory m = memoryWithFree(r.total, r.free);
    board.calls.clear();
    const MemoryGraphCaptions captions = graph.Refresh(board, r.colours, m);
    EXPECT_EQ(!board.calls.empty(), r.redrawn);
    EXPECT_EQ(captions.freePhysical, r.freeCaption);
  }
}

// In high contrast the board and the figure take the system's colours, the shares keep the
// user's, and the figure stands on a hole of the board's colour, all edged in the text colour.
TEST(MemoryGraph, HighContrastOutlinesThePieAndFreesTheFigure) {
  const SystemColours sys{0x000000, 0xFFFFFF, 0x00FFFF};
  EXPECT_EQ(ChoosePieColours(kGraph, false, sys).colour, kGraph);
  EXPECT_FALSE(ChoosePieColours(kGraph, false, sys).outline);
  const PieColours pie = ChoosePieColours(kGraph, true, sys);
  ASSERT_EQ(pie.outline, sys.windowText);
  for (int dpi : {96, 192}) {
    FakeMemory m = memoryWithFree(1000000, 250000);
    const int side = 130 * dpi / 96, c = side / 2;
    RecordingCanvas board(side, side);
    MemoryGraph(dpi).Refresh(board, pie.colour, m, pie.outline);
    std::set<Colour> spokes;
    int edges = 0;
    for (const auto& l : board.Of(K::Line)) {
      if (l.colour == sys.windowText) {
        ++edges;
        EXPECT_EQ(l.width, dpi / 96);
      } else if (l.x1 == c && l.y1 == c) {
        spokes.insert(l.colour);
      }
    }
    EXPECT_EQ(spokes, (std::set<Colour>{kGraph[1], kGraph[2]})) << dpi;
    EXPECT_GE(edges, 2 + 30 + 2) << dpi;  // the rim's ends and edge, the sector's two edges
    const auto holes = board.Of(K::FilledDisc), rings = board.Of(K::Circle);
    ASSERT_EQ(holes.size(), 1u);
    EXPECT_EQ(holes[0].colour, sys.window);
    ASSERT_EQ(rings.size(), 2u);
    for (const auto& r : rings) EXPECT_EQ(r.colour, sys.windowText);
    const auto prints = board.Of(K::Print);
    ASSERT_EQ(prints.size(), 1u);
    EXPECT_EQ(prints[0].colour, sys.windowText);
    EXPECT_EQ(board.calls.back().kind, K::Print);  // drawn over the hole
    EXPECT_GT(holes[0].r * 2, RecordingCanvas::CharWidthPx * 4) << "the hole holds \"100%\"";
  }
}

// ----------------------------------------------------------------------------- texture

TEST(TileBackground, ColumnByColumnUntilPastBothEdges) {
  RecordingCanvas tile(20, 10);
  RecordingCanvas pic(50, 30);
  TileBackground(pic, 50, 30, tile, 20, 10);
  std::vector<std::pair<int, int>> at;
  for (const auto& b : pic.calls) {
    ASSERT_EQ(b.kind, K::Blit);
    EXPECT_EQ(b.source, &tile);
    EXPECT_EQ(b.mode, BlitMode::Copy);
    EXPECT_EQ(b.w, 20);
    EXPECT_EQ(b.h, 10);
    at.emplace_back(static_cast<int>(b.x1), static_cast<int>(b.y1));
  }
  // A column ends with the first tile starting below the height; the columns end with the
  // first one starting right of the width. The panel clips what lies outside.
  std::vector<std::pair<int, int>> expected;
  for (int x : {0, 20, 40, 60})
    for (int y : {0, 10, 20, 30, 40}) expected.emplace_back(x, y);
  EXPECT_EQ(at, expected);

  RecordingCanvas base(537, 501);  // the dialog's base panel and its 579 x 21 tile
  RecordingCanvas texture(579, 21);
  TileBackground(base, 537, 501, texture, 579, 21);
  ASSERT_EQ(base.calls.size(), 50u);
  EXPECT_EQ(base.calls[24].y1, 504);
  EXPECT_EQ(base.calls[25].x1, 579);
  EXPECT_EQ(base.calls[25].y1, 0);
}

// ----------------------------------------------------------------------------- preview

TEST(Preview, SameFaceInTheEditedColoursAndShapeWithAStillBob) {
  const std::array<Colour, 6> colours = {Rgb(0, 0, 100), Rgb(255, 255, 0), Rgb(255, 0, 0),
                                         Rgb(0, 255, 0), Rgb(0, 0, 255), Rgb(250, 0, 0)};
  const struct {
    int shape;
    std::array<double, 4> ratio;
  } cases[] = {{0, {1, 1, 1, 1}}, {1, {1.5, 1, 1.5, 1}}, {2, {1, 1.3, 1, 1.3}},
               {7, {1, 1, 1, 1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shape);
    RecordingCanvas dial(80, 80), pendulum(80, 57), ball(25, 25);
    DrawPreview(dial, pendulum, ball, colours, c.shape, {15, 0, 0});

    // The face: plain background, 41 discs from the background colour, lighter by 6.
    const auto discs = dial.Of(K::FilledDisc);
    ASSERT_EQ(discs.size(), 41u);
    EXPECT_EQ(discs[0].colour, colours[0]);
    EXPECT_EQ(discs[10].colour, Rgb(60, 60, 160));
    EXPECT_TRUE(dial.Of(K::Line).size() == 8u);  // only the two kites: no corner shade
    // Numerals and hands in the shape's dial scale: 3 o'clock at 8 units right.
    const auto numerals = dial.Of(K::Print);
    ASSERT_EQ(numerals.size(), 12u);
    EXPECT_EQ(numerals[2].colour, colours[1]);
    EXPECT_NEAR(dial.PixelX(numerals[2], numerals[2].x1 + RecordingCanvas::CharWidthPx *
                                                          numerals[2].scale.width / 80 / 2),
                40 + 8 * 40 / (10 * c.ratio[0]), 1e-9);
    const auto lines = dial.Of(K::Line);
    EXPECT_EQ(lines[0].colour, colours[2]);
    EXPECT_EQ(lines[4].colour, colours[3]);
    EXPECT_NEAR(dial.PixelX(lines[0], lines[0].x2), 40 + 6 * 40 / (10 * c.ratio[0]), 1e-9);
    EXPECT_EQ(dial.Of(K::Circle).at(0).colour, colours[4]);

    // The bob: 13 discs of radius 12.5 down to 0.5, OR-ed at rest 24 px right of the pivot
    // and 26.8 px below it, on areas in the background colour.
    const auto bob = ball.Of(K::FilledDisc);
    ASSERT_EQ(bob.size(), 13u);
    EXPECT_DOUBLE_EQ(bob[0].r, 12.5);
    EXPECT_DOUBLE_EQ(bob[12].r, 0.5);
    EXPECT_EQ(bob[0].colour, colours[5]);
    EXPECT_EQ(bob[1].colour, Rgb(255, 16, 16));
    EXPECT_EQ(ball.Of(K::SetBackColour).at(0).colour, colours[0]);
    EXPECT_EQ(pendulum.Of(K::SetBackColour).at(0).colour, colours[0]);
    const auto blits = pendulum.Of(K::Blit);
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_EQ(blits[0].source, &ball);
    EXPECT_EQ(blits[0].mode, BlitMode::Or);
    EXPECT_EQ(blits[0].x1, 52);  // 51.5 rounds to even
    EXPECT_EQ(blits[0].y1, 14);  // 26.83 - 12.5
  }
}

}  // namespace
