#include "model/file_probe.h"

#include <windows.h>

#include "model/ini_file.h"

bool DiskFileProbe::FileExists(const std::wstring& path) {
  IniSettingsSource source(iniPath_);
  return ::FileExists(source, path);
}

// Opened as the player will open it.
bool DiskFileProbe::ReadStart(const std::wstring& path, std::size_t count, std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string buffer(count, '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, buffer.data(), static_cast<DWORD>(count), &read, nullptr);
  CloseHandle(file);
  if (!ok) return false;
  bytes.assign(buffer.data(), read);
  return true;
}
