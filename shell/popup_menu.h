// The popup menu's tree and which of its entries each opening place shows. The same menu serves
// the clock window and the tray icon; entries that make no sense in one place, or while no alarm
// rings or no snooze waits, are left out when the menu is loaded, never later. Also the tray
// icon's tip.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/commands.h"

enum class MenuItem : int {
  mnuTimer = 1,
  mnu_dmy1,
  mnuSetting,
  mnu_dmy2,
  mnuTopMost,
  mnu_dmy3,
  mnuTasktry,
  mnu_dmy4,
  mnuQuit,
  // Shown first, only while an alarm rings. Numbered after the others so theirs stay as they were.
  mnuSnooze,
  mnuStop,
  mnu_dmy0,
  // Shown with them, only while a snooze waits.
  mnuCancelSnooze,
  // The hours' strike, in both places: its switch and its window.
  mnuStrike,
  mnuStrikeWindow,
  mnu_dmy5,
  // Both places: the other zones' window.
  mnuZones,
};

inline constexpr std::size_t kMenuEntries = 17;

struct MenuEntry {
  MenuItem item;
  const wchar_t* caption;  // in the current language; "-" is a separator
};

// The items of "PopUp Menu" in display order, captioned in the current language.
std::array<MenuEntry, kMenuEntries> PopUpMenuTree();

// Whether each entry of the tree (same order) is shown when the menu is loaded from
// `menuSource` while an alarm rings or not and a snooze waits or not; MenuPlace::None hides no
// entry of the place.
std::array<bool, kMenuEntries> MenuVisibility(MenuPlace menuSource, bool ringing = false,
                                              bool snoozing = false);

// What the on-top entry stores when clicked: the opposite of its check mark, as a 16-bit Boolean.
std::int16_t ToggledTopMost(bool checked);

// What the strike's switch stores when clicked: off when it strikes (remembering the mode in
// `last`), else the last mode (2 the first time: the hour's count).
std::int16_t ToggledStrike(std::int16_t mode, std::int16_t& last);

// A notification of the tray icon, as the icon's owner receives it: the callback message carries
// the mouse message number as its second parameter.
struct TrayResponse {
  bool stopSound;  // any mouse activity over the icon silences an alarm
  bool openMenu;   // a right-button release, unless the settings dialog is open
};
// The mouse message number a notification carries: the low word of `lParam`.
int TrayMouseMessage(std::int64_t lParam);
TrayResponse OnTrayNotification(std::int64_t lParam, bool settingsDialogOpen);

// The tray icon's tip: the program's name, then the next alarm on a line of its own (none when
// `next` is empty), cut to `room` characters so that no character pair is split.
std::wstring TrayTipText(const std::wstring& name, const std::wstring& next, std::size_t room);
