// Test helper for the clock as other programs meet it.
//   clock_probe catch X Y W H SECONDS  a plain window at that place for that long, beneath
//                                      windows shown later; prints "click X Y" (its client
//                                      coordinates) at each left press, at once.
//   clock_probe look                   prints the clock window's "exstyle HEX alpha N", N the
//                                      layered alpha or -1 when it is not layered.
//   clock_probe session lock|unlock    posts the clock what the system sends when the session
//                                      is locked or unlocked.
// Exit code 0 when it did its part, 1 when the clock was not found, 2 on a wrong command line.
#include <windows.h>
#include <wtsapi32.h>

#include <cstdio>
#include <cwchar>

namespace {

LRESULT CALLBACK CatchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_LBUTTONDOWN) {
    std::printf("click %d %d\n", static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
    std::fflush(stdout);
    return 0;
  }
  if (msg == WM_TIMER) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

int Catch(wchar_t** argv) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CatchProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"ClickCatcher";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"click catcher", WS_POPUP | WS_VISIBLE,
                           _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]),
                           nullptr, nullptr, wc.hInstance, nullptr);
  if (!w) return 1;
  SetTimer(w, 1, static_cast<UINT>(_wtoi(argv[6]) * 1000), nullptr);
  std::printf("ready\n");
  std::fflush(stdout);
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 7 && std::wcscmp(argv[1], L"catch") == 0) return Catch(argv);
  HWND clock = FindWindowW(L"Tessarine_F_Tokei", nullptr);
  if (argc == 2 && std::wcscmp(argv[1], L"look") == 0) {
    if (!clock) return 1;
    const LONG_PTR style = GetWindowLongPtrW(clock, GWL_EXSTYLE);
    BYTE alpha = 0;
    DWORD flags = 0;
    const bool layered = (style & WS_EX_LAYERED) &&
                         GetLayeredWindowAttributes(clock, nullptr, &alpha, &flags) &&
                         (flags & LWA_ALPHA);
    std::printf("exstyle %08lx alpha %d\n", static_cast<unsigned long>(style),
                layered ? static_cast<int>(alpha) : -1);
    return 0;
  }
  if (argc == 3 && std::wcscmp(argv[1], L"session") == 0) {
    if (!clock) return 1;
    const bool lock = std::wcscmp(argv[2], L"lock") == 0;
    return PostMessageW(clock, WM_WTSSESSION_CHANGE, lock ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK,
                        1) ? 0 : 1;
  }
  return 2;
}
