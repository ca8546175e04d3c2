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
