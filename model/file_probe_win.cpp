#include "model/file_probe.h"

#include <windows.h>

#include "model/ini_file.h"

bool DiskFileProbe::FileExists(const std::wstring& path) {
  IniSettingsSource source(iniPath_);
  return ::FileExists(source, path);
}

// Opened as the player will open it.
bool DiskFileProbe::ReadStart(const std::wstring& path, std::size_t count, std::string& bytes) {
  HANDLE file = CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
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

std::wstring DiskFileProbe::PlayablePath(const std::wstring& path) {
  if (path.size() < MAX_PATH) return path;
  const std::wstring extended = ExtendedPath(path);
  std::wstring shortPath(extended.size() + 1, L'\0');
  const DWORD n = GetShortPathNameW(extended.c_str(), shortPath.data(),
                                    static_cast<DWORD>(shortPath.size()));
  if (n == 0 || n >= shortPath.size()) return path;
  shortPath.resize(n);
  // The player and MCI take a drive path without the prefix, if it is short enough now.
  if (shortPath.rfind(L"\\\\?\\UNC\\", 0) == 0) shortPath = L"\\\\" + shortPath.substr(8);
  else if (shortPath.rfind(L"\\\\?\\", 0) == 0) shortPath = shortPath.substr(4);
  return shortPath.size() < MAX_PATH ? shortPath : path;
}
