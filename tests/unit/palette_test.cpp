#include <gtest/gtest.h>

#include <set>

#include "clock/face.h"
#include "model/palette.h"
#include "recording_canvas.h"
#include "shell/tray_icon.h"

namespace {

using K = RecordingCanvas::Kind;

// The file forces it either way; empty, or what is no Boolean, leaves it to Windows.
TEST(HighContrast, TheFileDecidesOverWindows) {
  for (auto [setting, windows, want] :
       {std::tuple{L"", true, true}, {L"", false, false}, {L"-1", false, true},
        {L" 0", true, false}, {L"True", false, true}, {L"x", true, true}})
    EXPECT_EQ(HighContrastOn(setting, windows), want) << setting << " " << windows;
}

// Everything the clock draws in high contrast, for a dark and a light scheme at each density,
// takes no colour but the system's three: no shade anywhere, and the user's colours unused.
TEST(HighContrast, TheFaceAndBobAreDrawnInTheSystemColoursAlone) {
  Settings user;
  for (int n = 0; n < 6; ++n) user.Color[n] = 0x102030 * (n + 1);
  for (const SystemColours& sys : {SystemColours{0x000000, 0xFFFFFF, 0x00FFFF},
                                   SystemColours{0xFFFFFF, 0x000000, 0x6E0037}}) {
    for (int dpi : {96, 144, 192}) {
      const FacePalette p = ChooseFacePalette(user, true, sys);
      RecordingCanvas dial(80 * dpi / 96, 80 * dpi / 96), ball(25 * dpi / 96, 25 * dpi / 96);
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
      for (const RecordingCanvas* c : {&dial, &ball}) {
        for (const auto& call : c->calls) {
          if (call.kind != K::SetScale && call.kind != K::ResetScale && call.kind != K::Clear &&
              call.kind != K::Freeze) {
            EXPECT_TRUE(allowed.count(call.colour)) << int(call.kind) << " " << call.colour;
          }
        }
      }
      EXPECT_TRUE(dial.Of(K::FilledDisc).empty()) << dpi;
      ASSERT_EQ(ball.Of(K::FilledDisc).size(), 1u);
      EXPECT_EQ(ball.Of(K::FilledDisc)[0].colour, sys.windowText);
    }
  }
}

// The tray's clock at the sizes small icons take: opaque over the disc alone, in the two
// colours alone, edged all round, with the hands leaving the lower half clear.
TEST(HighContrast, TheTrayClockIsADiscInTwoColours) {
  const Colour back = 0x000000, fore = 0xFFFFFF;
  for (int size : {16, 20, 24, 32}) {
    const IconPixels icon = ContrastClockIcon(size, back, fore);
    ASSERT_EQ(icon.argb.size(), size_t(size * size));
    auto at = [&](int x, int y) { return icon.argb[size_t(y * size + x)]; };
    std::set<std::uint32_t> colours;
    for (std::uint32_t p : icon.argb) colours.insert(p);
    EXPECT_EQ(colours, (std::set<std::uint32_t>{0, 0xFF000000u, 0xFFFFFFFFu})) << size;
    const int c = size / 2, last = size - 1;
    for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
      EXPECT_EQ(at(x, y), 0u) << size << " corner " << x << "," << y;
    for (auto [x, y] : {std::pair{c, 0}, {0, c}, {last, c}, {c, last}, {c, c}})
      EXPECT_EQ(at(x, y), 0xFFFFFFFFu) << size << " edge or centre " << x << "," << y;
    EXPECT_EQ(at(c, c + size / 4), 0xFF000000u) << size;
  }
}

}  // namespace
