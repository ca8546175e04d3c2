#include "clock/tick.h"

#include <gtest/gtest.h>

#include <cmath>

#include "clock/clock_schedule.h"
#include "clock/face.h"
#include "clock/alarm.h"
#include "clock/reading.h"
#include "fake_memory.h"
#include "recording_canvas.h"

using K = RecordingCanvas::Kind;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Pt { double x, y; };
Pt polar(double len, double deg) { return {len * std::cos(deg * kPi / 180), len * std::sin(deg * kPi / 180)}; }
// Side point of a kite: 0.05 units towards minute mark `mark` (mark 0 straight up).
Pt mark(int m) { return polar(0.05, m * 6.0 - 90); }

void expectAt(double x, double y, Pt p, const char* what) {
  EXPECT_NEAR(x, p.x, 1e-9) << what;
  EXPECT_NEAR(y, p.y, 1e-9) << what;
}

// Four lines: side 1 to tip, side 2 to tip, tail to side 1, tail to side 2.
void expectKite(const std::vector<RecordingCanvas::Call>& l, Pt tip, double len, int b, int f, Colour c) {
  Pt tail{-tip.x / len, -tip.y / len};
  expectAt(l[0].x1, l[0].y1, mark(b), "side 1");
  expectAt(l[0].x2, l[0].y2, tip, "tip");
  expectAt(l[1].x1, l[1].y1, mark(f), "side 2");
  expectAt(l[1].x2, l[1].y2, tip, "tip");
  expectAt(l[2].x1, l[2].y1, tail, "tail");
  expectAt(l[2].x2, l[2].y2, mark(b), "side 1");
  expectAt(l[3].x1, l[3].y1, tail, "tail");
  expectAt(l[3].x2, l[3].y2, mark(f), "side 2");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(l[i].colour, c);
}

}  // namespace

TEST(ClockTick, HandlesOncePerSecond) {
  struct Step { int h, m, s; bool handled; };
  const Step steps[] = {
      {7, 0, 0, true},    // first tick after load: second 0 is not lost
      {7, 0, 0, false},   // same second again
      {7, 0, 1, true},
      {7, 1, 0, true},
      {7, 1, 0, false},   // a doubled arrival
      {7, 2, 0, true},    // held up by exactly a minute: still handled, at once
      {7, 2, 3, true},    // late by seconds: the hands jump
      {8, 2, 3, true},    // an hour later on the same minute and second
      {8, 3, 59, true},
      {8, 3, 59, false},  // early: the boundary not reached yet
      {8, 4, 1, true},    // a second skipped across the minute
      {0, 0, 2, true},
  };
  ClockTick tick;
  tick.Reset();
  for (const auto& st : steps) {
    SCOPED_TRACE(testing::Message() << st.h << ":" << st.m << ":" << st.s);
    TickResult r = tick.Tick(st.h, st.m, st.s);
    EXPECT_EQ(r.Handled, st.handled);
    if (st.handled) {
      EXPECT_EQ(r.ClockHour, st.h);
      EXPECT_EQ(r.ClockMinute, st.m);
      EXPECT_EQ(r.ClockSecond, st.s);
    }
  }
  // A reload within the same second draws again.
  tick.Reset();
  EXPECT_TRUE(tick.Tick(0, 0, 2).Handled);
}

TEST(ClockTick, WakesJustPastTheNextSecond) {
  const struct { int millisecond, delay; } cases[] = {
      {0, 1000 + kTickMarginMs}, {1, 999 + kTickMarginMs}, {500, 500 + kTickMarginMs},
      {999, 1 + kTickMarginMs},   {-3, 1000 + kTickMarginMs}, {1200, 1 + kTickMarginMs},
  };
  for (const auto& c : cases) EXPECT_EQ(TickDelay(c.millisecond), c.delay) << c.millisecond;
}

