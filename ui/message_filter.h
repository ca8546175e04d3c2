// Lets a process of lower rights reach a window with a few messages: a script or a scheduled
// task started without elevation hands the clock its verbs even when the clock runs elevated.
#pragma once

#include <windows.h>

#include <initializer_list>

// ChangeWindowMessageFilterEx for `window` where the system has it (Windows 7 on), else the
// process-wide ChangeWindowMessageFilter (Vista); nothing before Vista, which has no such wall.
void AcceptFromLowerRights(HWND window, std::initializer_list<UINT> messages);
