// The program's entry: one copy per user session, the settings file beside the program, and
// the clock window. Everything after start-up runs from window and timer events.
#include <windows.h>

#include "model/app_state.h"
#include "app/application_win.h"
#include "app/verbs_win.h"
#include "model/command_line.h"
#include "model/texts.h"
#include "ui/handle.h"

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

// Help, or a usage error, in the language the clock speaks; the clock itself is not asked.
int Tell(const ParsedCommand& parsed, const std::wstring& exePath) {
  UseLanguageForCommandLine(ProgramFolder(exePath));
  const std::wstring name = exePath.substr(exePath.find_last_of(L'\\') + 1);
  const std::wstring help = Tr(Text::CommandHelp, name);
  if (parsed.verb) {
    TellOnConsoleOrBox(help, false);
    return kExitDone;
  }
  TellOnConsoleOrBox(Tr(Text::CommandUnknown, parsed.wrong) + L"\r\n\r\n" + help, true);
  return kExitUsage;
}

int Main() {
  const std::wstring exePath = ExePath();
  const std::vector<std::wstring> args = CommandArguments();
  const ParsedCommand parsed = ParseCommandLine(args);
  if (!parsed.verb || *parsed.verb == Verb::Help) return Tell(parsed, exePath);
  const Verb verb = *parsed.verb;

  // A script's /stop or /exit must not start a clock that nobody asked for; only looking for
  // the mutex, it cannot keep a clock started meanwhile from taking it.
  // A clock run with higher rights holds a mutex this copy may not open: it runs all the same.
  if (!VerbStartsClock(verb)) {
    KernelHandle running(OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutex));
    const bool denied = !running && GetLastError() == ERROR_ACCESS_DENIED;
    return running || denied ? HandVerbToRunningClock(verb) : kExitNoClock;
  }
  // Held for the whole run: a second start finds it and hands its verb to the running clock,
  // most likely to call it back from the tray.
  KernelHandle mutex(CreateMutexW(nullptr, FALSE, kInstanceMutex));
  const DWORD created = GetLastError();
  if ((mutex && created == ERROR_ALREADY_EXISTS) || (!mutex && created == ERROR_ACCESS_DENIED)) {
    mutex.reset();
    return HandVerbToRunningClock(verb);  // no window of its own, no file touched
  }

  Application app(ProgramFolder(exePath));
  // Only a start without a verb (a Startup shortcut) keeps the clock in the tray it was quit in.
  app.Start(args.empty());
  if (verb == Verb::Settings) app.RunVerb(verb);
  return app.Run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Main(); }
