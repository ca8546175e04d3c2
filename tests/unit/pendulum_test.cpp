#include "clock/pendulum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "recording_canvas.h"

TEST(Pendulum, StartsAtRestAtTheRightEnd) {
  Pendulum p;
  p.Reset(80);
  EXPECT_DOUBLE_EQ(p.PendY, 0.3);
  EXPECT_DOUBLE_EQ(p.PivotX, 40);
  EXPECT_DOUBLE_EQ(p.PrevBallX, 64);
  EXPECT_DOUBLE_EQ(p.PrevBallY, 18);
  EXPECT_EQ(p.SpriteX(), 52);  // 51.5 rounds to even
  EXPECT_EQ(p.SpriteY(), 6);   // 5.5 rounds to even

  RecordingCanvas area(80, 57), sprite(25, 25);
  DrawPendulum(area, sprite, p);
  ASSERT_EQ(area.calls.size(), 2u);
  EXPECT_EQ(area.calls[0].kind, RecordingCanvas::Kind::Clear);
  const auto& b = area.calls[1];
  EXPECT_EQ(b.kind, RecordingCanvas::Kind::Blit);
  EXPECT_EQ(b.x1, 52);
  EXPECT_EQ(b.y1, 6);
  EXPECT_EQ(b.w, 25);
  EXPECT_EQ(b.h, 25);
  EXPECT_EQ(b.source, &sprite);
  EXPECT_EQ(b.sx, 0);
  EXPECT_EQ(b.sy, 0);
  EXPECT_EQ(b.mode, BlitMode::Or);

  p.Reset(100);  // the pivot follows the area's width
  EXPECT_DOUBLE_EQ(p.PrevBallX, 74);
}

TEST(Pendulum, FirstStepsFromRest) {
  Pendulum p;
  p.Reset(80);
  const int xs[] = {51, 50, 49, 47, 45}, ys[] = {6, 7, 8, 10, 12};
  for (int i = 0; i < 5; ++i) {
    p.Step();
    EXPECT_EQ(p.SpriteX(), xs[i]) << "step " << i + 1;
    EXPECT_EQ(p.SpriteY(), ys[i]) << "step " << i + 1;
  }
}

TEST(Pendulum, SwingStaysSymmetricWithSteadyPeriod) {
  Pendulum p;
  p.Reset(80);
  double lo = 0, hi = 0, prevX = p.PendX;
  std::vector<double> upCrossings;  // fractional step at which x rises through 0
  for (int n = 1; n <= 50 * 48; ++n) {
    p.Step();
    lo = std::min(lo, p.PendX);
    hi = std::max(hi, p.PendX);
    if (prevX < 0 && p.PendX >= 0) upCrossings.push_back(n - p.PendX / (p.PendX - prevX));
    prevX = p.PendX;
  }
  EXPECT_NEAR(lo, -hi, 0.001);
  EXPECT_NEAR(hi, 0.4, 0.002);  // no growth or decay over 50 swings
  ASSERT_GE(upCrossings.size(), 40u);
  double period = (upCrossings.back() - upCrossings.front()) / (upCrossings.size() - 1);
  EXPECT_NEAR(period, 47.3, 0.05);
}

TEST(Pendulum, BobPastTheRodLengthKeepsItsHeight) {
  Pendulum p;
  p.Reset(80);
  p.PendX = 0.6;
  p.Step();
  EXPECT_GT(p.PendX, 0.5);
  EXPECT_DOUBLE_EQ(p.PendY, 0.3);
  EXPECT_DOUBLE_EQ(p.PrevBallY, 18);
}

// A hidden clock's swing is caught up with the same steps the 100 ms timer would have made:
// shown again after any mix of hidden spells, the bob is where an undisturbed one would be.
TEST(Pendulum, CatchUpAfterHiddenSpellsMatchesTheUndisturbedSwing) {
  const struct { std::vector<long long> spellsMs; int steps; } cases[] = {
      {{30000}, 300}, {{99, 1}, 1}, {{150, 150, 150}, 4}, {{-5000, 250}, 2}, {{0}, 0},
  };
  for (const auto& c : cases) {
    Pendulum hidden, undisturbed;
    hidden.Reset(80);
    undisturbed.Reset(80);
    long long carry = 0;
    int total = 0;
    for (long long ms : c.spellsMs) {
      const int due = StepsDue(ms, carry);
      for (int i = 0; i < due; ++i) hidden.Step();
      total += due;
    }
    for (int i = 0; i < c.steps; ++i) undisturbed.Step();
    EXPECT_EQ(total, c.steps);
    EXPECT_EQ(hidden.PendX, undisturbed.PendX);
    EXPECT_EQ(hidden.SpriteX(), undisturbed.SpriteX());
  }
}
