// The clock from the keyboard and for a screen reader: the menu on Shift+F10 or the Menu key,
// the arrow keys nudging the clock, and the time it shows as its accessible value.
#include "clock/F_Tokei.h"

#include "clock/reading.h"
#include "ui/late_dlls.h"
#include "ui/screen_dpi.h"
#include "ui/twips.h"

namespace {

const wchar_t kOwnerClass[] = L"Tessarine_Owner";

}  // namespace

// An owned window that is no tool window is in the Alt+Tab list and has no taskbar button;
// its owner is never shown, and untitled, so that nothing looking for the clock by its title
// finds the owner.
HWND F_Tokei::owner() {
  if (owner_) return owner_;
  EnsureWindowClass(kOwnerClass, DefWindowProcW);
  owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  return owner_;
}

bool F_Tokei::onKeyDown(WPARAM key) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  const int step = ctrl ? 10 : 1;
  switch (key) {
    case VK_ESCAPE:
    case VK_SPACE: stopSound(); return true;
    case VK_F10:
      if (!shift) return false;
      [[fallthrough]];
    case VK_APPS:
      SendMessageW(hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd()), -1);
      return true;
    case VK_LEFT: nudge(-step, 0); return true;
    case VK_RIGHT: nudge(step, 0); return true;
    case VK_UP: nudge(0, -step); return true;
    case VK_DOWN: nudge(0, step); return true;
  }
  return false;
}

// From the keyboard (no position) the menu opens at the dial's centre, as a right press there
// would open it.
void F_Tokei::onContextMenu(LPARAM lp) {
  if (lp != -1) {
    commands_.OpenMenu(MenuPlace::Clock);
    return;
  }
  RECT r;
  GetWindowRect(Pic_Tokei->hwnd(), &r);
  commands_.OpenMenu(MenuPlace::Clock, ScreenPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// Moved as a drag moves it, and kept where a drag would keep it: an arrow never takes the
// clock further off its monitor than it is.
void F_Tokei::nudge(int dx, int dy) {
  RECT r;
  if (!GetWindowRect(hwnd(), &r)) return;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return;
  const RECT& m = mi.rcMonitor;
  if ((dx < 0 && r.left + dx < m.left) || (dx > 0 && r.right + dx > m.right)) dx = 0;
  if ((dy < 0 && r.top + dy < m.top) || (dy > 0 && r.bottom + dy > m.bottom)) dy = 0;
  if (dx == 0 && dy == 0) return;
  SetWindowPos(hwnd(), nullptr, r.left + dx, r.top + dy, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int dpi = kPlaceDpi;
  PosX = PixelsToTwips(r.left + dx, dpi);
  PosY = PixelsToTwips(r.top + dy, dpi);
}

bool F_Tokei::refreshZones() {
  if (!zones_.Refresh(store_.Get())) return false;
  commands_.ShowOtherZones(zones_.Lines());
  if (zoneTip_) showZoneTip();
  if (Loaded()) AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
  return true;
}

void F_Tokei::showZoneTip() {
  std::wstring text;
  for (const std::wstring& line : zones_.Lines()) text += (text.empty() ? L"" : L"\n") + line;
  if (!zoneTip_) {
    if (text.empty() || !Loaded() || !InitCommonControlsLate(ICC_WIN95_CLASSES)) return;
    zoneTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!zoneTip_) return;
    SendMessageW(zoneTip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
  }
  TOOLINFOW tip{};
  tip.cbSize = sizeof tip;
  tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tip.hwnd = hwnd();
  tip.uId = reinterpret_cast<UINT_PTR>(Pic_Tokei->hwnd());
  tip.lpszText = text.data();
  // No zones left: the tool goes, and the dial shows no empty tip.
  SendMessageW(zoneTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
  if (!text.empty()) SendMessageW(zoneTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
}

void F_Tokei::dropZoneTip() {
  if (zoneTip_) DestroyWindow(zoneTip_);
  zoneTip_ = nullptr;
}

int F_Tokei::AccessibleCount() { return 0; }

AccessibleInfo F_Tokei::Accessible(int) {
  AccessibleInfo a;
  a.name = L"Tessarine";
  a.role = ROLE_SYSTEM_CLOCK;
  a.value = ClockReading(lastTick_.ClockHour, lastTick_.ClockMinute, store_.Get(),
                         alarms_.RingingAlarm(), alarms_.NextRing());
  for (const std::wstring& line : zones_.Lines()) a.value += L"  " + line;
  a.state = STATE_SYSTEM_FOCUSABLE | (GetFocus() == hwnd() ? STATE_SYSTEM_FOCUSED : 0);
  GetWindowRect(hwnd(), &a.screen);
  return a;
}

int F_Tokei::AccessibleFocus() { return GetFocus() == hwnd() ? 0 : -1; }

bool F_Tokei::AccessibleDefault(int) { return false; }
