#include "shell/popup_menu.h"

namespace {

constexpr int kRightButtonUp = 517;

}  // namespace

const std::array<MenuEntry, 9>& PopUpMenuTree() {
  static const std::array<MenuEntry, 9> tree{{
      {MenuItem::mnuTimer, L"時計の表示(&F)"},
      {MenuItem::mnu_dmy1, L"-"},
      {MenuItem::mnuSetting, L"設定変更(&S)"},
      {MenuItem::mnu_dmy2, L"-"},
      {MenuItem::mnuTopMost, L"常に手前に表示(&N)"},
      {MenuItem::mnu_dmy3, L"-"},
      {MenuItem::mnuTasktry, L"時計をﾀｽｸﾄﾚｲへ(&T)"},
      {MenuItem::mnu_dmy4, L"-"},
      {MenuItem::mnuQuit, L"終了(&E)"},
  }};
  return tree;
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
