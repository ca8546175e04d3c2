// The DPI a window is drawn at. The program declares itself per-monitor aware (v2, with the
// system-aware fallback) in its manifest; the newer user32 functions are looked up at run time
// so the same exe starts on systems that lack them, where the screen DC's DPI is the answer.
#pragma once

#include <windows.h>

// The DPI of the primary screen at start-up; positions in the settings file are reckoned in it.
int SystemDpi();
// The DPI of the monitor `window` is on.
int WindowDpi(HWND window);
