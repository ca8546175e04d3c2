// A font by its face, its character height at 96 DPI and its character set. A window makes
// the real font at its own density (FontAt in ui/gdi.h); the layout tables only name it, so
// that they compile and are tested on any machine.
#pragma once

#include <string>

struct FontSpec {
  std::wstring face;
  int pixels;   // character height at 96 DPI
  int charset;  // the character set asked for
};
