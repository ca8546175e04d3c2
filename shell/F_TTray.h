// The hidden window that owns the notification-area icon while the clock is in the tray. Any
// mouse activity over the icon silences a ringing alarm; a right-click opens the popup menu.
// When the taskbar is restarted the icon is added again, so a hidden clock is never lost.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "model/commands.h"
#include "model/settings_store.h"
#include "ui/form.h"
#include "ui/handle.h"

class F_TTray : public Form {
 public:
  // The store's "HighContrast" decides, with Windows, how the icon is drawn.
  F_TTray(const SettingsStore& store, Commands& commands);
  ~F_TTray() override;

  // Creates the hidden window off the screen and adds the icon.
  void Form_Load();
  // The clock's icon (false) or the ringing one (true), while the icon is in the tray.
  void ShowRinging(bool lit);
  // The next ring as the tip names it (empty: none). Kept for an icon added later.
  void ShowNextAlarm(const std::wstring& text);
  // Other zones' lines after it, kept the same way.
  void ShowOtherZones(const std::vector<std::wstring>& lines);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Deletes the icon: whoever unloads the tray, the icon goes with it.
  void QueryUnload() override;

 private:
  void onNotification(LPARAM lp);
  void addIcon();
  void deleteIcon();
  void setTip();
  void useColours();
  HICON shownIcon() const;

  const SettingsStore& store_;
  Commands& commands_;
  NOTIFYICONDATAW TrayIconData{};
  Icon icon_;
  Icon contrastIcon_;  // in high contrast only
  Icon ringingIcon_;  // made at the first silent alarm, kept until the colours change
  bool lit_ = false;
  std::wstring nextAlarm_;
  std::vector<std::wstring> zones_;
  UINT taskbarCreated_ = 0;
};
