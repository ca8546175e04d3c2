#include "shell/popup_menu.h"

#include "model/texts.h"

namespace {

constexpr int kRightButtonUp = 517;

}  // namespace

std::array<MenuEntry, 9> PopUpMenuTree() {
  return {{
      {MenuItem::mnuTimer, Tr(Text::MenuShowClock).c_str()},
      {MenuItem::mnu_dmy1, L"-"},
      {MenuItem::mnuSetting, Tr(Text::MenuSettings).c_str()},
      {MenuItem::mnu_dmy2, L"-"},
      {MenuItem::mnuTopMost, Tr(Text::MenuTopMost).c_str()},
      {MenuItem::mnu_dmy3, L"-"},
      {MenuItem::mnuTasktry, Tr(Text::MenuToTray).c_str()},
      {MenuItem::mnu_dmy4, L"-"},
      {MenuItem::mnuQuit, Tr(Text::MenuQuit).c_str()},
  }};
}

std::array<bool, 9> MenuVisibility(MenuPlace menuSource) {
  std::array<bool, 9> shown;
  shown.fill(true);
  const auto& tree = PopUpMenuTree();
  for (std::size_t i = 0; i < tree.size(); ++i) {
    const MenuItem m = tree[i].item;
    if (menuSource == MenuPlace::Clock)
      shown[i] = m != MenuItem::mnuTimer && m != MenuItem::mnu_dmy1;
    else if (menuSource == MenuPlace::Tray)
      shown[i] = m == MenuItem::mnuTimer || m == MenuItem::mnu_dmy1 || m == MenuItem::mnuQuit;
  }
  return shown;
}

std::int16_t ToggledTopMost(bool checked) { return checked ? 0 : -1; }

int TrayMouseMessage(std::int64_t lParam) {
  return static_cast<std::int16_t>(lParam & 0xFFFF);
}

TrayResponse OnTrayNotification(std::int64_t lParam, bool settingsDialogOpen) {
  TrayResponse r{true, false};
  if (!settingsDialogOpen) r.openMenu = TrayMouseMessage(lParam) == kRightButtonUp;
  return r;
}
