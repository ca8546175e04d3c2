#include "shell/F_Menu.h"

#include <utility>

#include "model/convert.h"
#include "ui/window_names.h"

namespace {

// Off the visible screen: just beyond its bottom-right corner.
POINT OffScreen() { return POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

F_Menu::F_Menu(SettingsStore& store, Commands& commands) : store_(store), commands_(commands) {}

F_Menu::~F_Menu() = default;

void F_Menu::Form_Load(MenuPlace source, bool ringing, bool snoozing) {
  const POINT at = OffScreen();
  if (!Create(kMenuWindowClass, L"F_Menu", WS_POPUP, WS_EX_TOOLWINDOW, at.x, at.y, 1, 1)) return;

  destroyMenus();
  source_ = source;
  ringing_ = ringing;
  snoozing_ = snoozing;
  Menu bar(CreateMenu());
  Menu popUp(CreatePopupMenu());
  mnuPopUp_ = popUp.get();
  const auto& tree = PopUpMenuTree();
  const auto shown = MenuVisibility(source_, ringing_, snoozing_);
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (!shown[i]) continue;
    const bool separator = tree[i].caption[0] == L'-' && tree[i].caption[1] == 0;
    AppendMenuW(mnuPopUp_, separator ? MF_SEPARATOR : MF_STRING,
                static_cast<UINT_PTR>(tree[i].item), separator ? nullptr : tree[i].caption);
  }
  if (bar && popUp &&
      AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(mnuPopUp_), L"PopUp Menu")) {
    popUp.release();
    menuTree_ = std::move(bar);
  } else {
    menuTree_ = std::move(popUp);
  }
  addLookEntries();
  topMostChecked_ = store_.Get().TopMost != 0;
  CheckMenuItem(mnuPopUp_, static_cast<UINT>(MenuItem::mnuTopMost),
                MF_BYCOMMAND | (topMostChecked_ ? MF_CHECKED : MF_UNCHECKED));
  CheckMenuItem(mnuPopUp_, static_cast<UINT>(MenuItem::mnuStrike),
                MF_BYCOMMAND | (store_.Get().Strike.Mode != 0 ? MF_CHECKED : MF_UNCHECKED));
}

void F_Menu::PopUp(HWND owner, std::optional<POINT> place) {
  if (!mnuPopUp_) return;
  const POINT at = OffScreen();
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  POINT p;
  if (place) p = *place;
  else GetCursorPos(&p);
  // A menu whose owner is not in the foreground stays open after a click elsewhere; the null
  // message afterwards lets the owner's next menu open at the first click.
  SetForegroundWindow(owner);
  tracking_ = true;
  const UINT chosen =
      static_cast<UINT>(TrackPopupMenuEx(mnuPopUp_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON |
                                                        TPM_RETURNCMD | TPM_NONOTIFY,
                                         p.x, p.y, owner, nullptr));
  tracking_ = false;
  PostMessageW(owner, WM_NULL, 0, 0);
  switch (static_cast<MenuItem>(chosen)) {
    case MenuItem::mnuSnooze: mnuSnooze_Click(); break;
    case MenuItem::mnuStop: mnuStop_Click(); break;
    case MenuItem::mnuCancelSnooze: mnuCancelSnooze_Click(); break;
    case MenuItem::mnuTimer: mnuTimer_Click(); break;
    case MenuItem::mnuSetting: mnuSetting_Click(); break;
    case MenuItem::mnuZones: mnuZones_Click(); break;
    case MenuItem::mnuTopMost: mnuTopMost_Click(); break;
    case MenuItem::mnuStrike: mnuStrike_Click(); break;
    case MenuItem::mnuStrikeWindow: Unload(); commands_.OpenStrikeWindow(); break;
    case MenuItem::mnuTasktry: mnuTasktry_Click(); break;
    case MenuItem::mnuQuit: mnuQuit_Click(); break;
    default: lookEntry_Click(chosen); break;  // dismissed (0): the form stays loaded as it is
  }
}

// The ring ends either way, so the entries go: the menu is loaded afresh at its next opening.
void F_Menu::mnuSnooze_Click() {
  Unload();
  commands_.SnoozeClockAlarm();
}

void F_Menu::mnuStop_Click() {
  Unload();
  commands_.StopClockSound();
}

// No snooze is left, so the entry goes the same way.
void F_Menu::mnuCancelSnooze_Click() {
  Unload();
  commands_.CancelClockSnooze();
}

void F_Menu::mnuTimer_Click() {
  Unload();
  commands_.BackFromTray();
}

void F_Menu::mnuSetting_Click() {
  Unload();
  commands_.SetMemoryCheck(false);  // no cleaning while the dialog is open
  commands_.OpenSettings(source_);
}

void F_Menu::mnuZones_Click() {
  Unload();
  commands_.OpenZones();
}

void F_Menu::mnuTopMost_Click() {
  const std::int16_t topMost = ToggledTopMost(topMostChecked_);
  commands_.SetClockTopMost(topMost);
  topMostChecked_ = topMost != 0;
  CheckMenuItem(mnuPopUp_, static_cast<UINT>(MenuItem::mnuTopMost),
                MF_BYCOMMAND | (topMostChecked_ ? MF_CHECKED : MF_UNCHECKED));
  store_.SetTopMost(topMost);
}

void F_Menu::mnuStrike_Click() { SwitchStrike(store_.Get().Strike.Mode == 0); }

void F_Menu::SwitchStrike(bool on) {
  StrikeOptions strike = store_.Get().Strike;
  if ((strike.Mode != 0) == on) return;
  strike.Mode = ToggledStrike(strike.Mode, lastStrike_);
  store_.SetStrike(strike);
  if (mnuPopUp_)
    CheckMenuItem(mnuPopUp_, static_cast<UINT>(MenuItem::mnuStrike),
                  MF_BYCOMMAND | (strike.Mode != 0 ? MF_CHECKED : MF_UNCHECKED));
}

void F_Menu::mnuTasktry_Click() {
  Unload();
  commands_.SendToTray();
}

void F_Menu::mnuQuit_Click() {
  commands_.SaveClockPlacement();
  Unload();
  commands_.Quit();
}

void F_Menu::QueryUnload() { destroyMenus(); }

void F_Menu::destroyMenus() {
  mnuPopUp_ = nullptr;
  menuTree_.reset();
}
