#include <gtest/gtest.h>

#include <set>

#include "clock/face.h"
#include "model/palette.h"
#include "recording_canvas.h"

namespace {

using K = RecordingCanvas::Kind;

TEST(HighContrast, TheFileForcesItEitherWayAndOtherwiseWindowsDecides) {
  struct Row {
    const wchar_t* setting;
    bool windows, want;
  } rows[] = {
      {L"", false, false}, {L"", true, true},          {L"-1", false, true},
      {L"0", true, false}, {L" 0", true, false},       {L"True", false, true},
      {L"x", true, true},  {L"x", false, false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(HighContrastOn(r.setting, r.windows), r.want) << r.setting << " " << r.windows;
}

Settings userColours() {
  Settings s;
  for (int n = 0; n < 6; ++n) s.Color[n] = 0x102030 * (n + 1);
  return s;
}

TEST(HighContrast, OffTheUsersColoursOnTheSystemsAndTheFileKeepsTheUsers) {
  const Settings s = userColours();
  const SystemColours sys{0x000000, 0xFFFFFF, 0x00FFFF};
  const FacePalette off = ChooseFacePalette(s, false, sys);
  for (int n = 0; n < 6; ++n) EXPECT_EQ(off.colour[n], s.Color[n]);
  EXPECT_FALSE(off.flat);
  EXPECT_EQ(off.ringingRim, RGBColour(224, 32, 32));
  const FacePalette on = ChooseFacePalette(s, true, sys);
  EXPECT_EQ(on.colour, (std::array<Colour, 6>{0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0x00FFFF, 0xFFFFFF}));
  EXPECT_EQ(on.ringingRim, 0x00FFFFu);
  EXPECT_TRUE(on.flat);
  EXPECT_EQ(s.Color[0], 0x102030u);  // a copy: nothing of the user's is lost
}

// Everything the clock draws in high contrast, at each density and for a dark and a light
// scheme: no colour but the system's three, so no shade anywhere.
TEST(HighContrast, TheFaceAndBobAreDrawnInTheSystemColoursAlone) {
  const SystemColours schemes[] = {{0x000000, 0xFFFFFF, 0x00FFFF}, {0xFFFFFF, 0x000000, 0x6E0037}};
  for (const SystemColours& sys : schemes) {
    for (int dpi : {96, 144, 192}) {
      const FacePalette p = ChooseFacePalette(userColours(), true, sys);
      const int size = 80 * dpi / 96;
      RecordingCanvas dial(size, size), ball(25 * dpi / 96, 25 * dpi / 96);
      DialLook look;
      look.background = p.colour[0];
      look.numerals = p.colour[1];
      look.flat = p.flat;
      look.dpi = dpi;
      PaintDial(dial, look);
      DrawHands(dial, 10, 8, 37, p.colour[2], p.colour[3], p.colour[4]);
      DrawRingingSign(dial, dpi, p.ringingRim);
      DrawFlatBall(ball, p.colour[0], p.colour[5]);
      const std::set<Colour> allowed{sys.window, sys.windowText, sys.highlight};
      for (const RecordingCanvas* c : {&dial, &ball})
        for (const auto& call : c->calls)
          if (call.kind != K::SetScale && call.kind != K::ResetScale && call.kind != K::Clear &&
              call.kind != K::Freeze)
            EXPECT_TRUE(allowed.count(call.colour)) << int(call.kind) << " " << call.colour;
      EXPECT_EQ(dial.Of(K::FilledDisc).size(), 0u) << dpi;
      ASSERT_EQ(ball.Of(K::FilledDisc).size(), 1u);
      EXPECT_EQ(ball.Of(K::FilledDisc)[0].colour, sys.windowText);
    }
  }
}

}  // namespace
