// The program's entry: one copy per user session, the settings file beside the program, and
// the clock window. Everything after start-up runs from window and timer events.
#include <windows.h>

#include "model/app_state.h"
#include "app/application_win.h"
#include "ui/handle.h"
#include "ui/window_names.h"

namespace {

// The session-local name keeps one clock per logged-on user.
const wchar_t kInstanceMutex[] = L"Local\\Tessarine.SingleInstance";

std::wstring ExePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
}

// Started again, most likely to find a clock hidden in the tray: the running copy is asked
// to show itself. Between the unload and the load of a reload it has no window; then nothing
// happens.
void CallTheRunningClock() {
  HWND clock = FindWindowW(kClockWindowClass, nullptr);  // hidden in the tray too
  if (!clock) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(clock, &pid);
  // The user just started this copy, so it may hand the foreground on; the running copy may
  // not take it by itself.
  AllowSetForegroundWindow(pid);
  PostMessageW(clock, RegisterWindowMessageW(kShowClockMessage), 0, 0);
}

int Main() {
  // Held for the whole run: a second start finds it and leaves.
  KernelHandle mutex(CreateMutexW(nullptr, FALSE, kInstanceMutex));
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    mutex.reset();
    CallTheRunningClock();
    return 0;  // another copy runs: leave without a window or a file touched
  }

  Application app(ProgramFolder(ExePath()));
  app.Start();
  return app.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
