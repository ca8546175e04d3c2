#include "app/verbs_win.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdlib>

#include "model/app_state.h"
#include "model/texts.h"
#include "ui/late_dlls.h"
#include "ui/window_names.h"

namespace {

constexpr DWORD kAnswerWaitMs = 5000;

HWND WaitForClockWindow(ULONGLONG until) {
  for (;;) {
    if (HWND clock = FindWindowW(kClockWindowClass, nullptr)) return clock;  // hidden too
    if (GetTickCount64() >= until) return nullptr;
    Sleep(50);
  }
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

// A console takes the text as it is; a file or a pipe gets it in UTF-8.
bool WriteTo(HANDLE out, const std::wstring& text) {
  if (!out || out == INVALID_HANDLE_VALUE) return false;
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode))
    return WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
  if (GetFileType(out) == FILE_TYPE_UNKNOWN) return false;
  const std::string bytes = Utf8(text);
  return WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring ReadLanguage(const std::wstring& iniPath) {
  if (GetFileAttributesW(iniPath.c_str()) == INVALID_FILE_ATTRIBUTES) return L"";
  wchar_t value[16] = L"";
  GetPrivateProfileStringW(L"Section", L"Language", L"", value, 16, iniPath.c_str());
  return value;
}

}  // namespace

std::vector<std::wstring> CommandArguments() {
  std::vector<std::wstring> args;
  for (int i = 1; i < __argc && __wargv; ++i) args.emplace_back(__wargv[i]);
  return args;
}

int HandVerbToRunningClock(Verb verb) {
  const ULONGLONG until = GetTickCount64() + kAnswerWaitMs;
  HWND clock = WaitForClockWindow(until);
  if (!clock) return kExitNoAnswer;
  if (verb == Verb::Show || verb == Verb::Settings) {
    // The user just started this copy, so it may hand the foreground on; the running copy may
    // not take it by itself.
    DWORD pid = 0;
    GetWindowThreadProcessId(clock, &pid);
    AllowSetForegroundWindow(pid);
  }
  std::uint32_t wire = VerbToWire(verb);
  COPYDATASTRUCT data{kVerbMessageTag, sizeof wire, &wire};
  DWORD_PTR answer = kExitNoAnswer;
  const ULONGLONG now = GetTickCount64();
  const UINT left = static_cast<UINT>(until > now ? until - now : 1);
  if (!SendMessageTimeoutW(clock, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, left, &answer))
    return kExitNoAnswer;
  return static_cast<int>(answer);
}

void UseLanguageForCommandLine(const std::wstring& programDir) {
  // The file the clock would read: the user's own copy first, as ChooseIniPath finds it.
  std::wstring setting;
  wchar_t dir[MAX_PATH];
  if (SHGetFolderPathLate(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, dir) == S_OK)
    setting = ReadLanguage(IniPathFor(std::wstring(dir) + L"\\Tessarine"));
  if (setting.empty()) setting = ReadLanguage(IniPathFor(programDir));
  UseLanguage(ChooseLanguage(setting, GetUserDefaultUILanguage()));
}

void TellOnConsoleOrBox(const std::wstring& text, bool error) {
  const std::wstring line = text + L"\r\n";
  if (WriteTo(GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE), line)) return;
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    HANDLE out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             0, nullptr);
    // The prompt has already come back: the text starts on a line of its own.
    const bool told = WriteTo(out, L"\r\n" + line);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    FreeConsole();
    if (told) return;
  }
  MessageBoxW(nullptr, text.c_str(), Tr(Text::MessageTitle).c_str(),
              MB_OK | (error ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}
