// Test helper: what a monitor that goes away does to the clock, where the test display cannot
// change its layout under Wine (Xvfb has no RandR provider, so Wine never hears of a new size).
// Moves the clock window to x, y (screen pixels), where a vanished monitor would have left it,
// then sends it the WM_DISPLAYCHANGE the system sends after a change of the screen layout.
// Exit code 0 when the clock was found and took the message.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  HWND clock = FindWindowW(L"Tessarine_F_Tokei", nullptr);
  if (!clock) return 1;
  const int x = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
  const int y = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
  if (!SetWindowPos(clock, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
    return 1;
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(clock, WM_DISPLAYCHANGE, static_cast<WPARAM>(bits), size,
                             SMTO_ABORTIFHUNG, 5000, &result)
             ? 0
             : 1;
}
