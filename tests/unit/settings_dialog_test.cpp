// The settings dialog's portable parts: the keys it saves, the memory pie, the panel texture
// and the clock preview.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "app/colour.h"
#include "recording_canvas.h"
#include "settings/memory_graph.h"
#include "settings/preview.h"
#include "settings/save_settings.h"
#include "settings/tile_background.h"

namespace {

using K = RecordingCanvas::Kind;
using KeyValue = std::pair<std::wstring, std::wstring>;

class RecordingWriter : public SettingsWriter {
 public:
  std::vector<KeyValue> written;
  bool failing = false;
  bool Write(const std::wstring& key, const std::wstring& value) override {
    written.emplace_back(key, value);
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
  EXPECT_EQ(w.written, expected);
  // Of all the edits, only the CD tracks reach the model at once.
  EXPECT_EQ(model.Sound_Repeat, (std::array<std::int16_t, 2>{2, 0}));
  EXPECT_EQ(model.Sound_H, (std::array<std::int16_t, 2>{3, 21}));
  EXPECT_EQ(model.Shape, 0);
  EXPECT_EQ(model.Mem_Ival, 0);
}

TEST(SaveSettings, AFailingWriteLosesOnlyItsKey) {
  Settings model;
  RecordingWriter w;
  w.failing = true;
  SaveSettings(sampleValues(), model, w);
  EXPECT_EQ(w.written.size(), 27u);
  EXPECT_EQ(model.LastApiResult, 0);
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
  EXPECT_EQ(w.written[16], (KeyValue{L"Sound_Repeat_0", L" 11"}));
}

// ----------------------------------------------------------------------------- memory graph

class FakeMemory : public MemorySource {
 public:
  MemorySnapshot next;
  MemorySnapshot Read() override { return next; }
};

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
    const MemoryGraphCaptions captions = DrawMemoryGraph(board, kGraph, m);

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
  const MemoryGraphCaptions captions = DrawMemoryGraph(board, kGraph, m);
  ASSERT_EQ(board.calls.size(), 1u);
  EXPECT_EQ(board.calls[0].kind, K::SetBackColour);
  EXPECT_EQ(captions.freePhysical, L"0 K");
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
