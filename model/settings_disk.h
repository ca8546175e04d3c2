// The settings file on disk as the settings store uses it. Windows only (ini_file_win.cpp).
#pragma once

#include <memory>
#include <string>

#include "model/settings_store.h"

// The file at `path`. Made once at the start: a save that a crash or a kill cut short left its
// temporary file beside it, which goes now (the settings file itself is whole either way).
std::unique_ptr<SettingsFile> OpenSettingsFile(const std::wstring& path);