// Hidden, the tick wakes at the next minute's turn or a snooze's second later in this minute,
// or the next second's while the tray icon alternates; shown, never (the frames carry it).
TEST(ClockSchedule, HiddenTheTickWakesAtTheMinutesTurn) {
  constexpr std::int64_t m = kTickMarginMs;
  const struct {
    int millisecond;
    bool everySecond, shown;
    std::int64_t delay;
    int dueSecond;  // -1: no snooze in this minute
  } rows[] = {
      {0, false, false, 60000 + m, -1},     {30500, false, false, 29500 + m, -1},
      {59990, false, false, 10 + m, -1},    {-7, false, false, 60000 + m, -1},
      {30500, true, false, 500 + m, -1},    {59999, true, false, 1 + m, -1},
      {30500, false, true, ClockSchedule::kNone, -1},
      {15, false, false, 19000 - 15 + m, 19},  {18999, false, false, 1 + m, 19},
      {19015, false, false, 40985 + m, 19},    {30500, true, false, 500 + m, 45},
      {30500, false, true, ClockSchedule::kNone, 45},
  };
  for (const auto& r : rows) {
    ClockSchedule s;
    s.Load(0);
    s.SetShown(r.shown, 0, 0);
    EXPECT_EQ(s.TickDelay(r.millisecond, r.everySecond, r.dueSecond), r.delay) << r.millisecond;
  }
}

// The schedule's events in order, each with its answer: the pendulum steps a show catches up,
// the milliseconds to the next frame or memory check (kNone: no timer), whether the frames
// changed hands, whether the check is still on after a switch-off, whether it opens the cleaner.
TEST(ClockSchedule, ShowHideFramesAndMemoryCheckAsEvents) {
  enum Event { Load, Show, Hide, Unseen, Seen, TickIn, FrameIn, FrameRan, ToLoop, ToTimer, MemOn,
               MemOff, MemIn, Check };
  constexpr std::int64_t kNone = ClockSchedule::kNone;
  const struct { Event event; std::uint64_t now; int arg; std::int64_t want; } steps[] = {
      {Load, 1000, 0, kNone},  {ToTimer, 1000, 0, false},
      {Show, 1199, 515, 1},    // 199 ms after the load: one step, 99 ms carried
      {FrameIn, 1249, 0, 50},  {FrameIn, 1300, 0, 0}, {FrameRan, 1300, 616, 99},
      {ToLoop, 1300, 0, true}, {ToLoop, 1300, 0, false}, {ToTimer, 1300, 0, true},
      {ToTimer, 1300, 0, false}, {ToLoop, 1300, 0, true},
      {Hide, 1400, 0, 0},      {FrameIn, 1400, 0, kNone}, {ToTimer, 1400, 0, false},
      {Show, 1650, 0, 3},      // 250 ms hidden and 99 carried: 3 steps, 49 carried
      {FrameIn, 1650, 0, 15},
      // Locked or the display off: the shown clock wakes as the hidden one, at the minute.
      {Unseen, 1700, 0, 0},    {FrameIn, 1700, 0, kNone}, {TickIn, 1700, 30500, 29500 + kTickMarginMs},
      {Unseen, 1750, 0, 0},    {Seen, 1900, 0, 2},  // 200 ms unseen and 49 carried: 2, 49 left
      {FrameIn, 1900, 0, 15},  {TickIn, 1900, 30500, kNone},
      // Shown while unseen: no frames, and the swing counts from the hide.
      {Hide, 1910, 0, 0},      {Unseen, 1920, 0, 0}, {Show, 1950, 0, 0}, {FrameIn, 1950, 0, kNone},
      {Seen, 1990, 0, 1},      // 80 ms and 49 carried
      {Load, 2000, 0, kNone},
      {Show, 2051, 515, 0},    // a load forgets the carry
      // The check, every minute (arg: Mem_Ival) of a count that a switch-off keeps.
      {MemIn, 0, 0, kNone},    {MemOn, 10000, 1, 60000}, {MemIn, 40000, 0, 30000},
      {MemOff, 40500, 0, false}, {MemIn, 40500, 0, kNone}, {MemOn, 50000, 1, 30000},
      {MemOff, 95000, 0, false},  // 45 s off counts no further than a second before the check
      {MemOn, 95000, 1, 1000}, {MemIn, 97000, 0, 0}, {MemOff, 97000, 0, false},
      {MemOn, 100000, 15, 841000}, {MemOff, 700500, 0, false}, {MemOn, 700500, 15, 241000},
      {Check, 941500, 0, true}, {MemIn, 941500, 0, 900000},
  };
  ClockSchedule s;
  FakeMemory memory;
  memory.next.totalPhys = 1 << 30;
  memory.next.availPhys = 100 << 20;  // 10 % free, under the limit of 30
  std::int16_t ival = 0;
  for (const auto& st : steps) {
    std::int64_t got = 0;
    const std::uint64_t now = st.now;
    switch (st.event) {
      case Load: s.Load(now); got = s.FrameIn(now); break;
      case Show: got = s.SetShown(true, now, st.arg); break;
      case Hide: got = s.SetShown(false, now, st.arg); break;
      case Unseen: got = s.SetUnseen(true, now, st.arg); break;
      case Seen: got = s.SetUnseen(false, now, st.arg); break;
      case TickIn: got = s.TickDelay(st.arg, false); break;
      case FrameIn: got = s.FrameIn(now); break;
      case FrameRan: s.FrameRan(now, st.arg); got = s.FrameIn(now); break;
      case ToLoop: got = s.FramesToLoop(); break;
      case ToTimer: got = s.FramesToTimer(); break;
      case MemOn:
        s.MemoryOn(ival = static_cast<std::int16_t>(st.arg), now);
        got = s.MemoryIn(now);
        break;
      case MemOff: s.MemoryOff(now, ival, 30, memory); got = s.MemoryOnNow(); break;
      case MemIn: got = s.MemoryIn(now); break;
      case Check: got = s.RunMemoryCheck(now, ival, 30, memory); break;
    }
    EXPECT_EQ(got, st.want) << "step " << &st - steps;
  }
}

