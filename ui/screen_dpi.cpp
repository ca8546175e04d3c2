#include "ui/screen_dpi.h"

#include "ui/dpi.h"

namespace {

template <typename F>
F User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

int ScreenDcDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return kBaseDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int SystemDpi() {
  static const auto forSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
  if (forSystem) {
    const UINT dpi = forSystem();
    if (dpi) return static_cast<int>(dpi);
  }
  return ScreenDcDpi();
}

int WindowDpi(HWND window) {
  static const auto forWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (forWindow && window) {
    const UINT dpi = forWindow(window);
    if (dpi) return static_cast<int>(dpi);
  }
  return SystemDpi();
}
