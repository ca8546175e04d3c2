#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/popup_menu.h"

namespace {

std::vector<std::wstring> Shown(MenuPlace source, bool ringing = false, bool snoozing = false) {
  std::vector<std::wstring> out;
  const auto& tree = PopUpMenuTree();
  const auto shown = MenuVisibility(source, ringing, snoozing);
  for (std::size_t i = 0; i < tree.size(); ++i)
    if (shown[i]) out.push_back(tree[i].caption);
  return out;
}

TEST(PopupMenuTest, EntriesShownPerOpeningPlace) {
  const std::vector<std::wstring> clock{L"設定変更(&S)", L"他の地域の時刻(&W)", L"-",
                                         L"常に手前に表示(&N)", L"-", L"時報を鳴らす(&J)",
                                         L"時報の設定(&K)...", L"-", L"時計をﾀｽｸﾄﾚｲへ(&T)", L"-",
                                         L"終了(&E)"};
  const std::vector<std::wstring> tray{L"時計の表示(&F)", L"-", L"他の地域の時刻(&W)",
                                        L"時報を鳴らす(&J)", L"時報の設定(&K)...", L"-",
                                        L"終了(&E)"};
  const auto after = [](std::vector<std::wstring> first, const std::vector<std::wstring>& rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
  };
  EXPECT_EQ(Shown(MenuPlace::Clock), clock);
  EXPECT_EQ(Shown(MenuPlace::Tray), tray);
  EXPECT_EQ(Shown(MenuPlace::None).size(), 13u);
  // While an alarm rings, both places begin with its two answers.
  EXPECT_EQ(Shown(MenuPlace::Clock, true), after({L"ｽﾇｰｽﾞ(&Z)", L"停止(&X)", L"-"}, clock));
  EXPECT_EQ(Shown(MenuPlace::Tray, true), after({L"ｽﾇｰｽﾞ(&Z)", L"停止(&X)", L"-"}, tray));
  // While a snooze waits, both places offer to drop it, after the answers to a ring.
  EXPECT_EQ(Shown(MenuPlace::Clock, false, true), after({L"ｽﾇｰｽﾞ解除(&C)", L"-"}, clock));
  EXPECT_EQ(Shown(MenuPlace::Tray, true, true),
            after({L"ｽﾇｰｽﾞ(&Z)", L"停止(&X)", L"ｽﾇｰｽﾞ解除(&C)", L"-"}, tray));
}

TEST(PopupMenuTest, TrayTipNamesTheNextAlarmWithinItsRoom) {
  const std::wstring name = L"Tessarine";
  EXPECT_EQ(TrayTipText(name, L"", 63), L"Tessarine");
  EXPECT_EQ(TrayTipText(name, L"次のｱﾗｰﾑ 7:30", 63), L"Tessarine\n次のｱﾗｰﾑ 7:30");
  EXPECT_EQ(TrayTipText(name, std::wstring(80, L'x'), 63).size(), 63u);
  // A character outside the basic plane is never cut in half.
  const std::wstring pair = L"\xD83D\xDD14";
  EXPECT_EQ(TrayTipText(name, std::wstring(52, L'x') + pair, 63).size(), 62u);
  EXPECT_EQ(TrayTipText(name, std::wstring(51, L'x') + pair, 63).size(), 63u);
}

TEST(PopupMenuTest, OnTopToggleFlipsTheCheckMark) {
  EXPECT_EQ(ToggledTopMost(false), -1);
  EXPECT_EQ(ToggledTopMost(true), 0);
}

TEST(PopupMenuTest, StrikeSwitchGoesBetweenOffAndTheLastMode) {
  std::int16_t last = 0;
  EXPECT_EQ(ToggledStrike(0, last), 2);  // the hour's count the first time
  EXPECT_EQ(ToggledStrike(4, last), 0);
  EXPECT_EQ(ToggledStrike(0, last), 4);
}

TEST(PopupMenuTest, TrayNotificationsDecoded) {
  struct Case {
    std::int64_t lParam;
    bool dialogOpen;
    int message;
    bool openMenu;
  } cases[] = {
      {0x200, false, 512, false},  // the pointer moves over the icon
      {0x201, false, 513, false},  // left press
      {0x203, false, 515, false},  // left double-click brings nothing back
      {0x204, false, 516, false},  // right press: the menu waits for the release
      {0x205, false, 517, true},   // right release
      {0x205, true, 517, false},   // ... but not while the settings dialog is open
      {0x7FFF0205, false, 517, true},  // only the low word carries the message
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrayMouseMessage(c.lParam), c.message) << c.lParam;
    const TrayResponse r = OnTrayNotification(c.lParam, c.dialogOpen);
    EXPECT_TRUE(r.stopSound) << c.lParam;  // every notification silences an alarm
    EXPECT_EQ(r.openMenu, c.openMenu) << c.lParam;
  }
}

}  // namespace
