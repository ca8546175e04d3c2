// The other zones' window, from the clock's and the tray's menus: for each of the two clocks,
// which zone (as Windows' own additional clock has it, none, or one of Windows' zones by its
// display name) and the name its line begins with. Plain system controls, so the keyboard and
// a screen reader meet them as in any window; OK writes only what changed, through the store,
// and the clock shows it at once.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "clock/zones.h"
#include "model/settings_store.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/key_route.h"

class F_Zones : public Form {
 public:
  explicit F_Zones(SettingsStore& store);
  ~F_Zones() override;

  // Creates the window centred on the screen at the system's density, filled from the store.
  void Form_Load();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND add(const wchar_t* cls, const std::wstring& text, DWORD style, int id, int x, int y,
           int w, int h);
  void makeRow(int n);
  void ok();

  SettingsStore& store_;
  std::vector<ZoneEntry> zones_;
  std::array<std::wstring, kZoneCount> unknown_;  // a key the list lacks, kept as its own choice
  Font font_;
  KeyHandler keys_;
};
