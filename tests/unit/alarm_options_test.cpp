// An alarm's own settings window, as data: the day rule, and a layout whose controls neither
// overlap nor leave the window.
#include <gtest/gtest.h>

#include "settings/alarm_options.h"

namespace {

using namespace alarm_options;

TEST(AlarmOptions, TheLastDayCannotBeUnchecked) {
  const struct {
    std::int16_t days;
    int day;
    std::int16_t want;
  } cases[] = {
      {127, 0, 126},     // every day less Sunday
      {126, 0, 127},     // and back
      {1 << 3, 3, 1 << 3},  // Wednesday alone stays
      {1 << 3, 6, (1 << 3) | (1 << 6)},
      {65, 6, 1},        // Sunday and Saturday less Saturday
      {1, 0, 1},
      {127, 7, 127},     // no such day
  };
  for (const auto& c : cases) EXPECT_EQ(ToggledDay(c.days, c.day), c.want) << c.days << " " << c.day;
}

TEST(AlarmOptions, ControlsLieInTheWindowApartAndSlidersShowTheirRange) {
  const auto& all = Controls();
  for (const bool withTime : {false, true}) {
    const ui::Box client = Client(withTime);
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i].timeSound && !withTime) continue;
      const auto a = Place(all[i], withTime);
      EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.Right() <= client.w && a.Bottom() <= client.h) << i;
      EXPECT_FALSE(NameOf(all[i]).empty()) << i;
      for (std::size_t j = i + 1; j < all.size(); ++j) {
        if (all[j].timeSound && !withTime) continue;
        if (all[i].id == Id::Track && all[j].id == Id::File) continue;  // never both shown
        const auto b = Place(all[j], withTime);
        EXPECT_FALSE(a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom())
            << i << " and " << j << (withTime ? " with the time" : "");
      }
    }
  }
  EXPECT_EQ(ValueText(Id::Volume, 80), L"80％");
  EXPECT_EQ(ValueText(Id::FadeIn, 10), L"10秒");
  EXPECT_EQ(RangeOf(Id::Snooze).min, 1);
  EXPECT_EQ(RangeOf(Id::Snooze).max, kMaxSnooze);
}

}  // namespace
