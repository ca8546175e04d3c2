#include "ui/window_drag.h"

#include "ui/twips.h"

void WindowDrag::Start(HWND window) {
  POINT p;
  RECT r;
  if (!GetCursorPos(&p) || !GetWindowRect(window, &r)) return;
  active_ = true;
  offsetX_ = (p.x - r.left) * kTwipsPerPixel;
  offsetY_ = (p.y - r.top) * kTwipsPerPixel;
}

bool WindowDrag::Follow(HWND window, POINT* cornerTwips) {
  if (!active_) return false;
  POINT p;
  if (!GetCursorPos(&p)) return true;
  const std::int32_t left = p.x * kTwipsPerPixel - offsetX_;
  const std::int32_t top = p.y * kTwipsPerPixel - offsetY_;
  SetWindowPos(window, nullptr, TwipsToPixels(left), TwipsToPixels(top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (cornerTwips) *cornerTwips = POINT{left, top};
  return true;
}
