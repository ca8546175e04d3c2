#include <gtest/gtest.h>

#include "model/texts.h"
#include "shell/ring_layout.h"

namespace {

namespace rl = ring_layout;

TEST(RingLayout, TitleAndHeadlineNameTheAlarmAsTheUserNumbersIt) {
  UseLanguage(ChooseLanguage(L"ja", 0x0411));
  EXPECT_EQ(rl::Title({0, 7, 30, L"お薬 take pills", 10, {}}),
            L"ｱﾗｰﾑ1 7:30 お薬 take pills");
  EXPECT_EQ(rl::Title({1, 23, 5, L"", 10, {}}), L"ｱﾗｰﾑ2 23:05");
  EXPECT_EQ(rl::Headline({1, 6, 0, L"x", 10, {}}), L"ｱﾗｰﾑ2  6:00");
  // The alarms due with it, by the same names.
  EXPECT_EQ(rl::Others({4, 7, 30, L"", 10, {{6, 7, 30, L"お薬"}}}), L"+1: ｱﾗｰﾑ7 7:30 お薬");
  EXPECT_EQ(rl::Others({0, 7, 30, L"", 10, {{2, 7, 30, L""}, {7, 7, 29, L"x"}}}),
            L"+2: ｱﾗｰﾑ3 7:30, ｱﾗｰﾑ8 7:29 x");
  EXPECT_EQ(rl::Others({0, 7, 30, L"", 10, {}}), L"");
}

// A longer label and the others' line push the buttons down and the window grows with them;
// one line or none keeps today's window.
TEST(RingLayout, LabelLinesAndTheOthersLineGrowTheWindow) {
  const struct {
    int lines;
    bool others;
    int labelHeight, buttonsTop, clientHeight;
  } rows[] = {
      {0, false, 18, 60, 96},  {1, false, 18, 60, 96},    {2, false, 34, 76, 112},
      {1, true, 18, 78, 114}, {4, true, 66, 126, 162},   {9, false, 66, 108, 144},
  };
  for (const auto& r : rows) {
    const rl::Boxes b = rl::LayOut(r.lines, r.others);
    EXPECT_EQ(b.label.h, r.labelHeight) << r.lines << r.others;
    EXPECT_EQ(b.snooze.y, r.buttonsTop) << r.lines << r.others;
    EXPECT_EQ(b.stop.y, r.buttonsTop) << r.lines << r.others;
    EXPECT_EQ(b.client.h, r.clientHeight) << r.lines << r.others;
    EXPECT_GE(b.others.y, b.label.Bottom());
    EXPECT_LE(b.others.Bottom(), b.snooze.y);
  }
}

// A 200 x 120 window around a 100 x 150 clock on a 1000 x 700 work area at (0, 0), or on a
// second monitor's area to its left.
TEST(RingLayout, BesideTheClockOnItsMonitorOrByTheTray) {
  const rl::Box size{0, 0, 200, 120}, work{0, 0, 1000, 700}, left{-800, 0, 800, 600};
  const struct {
    rl::Box clock;
    const rl::Box* area;
    bool tray;
    int x, y;
  } rows[] = {
      {{100, 100, 100, 150}, &work, false, 208, 100},   // room on the right
      {{750, 100, 100, 150}, &work, false, 542, 100},   // none: to the left
      {{850, 650, 100, 150}, &work, false, 642, 580},   // near the bottom: kept on the area
      {{-40, -30, 100, 150}, &work, false, 68, 0},      // partly off the top-left
      {{-150, 50, 100, 150}, &left, false, -358, 50},   // second monitor: its own right edge
      {{0, 0, 0, 0}, &work, true, 800, 580},            // in the tray: the bottom-right corner
  };
  for (const auto& r : rows) {
    const rl::Box at = rl::Place(r.tray ? nullptr : &r.clock, *r.area, size);
    EXPECT_EQ(at.x, r.x) << r.clock.x << "," << r.clock.y;
    EXPECT_EQ(at.y, r.y) << r.clock.x << "," << r.clock.y;
    EXPECT_EQ(at.w, 200);
  }
}

}  // namespace
