// The clock face: the shaded disc, the shaded pendulum bob, the numerals and the hands, all
// drawn onto a Canvas. The face, bob and numerals are painted once per load and frozen; the
// hands are redrawn over the frozen face every second.
#pragma once

#include <array>

#include "model/settings.h"
#include "ui/canvas.h"
#include "ui/dpi.h"

// Dial angles: radians clockwise from the positive x axis (y grows downwards), so twelve
// o'clock is -HalfPi. These exact literals keep the geometry identical to the settings preview.
constexpr double TwoPi = 6.28318530717958;
constexpr double HalfPi = 1.570796326794895;

// Concentric discs centred on (cx, cy) with radius cy - i for i = 0.. while i <= 63, i <= cx
// and i <= cy, each `step` lighter per component than the last (capped at 255). The clock's
// own face and bob pass rounded centres; the settings preview passes an unrounded cy.
// At a higher DPI there is a disc per pixel of radius, each a DPI-th of a step lighter, so the
// shade spans the same part of the disc in finer steps.
void DrawShadedDisc(Canvas& c, Colour base, int step, double cx, double cy, int dpi = kBaseDpi);

// The face: discs stepping by 6 around the rounded centre of `dial`, in its current (pixel) scale.
void DrawFaceDisc(Canvas& dial, Colour background, int dpi = kBaseDpi);
// The bob sprite: the same with step 16 (13 discs on a 25 x 25 sprite at 96 DPI).
void DrawBall(Canvas& sprite, Colour pendulum, int dpi = kBaseDpi);
// High contrast: one plain disc of the same size on the background, for a plain copy.
void DrawFlatBall(Canvas& sprite, Colour background, Colour pendulum);
// Numerals 1..12 centred on a circle of radius 8 dial units.
void DrawNumerals(Canvas& dial, Colour c);
// One hand in dial units: a kite from one unit behind the centre to the tip, its side points
// taken from the whole minute mark `pos` (0..60); the second hand is a ring on the tip instead.
void DrawHand(Canvas& dial, bool isSecond, double angle, double length, int pos, Colour c);

// What sets one dial apart from another: the clock window and the settings dialog's preview
// paint with the same code and differ only in these.
struct DialLook {
  Colour background = 0;
  Colour numerals = 0;
  std::array<double, 4> shapeRatio{1, 1, 1, 1};  // the dial scale is -10 * r0 .. 10 * r2 across
  // The clock fills the corners outside a black face with a vertical shade; the preview's
  // round region hides its corners, so it leaves them plain.
  bool shadeBlackCorners = true;
  // High contrast: the background alone, no shaded disc or corners.
  bool flat = false;
  int dpi = kBaseDpi;  // of the screen the dial is shown on: shade steps and line width
};

// The clock window's look, from the settings.
DialLook ClockDialLook(const Settings& s);

// Paints the static dial and freezes it: background (plain, or the vertical shade), the face
// disc in pixels, the dial scale for the shape, the numerals, then Freeze so that Clear
// restores all of it. Lines (the hands that follow) are a pixel wide per 96 DPI.
void PaintDial(Canvas& dial, const DialLook& look);
void PaintDial(Canvas& dial, const Settings& s);

// Clear the dial back to its frozen face, then the hour hand, the minute hand and the second
// ring, in that order so the ring lies on top.
void DrawHands(Canvas& dial, int h, int m, int s, Colour hour, Colour minute, Colour second);
void DrawHands(Canvas& dial, int h, int m, int s, const Settings& settings);

// Over the hands while an alarm rings that nothing can sound: a bold red rim round the dial,
// seen from across a room, in the dial's own shape.
void DrawRingingSign(Canvas& dial, int dpi = kBaseDpi, Colour rim = 0x2020E0);
