// Libraries the clock does not need to show itself, loaded the first time a function of theirs
// is called: the common controls and common dialogs (the settings dialog), what a screen
// reader's request needs, the multimedia library (sound) and the shell (tray, user folders).
// Linking them would load them all at start-up: the shell and the multimedia library are five
// DLLs with what they bring, a start about a tenth slower, and the common controls alone make
// the idle clock's private memory about 1.7 MB larger.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

// Loads the common controls (the version the program's manifest asks for) and registers
// `classes`. False when the library or the function is missing.
bool InitCommonControlsLate(DWORD classes);
// ChooseColorW and GetOpenFileNameW from the common dialogs; FALSE when they cannot be had,
// which the callers take as a cancelled dialog.
BOOL ChooseColorLate(CHOOSECOLORW* request);
BOOL GetOpenFileNameLate(OPENFILENAMEW* request);
// oleacc's LresultFromObject and CreateStdAccessibleObject, and oleaut32's SysAllocString.
LRESULT LresultFromObjectLate(REFIID iid, WPARAM wp, IUnknown* object);
HRESULT CreateStdAccessibleObjectLate(HWND window, LONG id, REFIID iid, void** out);
BSTR SysAllocStringLate(const wchar_t* text);
// COM for this thread (single-threaded), once, for the object a reader asks for.
void ComForThisThreadLate();

// winmm's functions by the same names. Without the library, MCI answers with an error, there
// is no waveform device and no sound plays; the time then comes from GetTickCount.
MCIERROR MciSendStringLate(const wchar_t* command, wchar_t* reply, UINT length, HWND callback);
BOOL MciGetErrorStringLate(MCIERROR code, wchar_t* text, UINT length);
UINT WaveOutGetNumDevsLate();
MMRESULT WaveOutGetVolumeLate(HWAVEOUT device, DWORD* volume);
MMRESULT WaveOutSetVolumeLate(HWAVEOUT device, DWORD volume);
DWORD TimeGetTimeLate();
BOOL PlaySoundLate(const wchar_t* sound, HMODULE module, DWORD flags);
// shell32's; FALSE and E_FAIL without the library.
BOOL ShellNotifyIconLate(DWORD message, NOTIFYICONDATAW* data);
HRESULT SHGetFolderPathLate(HWND owner, int folder, HANDLE token, DWORD flags, wchar_t* path);
// SHQueryUserNotificationState's answer (QUNS_*, 1..7); 0 when it cannot be had.
int UserNotificationStateLate();
