// Switching a window between the topmost z-order class and the normal one.
#pragma once

#include <windows.h>

#include <cstdint>

// Keeps position, size and activation: only the z-order class changes.
inline void SetTopMost(HWND window, std::int16_t flag) {
  SetWindowPos(window, flag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}
