// The dialog's panels are covered with copies of one texture tile, column by column: top to
// bottom, then the next column to the right. The copies that run past the panel's edge are
// clipped by the panel.
#pragma once

#include "ui/canvas.h"

// Copies `tile` (tileW x tileH pixels) over `pic` (picW x picH pixels), starting at (0, 0).
// A column ends with the first tile that starts below the panel's height; the last column is
// the first that starts right of its width.
void TileBackground(Canvas& pic, int picW, int picH, Canvas& tile, int tileW, int tileH);
