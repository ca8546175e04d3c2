// What the start-up module owns for the whole run: the settings model, where the settings file
// lives, and the few flags the windows share.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"

// Where the popup menu was opened from; it decides which entries the menu shows and whether OK
// in the settings dialog reloads the clock.
enum class MenuPlace : std::int16_t { None = 0, Clock = 1, Tray = 2 };

struct AppState {
  Settings settings;
  std::wstring IniPath;     // program folder + "\Tessarine.ini", joined as they are
  std::wstring ProgramDir;  // the program's folder as the platform reports it
  std::int16_t SettingsDialogOpen = 0;  // 16-bit Boolean
  MenuPlace MenuSource = MenuPlace::None;
  // Set by every user action that stops a sound; the clock tick clears it when it re-arms.
  bool StopRequested = false;
};

// The program's folder from the executable's full path: everything before the last "\",
// with the "\" kept for a drive root ("C:\Tessarine.exe" -> "C:\").
std::wstring ProgramFolder(const std::wstring& exePath);
// The settings file beside the program; the separator is added without looking, so a drive
// root gives "C:\\Tessarine.ini", which the file system takes as it is.
std::wstring IniPathFor(const std::wstring& programDir);
