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
  if (folders.CanWrite(beside)) return {beside, false};
  const std::wstring userData = folders.UserDataFolder();
  if (!userData.empty()) {
    const std::wstring dir = userData + L"\\Tessarine";
    const std::wstring own = IniPathFor(dir);
    // Later starts keep the user's file, however the program folder's has changed since.
    const bool userFile = folders.Exists(own);
    if (!userFile && folders.MakeFolder(dir) && folders.Exists(beside))
      folders.Copy(beside, own);
    if (folders.CanWrite(own)) return {own, false};
    // Read-only now, it still holds the user's latest settings; the program folder's file
    // would bring back an old position and shape.
    if (userFile) return {own, true};
  }
  return {beside, true};
}
