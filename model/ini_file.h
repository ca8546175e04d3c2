// The settings file on disk. The file keeps the encoding it has (a new one is written in the
// system's ANSI code page), but for an ANSI file given a value its code page cannot hold, which
// becomes UTF-16LE (see IniText::Set); names and values cross this boundary as wide text.
// Implemented for Windows only (ini_file_win.cpp).
#pragma once

#include <string>

#include "model/ini_source.h"
#include "model/settings.h"

// The value of `key` in `section` of the file at `path`; "" when the file, section or key is
// missing. At most 255 bytes of an ANSI file's value (255 characters of a Unicode one).
std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& path);

// Sets each key of `entries` in `section` (names cut to 128 characters) to its value, in
// order, creating the file and the section as needed. The new content goes to one temporary
// file beside the file (a link is followed to its target first, so the link stays a link),
// which then replaces the file in one rename, keeping its attributes, creation time and (on
// Windows) its security: a failed or killed write leaves the old file whole, with none of the
// keys set. A hard link to the file keeps the old content: a replace makes a new file. True on
// success (the caller keeps it in LastApiResult).
bool WriteIniKeys(const std::wstring& section, const IniEntries& entries,
                  const std::wstring& path);

// WriteIniKeys for one key.
bool WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value,
              const std::wstring& path);

// Removes the temporary file that a save of `path` cut short left behind, if any. Only that one
// name is touched.
void RemoveUnfinishedSave(const std::wstring& path);

// True when `path` opens for reading (a folder does not), however long it is.
bool FileCanOpen(const std::wstring& path);

// `path` as the file functions take it beyond MAX_PATH characters: "\\?\C:\…" or
// "\\?\UNC\server\…"; a shorter path as it is.
std::wstring ExtendedPath(const std::wstring& path);

// The system's ANSI code page.
const AnsiCodePage& SystemCodePage();

// The settings section of the file at `iniPath` (read once, at the first key), and the real
// file system.
class IniSettingsSource : public IniFileSource {
 public:
  explicit IniSettingsSource(std::wstring iniPath);
  bool CanOpen(const std::wstring& path) override { return FileCanOpen(path); }
};
