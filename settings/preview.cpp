#include "settings/preview.h"

#include "clock/face.h"
#include "clock/pendulum.h"

namespace {

constexpr double kRodLength = 0.6;  // metres; the clock swings 0.5

}  // namespace

void DrawPreview(Canvas& dial, Canvas& pendulum, Canvas& ball,
                 const std::array<Colour, 6>& editColor, int editShape, PreviewTime t, int dpi) {
  pendulum.SetBackColour(editColor[0]);
  ball.ResetScale();
  ball.SetBackColour(editColor[0]);

  DialLook look;
  look.background = editColor[0];
  look.numerals = editColor[1];
  look.shapeRatio = ShapeRatioOf(editShape).value_or(*ShapeRatioOf(0));
  look.shadeBlackCorners = false;
  look.dpi = dpi;
  PaintDial(dial, look);

  // Shaded round the unrounded centre height (12.5): each disc is half a pixel wider than on
  // the clock's sprite.
  DrawShadedDisc(ball, editColor[5], 16, RoundHalfEven(ball.ScaleWidth() / 2),
                 ball.ScaleHeight() / 2, dpi);
  Pendulum rest;
  rest.Reset(pendulum.ScaleWidth(), kRodLength, dpi);
  DrawPendulum(pendulum, ball, rest);

  DrawHands(dial, t.hour, t.minute, t.second, editColor[2], editColor[3], editColor[4]);
}
