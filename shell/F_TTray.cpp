#include "shell/F_TTray.h"

#include <algorithm>
#include <iterator>

#include "clock/zones.h"
#include "model/texts.h"
#include "res/resource_ids.h"
#include "shell/popup_menu.h"
#include "ui/gdi.h"
#include "ui/late_dlls.h"
#include "ui/window_names.h"

namespace {

// A message of our own: the shell's notifications must not look like the window's mouse input.
constexpr UINT kCallbackMessage = WM_APP + 1;

// The clock's own icon turned into a red disc with a white ring, a bell's sign. It keeps the
// icon's outline (its mask), so that the tray, drawing one over the other, leaves no trace of
// either. Drawn here rather than stored: only a silent alarm ever needs it.
HICON MakeRingingIcon(HICON base) {
  ICONINFO info{};
  if (!base || !GetIconInfo(base, &info)) return nullptr;
  const Bitmap mask(info.hbmMask), colour(info.hbmColor);  // GetIconInfo's copies: ours to free
  if (!colour) return nullptr;
  BITMAP bm{};
  GetObjectW(mask.get(), sizeof bm, &bm);
  const int w = bm.bmWidth, h = bm.bmHeight;
  const Brush red(CreateSolidBrush(RGB(224, 32, 32)));
  const Pen white(CreatePen(PS_SOLID, std::max(1, w / 8), RGB(255, 255, 255)));
  {
    MemoryDc dc, maskDc;
    SelectGuard maskIn(maskDc.get(), mask.get());
    SelectGuard colourIn(dc.get(), colour.get());
    SelectGuard brush(dc.get(), red.get());
    SelectGuard pen(dc.get(), GetStockObject(NULL_PEN));
    Ellipse(dc.get(), 0, 0, w + 1, h + 1);
    pen.Select(white.get());
    brush.Select(GetStockObject(NULL_BRUSH));
    Ellipse(dc.get(), w / 4, h / 4, w - w / 4, h - h / 4);
    // Black wherever the mask lets the background through, as an icon's colours must be.
    BitBlt(dc.get(), 0, 0, w, h, maskDc.get(), 0, 0, 0x00220326 /* DSna */);
  }
  return CreateIconIndirect(&info);
}

}  // namespace

F_TTray::F_TTray(Commands& commands) : commands_(commands) {
  // Broadcast by the shell whenever its taskbar (re)starts.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

F_TTray::~F_TTray() { deleteIcon(); }

void F_TTray::ShowRinging(bool lit) {
  if (!TrayIconData.hWnd) return;
  if (lit && !ringingIcon_) ringingIcon_.reset(MakeRingingIcon(icon_.get()));
  HICON wanted = lit && ringingIcon_ ? ringingIcon_.get() : icon_.get();
  if (!wanted) wanted = LoadIconW(nullptr, IDI_APPLICATION);
  if (!wanted || wanted == TrayIconData.hIcon) return;
  TrayIconData.hIcon = wanted;
  ShellNotifyIconLate(NIM_MODIFY, &TrayIconData);
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

  TrayIconData = NOTIFYICONDATAW{};
  // The record's first form: the shell of every Windows version reads it.
  TrayIconData.cbSize = NOTIFYICONDATAW_V1_SIZE;
  TrayIconData.hWnd = hwnd();
  TrayIconData.uID = 1;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kCallbackMessage;
  TrayIconData.hIcon = icon_ ? icon_.get() : LoadIconW(nullptr, IDI_APPLICATION);
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
  return Form::HandleMessage(msg, wp, lp);
}
