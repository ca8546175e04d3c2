// Custom actions of the installer (package/Tessarine.wxs), in a DLL that only the installer
// loads. Windows Installer cannot replace a program file that is running: it puts the new
// file beside it, asks for a restart and swaps them then, and an uninstall leaves the old
// file to be deleted at that restart, where it would also take a program installed again in
// between. So before any file is touched, a clock running from the installation folder is
// asked to quit as it does when the user closes it (it saves its place in Tessarine.ini and
// ends), and once the new files are in, the clock is started again.
#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include "ui/window_names.h"

// No C++ library here: the DLL is stored in every package, and it stays a few kilobytes.
namespace {

// A clock saves in milliseconds; one that has not ended by then is left to the installer.
const DWORD kQuitWaitMs = 15000;
const int kMostClocks = 16;
const DWORD kPathSize = 1024;

struct Search {
  wchar_t folder[kPathSize];  // with its closing backslash, as the installer gives folders
  int folderLength;
  HANDLE clocks[kMostClocks];
  int count;
};

bool runsFrom(HANDLE process, const Search& search) {
  wchar_t image[kPathSize];
  DWORD size = kPathSize;
  if (!QueryFullProcessImageNameW(process, 0, image, &size)) return false;
  int slash = static_cast<int>(size) - 1;
  while (slash >= 0 && image[slash] != L'\\') --slash;
  return slash >= 0 && CompareStringOrdinal(image, slash + 1, search.folder,
                                            search.folderLength, TRUE) == CSTR_EQUAL;
}

BOOL CALLBACK closeIfInstalled(HWND window, LPARAM lp) {
  Search& search = *reinterpret_cast<Search*>(lp);
  wchar_t name[64];
  if (!GetClassNameW(window, name, 64) || lstrcmpW(name, kClockWindowClass) != 0) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
  if (!process) return TRUE;
  if (search.count < kMostClocks && runsFrom(process, search)) {
    PostMessageW(window, WM_CLOSE, 0, 0);  // what closing the clock sends it
    search.clocks[search.count++] = process;
  } else {
    CloseHandle(process);  // another copy, from a zip: not ours to close
  }
  return TRUE;
}

}  // namespace

// Closes the clocks running from INSTALLDIR and waits for them to end; sets
// TESSARINE_WAS_RUNNING when there was one. Never fails the installation.
extern "C" UINT __stdcall CloseRunningClock(MSIHANDLE install) {
  Search search = {};
  DWORD size = kPathSize;
  if (MsiGetPropertyW(install, L"INSTALLDIR", search.folder, &size) != ERROR_SUCCESS ||
      size == 0)
    return ERROR_SUCCESS;
  search.folderLength = static_cast<int>(size);
  EnumWindows(closeIfInstalled, reinterpret_cast<LPARAM>(&search));
  for (int i = 0; i < search.count; ++i) {
    WaitForSingleObject(search.clocks[i], kQuitWaitMs);
    CloseHandle(search.clocks[i]);
  }
  if (search.count > 0) MsiSetPropertyW(install, L"TESSARINE_WAS_RUNNING", L"1");
  return ERROR_SUCCESS;
}
