// The settings model: every value the program keeps in its INI file, named after the keys.
// One instance lives for the whole run (owned by the application object) and is refilled by
// LoadSettings at every load of the clock window and of the settings dialog.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using Colour = std::int32_t;  // red + 256 * green + 65536 * blue

struct Settings {
  std::array<Colour, 7> Color{};  // 0 background .. 5 pendulum; slot 6 never touches the file
  std::array<Colour, 4> Graph_Color{};
  Colour Filter_Color = 0;
  std::int16_t Shape = 0;
  std::array<double, 4> ShapeRatio{};
  std::array<std::int16_t, 2> Sound_C{};
  std::array<std::int16_t, 2> Sound_H{};
  std::array<std::int16_t, 2> Sound_M{};
  std::array<std::int16_t, 2> Sound_Kbn{};
  std::array<std::int16_t, 2> Sound_Repeat{};
  std::array<std::wstring, 2> Sound_F{};
  std::int16_t Mem_Ival = 0;
  float Mem_Kagen = 0;
  std::wstring Alarm_Path;
  std::int16_t TopMost = 0;  // 16-bit Boolean: -1 true, 0 false
  std::int32_t LastApiResult = 0;
};

// Where LoadSettings reads from: the "Section" section of the program's INI file, and the
// file system for the sound-file check. The Win32 glue binds it to the real file; tests to a map.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  // The value of `key` in section "Section", cut to 255 characters; empty when missing.
  virtual std::wstring Read(const std::wstring& key) = 0;
  // True when `path` (already stripped of one trailing backslash) opens for reading.
  virtual bool CanOpen(const std::wstring& path) = 0;
};
