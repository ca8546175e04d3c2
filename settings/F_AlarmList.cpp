// The list of every alarm (see alarm_list_win.h). A system list view with check boxes, which a
// keyboard knows already (arrows, Space for the switch, Enter or a double click to edit, Delete);
// a reader hears each row as an element of the window: the alarm's name, its switch as the
// checked state, the other columns as its value.
#include "settings/alarm_list_win.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/texts.h"
#include "model/window_texts.h"
#include "settings/alarm_list.h"
#include "settings/alarm_options_win.h"
#include "ui/accessible.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/key_route.h"
#include "ui/late_dlls.h"
#include "ui/window_names.h"

namespace {

namespace al = alarm_list;

// At 96 DPI: the list, and the buttons along the bottom.
constexpr ui::Box kClient{0, 0, 520, 259};
constexpr ui::Box kList{12, 12, 496, 200};
enum Button { kAdd, kEdit, kDelete, kOk, kCancel, kButtons };
constexpr ui::Box kButtonBoxes[kButtons] = {
    {12, 224, 76, 23}, {96, 224, 76, 23}, {180, 224, 76, 23}, {348, 224, 76, 23},
    {432, 224, 76, 23}};
constexpr Text kButtonTexts[kButtons] = {Text::ListAdd, Text::ListEdit, Text::ListDelete,
                                         Text::OptionsOk, Text::Cancel};
// The columns after the check box: name, time, days, label, sound.
constexpr int kColumnWidths[] = {72, 52, 120, 140, 108};
constexpr Text kColumnTexts[] = {Text::ColumnAlarm, Text::ColumnTime, Text::ColumnDays,
                                 Text::Label, Text::ColumnSound};
constexpr int kListId = 100, kFirstButtonId = 101;
constexpr UINT kDefaultAction = WM_APP + 1;

class F_AlarmList : public Form, private AccessibleSource {
 public:
  F_AlarmList(const Settings& current, int dpi, Commands& commands)
      : s_(current), commands_(commands) {
    SetDpi(dpi);
    ServeReaders(access_);
    UseDialogFace();
  }
  bool Open(HWND owner);
  bool Done() const { return done_; }
  const std::optional<Settings>& Result() const { return result_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  int buttonId(int b) const { return b == kOk ? IDOK : b == kCancel ? IDCANCEL : kFirstButtonId + b; }
  void createControls();
  void place();
  void fill(int select);
  int selected() const;  // the selected row's alarm, -1 for none
  void showButtons();
  void onCommand(int id);
  bool onNotify(const NMHDR& n);
  void add();
  void edit(int alarm, bool adding);
  void remove();
  void finish(bool ok);

  int AccessibleCount() override { return static_cast<int>(rows_.size()) + kButtons; }
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  Settings s_;
  Commands& commands_;
  std::vector<int> rows_;  // the alarm of each row
  HWND list_ = nullptr;
  HWND buttons_[kButtons] = {};
  Font font_;
  bool filling_ = false;  // the switches being set are the list's, not the user's
  bool done_ = false;
  std::optional<Settings> result_;
  AccessibleServer access_{*this};
};

bool F_AlarmList::Open(HWND owner) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | (GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT frame{0, 0, Px(kClient.w), Px(kClient.h)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT over{};
  GetWindowRect(owner, &over);
  const int x = std::max(0, static_cast<int>(over.left + over.right - w) / 2);
  const int y = std::max(0, static_cast<int>(over.top + over.bottom - h) / 2);
  if (!Create(kAlarmListWindowClass, Tr(Text::ListTitle).c_str(), style, exStyle, x, y, w, h, owner))
    return false;
  createControls();
  fill(0);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(list_);
  return true;
}

void F_AlarmList::createControls() {
  font_.reset(FontAt(DialogFont(), Dpi()));
  HINSTANCE inst = GetModuleHandleW(nullptr);
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS,
                          0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(INT_PTR{kListId}), inst,
                          nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  for (int c = 0; c < static_cast<int>(std::size(kColumnTexts)); ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = Px(kColumnWidths[c]);
    col.pszText = const_cast<wchar_t*>(Tr(kColumnTexts[c]).c_str());
    ListView_InsertColumn(list_, c, &col);
  }
  for (int b = 0; b < kButtons; ++b) {
    const DWORD kind = b == kOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    buttons_[b] = CreateWindowExW(0, L"BUTTON", Tr(kButtonTexts[b]).c_str(),
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, 0, 0, 0, 0, hwnd(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(buttonId(b))),
                                  inst, nullptr);
  }
  place();
}

// Every control at the window's density, in its font.
void F_AlarmList::place() {
  const auto put = [this](HWND w, const ui::Box& b) {
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    const RECT r = Px(b);
    MoveWindow(w, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  };
  put(list_, kList);
  for (int b = 0; b < kButtons; ++b) put(buttons_[b], kButtonBoxes[b]);
  for (int c = 0; c < static_cast<int>(std::size(kColumnWidths)); ++c)
    ListView_SetColumnWidth(list_, c, Px(kColumnWidths[c]));
}

void F_AlarmList::OnDpiChanged(int dpi, const RECT& suggested) {
  SetDpi(dpi);
  const Font previous = std::move(font_);
  font_.reset(FontAt(DialogFont(), dpi));
  MoveTo(suggested);
  place();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The rows anew from the edit, with the row of alarm `select` selected and focused.
void F_AlarmList::fill(int select) {
  filling_ = true;
  ListView_DeleteAllItems(list_);
  rows_ = al::Shown(s_);
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const int alarm = rows_[r];
    al::Row row = al::RowOf(s_, alarm);
    std::wstring* columns[] = {&row.name, &row.time, &row.days, &row.label, &row.sound};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = r;
    item.lParam = alarm;
    item.pszText = columns[0]->data();
    ListView_InsertItem(list_, &item);
    for (int c = 1; c < 5; ++c) ListView_SetItemText(list_, r, c, columns[c]->data());
    ListView_SetCheckState(list_, r, s_.Sound_C[alarm] == 1);
    if (alarm == select) {
      ListView_SetItemState(list_, r, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list_, r, FALSE);
    }
  }
  filling_ = false;
  showButtons();
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_REORDER, 0);
}

int F_AlarmList::selected() const {
  const int r = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  return r >= 0 && r < static_cast<int>(rows_.size()) ? rows_[r] : -1;
}

// Add while an alarm is free; Delete for the list's own alarms (the rows are only switched off).
void F_AlarmList::showButtons() {
  const int alarm = selected();
  EnableWindow(buttons_[kAdd], al::FreeAlarm(s_) >= 0);
  EnableWindow(buttons_[kEdit], alarm >= 0);
  EnableWindow(buttons_[kDelete], alarm >= kRowAlarms);
  // The focus does not stay on a button that went grey.
  HWND focus = GetFocus();
  if (focus && !IsWindowEnabled(focus)) SetFocus(list_);
}

void F_AlarmList::onCommand(int id) {
  if (id == IDOK || id == IDCANCEL) return finish(id == IDOK);
  if (id == buttonId(kAdd)) add();
  if (id == buttonId(kEdit) && selected() >= 0) edit(selected(), false);
  if (id == buttonId(kDelete)) remove();
}

bool F_AlarmList::onNotify(const NMHDR& n) {
  if (n.hwndFrom != list_) return false;
  if (n.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(n);
    const int r = change.iItem;
    if (r < 0 || r >= static_cast<int>(rows_.size())) return true;
    if (!filling_ && (change.uChanged & LVIF_STATE) &&
        ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
      s_.Sound_C[rows_[r]] = ListView_GetCheckState(list_, r) ? 1 : 0;
      AccessibleServer::Notify(hwnd(), EVENT_OBJECT_STATECHANGE, r + 1);
    }
    if ((change.uNewState ^ change.uOldState) & LVIS_FOCUSED)
      if (change.uNewState & LVIS_FOCUSED) AccessibleServer::Notify(hwnd(), EVENT_OBJECT_FOCUS, r + 1);
    if (!filling_) showButtons();
    return true;
  }
  if (n.code == NM_DBLCLK && selected() >= 0) edit(selected(), false);
  if (n.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(n).wVKey == VK_DELETE) remove();
  return true;
}

void F_AlarmList::add() {
  const int alarm = al::FreeAlarm(s_);
  if (alarm < 0) {
    MessageBeep(MB_OK);
    return;
  }
  edit(alarm, true);
}

// The alarm's own window with its time and sound; an alarm being added is kept only at its OK,
// switched on.
void F_AlarmList::edit(int alarm, bool adding) {
  AlarmTimeSound t{s_.Sound_H[alarm], s_.Sound_M[alarm], s_.Sound_Kbn[alarm],
                   s_.Sound_Repeat[alarm], s_.Sound_F[alarm], s_.Alarm_Path};
  if (adding) t.kind = 2;  // a new alarm rings a file, or the chime until it has one
  const auto e = EditAlarmOptions(hwnd(), alarm, {s_.Options[alarm], s_.Snooze_Min, t},
                                  t.kind == 1, Dpi(), commands_, t.file);
  if (!Loaded()) return;
  if (e) {
    if (adding) {
      s_.AlarmInUse[alarm] = true;
      s_.Sound_C[alarm] = 1;
    }
    s_.Options[alarm] = e->options;
    s_.Snooze_Min = e->snooze;
    s_.Sound_H[alarm] = e->timeSound->hour;
    s_.Sound_M[alarm] = e->timeSound->minute;
    s_.Sound_Kbn[alarm] = e->timeSound->kind;
    s_.Sound_Repeat[alarm] = e->timeSound->track;
    s_.Sound_F[alarm] = e->timeSound->file;
    s_.SoundFileMissing[alarm] = false;
    s_.Alarm_Path = e->timeSound->folder;
    fill(alarm);
  }
  SetFocus(list_);
}

void F_AlarmList::remove() {
  const int alarm = selected();
  if (alarm < kRowAlarms) {
    MessageBeep(MB_OK);
    return;
  }
  ClearAlarm(s_, alarm);
  const std::vector<int> shown = al::Shown(s_);
  int next = shown.back();  // the row below, or the last
  for (int a : shown)
    if (a > alarm) {
      next = a;
      break;
    }
  fill(next);
  SetFocus(list_);
}

void F_AlarmList::finish(bool ok) {
  if (ok) result_ = s_;
  done_ = true;
}

LRESULT F_AlarmList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      onCommand(LOWORD(wp));
      return 0;
    case WM_NOTIFY:
      if (onNotify(*reinterpret_cast<const NMHDR*>(lp))) return 0;
      break;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case kDefaultAction: {
      const int child = static_cast<int>(wp);
      const int b = child - 1 - static_cast<int>(rows_.size());
      if (b >= 0 && b < kButtons) {
        SendMessageW(buttons_[b], BM_CLICK, 0, 0);
      } else if (child >= 1 && child <= static_cast<int>(rows_.size())) {
        ListView_SetCheckState(list_, child - 1, !ListView_GetCheckState(list_, child - 1));
      }
      return 0;
    }
    case WM_CLOSE:
      finish(false);
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

// ----------------------------------------------------------------------------- a reader

AccessibleInfo F_AlarmList::Accessible(int child) {
  AccessibleInfo a;
  if (!Loaded()) return a;
  if (child == 0) {
    a.name = Tr(Text::ListTitle);
    a.role = MsaaRole(ReaderRole::Dialog);
    GetWindowRect(hwnd(), &a.screen);
    return a;
  }
  const int r = child - 1;
  if (r < static_cast<int>(rows_.size())) {
    const al::Row row = al::RowOf(s_, rows_[r]);
    a.name = row.name;
    a.value = al::ValueOf(row);
    a.role = MsaaRole(ReaderRole::CheckBox);
    const UINT state = ListView_GetItemState(list_, r, LVIS_SELECTED | LVIS_FOCUSED);
    const bool on = ListView_GetCheckState(list_, r) != 0;
    a.state = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE | (on ? STATE_SYSTEM_CHECKED : 0) |
              (state & LVIS_SELECTED ? STATE_SYSTEM_SELECTED : 0) |
              (GetFocus() == list_ && (state & LVIS_FOCUSED) ? STATE_SYSTEM_FOCUSED : 0);
    ListView_GetItemRect(list_, r, &a.screen, LVIR_BOUNDS);
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&a.screen), 2);
    a.defaultAction = ActionText(DefaultActionOf(ReaderRole::CheckBox, on));
    return a;
  }
  HWND b = buttons_[r - rows_.size()];
  a.name = Tr(kButtonTexts[r - rows_.size()]);
  a.role = MsaaRole(ReaderRole::PushButton);
  a.state = (IsWindowEnabled(b) ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE) |
            (GetFocus() == b ? STATE_SYSTEM_FOCUSED : 0) |
            (r - rows_.size() == kOk ? STATE_SYSTEM_DEFAULT : 0);
  GetWindowRect(b, &a.screen);
  a.defaultAction = ActionText(ReaderAction::Press);
  return a;
}

int F_AlarmList::AccessibleFocus() {
  HWND f = GetFocus();
  if (!Loaded() || !f) return -1;
  if (f == hwnd()) return 0;
  if (f == list_) {
    const int r = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    return r >= 0 ? r + 1 : 0;
  }
  for (int b = 0; b < kButtons; ++b)
    if (buttons_[b] == f) return static_cast<int>(rows_.size()) + b + 1;
  return -1;
}

bool F_AlarmList::AccessibleDefault(int child) {
  if (child < 1 || child > AccessibleCount()) return false;
  return PostMessageW(hwnd(), kDefaultAction, static_cast<WPARAM>(child), 0) != FALSE;
}

}  // namespace

std::optional<Settings> EditAlarmList(HWND owner, const Settings& current, int dpi,
                                      Commands& commands) {
  InitCommonControlsLate(ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES);
  F_AlarmList window(current, dpi, commands);
  if (!window.Open(owner)) return std::nullopt;
  EnableWindow(owner, FALSE);
  MSG msg;
  while (window.Loaded() && !window.Done() && IsWindow(owner)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the program is ending
      break;
    }
    // The other windows' keys first: the ringing window answers its own while this loop runs.
    if (RouteKey(msg) || IsDialogMessageW(window.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EnableWindow(owner, TRUE);
  window.Unload();
  if (!IsWindow(owner)) return std::nullopt;
  return window.Result();
}
