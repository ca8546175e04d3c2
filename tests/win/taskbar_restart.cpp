// Test helper: plays the part of a taskbar that dies and comes back. "delete" removes the
// clock's tray icon the way a dying taskbar loses it; "restart" broadcasts the message a new
// taskbar sends. Exit code 0 when the step could be done.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  if (std::wcscmp(argv[1], L"delete") == 0) {
    HWND tray = FindWindowW(L"Tessarine_F_TTray", nullptr);
    if (!tray) return 1;
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = tray;
    nid.uID = 1;
    return Shell_NotifyIconW(NIM_DELETE, &nid) ? 0 : 1;
  }
  if (std::wcscmp(argv[1], L"restart") == 0) {
    const UINT msg = RegisterWindowMessageW(L"TaskbarCreated");
    return PostMessageW(HWND_BROADCAST, msg, 0, 0) ? 0 : 1;
  }
  return 2;
}
