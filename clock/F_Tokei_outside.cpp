// The clock as other programs reach it: the verbs a second start hands it, how it lies on the
// desktop (see-through, click-through), and whether anyone can see it at all.
#include "clock/F_Tokei.h"

#include <wtsapi32.h>

#include <cstring>

#include "ui/message_filter.h"
#include "ui/window_names.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE (Windows 8 on) and GUID_MONITOR_POWER_ON (Vista and 7): 0 off.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kMonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

// Loaded when first asked for and kept: the power functions are missing before Vista.
template <typename F>
F LateFunction(const wchar_t* dll, const char* name) {
  HMODULE module = LoadLibraryW(dll);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

using SessionWatch = BOOL(WINAPI*)(HWND, DWORD);
using SessionUnwatch = BOOL(WINAPI*)(HWND);
using PowerWatch = HPOWERNOTIFY(WINAPI*)(HANDLE, LPCGUID, DWORD);
using PowerUnwatch = BOOL(WINAPI*)(HPOWERNOTIFY);

}  // namespace

bool F_Tokei::outsideMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& answer) {
  // Registered: zero if they could not be.
  static const UINT showClock = RegisterWindowMessageW(kShowClockMessage);
  static const UINT verbAgain = RegisterWindowMessageW(kVerbAgainMessage);
  answer = 0;
  if (msg == showClock && showClock != 0) {
    commands_.BringClockBack();
  } else if (msg == verbAgain && verbAgain != 0) {
    if (const auto verb = VerbFromWire(static_cast<std::uint32_t>(wp))) commands_.RunVerb(*verb);
  } else if (msg == WM_COPYDATA) {
    answer = AnswerVerb(reinterpret_cast<const COPYDATASTRUCT*>(lp));
  } else if (msg == WM_WTSSESSION_CHANGE) {
    onSessionChange(wp);
  } else {
    return false;
  }
  return true;
}

// A verb comes as one number under its tag; anything else sent this way is not understood.
LRESULT F_Tokei::AnswerVerb(const COPYDATASTRUCT* data) {
  std::uint32_t wire = 0;
  if (!data || data->dwData != kVerbMessageTag || data->cbData != sizeof wire || !data->lpData)
    return kExitUsage;
  std::memcpy(&wire, data->lpData, sizeof wire);
  const auto verb = VerbFromWire(wire);
  return verb ? commands_.RunVerb(*verb) : kExitUsage;
}

// Each new window (a reload makes one) lets a second start of lower rights reach it.
void F_Tokei::acceptOutsideMessages() {
  AcceptFromLowerRights(hwnd(), {WM_COPYDATA, RegisterWindowMessageW(kShowClockMessage)});
}

// Layered only while see-through or click-through is in use: a layered window costs a copy of
// its pixels, and its region and drawing stay as they are. Under Wine with a region, only both
// styles together pass a click to the window beneath. While an alarm rings the dial takes
// clicks again, so that a press still stops it.
void F_Tokei::ApplyLook() {
  if (!Loaded()) return;
  const Settings& s = store_.Get();
  const bool through = s.ClickThrough != 0 && alarms_.RingingAlarm() < 0;
  const bool layered = through || s.Opacity < kOpaque;
  const LONG_PTR was = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
  LONG_PTR style = was & ~static_cast<LONG_PTR>(WS_EX_LAYERED | WS_EX_TRANSPARENT);
  if (layered) style |= WS_EX_LAYERED;
  if (through) style |= WS_EX_TRANSPARENT;
  if (style != was) SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, style);
  if (layered)
    SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(s.Opacity * 255 / kOpaque), LWA_ALPHA);
  // Leaving the layered style, the window must paint itself again.
  if ((was & WS_EX_LAYERED) && !layered)
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Each new window asks for both notices; the schedule keeps what it last heard.
void F_Tokei::watchWhetherSeen() {
  static const auto watchSession =
      LateFunction<SessionWatch>(L"wtsapi32.dll", "WTSRegisterSessionNotification");
  static const auto watchPower =
      LateFunction<PowerWatch>(L"user32.dll", "RegisterPowerSettingNotification");
  sessionWatched_ = watchSession && watchSession(hwnd(), NOTIFY_FOR_THIS_SESSION);
  if (!watchPower) return;
  HPOWERNOTIFY watch = watchPower(hwnd(), &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (!watch) watch = watchPower(hwnd(), &kMonitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
  displayWatch_ = watch;
}

void F_Tokei::unwatchWhetherSeen() {
  static const auto unwatchSession =
      LateFunction<SessionUnwatch>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  static const auto unwatchPower =
      LateFunction<PowerUnwatch>(L"user32.dll", "UnregisterPowerSettingNotification");
  if (sessionWatched_ && unwatchSession) unwatchSession(hwnd());
  if (displayWatch_ && unwatchPower) unwatchPower(static_cast<HPOWERNOTIFY>(displayWatch_));
  sessionWatched_ = false;
  displayWatch_ = nullptr;
}

void F_Tokei::onSessionChange(WPARAM event) {
  if (event != WTS_SESSION_LOCK && event != WTS_SESSION_UNLOCK) return;
  locked_ = event == WTS_SESSION_LOCK;
  setUnseen();
}

// Dimmed (2) is still seen.
void F_Tokei::onDisplayState(LPARAM setting) {
  const auto* s = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
  if (!s || s->DataLength < sizeof(DWORD)) return;
  if (!IsEqualGUID(s->PowerSetting, kConsoleDisplayState) &&
      !IsEqualGUID(s->PowerSetting, kMonitorPowerOn))
    return;
  DWORD state = 1;
  std::memcpy(&state, s->Data, sizeof state);
  displayOff_ = state == 0;
  setUnseen();
}

// Unseen, the shown clock wakes as the hidden one; seen again, its first frame shows the time
// as it is now.
void F_Tokei::setUnseen() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const bool framesWere = schedule_.FramesOn();
  const int missed = schedule_.SetUnseen(locked_ || displayOff_, GetTickCount64(),
                                         now.wMilliseconds);
  if (Loaded() && framesWere != schedule_.FramesOn()) framesChanged(missed, now);
}
