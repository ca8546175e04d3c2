// Test helper: posts the clock window the WM_TIMECHANGE that the system broadcasts after the
// clock or the time zone was set. Exit code 0 when the clock was found and the message posted.
#include <windows.h>

int wmain() {
  HWND clock = FindWindowW(L"Tessarine_F_Tokei", nullptr);
  return clock && PostMessageW(clock, WM_TIMECHANGE, 0, 0) ? 0 : 1;
}
