#include "settings/F_Zones.h"

#include <oleacc.h>

#include "clock/zones_win.h"
#include "model/texts.h"
#include "model/window_texts.h"
#include "ui/accessible_named.h"
#include "ui/screen_dpi.h"
#include "ui/window_names.h"

namespace {

// 96-DPI client layout: two rows of a clock's zone and name, the buttons below.
constexpr int kWidth = 360, kHeight = 150, kRowHeight = 56;
constexpr int kZoneId = 101, kLabelId = 103;  // + 10 * the clock's index

// What a list shows chosen, or an edit box holds.
std::wstring textOf(HWND control) {
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  return text;
}

}  // namespace

F_Zones::F_Zones(SettingsStore& store)
    : store_(store), keys_([this](const MSG& m) {
        // Tab, the arrows, Enter and Esc as in a dialog box, for this window's controls only.
        return Loaded() && m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST &&
               (m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd)) &&
               IsDialogMessageW(hwnd(), const_cast<MSG*>(&m));
      }) {
  UseDialogFace();
}

F_Zones::~F_Zones() = default;

void F_Zones::Form_Load() {
  SetDpi(SystemDpi());
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, exStyle = WS_EX_DLGMODALFRAME;
  RECT r{0, 0, Px(kWidth), Px(kHeight)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  if (!Create(kZonesWindowClass, Tr(Text::ZonesTitle).c_str(), style, exStyle, x, y, w, h)) return;
  font_.reset(FontAt(DialogFont(), Dpi()));
  zones_ = WindowsZones();
  for (int n = 0; n < kZoneCount; ++n) makeRow(n);
  const int top = 12 + kZoneCount * kRowHeight;
  add(L"BUTTON", Tr(Text::Ok), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 184, top, 80, 24);
  add(L"BUTTON", Tr(Text::Cancel), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, 268, top, 80, 24);
  Show();
  SetFocus(GetDlgItem(hwnd(), kZoneId));
}

HWND F_Zones::add(const wchar_t* cls, const std::wstring& text, DWORD style, int id, int x, int y,
                  int w, int h) {
  HWND c = CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, Px(x), Px(y),
                           Px(w), Px(h), hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return c;
}

// "時計1 [zone list]" and "名前 [edit]"; a reader hears each by its clock.
void F_Zones::makeRow(int n) {
  const Settings& s = store_.Get();
  const int y = 12 + n * kRowHeight;
  const std::wstring clock = Tr(Text::ZoneClock, std::to_wstring(n + 1));
  add(L"STATIC", clock, SS_NOPREFIX, -1, 12, y + 4, 60, 16);
  HWND list = add(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                  kZoneId + 10 * n, 76, y, 272, 300);
  auto item = [list](const std::wstring& text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  };
  item(Tr(Text::ZoneFollow));
  item(Tr(Text::ZoneNone));
  for (const ZoneEntry& z : zones_) item(z.display);
  int chosen = ZoneListIndex(s.Zone[n], zones_);
  unknown_[n].clear();
  if (chosen < 0) {  // kept as written until the user chooses another
    unknown_[n] = s.Zone[n];
    item(Tr(Text::ZoneUnknown, s.Zone[n]));
    chosen = static_cast<int>(zones_.size()) + 2;
  }
  SendMessageW(list, CB_SETCURSEL, chosen, 0);
  NameForReaders(list, clock, ROLE_SYSTEM_COMBOBOX, [list] { return textOf(list); });
  add(L"STATIC", Tr(Text::ZoneLabel), SS_NOPREFIX, -1, 12, y + 30, 60, 16);
  HWND name = add(L"EDIT", s.ZoneLabel[n], WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                  kLabelId + 10 * n, 76, y + 27, 272, 22);
  NameForReaders(name, clock + L" " + Tr(Text::ZoneLabel), ROLE_SYSTEM_TEXT,
                 [name] { return textOf(name); });
}

void F_Zones::ok() {
  std::array<std::wstring, kZoneCount> zone, label;
  for (int n = 0; n < kZoneCount; ++n) {
    const auto i = SendDlgItemMessageW(hwnd(), kZoneId + 10 * n, CB_GETCURSEL, 0, 0);
    const auto z = static_cast<std::size_t>(i - 2);
    zone[n] = i <= 0 ? L"" : i == 1 ? L"-" : z < zones_.size() ? zones_[z].key : unknown_[n];
    label[n] = textOf(GetDlgItem(hwnd(), kLabelId + 10 * n));
  }
  const auto keys = ZoneEdits(store_.Get(), zone, label);
  Unload();
  store_.SetZones(keys);
}

LRESULT F_Zones::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) ok();
      if (LOWORD(wp) == IDCANCEL) Unload();
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CLOSE:
      Unload();
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}
