#include "shell/F_TTray.h"

#include <algorithm>
#include <iterator>

#include "clock/zones.h"
#include "model/palette.h"
#include "model/texts.h"
#include "res/resource_ids.h"
#include "shell/popup_menu.h"
#include "shell/tray_icons_win.h"
#include "ui/gdi.h"
#include "ui/late_dlls.h"
#include "ui/system_colours.h"
#include "ui/window_names.h"

namespace {

// A message of our own: the shell's notifications must not look like the window's mouse input.
constexpr UINT kCallbackMessage = WM_APP + 1;

// The plain clock at the tray's size, in two of the system's colours.
HICON SystemColoursIcon(int back, int fore) {
  return MakeContrastIcon(GetSystemMetrics(SM_CXSMICON), SystemColour(back), SystemColour(fore));
}

}  // namespace

F_TTray::F_TTray(const SettingsStore& store, Commands& commands)
    : store_(store), commands_(commands) {
  // Broadcast by the shell whenever its taskbar (re)starts.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

F_TTray::~F_TTray() { deleteIcon(); }

void F_TTray::ShowRinging(bool lit) {
  if (!TrayIconData.hWnd) return;
  lit_ = lit;
  if (lit && !ringingIcon_) {
    // In high contrast a clock in the highlight's colours: it stands out from any taskbar.
    ringingIcon_.reset(contrastIcon_ ? SystemColoursIcon(COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT)
                                     : MakeRingingIcon(icon_.get()));
  }
  HICON wanted = lit && ringingIcon_ ? ringingIcon_.get() : shownIcon();
  if (!wanted) wanted = LoadIconW(nullptr, IDI_APPLICATION);
  if (!wanted || wanted == TrayIconData.hIcon) return;
  TrayIconData.hIcon = wanted;
  ShellNotifyIconLate(NIM_MODIFY, &TrayIconData);
}

HICON F_TTray::shownIcon() const { return contrastIcon_.get() ? contrastIcon_.get() : icon_.get(); }

// In high contrast the icon is drawn in the system's window and text colours, anew whenever
// they change; the ringing one follows at its next use.
void F_TTray::useColours() {
  contrastIcon_.reset();
  ringingIcon_.reset();
  if (HighContrastOn(store_.Get().HighContrast, WindowsHighContrast()))
    contrastIcon_.reset(SystemColoursIcon(COLOR_WINDOW, COLOR_WINDOWTEXT));
}

void F_TTray::Form_Load() {
  const int x = GetSystemMetrics(SM_CXSCREEN), y = GetSystemMetrics(SM_CYSCREEN);
  if (!Create(kTrayWindowClass, L"F_TTray", WS_POPUP, WS_EX_TOOLWINDOW, x, y, 1, 1)) return;
  if (!icon_) {
    icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(IDI_TESSARINE), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  }
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
  useColours();

  TrayIconData = NOTIFYICONDATAW{};
  // The record's first form: the shell of every Windows version reads it.
  TrayIconData.cbSize = NOTIFYICONDATAW_V1_SIZE;
  TrayIconData.hWnd = hwnd();
  TrayIconData.uID = 1;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kCallbackMessage;
  TrayIconData.hIcon = shownIcon() ? shownIcon() : LoadIconW(nullptr, IDI_APPLICATION);
  setTip();
  addIcon();
}

void F_TTray::ShowNextAlarm(const std::wstring& text) {
  if (text == nextAlarm_) return;
  nextAlarm_ = text;
  if (!TrayIconData.hWnd) return;
  setTip();
  ShellNotifyIconLate(NIM_MODIFY, &TrayIconData);
}

void F_TTray::ShowOtherZones(const std::vector<std::wstring>& lines) {
  if (lines == zones_) return;
  zones_ = lines;
  if (!TrayIconData.hWnd) return;
  setTip();
  ShellNotifyIconLate(NIM_MODIFY, &TrayIconData);
}

// The tip, NUL-terminated, in a field of blanks; the record's first form holds 64 characters.
void F_TTray::setTip() {
  std::fill(std::begin(TrayIconData.szTip), std::end(TrayIconData.szTip), L' ');
  const std::size_t room = std::size(TrayIconData.szTip) - 1;
  const std::wstring tip =
      WithLinesThatFit(TrayTipText(Tr(Text::TrayTip), nextAlarm_, room), zones_, room);
  std::copy(tip.begin(), tip.end(), TrayIconData.szTip);
  TrayIconData.szTip[tip.size()] = L'\0';
}

void F_TTray::addIcon() { ShellNotifyIconLate(NIM_ADD, &TrayIconData); }

void F_TTray::deleteIcon() {
  if (TrayIconData.hWnd) ShellNotifyIconLate(NIM_DELETE, &TrayIconData);
  TrayIconData.hWnd = nullptr;
}

void F_TTray::QueryUnload() { deleteIcon(); }

void F_TTray::onNotification(LPARAM lp) {
  const TrayResponse r =
      OnTrayNotification(static_cast<std::int64_t>(lp), commands_.SettingsDialogOpen());
  if (r.stopSound) commands_.StopClockSound();
  if (r.openMenu) commands_.OpenMenu(MenuPlace::Tray);
}

LRESULT F_TTray::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kCallbackMessage) {
    onNotification(lp);
    return 0;
  }
  if (taskbarCreated_ && msg == taskbarCreated_) {
    // The new taskbar knows no icons: ours goes back in.
    if (TrayIconData.hWnd) addIcon();
    return 0;
  }
  if (msg == WM_SYSCOLORCHANGE || (msg == WM_SETTINGCHANGE && wp == SPI_SETHIGHCONTRAST)) {
    useColours();
    TrayIconData.hIcon = nullptr;  // whatever it was, the icon is shown anew
    ShowRinging(lit_);
  }
  return Form::HandleMessage(msg, wp, lp);
}
