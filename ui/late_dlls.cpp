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
