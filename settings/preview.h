// The settings dialog's still picture of the clock, in the colours and the shape being edited.
// It is the clock's own face, bob and hands code with the preview's differences as arguments:
// its plain corners, a bob resting further down on a longer rod, and the time it is drawn at.
// (Its round window region is the dialog's business.)
#pragma once

#include <array>

#include "model/settings.h"
#include "ui/canvas.h"
#include "ui/dpi.h"

struct PreviewTime {
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
};

// `dial` is 80 x 80, `pendulum` 80 x 57 and `ball` the 25 x 25 bob sprite, all in pixels at
// 96 DPI and scaled to `dpi`. A shape outside 0..2 is drawn as a circle.
void DrawPreview(Canvas& dial, Canvas& pendulum, Canvas& ball,
                 const std::array<Colour, 6>& editColor, int editShape, PreviewTime t,
                 int dpi = kBaseDpi);
