#include <gtest/gtest.h>

#include "settings/edit_rules.h"

namespace {

TEST(EditRulesTest, AlarmSwitchTogglesTheWholeRow) {
  // Only 1 rings and shows on; a press turns any other value into 1.
  const struct {
    std::int16_t from, to;
    bool onBefore;
  } presses[] = {{0, 1, false}, {1, 0, true}, {-1, 1, false}, {-2, 1, false}, {2, 1, false}};
  for (const auto& p : presses) {
    const AlarmSwitchLook before = AlarmSwitch(p.from);
    EXPECT_EQ(before.rowEnabled, p.onBefore) << p.from;
    const std::int16_t on = ToggledAlarm(p.from);
    EXPECT_EQ(on, p.to) << p.from;
    const AlarmSwitchLook look = AlarmSwitch(on);
    const bool lit = on == 1;
    EXPECT_EQ(look.picture, lit ? 1 : 0);
    EXPECT_EQ(look.caption, lit ? Text::On : Text::Off);
    EXPECT_EQ(look.captionColour, lit ? 255 : 0);
    EXPECT_EQ(look.rowEnabled, lit);
  }
}

TEST(EditRulesTest, ResetColoursAndCustomBoxes) {
  EXPECT_EQ(DefaultClockColours(), (std::array<Colour, 6>{0, 0xFFFFFF, 0, 0, 0xFFFFFF, 0}));
  int calls = 0;
  const auto table = CustomColours([&](int k) {
    ++calls;
    return static_cast<std::uint32_t>(0x010101 * k);
  });
  EXPECT_EQ(calls, 16);
  EXPECT_EQ(table[0], 0u);
  EXPECT_EQ(table[15], 0x0F0F0Fu);
}

TEST(EditRulesTest, ScrollBarsStopAtTheirLimits) {
  const struct {
    const ScrollRange* range;
    std::int16_t from;
    int delta;
    std::int16_t to;
  } cases[] = {
      {&kIvalRange, 10, 1, 11},  {&kIvalRange, 10, 5, 15},   {&kIvalRange, 58, 5, 60},
      {&kIvalRange, 0, -1, 0},   {&kIvalRange, 3, -5, 0},    {&kKagenRange, 10, -1, 10},
      {&kKagenRange, 55, 10, 60}, {&kKagenRange, 30, 10, 40}, {&kKagenRange, 60, 1, 60},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Scrolled(*c.range, c.from, c.delta), c.to) << c.from << " + " << c.delta;
  EXPECT_EQ(IvalLabel(30), L"30分");
  EXPECT_EQ(IvalLabel(0), L"0分");
  EXPECT_EQ(KagenLabel(30), L"30％");
  EXPECT_EQ(KagenLabel(12.5), L"12.5％");
}

TEST(EditRulesTest, ChooserOpensInTheDrivesRootForABareDrive) {
  EXPECT_EQ(ChooserInitialDir(L"C:"), L"C:\\");
  EXPECT_EQ(ChooserInitialDir(L"C:\\Music"), L"C:\\Music");
  EXPECT_EQ(ChooserInitialDir(L""), L"");
  EXPECT_EQ(ChooserInitialDir(L"C:\\"), L"C:\\");
}

TEST(EditRulesTest, ReleaseOnlyBelowTheLimit) {
  const struct {
    const wchar_t* total;
    const wchar_t* avail;
    double limit;
    bool clean;
  } cases[] = {
      {L"1000", L"250", 30, true},    // 25 % free under 30
      {L"1000", L"250", 20, false},   // ... over 20
      {L"1000", L"300", 30, false},   // exactly at the limit
      {L"1000", L"299", 30, true},
      {L"25165824", L"6291455", 25, true},  // 64-bit figures of a 24 GB machine
      {L"0", L"0", 30, false},        // unreadable figures never clean
      {L"", L"100", 30, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShouldReleaseMemory(c.total, c.avail, c.limit), c.clean)
        << c.total << " " << c.avail << " " << c.limit;
}

}  // namespace
