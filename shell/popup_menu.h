// The popup menu's tree and which of its entries each opening place shows. The same menu serves
// the clock window and the tray icon; entries that make no sense in one place are left out when
// the menu is loaded, never later.
#pragma once

#include <array>
#include <cstdint>

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
};

struct MenuEntry {
  MenuItem item;
  const wchar_t* caption;  // in the current language; "-" is a separator
};

// The items of "PopUp Menu" in display order, captioned in the current language.
std::array<MenuEntry, 9> PopUpMenuTree();

// Whether each entry of the tree (same order) is shown when the menu is loaded from
// `menuSource`; MenuPlace::None hides nothing.
std::array<bool, 9> MenuVisibility(MenuPlace menuSource);

// What the on-top entry stores when clicked: the opposite of its check mark, as a 16-bit Boolean.
std::int16_t ToggledTopMost(bool checked);

// A notification of the tray icon, as the icon's owner receives it: the callback message carries
// the mouse message number as its second parameter.
struct TrayResponse {
  bool stopSound;  // any mouse activity over the icon silences an alarm
  bool openMenu;   // a right-button release, unless the settings dialog is open
};
// The mouse message number a notification carries: the low word of `lParam`.
int TrayMouseMessage(std::int64_t lParam);
TrayResponse OnTrayNotification(std::int64_t lParam, bool settingsDialogOpen);
