// The two common dialogs the settings dialog opens: the colour dialog and the sound-file
// chooser, each set up the way the settings dialog asks for it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "model/settings.h"

// The standard colour dialog with no initial colour, its custom-colour editor locked, and the
// 16 custom boxes showing the current system colours 0..15. The chosen colour, or nothing
// when the user cancels.
std::optional<Colour> PickColour(HWND owner);

// The open-file dialog for MP3 and WAV files, starting in `alarmPath` (a bare drive opens at
// its root). The chosen path as the user chose it, or nothing when cancelled or when it does not
// fit the 255-character buffer.
std::optional<std::wstring> PickSoundFile(HWND owner, const std::wstring& alarmPath);
