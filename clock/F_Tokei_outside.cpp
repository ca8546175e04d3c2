// The clock as other programs reach it: the verbs a second start hands it.
#include "clock/F_Tokei.h"

#include <cstring>

#include "ui/message_filter.h"
#include "ui/window_names.h"

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
