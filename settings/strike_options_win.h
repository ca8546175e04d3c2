// The hours' strike's own window, opened from the clock's and the tray's menus: its mode, its
// quiet hours, its volume with a 試聴 and the pendulum's tick. Modal to the clock while it shows
// (on its own when the clock is in the notification area); what it returns the store writes.
#pragma once

#include <windows.h>

#include <optional>

#include "model/commands.h"
#include "model/settings.h"

// Opens the window over `owner` (may be null), laid out at `dpi`, showing `current`. The values
// at OK, or nothing when cancelled or when the owner went away meanwhile.
std::optional<StrikeOptions> EditStrike(HWND owner, const StrikeOptions& current, int dpi,
                                        Commands& commands);
