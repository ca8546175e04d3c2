#include "app/app_state.h"

std::wstring ProgramFolder(const std::wstring& exePath) {
  const auto cut = exePath.find_last_of(L'\\');
  if (cut == std::wstring::npos) return L"";
  std::wstring dir = exePath.substr(0, cut);
  if (dir.size() == 2 && dir[1] == L':') dir += L'\\';
  return dir;
}

std::wstring IniPathFor(const std::wstring& programDir) { return programDir + L"\\Tessarine.ini"; }
