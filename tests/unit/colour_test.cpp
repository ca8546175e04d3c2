#include "ui/colour.h"

#include <gtest/gtest.h>

namespace {

TEST(Colour, Components) {
  const Colour c = RGBColour(12, 34, 56);
  EXPECT_EQ(c, 12 + 256 * 34 + 65536 * 56);
  EXPECT_EQ(GetRed(c), 12);
  EXPECT_EQ(GetGreen(c), 34);
  EXPECT_EQ(GetBlue(c), 56);
  EXPECT_EQ(RGBColour(300, 256, 255), 16777215);
}

TEST(Colour, DarkenColor) {
  struct Case {
    Colour in, out;
  } cases[] = {
      {0, 0},
      {16777215, RGBColour(205, 205, 205)},
      {255, 205},
      {16776960, RGBColour(0, 205, 205)},
      {4259584, RGBColour(0, 205, 14)},
      {RGBColour(50, 49, 51), RGBColour(0, 0, 1)},
  };
  for (const Case& c : cases) EXPECT_EQ(DarkenColor(c.in), c.out) << c.in;
}

TEST(Colour, ClampByte) {
  for (auto [in, out] : {std::pair{-1, 0}, {0, 0}, {255, 255}, {256, 255}, {1000, 255}}) {
    std::int32_t v = in;
    ClampByte(v);
    EXPECT_EQ(v, out) << in;
  }
}

}  // namespace
