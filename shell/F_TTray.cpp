#include "shell/F_TTray.h"

#include <algorithm>
#include <iterator>

#include "res/resource_ids.h"
#include "shell/popup_menu.h"

namespace {

const wchar_t kClassName[] = L"Tessarine_F_TTray";
const wchar_t kTip[] = L"Tessarine";
// A message of our own: the shell's notifications must not look like the window's mouse input.
constexpr UINT kCallbackMessage = WM_APP + 1;

// A red disc with a white ring and clapper: a bell's sign at the size of the tray's icons,
// drawn here rather than stored, since only a silent alarm ever needs it.
HICON MakeRingingIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ICONINFO info{TRUE, 0, 0, CreateBitmap(w, h, 1, 1, nullptr), CreateCompatibleBitmap(screen, w, h)};
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, info.hbmMask);  // white: see-through; black: drawn
  PatBlt(dc, 0, 0, w, h, WHITENESS);
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Ellipse(dc, 0, 0, w, h);
  SelectObject(dc, info.hbmColor);
  PatBlt(dc, 0, 0, w, h, BLACKNESS);
  HBRUSH red = CreateSolidBrush(RGB(224, 32, 32));
  HPEN white = CreatePen(PS_SOLID, std::max(1, w / 8), RGB(255, 255, 255));
  SelectObject(dc, red);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, 0, 0, w, h);
  SelectObject(dc, white);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Ellipse(dc, w / 4, h / 4, w - w / 4, h - h / 4);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(red);
  DeleteObject(white);
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  return icon;
}

}  // namespace

F_TTray::F_TTray(AppState& app, Commands& commands) : app_(app), commands_(commands) {
  // Broadcast by the shell whenever its taskbar (re)starts.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

F_TTray::~F_TTray() {
  deleteIcon();
  if (icon_) DestroyIcon(icon_);
  if (ringingIcon_) DestroyIcon(ringingIcon_);
}

void F_TTray::ShowRinging(bool lit) {
  if (!TrayIconData.hWnd) return;
  if (lit && !ringingIcon_) ringingIcon_ = MakeRingingIcon();
  HICON wanted = lit && ringingIcon_ ? ringingIcon_ : icon_;
  if (!wanted) wanted = LoadIconW(nullptr, IDI_APPLICATION);
  if (!wanted || wanted == TrayIconData.hIcon) return;
  TrayIconData.hIcon = wanted;
  Shell_NotifyIconW(NIM_MODIFY, &TrayIconData);
}

void F_TTray::Form_Load() {
  const int x = GetSystemMetrics(SM_CXSCREEN), y = GetSystemMetrics(SM_CYSCREEN);
  if (!Create(kClassName, L"F_TTray", WS_POPUP, WS_EX_TOOLWINDOW, x, y, 1, 1)) return;
  if (!icon_) {
    icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                          MAKEINTRESOURCEW(IDI_TESSARINE), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  }
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

  TrayIconData = NOTIFYICONDATAW{};
  // The record's first form: the shell of every Windows version reads it.
  TrayIconData.cbSize = NOTIFYICONDATAW_V1_SIZE;
  TrayIconData.hWnd = hwnd();
  TrayIconData.uID = 1;
  TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  TrayIconData.uCallbackMessage = kCallbackMessage;
  TrayIconData.hIcon = icon_ ? icon_ : LoadIconW(nullptr, IDI_APPLICATION);
  // The tip, NUL-terminated, in a field of blanks.
  std::fill(std::begin(TrayIconData.szTip), std::end(TrayIconData.szTip), L' ');
  std::copy(std::begin(kTip), std::end(kTip), TrayIconData.szTip);
  addIcon();
}

void F_TTray::addIcon() { Shell_NotifyIconW(NIM_ADD, &TrayIconData); }

void F_TTray::deleteIcon() {
  if (TrayIconData.hWnd) Shell_NotifyIconW(NIM_DELETE, &TrayIconData);
  TrayIconData.hWnd = nullptr;
}

void F_TTray::QueryUnload() { deleteIcon(); }

void F_TTray::onNotification(LPARAM lp) {
  const TrayResponse r =
      OnTrayNotification(static_cast<std::int64_t>(lp), app_.SettingsDialogOpen != 0);
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
