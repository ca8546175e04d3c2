// The list of every alarm, opened from the settings dialog's "その他のｱﾗｰﾑ..." button: one row
// per alarm in use (a check box for its switch, then its time, days, label and sound), with
// Add, Edit… and Delete. Edit… opens the alarm's own window with its time and sound, so one
// editor serves every alarm. Modal to the dialog; what it returns is the dialog's edit until
// the dialog's OK writes it with everything else.
#pragma once

#include <windows.h>

#include <optional>

#include "model/commands.h"
#include "model/settings.h"

// Opens the list over `owner` at `dpi`, editing a copy of `current` (the dialog's edit, its two
// rows as they are being edited). The copy at OK; nothing when cancelled or when the owner went
// away meanwhile.
std::optional<Settings> EditAlarmList(HWND owner, const Settings& current, int dpi,
                                      Commands& commands);
