// The program's window class names, by which other processes reach its windows too: a second
// start of the program and the installer's custom action find the clock by class, and a second
// start posts it the message that calls it to the front. Plain constants: the installer's DLL
// has no C++ library.
#pragma once

constexpr wchar_t kClockWindowClass[] = L"Tessarine_F_Tokei";
constexpr wchar_t kSettingsWindowClass[] = L"Tessarine_F_Setting";
constexpr wchar_t kAlarmOptionsWindowClass[] = L"Tessarine_AlarmOptions";
constexpr wchar_t kStrikeWindowClass[] = L"Tessarine_Strike";
constexpr wchar_t kAlarmListWindowClass[] = L"Tessarine_AlarmList";
constexpr wchar_t kMenuWindowClass[] = L"Tessarine_F_Menu";
constexpr wchar_t kZonesWindowClass[] = L"Tessarine_Zones";
constexpr wchar_t kTrayWindowClass[] = L"Tessarine_F_TTray";
constexpr wchar_t kCleanerWindowClass[] = L"Tessarine_F_Clean";
constexpr wchar_t kRingWindowClass[] = L"Tessarine_Ring";
// Message-only: the alarms' timers.
constexpr wchar_t kAlarmTimersWindowClass[] = L"Tessarine_Alarms";
// A registered message: the clock comes back from the tray and to the front.
constexpr wchar_t kShowClockMessage[] = L"Tessarine.ShowClock";
// A registered message: a command-line verb (its number in wParam) that came while a menu
// was open, run again once the menu has closed.
constexpr wchar_t kVerbAgainMessage[] = L"Tessarine.VerbAgain";
