#include "ui/window_drag.h"

#include "ui/twips.h"

void WindowDrag::Start(HWND window) {
  POINT p;
  RECT r;
  if (!GetCursorPos(&p) || !GetWindowRect(window, &r)) return;
  active_ = true;
  dpi_ = 96;  // the file's twips are of 96 DPI at every scaling
  offsetX_ = PixelsToTwips(p.x - r.left, dpi_);
  offsetY_ = PixelsToTwips(p.y - r.top, dpi_);
}

bool WindowDrag::Follow(HWND window, POINT* cornerTwips) {
  if (!active_) return false;
  POINT p;
  if (!GetCursorPos(&p)) return true;
  const std::int32_t left = PixelsToTwips(p.x, dpi_) - offsetX_;
  const std::int32_t top = PixelsToTwips(p.y, dpi_) - offsetY_;
  SetWindowPos(window, nullptr, TwipsToPixels(left, dpi_), TwipsToPixels(top, dpi_), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (cornerTwips) *cornerTwips = POINT{left, top};
  return true;
}
