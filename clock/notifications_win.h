// Whether the user takes notifications, as the shell tells it.
#pragma once

#include "clock/strike.h"

class ShellNotifications final : public NotificationPort {
 public:
  bool UserAccepts() override;
};
