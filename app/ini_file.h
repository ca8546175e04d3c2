// The settings file on disk. The file stays in the system's ANSI code page; names and values
// cross this boundary as wide text. Implemented for Windows only (ini_file_win.cpp).
#pragma once

#include <string>
#include <utility>

#include "app/settings.h"

// The value of `key` in `section` of the file at `path`; "" when the file, section or key is
// missing. At most 255 bytes of the file's value.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& path);

// Sets `key` in `section` (each cut to 128 characters) to `value`, creating the file and the
// section as needed. The new content replaces the file in one step, so a failed write leaves
// the old file whole. True on success (the caller keeps it in LastApiResult).
bool WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
              const std::wstring& path);

// True when `path` opens for reading (a folder does not).
bool FileCanOpen(const std::wstring& path);

// The settings section of the file at `iniPath`, and the real file system.
class IniSettingsSource : public SettingsSource {
 public:
  explicit IniSettingsSource(std::wstring iniPath) : path_(std::move(iniPath)) {}
  std::wstring Read(const std::wstring& key) override {
    return ReadIni(kSettingsSection, key, path_);
  }
  bool CanOpen(const std::wstring& path) override { return FileCanOpen(path); }

 private:
  std::wstring path_;
};
