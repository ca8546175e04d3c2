// A font as a layout table names it: its face, its character height at 96 DPI and its
// character set. Each window makes the real font from it at its own density (FontAt), so a
// table holds no font handle of its own.
#pragma once

#include <string>

struct FontSpec {
  std::wstring face;
  int pixels;   // character height at 96 DPI
  int charset;  // the character set asked for
};
