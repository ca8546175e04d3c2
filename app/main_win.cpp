// The program's entry: one copy per user session, the settings file beside the program, and
// the clock window. Everything after start-up runs from window and timer events.
#include <windows.h>

#include "model/app_state.h"
#include "app/application_win.h"

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

int Main() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return 0;  // another copy runs: leave without a window or a file touched
  }

  int rc = 0;
  {
    Application app(ProgramFolder(ExePath()));
    app.Start();
    rc = app.Run();
  }
  if (mutex) CloseHandle(mutex);
  return rc;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
