// Dragging a captionless window by a press inside it: while the button is held the pointer keeps
// its offset from the window's top-left corner. Offset and corner are reckoned in twips of 96
// DPI, the unit the settings file keeps positions in at every scaling.
#pragma once

#include <windows.h>

#include <cstdint>

class WindowDrag {
 public:
  // At the press: remembers where the pointer is on the window.
  void Start(HWND window);
  // At a pointer move: puts the window under the pointer. False when no drag is under way;
  // otherwise `cornerTwips`, when given, gets the window's new corner.
  bool Follow(HWND window, POINT* cornerTwips = nullptr);
  void End() { active_ = false; }
  bool Active() const { return active_; }

 private:
  bool active_ = false;
  std::int32_t offsetX_ = 0, offsetY_ = 0;  // twips
  int dpi_ = 96;
};
