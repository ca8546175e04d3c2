// Hides or shows a running clock from outside, as sending it to the tray and back does
// (for the idle-cost benchmark), or tells it the session was locked or unlocked:
//   show_window.exe hide|show|lock|unlock [CLASS]  (CLASS defaults to the clock window's class)
// Exit code 0 when the window was found, 1 when not, 2 on bad arguments.
#include <windows.h>
#include <wtsapi32.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const bool lock = std::wcscmp(argv[1], L"lock") == 0;
  if (lock || std::wcscmp(argv[1], L"unlock") == 0) {
    HWND clock = FindWindowW(argc > 2 ? argv[2] : L"Tessarine_F_Tokei", nullptr);
    if (!clock) return 1;
    PostMessageW(clock, WM_WTSSESSION_CHANGE, lock ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK, 1);
    return 0;
  }
  const bool hide = std::wcscmp(argv[1], L"hide") == 0;
  if (!hide && std::wcscmp(argv[1], L"show") != 0) return 2;
  const wchar_t* cls = argc > 2 ? argv[2] : L"Tessarine_F_Tokei";
  HWND hwnd = FindWindowW(cls, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, hide ? SW_HIDE : SW_SHOWNOACTIVATE);
  return 0;
}
