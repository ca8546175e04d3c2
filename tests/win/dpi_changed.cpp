// Test helper: plays the part of a move to a monitor of another density, which Wine (one DPI
// for all monitors) never makes. Sends the clock window, or the program's window of the class
// given, WM_DPICHANGED with a DPI and a suggested rectangle:
// dpi_changed <dpi> <left> <top> <right> <bottom> [window class]. Exit code 0 when the window
// handled it.
//
// The message's rectangle is a pointer. Whether the system copies it across processes or hands
// the address on as it is, the receiver must find the rectangle there: so it is written at one
// address in both processes.
#include <windows.h>

#include <cwchar>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

int wmain(int argc, wchar_t** argv) {
  if (argc < 6) return 2;
  const int dpi = _wtoi(argv[1]);
  const RECT suggested{_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5])};
  HWND window = FindWindowW(argc > 6 ? argv[6] : L"Tessarine_F_Tokei", nullptr);
  if (!window) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return 1;
  void* there = VirtualAllocEx(process, nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  void* here = there ? VirtualAlloc(there, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)
                     : nullptr;
  int status = 1;
  if (here == there && there &&
      WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr)) {
    *static_cast<RECT*>(here) = suggested;
    DWORD_PTR result = 1;
    if (SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                            reinterpret_cast<LPARAM>(there), SMTO_BLOCK, 10000, &result) &&
        result == 0)
      status = 0;
  }
  if (here) VirtualFree(here, 0, MEM_RELEASE);
  if (there) VirtualFreeEx(process, there, 0, MEM_RELEASE);
  CloseHandle(process);
  return status;
}