TEST(ClockTick, FramesKeepTheirPlaceJustPastEachTenth) {
  // Places at 15, 115, ... 915 ms; up to 40 ms past one is in step.
  const struct { int millisecond, delay; } cases[] = {
      {15, 100}, {55, 100}, {915, 100},  // in step: the 915 frame's next is 15 past the second
      {56, 59},  {995, 20}, {0, 15}, {14, 1},  // late or early: back to the next place
  };
  for (const auto& c : cases)
    EXPECT_EQ(FrameDelay(c.millisecond, 100), c.delay) << c.millisecond;

  // Waiting afresh for each frame: always to a place, never less than 20 ms on.
  const struct { int millisecond, wait; } waits[] = {
      {15, 100}, {16, 99}, {55, 60}, {94, 21}, {95, 20}, {96, 119},  // the next place, or one on
      {14, 101}, {0, 115},  {915, 100}, {999, 116},
  };
  for (const auto& c : waits)
    EXPECT_EQ(FrameWaitAfter(c.millisecond, 100), c.wait) << c.millisecond;
}

TEST(DrawHands, KitesAndRingAtTheirMarks) {
  struct Case {
    int h, m, s;
    Pt hourTip; int hourB, hourF;
    Pt minuteTip; int minuteB, minuteF;
    Pt ring;
  };
  const Case cases[] = {
      {3, 0, 0, {6, 0}, 30, 0, {0, -8}, 15, 45, {0, -8}},
      {15, 0, 0, {6, 0}, 30, 0, {0, -8}, 15, 45, {0, -8}},  // 15 folds onto mark 15
      {12, 0, 0, {0, -6}, 15, 45, {0, -8}, 15, 45, {0, -8}},  // mark 60
      {0, 0, 0, {0, -6}, 15, 45, {0, -8}, 15, 45, {0, -8}},   // mark 0, same side points
      {6, 30, 45, polar(6, 105), 45, 15, polar(8, 94.5), 45, 15, {-8, 0}},
      {23, 50, 10, polar(6, 265), 10, 40, polar(8, 211), 5, 35, polar(8, -30)},
  };
  Settings s;
  s.Color = {0, 0, Rgb(2, 0, 0), Rgb(3, 0, 0), Rgb(4, 0, 0), 0, 0};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.h << ":" << c.m << ":" << c.s);
    RecordingCanvas dial(80, 80);
    DrawHands(dial, c.h, c.m, c.s, s);
    ASSERT_EQ(dial.calls.size(), 10u);
    EXPECT_EQ(dial.calls.front().kind, K::Clear);
    EXPECT_EQ(dial.calls.back().kind, K::Circle);  // the ring lies on top
    auto lines = dial.Of(K::Line);
    ASSERT_EQ(lines.size(), 8u);
    expectKite({lines.begin(), lines.begin() + 4}, c.hourTip, 6, c.hourB, c.hourF, s.Color[2]);
    expectKite({lines.begin() + 4, lines.end()}, c.minuteTip, 8, c.minuteB, c.minuteF, s.Color[3]);
    const auto& ring = dial.calls.back();
    expectAt(ring.x1, ring.y1, c.ring, "ring");
    EXPECT_NEAR(ring.r, 1.8, 1e-6);
    EXPECT_EQ(ring.colour, s.Color[4]);
  }
}

