// The program's entry: one copy per user session, the settings file beside the program, and
// the clock window. Everything after start-up runs from window and timer events.
#include <windows.h>

#include "app/app_state.h"
#include "clock/F_Tokei.h"
#include "sound/f_sound.h"
#include "sound/winmm_port.h"

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

  AppState app;
  app.ProgramDir = ProgramFolder(ExePath());
  app.IniPath = IniPathFor(app.ProgramDir);
  app.SettingsDialogOpen = 0;

  auto winmm = MakeWinmmPort();
  F_Sound sound(*winmm, app.settings);
  F_Tokei clock(app, sound);
  clock.Form_Load();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (mutex) CloseHandle(mutex);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
