// The system's colours and Windows' high contrast, as the windows that draw themselves read
// them when they paint in high contrast.
#pragma once

#include <windows.h>

#include "ui/colour.h"

inline Colour SystemColour(int index) {
  const COLORREF c = GetSysColor(index);
  return RGBColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

inline SystemColours WindowColours() {
  return {SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOWTEXT),
          SystemColour(COLOR_HIGHLIGHT)};
}

inline bool WindowsHighContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
         (hc.dwFlags & HCF_HIGHCONTRASTON);
}
