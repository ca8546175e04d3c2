// The language's part of the small windows' kit: the font every dialog-like window writes in
// and the words a reader speaks for a default action. Portable.
#pragma once

#include <string>

#include "ui/font_spec.h"
#include "ui/reader_role.h"

// Every label of the settings dialog, an alarm's window and the ringing window is written in
// the current language's font (a Japanese one with its yen-sign backslash only for Japanese),
// at this height: 9.75 pt.
inline constexpr int kDialogFontPixels = 13;
FontSpec DialogFont();

// "押す", "ﾁｪｯｸ"...; empty for no action.
std::wstring ActionText(ReaderAction action);
