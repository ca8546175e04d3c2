#include "model/app_state.h"

std::wstring ProgramFolder(const std::wstring& exePath) {
  const auto cut = exePath.find_last_of(L'\\');
  if (cut == std::wstring::npos) return L"";
  std::wstring dir = exePath.substr(0, cut);
  if (dir.size() == 2 && dir[1] == L':') dir += L'\\';
  return dir;
}

std::wstring IniPathFor(const std::wstring& programDir) { return programDir + L"\\Tessarine.ini"; }

IniChoice ChooseIniPath(const std::wstring& programDir, SettingsFolders& folders) {
  const std::wstring beside = IniPathFor(programDir);
  const std::wstring userData = folders.UserDataFolder();
  const std::wstring dir = userData.empty() ? L"" : userData + L"\\Tessarine";
  const std::wstring own = dir.empty() ? L"" : IniPathFor(dir);
  // Once the settings have moved to the user's file, later starts keep it, however the program
  // folder's has changed since (writable again, or not): that one is older. Read-only, the
  // user's file still holds the latest position and shape.
  if (!own.empty() && folders.Exists(own)) return {own, !folders.CanWrite(own)};
  if (folders.CanWrite(beside)) return {beside, false};
  if (!own.empty()) {
    if (folders.MakeFolder(dir) && folders.Exists(beside)) folders.Copy(beside, own);
    if (folders.CanWrite(own)) return {own, false};
  }
  return {beside, true};
}
