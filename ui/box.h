// A rectangle of a small window's layout, in pixels at 96 DPI until the window scales it
// (Form::Px). Portable, so the layouts that use it stay data the unit tests can check.
#pragma once

namespace ui {

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  constexpr int Right() const { return x + w; }
  constexpr int Bottom() const { return y + h; }
};

}  // namespace ui
