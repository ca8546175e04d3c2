// The hidden window that owns the program's only command menu. The clock window and the tray
// icon both pop it up; its load step leaves out the entries that make no sense where it was
// opened, and its commands act on the other windows through the program's commands.
#pragma once

#include <windows.h>

#include "model/settings_store.h"
#include "model/commands.h"
#include "shell/popup_menu.h"
#include "ui/form.h"
#include "ui/handle.h"

class F_Menu : public Form {
 public:
  F_Menu(SettingsStore& store, Commands& commands);
  ~F_Menu() override;

  // Creates the hidden window and the menu for the place it is opened from; while an alarm
  // rings (`ringing`) it begins with ｽﾇｰｽﾞ and 停止, while a snooze waits (`snoozing`) with
  // ｽﾇｰｽﾞ解除.
  void Form_Load(MenuPlace source, bool ringing = false, bool snoozing = false);
  // Whether the loaded menu holds these entries: one loaded before a ring or a snooze began or
  // ended is stale.
  bool Shows(bool ringing, bool snoozing) const {
    return ringing_ == ringing && snoozing_ == snoozing;
  }
  // Pops mnuPopUp up at `at` or the cursor as a menu of `owner`, then runs the chosen command.
  void PopUp(HWND owner, std::optional<POINT> at = std::nullopt);
  // The menu is open: PopUp has not returned.
  bool Tracking() const { return tracking_; }
  // The strike on (in the mode it had last, the hour's count the first time) or off: the menu's
  // switch and the command line's /strike.
  void SwitchStrike(bool on);

 protected:
  void QueryUnload() override;

 private:
  void mnuSnooze_Click();
  void mnuStop_Click();
  void mnuCancelSnooze_Click();
  void mnuTimer_Click();
  void mnuSetting_Click();
  void mnuZones_Click();
  void mnuTopMost_Click();
  void mnuStrike_Click();
  void mnuTasktry_Click();
  void mnuQuit_Click();
  void destroyMenus();
  void addLookEntries();
  void lookEntry_Click(UINT chosen);

  SettingsStore& store_;
  Commands& commands_;
  // The form's menu tree: the bar (never shown as one), which destroys the popup it holds, or the
  // popup alone when no bar took it.
  Menu menuTree_;
  HMENU mnuPopUp_ = nullptr;
  MenuPlace source_ = MenuPlace::None;  // where the loaded menu was opened from
  bool ringing_ = false;  // the loaded menu begins with the ringing entries
  bool snoozing_ = false;  // and with ｽﾇｰｽﾞ解除
  bool topMostChecked_ = false;
  std::int16_t lastStrike_ = 0;  // the mode the strike's switch turns back on
  bool tracking_ = false;
};
