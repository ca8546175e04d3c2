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
