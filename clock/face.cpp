#include "clock/face.h"

#include <cmath>
#include <string>

#include "ui/colour.h"

namespace {

// The point at 0.05 units in the direction of minute mark `mark`.
void markPoint(int mark, double& x, double& y) {
  double a = mark * TwoPi / 60 - HalfPi;
  x = std::cos(a) * 0.05;
  y = std::sin(a) * 0.05;
}

void drawVerticalShade(Canvas& dial) {
  double h = dial.ScaleHeight() / 3.142;
  double width = dial.ScaleWidth();
  for (double y = 0; y <= dial.ScaleHeight(); y += 1) {
    int v = RoundHalfEven(std::fabs(std::sin(y / h) * 220));
    dial.Line(0, y, width, y, RGBColour(v, v, v + 30));
  }
}

}  // namespace

void DrawShadedDisc(Canvas& c, Colour base, int step, double cx, double cy, int dpi) {
  int r = GetRed(base), g = GetGreen(base), b = GetBlue(base);
  const double scale = DpiScale(dpi);
  for (int i = 0; i <= 63 * scale && i <= cx && i <= cy; ++i) {
    // Exact at 96 DPI, where step * i is a whole number.
    const int lighter = RoundHalfEven(step * i / scale);
    c.FilledDisc(cx, cy, cy - i, RGBColour(r + lighter, g + lighter, b + lighter));
  }
}

void DrawFaceDisc(Canvas& dial, Colour background, int dpi) {
  DrawShadedDisc(dial, background, 6, RoundHalfEven(dial.ScaleWidth() / 2),
                 RoundHalfEven(dial.ScaleHeight() / 2), dpi);
}

void DrawBall(Canvas& sprite, Colour pendulum, int dpi) {
  DrawShadedDisc(sprite, pendulum, 16, RoundHalfEven(sprite.ScaleWidth() / 2),
                 RoundHalfEven(sprite.ScaleHeight() / 2), dpi);
}

void DrawFlatBall(Canvas& sprite, Colour background, Colour pendulum) {
  sprite.SetBackColour(background);
  const double cx = RoundHalfEven(sprite.ScaleWidth() / 2);
  const double cy = RoundHalfEven(sprite.ScaleHeight() / 2);
  sprite.FilledDisc(cx, cy, cy, pendulum);
}

void DrawNumerals(Canvas& dial, Colour c) {
  for (int m = 5; m <= 60; m += 5) {
    double a = m * TwoPi / 60 - HalfPi;
    double x = std::cos(a) * 8;
    double y = std::sin(a) * 8;
    std::wstring text = std::to_wstring(m / 5);
    // Measured in dial units, so the glyphs stay centred whatever the shape's stretch.
    dial.Print(x - dial.TextWidth(text) / 2, y - dial.TextHeight(text) / 2, text, c);
  }
}

void DrawHand(Canvas& dial, bool isSecond, double angle, double length, int pos, Colour c) {
  double tipX = std::cos(angle) * length;
  double tipY = std::sin(angle) * length;
  if (isSecond) {
    // The radius was a single-precision constant; keep its exact value.
    dial.Circle(tipX, tipY, static_cast<double>(1.8f), c);
    return;
  }
  int b = pos + 15;
  if (b > 60) b = pos - 45;
  int f = pos - 15;
  if (f < 0) f = pos + 45;
  double s1x, s1y, s2x, s2y;
  markPoint(b, s1x, s1y);
  markPoint(f, s2x, s2y);
  double tailX = -std::cos(angle);
  double tailY = -std::sin(angle);
  dial.Line(s1x, s1y, tipX, tipY, c);
  dial.Line(s2x, s2y, tipX, tipY, c);
  dial.Line(tailX, tailY, s1x, s1y, c);
  dial.Line(tailX, tailY, s2x, s2y, c);
}

DialLook ClockDialLook(const Settings& s) {
  DialLook look;
  look.background = s.Color[0];
  look.numerals = s.Color[1];
  look.shapeRatio = s.ShapeRatio;
  look.shadeBlackCorners = true;
  return look;
}

void PaintDial(Canvas& dial, const DialLook& look) {
  dial.ResetScale();  // the face disc and the shade are laid out in pixels
  if (look.background != 0 || !look.shadeBlackCorners || look.flat) {
    dial.SetBackColour(look.background);
  } else {
    dial.Clear();
    drawVerticalShade(dial);
  }
  if (!look.flat) DrawFaceDisc(dial, look.background, look.dpi);
  // Whole pixels only: a 1.5-pixel line would be drawn unevenly.
  dial.SetDrawWidth(look.dpi / kBaseDpi);
  const auto& k = look.shapeRatio;
  dial.SetScale(-10 * k[0], -10 * k[1], 10 * k[2], 10 * k[3]);
  DrawNumerals(dial, look.numerals);
  dial.Freeze();
}

void PaintDial(Canvas& dial, const Settings& s) { PaintDial(dial, ClockDialLook(s)); }

void DrawHands(Canvas& dial, int h, int m, int s, Colour hour, Colour minute, Colour second) {
  double hourAngle = (m / 60.0 + h) * TwoPi / 12 - HalfPi;
  double minuteAngle = (s / 60.0 + m) * TwoPi / 60 - HalfPi;
  double secondAngle = s * TwoPi / 60 - HalfPi;
  // The hour hand's side points follow its whole hour on the 60-mark dial: 0 gives 0, 12
  // gives 60, afternoon hours fold back onto the same marks.
  int hourMark = (h > 12 ? h - 12 : h) * 5;
  dial.Clear();
  DrawHand(dial, false, hourAngle, 6, hourMark, hour);
  DrawHand(dial, false, minuteAngle, 8, m, minute);
  DrawHand(dial, true, secondAngle, 8, s, second);
}

void DrawHands(Canvas& dial, int h, int m, int s, const Settings& settings) {
  DrawHands(dial, h, m, s, settings.Color[2], settings.Color[3], settings.Color[4]);
}

void DrawRingingSign(Canvas& dial, int dpi, Colour rim) {
  // Outside the numerals' circle, inside the face's edge; back to the hands' width after.
  dial.SetDrawWidth(4 * dpi / kBaseDpi);
  dial.Circle(0, 0, 9.45, rim);
  dial.SetDrawWidth(dpi / kBaseDpi);
}
