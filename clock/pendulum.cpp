#include "clock/pendulum.h"

#include <cmath>

#include "clock/face.h"

namespace {

// L^2 - x^2 in the factored form: it is the more accurate one, and gives exactly 0.3 m at the
// start (0.25 - 0.16 gives 0.29999999999999993), which keeps the first sprite row at 6 rather
// than 5 (the start bob centre sits on a half pixel).
double rodRadicand(double length, double x) { return (length - x) * (length + x); }

}  // namespace

void Pendulum::Reset(double scaleWidth, double length, int dpi) {
  PendX = 0.4;
  PendVX = 0;
  PendAX = 0;
  PendLength = length;
  TimeStep = 0.03;
  Gravity = 9.8;
  PendY = std::sqrt(rodRadicand(PendLength, PendX));
  SetDpi(scaleWidth, dpi);
}

void Pendulum::SetDpi(double scaleWidth, int dpi) {
  PendScale = 60 * DpiScale(dpi);
  SpriteSize = ScaleToDpi(BallSpriteSize, dpi);
  PivotX = scaleWidth / 2;
  PivotY = 0;
  PrevBallX = BallX = PendScale * PendX + PivotX;
  PrevBallY = BallY = PendScale * PendY + PivotY;
}

void Pendulum::Step() {
  PendAX = (-Gravity * PendX) / PendLength;
  PendVX = PendVX + TimeStep * PendAX;
  PendX = PendX + TimeStep * PendVX;
  // Only x is integrated; y follows the rod. Should x ever pass the rod's length, y stays put
  // rather than turning into NaN.
  double radicand = rodRadicand(PendLength, PendX);
  if (radicand >= 0) PendY = std::sqrt(radicand);
  BallX = PendScale * PendX + PivotX;
  BallY = PendScale * PendY + PivotY;
  PrevBallX = BallX;
  PrevBallY = BallY;
}

int StepsDue(long long elapsedMs, long long& carryMs) {
  if (elapsedMs < 0) elapsedMs = 0;  // a clock set back does not swing backwards
  const long long total = elapsedMs + carryMs;
  carryMs = total % kPendulumStepMs;
  return static_cast<int>(total / kPendulumStepMs);
}

int Pendulum::SpriteX() const { return RoundHalfEven(PrevBallX - SpriteSize / 2.0); }
int Pendulum::SpriteY() const { return RoundHalfEven(PrevBallY - SpriteSize / 2.0); }

void DrawPendulum(Canvas& area, Canvas& sprite, const Pendulum& p, BlitMode mode) {
  area.Clear();
  area.Blit(p.SpriteX(), p.SpriteY(), p.SpriteSize, p.SpriteSize, sprite, 0, 0, mode);
}
