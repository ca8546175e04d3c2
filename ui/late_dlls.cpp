#include "ui/late_dlls.h"

namespace {

// The address of `name` in `dll`, loaded once and kept for the rest of the run.
template <typename F>
F lateFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryW(dll);
  if (!module) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool InitCommonControlsLate(DWORD classes) {
  using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const Fn init = lateFunction<Fn>(L"comctl32.dll", "InitCommonControlsEx");
  if (!init) return false;
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  return init(&icc) != FALSE;
}

BOOL ChooseColorLate(CHOOSECOLORW* request) {
  using Fn = BOOL(WINAPI*)(CHOOSECOLORW*);
  static const Fn choose = lateFunction<Fn>(L"comdlg32.dll", "ChooseColorW");
  return choose ? choose(request) : FALSE;
}

BOOL GetOpenFileNameLate(OPENFILENAMEW* request) {
  using Fn = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const Fn open = lateFunction<Fn>(L"comdlg32.dll", "GetOpenFileNameW");
  return open ? open(request) : FALSE;
}

LRESULT LresultFromObjectLate(REFIID iid, WPARAM wp, IUnknown* object) {
  using Fn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  static const Fn make = lateFunction<Fn>(L"oleacc.dll", "LresultFromObject");
  return make ? make(iid, wp, object) : 0;
}

HRESULT CreateStdAccessibleObjectLate(HWND window, LONG id, REFIID iid, void** out) {
  using Fn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  static const Fn make = lateFunction<Fn>(L"oleacc.dll", "CreateStdAccessibleObject");
  return make ? make(window, id, iid, out) : E_NOTIMPL;
}

BSTR SysAllocStringLate(const wchar_t* text) {
  using Fn = BSTR(WINAPI*)(const OLECHAR*);
  static const Fn alloc = lateFunction<Fn>(L"oleaut32.dll", "SysAllocString");
  return alloc ? alloc(text) : nullptr;
}

void ComForThisThreadLate() {
  using Fn = HRESULT(WINAPI*)(LPVOID);
  static const Fn init = lateFunction<Fn>(L"ole32.dll", "CoInitialize");
  static const bool done = init && SUCCEEDED(init(nullptr));
  (void)done;
}

MCIERROR MciSendStringLate(const wchar_t* command, wchar_t* reply, UINT length, HWND callback) {
  using Fn = MCIERROR(WINAPI*)(LPCWSTR, LPWSTR, UINT, HWND);
  static const Fn send = lateFunction<Fn>(L"winmm.dll", "mciSendStringW");
  return send ? send(command, reply, length, callback) : MCIERR_CANNOT_LOAD_DRIVER;
}

BOOL MciGetErrorStringLate(MCIERROR code, wchar_t* text, UINT length) {
  using Fn = BOOL(WINAPI*)(MCIERROR, LPWSTR, UINT);
  static const Fn get = lateFunction<Fn>(L"winmm.dll", "mciGetErrorStringW");
  return get ? get(code, text, length) : FALSE;
}

UINT WaveOutGetNumDevsLate() {
  using Fn = UINT(WINAPI*)();
  static const Fn count = lateFunction<Fn>(L"winmm.dll", "waveOutGetNumDevs");
  return count ? count() : 0;
}

MMRESULT WaveOutGetVolumeLate(HWAVEOUT device, DWORD* volume) {
  using Fn = MMRESULT(WINAPI*)(HWAVEOUT, LPDWORD);
  static const Fn get = lateFunction<Fn>(L"winmm.dll", "waveOutGetVolume");
  return get ? get(device, volume) : MMSYSERR_NODRIVER;
}

MMRESULT WaveOutSetVolumeLate(HWAVEOUT device, DWORD volume) {
  using Fn = MMRESULT(WINAPI*)(HWAVEOUT, DWORD);
  static const Fn set = lateFunction<Fn>(L"winmm.dll", "waveOutSetVolume");
  return set ? set(device, volume) : MMSYSERR_NODRIVER;
}

DWORD TimeGetTimeLate() {
  using Fn = DWORD(WINAPI*)();
  static const Fn now = lateFunction<Fn>(L"winmm.dll", "timeGetTime");
  return now ? now() : GetTickCount();
}

BOOL PlaySoundLate(const wchar_t* sound, HMODULE module, DWORD flags) {
  using Fn = BOOL(WINAPI*)(LPCWSTR, HMODULE, DWORD);
  static const Fn play = lateFunction<Fn>(L"winmm.dll", "PlaySoundW");
  return play ? play(sound, module, flags) : FALSE;
}

BOOL ShellNotifyIconLate(DWORD message, NOTIFYICONDATAW* data) {
  using Fn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
  static const Fn notify = lateFunction<Fn>(L"shell32.dll", "Shell_NotifyIconW");
  return notify ? notify(message, data) : FALSE;
}

HRESULT SHGetFolderPathLate(HWND owner, int folder, HANDLE token, DWORD flags, wchar_t* path) {
  using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  static const Fn get = lateFunction<Fn>(L"shell32.dll", "SHGetFolderPathW");
  return get ? get(owner, folder, token, flags, path) : E_FAIL;
}

int UserNotificationStateLate() {
  using Fn = HRESULT(WINAPI*)(int*);
  static const Fn query = lateFunction<Fn>(L"shell32.dll", "SHQueryUserNotificationState");
  int state = 0;
  if (!query || FAILED(query(&state))) return 0;
  return state;
}
