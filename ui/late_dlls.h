// The common controls and common dialogs, loaded the first time the settings dialog needs
// them, and what a screen reader's request needs, loaded when the first one comes. Linking them would load both at start-up, and the common controls alone make the
// idle clock's private memory about 1.7 MB larger.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <commdlg.h>

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
