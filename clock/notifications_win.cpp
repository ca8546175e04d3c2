#include "clock/notifications_win.h"

#include "ui/late_dlls.h"

bool ShellNotifications::UserAccepts() {
  // Not present, busy, a full-screen Direct3D program, presentation mode. An answer that
  // cannot be had (an older system) lets the strike sound.
  const int state = UserNotificationStateLate();
  return state < 1 || state > 4;
}
