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