TEST(DrawHands, DialUnitsMapToPixelsOfTheShape) {
  struct Case { std::array<double, 4> ratios; double tipPxX, tipPxY; };
  const Case cases[] = {{{1, 1, 1, 1}, 64, 40}, {{1.5, 1, 1.5, 1}, 56, 40}};
  for (const auto& c : cases) {
    RecordingCanvas dial(80, 80);
    const auto& k = c.ratios;
    dial.SetScale(-10 * k[0], -10 * k[1], 10 * k[2], 10 * k[3]);
    DrawHands(dial, 3, 0, 0, Settings{});
    const auto hourTip = dial.Of(K::Line)[0];
    EXPECT_NEAR(dial.PixelX(hourTip, hourTip.x2), c.tipPxX, 1e-9);
    EXPECT_NEAR(dial.PixelY(hourTip, hourTip.y2), c.tipPxY, 1e-9);
  }
}

// What a reader hears from the clock: the time as shown, the alarm that rings (named even when
// switched off since), then the next ring with its day when not today, or a snoozed one.
TEST(ClockReading, TheTimeTheRingingAlarmAndTheNextRing) {
  const std::int64_t wed = LocalMinute({2024, 5, 1, 9, 9});  // a Wednesday
  const struct {
    int h, m, ringing;
    std::int64_t next;
    bool snoozed;
    const wchar_t* want;
  } rows[] = {
      {10, 42, -1, -1, false, L"10:42"},
      {0, 5, -1, wed + 21, false, L"0:05  次のｱﾗｰﾑ 9:30"},
      {9, 9, -1, wed + 24 * 60 - 4, false, L"9:09  次のｱﾗｰﾑ 9:05 (木)"},
      {9, 9, -1, wed + 6 * 24 * 60, false, L"9:09  次のｱﾗｰﾑ 9:09 (火)"},
      {7, 30, 0, wed + 24 * 60, false, L"7:30  ｱﾗｰﾑ 7:30 鳴っています  次のｱﾗｰﾑ 9:09 (木)"},
      {7, 31, 1, -1, false, L"7:31  ｱﾗｰﾑ 18:05 鳴っています"},
      {9, 9, -1, wed + 10, true, L"9:09  ｽﾇｰｽﾞ中 9:19"},
  };
  for (const auto& r : rows) {
    Settings s;
    s.Sound_H = {7, 18};
    s.Sound_M = {30, 5};
    EXPECT_EQ(ClockReading(r.h, r.m, s, r.ringing, NextRingText(r.next, r.snoozed, wed)), r.want);
  }
}
