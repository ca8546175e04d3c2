#include "clock/face.h"

#include <gtest/gtest.h>

#include <cmath>

#include "recording_canvas.h"

using K = RecordingCanvas::Kind;
constexpr double kPi = 3.14159265358979323846;

namespace {

Settings settingsWith(Colour background, std::array<double, 4> ratios) {
  Settings s;
  s.Color = {background, Rgb(1, 2, 3), 0, 0, 0, 0, 0};
  s.ShapeRatio = ratios;
  return s;
}

}  // namespace

TEST(ShadedDisc, RingsFromRimToCentreWithCap) {
  struct Spot { int i; Colour expected; };
  struct Case {
    const char* name; bool ball; int size; Colour base; size_t count; double centre;
    std::vector<Spot> spots;
    int dpi = 96;
  };
  // At 192 DPI a disc per pixel of radius, half a step lighter each: at half the radius the
  // face has the colour it has there at 96.
  const Case cases[] = {
      {"black face", false, 80, 0, 41, 40, {{0, 0}, {1, Rgb(6, 6, 6)}, {40, Rgb(240, 240, 240)}}},
      {"white face", false, 80, 0xFFFFFF, 41, 40, {{0, 0xFFFFFF}, {20, 0xFFFFFF}, {40, 0xFFFFFF}}},
      {"red face", false, 80, 255, 41, 40, {{0, 255}, {40, Rgb(255, 240, 240)}}},
      {"grey bob", true, 25, 8421504, 13, 12,
       {{0, 0x808080}, {7, Rgb(240, 240, 240)}, {8, 0xFFFFFF}, {12, 0xFFFFFF}}},
      {"black face, 192 DPI", false, 160, 0, 81, 80,
       {{0, 0}, {1, Rgb(3, 3, 3)}, {2, Rgb(6, 6, 6)}, {80, Rgb(240, 240, 240)}}, 192},
      {"grey bob, 192 DPI", true, 50, 8421504, 26, 25,
       {{0, 0x808080}, {14, Rgb(240, 240, 240)}, {16, 0xFFFFFF}}, 192},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas canvas(c.size, c.size);
    if (c.ball) DrawBall(canvas, c.base, c.dpi); else DrawFaceDisc(canvas, c.base, c.dpi);
    auto discs = canvas.Of(K::FilledDisc);
    ASSERT_EQ(discs.size(), c.count);
    for (size_t i = 0; i < discs.size(); ++i) {
      EXPECT_EQ(discs[i].x1, c.centre);
      EXPECT_EQ(discs[i].y1, c.centre);
      EXPECT_EQ(discs[i].r, c.centre - double(i));
    }
    for (const auto& s : c.spots) EXPECT_EQ(discs[s.i].colour, s.expected) << "disc " << s.i;
  }
}

TEST(PaintDial, BlackBackgroundGetsVerticalShadeBehindTheFace) {
  RecordingCanvas dial(80, 80);
  PaintDial(dial, settingsWith(0, {1, 1, 1, 1}));
  auto lines = dial.Of(K::Line);
  ASSERT_EQ(lines.size(), 81u);  // y = 0..80 inclusive
  for (size_t y = 0; y < lines.size(); ++y) {
    EXPECT_EQ(lines[y].x1, 0);
    EXPECT_EQ(lines[y].x2, 80);
    EXPECT_EQ(lines[y].y1, double(y));
    EXPECT_EQ(lines[y].y2, double(y));
  }
  EXPECT_EQ(lines[0].colour, Rgb(0, 0, 30));
  EXPECT_EQ(lines[40].colour, Rgb(220, 220, 250));
  EXPECT_EQ(lines[80].colour, Rgb(0, 0, 30));
  EXPECT_EQ(dial.Of(K::SetBackColour).size(), 0u);
}

TEST(PaintDial, StepsInOrderFaceInPixelsNumeralsInDialUnits) {
  RecordingCanvas dial(80, 80);
  PaintDial(dial, settingsWith(255, {1.5, 1.1, 1.2, 1.3}));  // ratios come from the INI file
  std::vector<K> kinds;
  for (const auto& c : dial.calls)
    if (kinds.empty() || kinds.back() != c.kind) kinds.push_back(c.kind);
  EXPECT_EQ(kinds, (std::vector<K>{K::ResetScale, K::SetBackColour, K::FilledDisc, K::SetScale,
                                   K::Print, K::Freeze}));
  EXPECT_EQ(dial.Of(K::SetBackColour)[0].colour, 255);
  EXPECT_EQ(dial.Of(K::FilledDisc).size(), 41u);
  EXPECT_EQ(dial.Of(K::FilledDisc)[0].scale.width, 80);
  const auto scale = dial.Of(K::Print)[0].scale;
  EXPECT_DOUBLE_EQ(scale.left, -15);
  EXPECT_DOUBLE_EQ(scale.top, -11);
  EXPECT_DOUBLE_EQ(scale.width, 27);
  EXPECT_DOUBLE_EQ(scale.height, 24);
}

TEST(DrawNumerals, CentredOnRadiusEightWithGlyphsKeepingPixelSize) {
  struct Case {
    const char* name; std::array<double, 4> ratios;
    double px12x, px12y, px3x, px3y;  // expected pixel centres of "12" and "3"
  };
  const Case cases[] = {
      {"circle", {1, 1, 1, 1}, 40, 8, 72, 40},
      {"vertical ellipse", {1.5, 1, 1.5, 1}, 40, 8, 23 * 80 / 30.0, 40},
      {"horizontal ellipse", {1, 1.3, 1, 1.3}, 40, 5 * 80 / 26.0, 72, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas dial(80, 80);
    PaintDial(dial, settingsWith(255, c.ratios));
    auto prints = dial.Of(K::Print);
    ASSERT_EQ(prints.size(), 12u);
    for (size_t k = 0; k < 12; ++k) {
      const auto& p = prints[k];
      EXPECT_EQ(p.text, std::to_wstring(k + 1));
      EXPECT_EQ(p.colour, Rgb(1, 2, 3));
      // The centre, in dial units: on the circle of radius 8 at the numeral's hour.
      double cx = p.x1 + dial.TextWidth(p.text) / 2, cy = p.y1 + dial.TextHeight(p.text) / 2;
      double deg = (k + 1) * 30.0 - 90.0;
      EXPECT_NEAR(cx, 8 * std::cos(deg * kPi / 180), 1e-9);
      EXPECT_NEAR(cy, 8 * std::sin(deg * kPi / 180), 1e-9);
    }
    auto centrePx = [&](const RecordingCanvas::Call& p, double& x, double& y) {
      x = dial.PixelX(p, p.x1) + RecordingCanvas::CharWidthPx * p.text.size() / 2;
      y = dial.PixelY(p, p.y1) + RecordingCanvas::TextHeightPx / 2;
    };
    double x, y;
    centrePx(prints[11], x, y);
    EXPECT_NEAR(x, c.px12x, 1e-9);
    EXPECT_NEAR(y, c.px12y, 1e-9);
    centrePx(prints[2], x, y);
    EXPECT_NEAR(x, c.px3x, 1e-9);
    EXPECT_NEAR(y, c.px3y, 1e-9);
  }
}
