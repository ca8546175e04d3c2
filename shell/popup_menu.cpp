#include "shell/popup_menu.h"

#include "model/settings.h"
#include "model/texts.h"

namespace {

constexpr int kRightButtonUp = 517;

}  // namespace

std::array<MenuEntry, kMenuEntries> PopUpMenuTree() {
  return {{
      {MenuItem::mnuSnooze, Tr(Text::MenuSnooze).c_str()},
      {MenuItem::mnuStop, Tr(Text::MenuStop).c_str()},
      {MenuItem::mnuCancelSnooze, Tr(Text::MenuCancelSnooze).c_str()},
      {MenuItem::mnu_dmy0, L"-"},
      {MenuItem::mnuTimer, Tr(Text::MenuShowClock).c_str()},
      {MenuItem::mnu_dmy1, L"-"},
      {MenuItem::mnuSetting, Tr(Text::MenuSettings).c_str()},
      {MenuItem::mnuZones, Tr(Text::MenuZones).c_str()},
      {MenuItem::mnu_dmy2, L"-"},
      {MenuItem::mnuTopMost, Tr(Text::MenuTopMost).c_str()},
      {MenuItem::mnu_dmy3, L"-"},
      {MenuItem::mnuStrike, Tr(Text::MenuStrike).c_str()},
      {MenuItem::mnuStrikeWindow, Tr(Text::MenuStrikeWindow).c_str()},
      {MenuItem::mnu_dmy5, L"-"},
      {MenuItem::mnuTasktry, Tr(Text::MenuToTray).c_str()},
      {MenuItem::mnu_dmy4, L"-"},
      {MenuItem::mnuQuit, Tr(Text::MenuQuit).c_str()},
  }};
}

std::array<bool, kMenuEntries> MenuVisibility(MenuPlace menuSource, bool ringing,
                                              bool snoozing) {
  std::array<bool, kMenuEntries> shown;
  shown.fill(true);
  const auto& tree = PopUpMenuTree();
  for (std::size_t i = 0; i < tree.size(); ++i) {
    const MenuItem m = tree[i].item;
    if (m == MenuItem::mnuSnooze || m == MenuItem::mnuStop)
      shown[i] = ringing;
    else if (m == MenuItem::mnuCancelSnooze)
      shown[i] = snoozing;
    else if (m == MenuItem::mnu_dmy0)
      shown[i] = ringing || snoozing;
    else if (menuSource == MenuPlace::Clock)
      shown[i] = m != MenuItem::mnuTimer && m != MenuItem::mnu_dmy1;
    else if (menuSource == MenuPlace::Tray)
      shown[i] = m == MenuItem::mnuTimer || m == MenuItem::mnu_dmy1 || m == MenuItem::mnuQuit ||
                 m == MenuItem::mnuZones || m == MenuItem::mnuStrike ||
                 m == MenuItem::mnuStrikeWindow || m == MenuItem::mnu_dmy5;
  }
  return shown;
}

std::wstring TrayTipText(const std::wstring& name, const std::wstring& next, std::size_t room) {
  std::wstring tip = next.empty() ? name : name + L"\n" + next;
  if (tip.size() <= room) return tip;
  std::size_t n = room;
  // A high surrogate left without its low half would show as a box.
  if (n > 0 && tip[n - 1] >= 0xD800 && tip[n - 1] <= 0xDBFF) --n;
  tip.resize(n);
  return tip;
}

std::int16_t ToggledTopMost(bool checked) { return checked ? 0 : -1; }

std::int16_t ToggledStrike(std::int16_t mode, std::int16_t& last) {
  if (mode != 0) {
    last = mode;
    return 0;
  }
  return last > 0 && last <= StrikeOptions::kModes ? last : 2;
}

int TrayMouseMessage(std::int64_t lParam) {
  return static_cast<std::int16_t>(lParam & 0xFFFF);
}

TrayResponse OnTrayNotification(std::int64_t lParam, bool settingsDialogOpen) {
  TrayResponse r{true, false};
  if (!settingsDialogOpen) r.openMenu = TrayMouseMessage(lParam) == kRightButtonUp;
  return r;
}
