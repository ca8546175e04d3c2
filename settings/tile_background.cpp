#include "settings/tile_background.h"

void TileBackground(Canvas& pic, int picW, int picH, Canvas& tile, int tileW, int tileH) {
  if (tileW <= 0 || tileH <= 0) return;  // no tile: the panel keeps its colour
  int x = 0, y = 0;
  for (;;) {
    pic.Blit(x, y, tileW, tileH, tile, 0, 0, BlitMode::Copy);
    if (y <= picH) {
      y += tileH;
    } else if (x > picW) {
      return;
    } else {
      x += tileW;
      y = 0;
    }
  }
}
