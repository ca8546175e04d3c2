// Test helper: reads another program's window as a screen reader does, through oleacc. Prints
// the client object of the window of the class given and each of its children, one line each:
//   <child>\t<role>\t<state hex>\t<left>,<top>,<width>,<height>\t<name>\t<value>
// then "focus\t<child>" for the element that has the keyboard focus (get_accFocus of the
// focused window's top-level client; -1 when the focus is elsewhere), or with "focus" as the
// only argument after the class, that line alone. When the focus is in a child window (a list,
// a scroll bar), a last line "window\t..." gives that window's own object as the first lines
// do: what a reader reads on the focus event the window raises. Output is UTF-8. Exit code 1
// when there is no such window or no object.
//   acc_tree <window class> [focus]
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

const GUID kIAccessible = {0x618736E0, 0x3C3D, 0x11CF,
                           {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::string Utf8(const std::wstring& s) {
  std::string out(s.size() * 4 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? n : 0);
  return out;
}

std::wstring Take(BSTR b) {
  std::wstring s = b ? std::wstring(b) : L"";
  if (b) SysFreeString(b);
  for (auto& c : s)
    if (c == L'\t' || c == L'\n') c = L' ';
  return s;
}

void PrintOne(IAccessible* acc, LONG id, const char* label = nullptr) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  BSTR name = nullptr, value = nullptr;
  VARIANT role, state;
  role.vt = state.vt = VT_EMPTY;
  acc->get_accName(child, &name);
  acc->get_accValue(child, &value);
  acc->get_accRole(child, &role);
  acc->get_accState(child, &state);
  LONG x = 0, y = 0, w = 0, h = 0;
  acc->accLocation(&x, &y, &w, &h, child);
  if (label) std::printf("%s", label);
  else std::printf("%ld", id);
  std::printf("\t%ld\t%lx\t%ld,%ld,%ld,%ld\t%s\t%s\n", role.vt == VT_I4 ? role.lVal : -1,
              state.vt == VT_I4 ? static_cast<unsigned long>(state.lVal) : 0ul, x, y, w, h,
              Utf8(Take(name)).c_str(), Utf8(Take(value)).c_str());
}

// The window with the keyboard focus in `window`'s program when it is `window` or lies in it.
HWND FocusWindow(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus == window || IsChild(window, info.hwndFocus) ? info.hwndFocus : nullptr;
}

// The focused element of `window`'s program, when the focus lies in `window`.
LONG Focused(HWND window, IAccessible* acc) {
  if (!FocusWindow(window)) return -1;
  VARIANT focus;
  focus.vt = VT_EMPTY;
  if (acc->get_accFocus(&focus) != S_OK || focus.vt != VT_I4) return -1;
  return focus.lVal;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const bool focusOnly = argc > 2 && std::wstring(argv[2]) == L"focus";
  CoInitialize(nullptr);
  HWND window = FindWindowW(argv[1], nullptr);
  IAccessible* acc = nullptr;
  if (!window || FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIAccessible,
                                                   reinterpret_cast<void**>(&acc))) || !acc)
    return 1;
  if (!focusOnly) {
    LONG count = 0;
    acc->get_accChildCount(&count);
    for (LONG i = 0; i <= count; ++i) PrintOne(acc, i);
  }
  std::printf("focus\t%ld\n", Focused(window, acc));
  acc->Release();
  HWND child = FocusWindow(window);
  IAccessible* own = nullptr;
  if (child && child != window &&
      SUCCEEDED(AccessibleObjectFromWindow(child, OBJID_CLIENT, kIAccessible,
                                           reinterpret_cast<void**>(&own))) && own) {
    PrintOne(own, CHILDID_SELF, "window");
    own->Release();
  }
  CoUninitialize();
  return 0;
}
