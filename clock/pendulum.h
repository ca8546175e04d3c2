// The pendulum bob below the dial: a small-angle pendulum stepped ten times a second, drawn
// by OR-ing the shaded bob sprite onto the cleared pendulum area.
#pragma once

#include "ui/canvas.h"
#include "ui/dpi.h"

constexpr int BallSpriteSize = 25;  // pixels at 96 DPI

class Pendulum {
 public:
  // Metres and simulated seconds, except PendScale (pixels per metre), the pixel positions and
  // the sprite's size.
  double PendX = 0, PendY = 0, PendVX = 0, PendAX = 0;
  double Gravity = 0, TimeStep = 0, PendLength = 0, PendScale = 0;
  double PivotX = 0, PivotY = 0;
  double BallX = 0, BallY = 0;          // bob centre of the latest step, pixels
  double PrevBallX = 0, PrevBallY = 0;  // bob centre drawn last, pixels
  int SpriteSize = BallSpriteSize;

  // At rest at the right-hand end of the swing (0.4 m out), pivot at the top centre of the
  // area. The clock swings a 0.5 m rod; the settings preview shows a still bob on a 0.6 m one.
  void Reset(double scaleWidth, double length = 0.5, int dpi = kBaseDpi);
  // The area and the screen density changed: the swing goes on where it was, only metres and
  // the pivot map to other pixels (60 pixels per metre at 96 DPI).
  void SetDpi(double scaleWidth, int dpi);
  // One timer step: velocity first, then position (semi-implicit Euler keeps the amplitude
  // steady); the bob is then put back on the rod's circle.
  void Step();

  // Top-left pixel of the sprite (25 x 25 at 96 DPI) for the bob drawn last.
  int SpriteX() const;
  int SpriteY() const;
};

// The pendulum's timer interval: one Step per 100 ms of real time.
constexpr int kPendulumStepMs = 100;

// The steps a 100 ms timer would have made over `elapsedMs` of real time, with what is left of
// a step carried in `carryMs` to the next call: a hidden clock swings on without waking, and
// is caught up when it is shown again.
int StepsDue(long long elapsedMs, long long& carryMs);

// Clear the area and OR the sprite in at the pendulum's sprite corner; the sprite's black
// corners leave the background as it is. A flat bob on the background is copied instead.
void DrawPendulum(Canvas& area, Canvas& sprite, const Pendulum& p, BlitMode mode = BlitMode::Or);
