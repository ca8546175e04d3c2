// What the start-up module owns for the whole run: where the program and its settings file
// live. The settings themselves are the store's (model/settings_store.h).
#pragma once

#include <string>

#include "model/settings.h"

struct AppState {
  std::wstring IniPath;     // the settings file ChooseIniPath chose
  std::wstring ProgramDir;  // the program's folder as the platform reports it
};

// The program's folder from the executable's full path: everything before the last "\",
// with the "\" kept for a drive root ("C:\Tessarine.exe" -> "C:\").
std::wstring ProgramFolder(const std::wstring& exePath);
// The settings file beside the program; the separator is added without looking, so a drive
// root gives "C:\\Tessarine.ini", which the file system takes as it is.
std::wstring IniPathFor(const std::wstring& programDir);

// What choosing the settings file needs of the file system; the Win32 side probes the real one.
class SettingsFolders {
 public:
  virtual ~SettingsFolders() = default;
  // Whether a save of `path` would succeed: the file, if there is one, opens for writing, and
  // its folder takes a new file (a save writes the new content beside the old first).
  virtual bool CanWrite(const std::wstring& path) = 0;
  virtual bool Exists(const std::wstring& path) = 0;
  // The user's own application-data folder (%APPDATA%); "" when there is none.
  virtual std::wstring UserDataFolder() = 0;
  virtual bool MakeFolder(const std::wstring& dir) = 0;
  // A copy that takes saves, though the original may be marked read-only.
  virtual bool Copy(const std::wstring& from, const std::wstring& to) = 0;
};

struct IniChoice {
  std::wstring path;
  bool unwritable = false;  // no settings file can be written: the user is told, once
};

// The settings file. Beside the program whenever that file can be written and the user has no
// file of their own, as it always was. Only in a program folder the user cannot write (one
// under "Program Files") the user's own "%APPDATA%\Tessarine\Tessarine.ini", made the first
// time as a copy of the program folder's file and kept from then on: read and written even
// when the program folder's file has become writable again, and read even when it has become
// read-only itself. When neither can be written and the user has no file of their own, the
// program folder's file, read as it is.
IniChoice ChooseIniPath(const std::wstring& programDir, SettingsFolders& folders);
