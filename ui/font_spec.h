// A font as a layout asks for it: its face, its character height at 96 DPI and the character
// set. The window makes it at its own density (FontAt in ui/gdi.h); the layout tables, which
// are built and tested without <windows.h>, only name it.
#pragma once

#include <string>

struct FontSpec {
  std::wstring face;
  int pixels;   // character height at 96 DPI
  int charset;  // the character set asked for
};
