// The benchmark's floor: a Wine program with no window at all, blocked in its message loop.
// What it costs is what the runtime costs any program, whatever the program does; the clock
// is measured above it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
