#include "ui/message_filter.h"

namespace {

using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
using Filter = BOOL(WINAPI*)(UINT, DWORD);
constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW and MSGFLT_ADD alike

template <typename F>
F User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

}  // namespace

void AcceptFromLowerRights(HWND window, std::initializer_list<UINT> messages) {
  static const FilterEx filterEx = User32Function<FilterEx>("ChangeWindowMessageFilterEx");
  static const Filter filter = User32Function<Filter>("ChangeWindowMessageFilter");
  for (UINT message : messages) {
    if (message == 0) continue;  // a registered message that could not be had
    if (filterEx) filterEx(window, message, kAllow, nullptr);
    else if (filter) filter(message, kAllow);
  }
}
