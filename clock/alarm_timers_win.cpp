#include "clock/alarm_timers_win.h"

#include "ui/window_names.h"

namespace {

// The UTC file time at which a local minute begins, by the time zone's rules for that day.
bool UtcStart(std::int64_t minute, LONGLONG& due) {
  const LocalTime t = FromLocalMinute(minute);
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(t.year);
  local.wMonth = static_cast<WORD>(t.month);
  local.wDay = static_cast<WORD>(t.day);
  local.wHour = static_cast<WORD>(t.hour);
  local.wMinute = static_cast<WORD>(t.minute);
  SYSTEMTIME utc;
  FILETIME ft;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &ft))
    return false;
  ULARGE_INTEGER u;
  u.LowPart = ft.dwLowDateTime;
  u.HighPart = ft.dwHighDateTime;
  due = static_cast<LONGLONG>(u.QuadPart);
  return true;
}

}  // namespace

std::int64_t LocalMinuteNow() {
  int second;
  return LocalMinuteNow(second);
}

std::int64_t LocalMinuteNow(int& second) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  second = t.wSecond;
  return LocalMinute({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute});
}

AlarmTimersWin::AlarmTimersWin() {
  // Auto-reset: one wait sees it go off once.
  wakeTimer_.reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
}

AlarmTimersWin::~AlarmTimersWin() {
  wakeTimer_.reset();  // no wake-up for a program that has quit
  Unload();
}

void AlarmTimersWin::Serve(AlarmService& service) {
  service_ = &service;
  if (!Create(kAlarmTimersWindowClass, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE)) return;
  for (Timer* t : {&Timer4, &Timer5, &Timer6}) AttachTimer(*t);
}

void AlarmTimersWin::SetSoundTicks(bool repeat, bool watch, bool fade) {
  Timer4.SetEnabled(repeat);
  Timer5.SetEnabled(watch);
  Timer6.SetEnabled(fade);
}

void AlarmTimersWin::SetWake(std::int64_t minute) {
  if (!wakeTimer_) return;
  LONGLONG due = 0;
  if (minute < 0 || !UtcStart(minute, due)) {
    if (armedDue_) CancelWaitableTimer(wakeTimer_.get());
    armedDue_ = 0;
    return;
  }
  if (due == armedDue_) return;
  LARGE_INTEGER when;
  when.QuadPart = due;  // positive: an absolute UTC time, which follows changes of the clock
  // fResume: wake a sleeping machine. Where wake timers are not allowed the call still sets
  // the timer and says so through ERROR_NOT_SUPPORTED; the alarm then rings late at resume.
  if (SetWaitableTimer(wakeTimer_.get(), &when, 0, nullptr, nullptr, TRUE)) armedDue_ = due;
}
