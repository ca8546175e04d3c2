// Names by which other processes reach the running clock: a second start of the program and
// the installer's custom action find its window by class, and a second start posts it the
// message that calls it to the front. Plain constants: the installer's DLL has no C++ library.
#pragma once

constexpr wchar_t kClockWindowClass[] = L"Tessarine_F_Tokei";
// A registered message: the clock comes back from the tray and to the front.
constexpr wchar_t kShowClockMessage[] = L"Tessarine.ShowClock";
