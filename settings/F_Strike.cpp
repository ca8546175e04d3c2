// The hours' strike's own window (see strike_options_win.h), made of the system's own controls
// like an alarm's window, laid out from the table in strike_options.h: option buttons for the
// mode, sliders for the quiet hours and the volume, 試聴, the tick's check box, OK and cancel,
// which a keyboard and a screen reader know already. Its own message loop runs the dialog keys
// (Tab, arrows, Space, Enter for OK, Esc for cancel).
#include "settings/strike_options_win.h"

#include <algorithm>
#include <string>
#include <vector>

#include "settings/strike_options.h"
#include "ui/accessible.h"
#include "ui/accessible_named.h"
#include "ui/dpi.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/key_route.h"
#include "ui/late_dlls.h"
#include "ui/window_names.h"

namespace so = strike_options;
using so::Id;

namespace {

// A control's id: its row of the table, past this; OK and cancel keep the dialog ids.
constexpr int kFirstChildId = 100;

class F_Strike : public Form, private AccessibleSource {
 public:
  F_Strike(const StrikeOptions& current, int dpi, Commands& commands)
      : edit_(current), commands_(commands) {
    SetDpi(dpi);
    ServeReaders(access_);
    UseDialogFace();
  }
  ~F_Strike() override { stopTest(); }

  bool Open(HWND owner);
  bool Done() const { return done_; }
  const std::optional<StrikeOptions>& Result() const { return result_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override { stopTest(); }
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  int rowOf(const so::Control& c) const { return static_cast<int>(&c - so::Controls().data()); }
  const so::Control& find(Id id, int index = 0) const {
    for (const so::Control& c : so::Controls())
      if (c.id == id && c.index == index) return c;
    return so::Controls().front();
  }
  HWND window(Id id, int index = 0) const { return windows_[rowOf(find(id, index))]; }
  void createControls();
  HWND createControl(const so::Control& c, bool firstOfGroup);
  void fill();
  int mode() const;
  void setMode(int mode);
  int sliderValue(Id id) const;
  void sliderMoved(HWND slider);
  void onCommand(int id, HWND control);
  void finish(bool ok);
  void playTest();
  void stopTest();
  void showTesting(bool on);
  void Timer1_Timer();
  std::wstring valueOf(const so::Control& c) const;
  long stateOf(const so::Control& c) const;

  int AccessibleCount() override { return static_cast<int>(so::Controls().size()); }
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  StrikeOptions edit_;
  Commands& commands_;
  Font font_;
  std::vector<HWND> windows_;  // one per row of the table
  HWND lastFocus_ = nullptr;   // given back when the window is activated again
  bool done_ = false;
  std::optional<StrikeOptions> result_;
  bool testing_ = false;
  // While the test plays: back to 試聴 when it has ended.
  Timer Timer1{1, 500, [this] { Timer1_Timer(); }};
  AccessibleServer access_{*this};
};

bool F_Strike::Open(HWND owner) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME |
                        (owner ? GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST : 0);
  RECT frame{0, 0, Px(so::kClient.w), Px(so::kClient.h)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  // Beside the clock, or in the middle of the work area when the clock is hidden.
  RECT over{};
  if (!owner || !GetWindowRect(owner, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  const int x = std::max(0, static_cast<int>(over.left + over.right - w) / 2);
  const int y = std::max(0, static_cast<int>(over.top + over.bottom - h) / 2);
  if (!Create(kStrikeWindowClass, Tr(Text::StrikeTitle).c_str(), style, exStyle, x, y, w, h,
              owner))
    return false;
  createControls();
  fill();
  AttachTimer(Timer1);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(window(Id::Mode, mode()));  // the first stop, as a dialog box starts
  return true;
}

void F_Strike::OnDpiChanged(int dpi, const RECT& suggested) {
  SetDpi(dpi);
  const Font previous = std::move(font_);  // the controls show it until they have the new one
  font_.reset(FontAt(DialogFont(), Dpi()));
  MoveTo(suggested);
  const auto& rows = so::Controls();
  for (size_t i = 0; i < rows.size(); ++i) {
    const RECT r = Px(rows[i].box);
    SendMessageW(windows_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    MoveWindow(windows_[i], r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  }
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void F_Strike::createControls() {
  font_.reset(FontAt(DialogFont(), Dpi()));
  // The option buttons are one group, which the arrows walk; the control after them begins
  // the next.
  bool group = true;
  for (const so::Control& c : so::Controls()) {
    const bool radio = c.kind == so::Kind::Radio;
    windows_.push_back(createControl(c, group));
    group = !radio;
  }
}

HWND F_Strike::createControl(const so::Control& c, bool firstOfGroup) {
  const wchar_t* cls = L"BUTTON";
  DWORD style = WS_CHILD | WS_VISIBLE | (firstOfGroup ? WS_GROUP : 0);
  int id = kFirstChildId + rowOf(c);
  switch (c.kind) {
    case so::Kind::Text:
      cls = L"STATIC";
      style |= SS_NOPREFIX | (c.align == Align::Right ? SS_RIGHT : SS_LEFT);
      break;
    case so::Kind::Radio:
      style |= BS_AUTORADIOBUTTON | (firstOfGroup ? WS_TABSTOP : 0);
      break;
    case so::Kind::Check:
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case so::Kind::Slider:
      cls = TRACKBAR_CLASSW;
      style |= WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
      break;
    case so::Kind::Button:
    case so::Kind::DefaultButton:
      style |= WS_TABSTOP | (c.kind == so::Kind::DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      if (c.id == Id::Ok) id = IDOK;
      if (c.id == Id::Cancel) id = IDCANCEL;
      break;
  }
  const wchar_t* caption = c.text == dialog_layout::kFilledIn ? L"" : Tr(c.text).c_str();
  HWND w = CreateWindowExW(0, cls, caption, style, Px(c.box.x), Px(c.box.y), Px(c.box.w),
                           Px(c.box.h), hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (c.kind == so::Kind::Slider) {
    const so::Range r = so::RangeOf(c.id);
    SendMessageW(w, TBM_SETRANGEMIN, FALSE, r.min);
    SendMessageW(w, TBM_SETRANGEMAX, FALSE, r.max);
    SendMessageW(w, TBM_SETPAGESIZE, 0, r.page);
  }
  // The system's objects for these controls lack the caption beside them.
  if (c.kind != so::Kind::Text) {
    const so::Control* row = &c;
    std::function<std::wstring()> value;
    if (c.kind == so::Kind::Slider) value = [this, row] { return valueOf(*row); };
    NameForReaders(w, so::NameOf(c), MsaaRole(so::RoleOf(c.kind)), value,
                   [this, row] { return stateOf(*row) & STATE_SYSTEM_CHECKED; });
  }
  return w;
}

void F_Strike::fill() {
  setMode(edit_.Mode);
  SendMessageW(window(Id::Tick), BM_SETCHECK, edit_.Tick ? BST_CHECKED : BST_UNCHECKED, 0);
  const std::pair<Id, int> sliders[] = {
      {Id::From, edit_.QuietFrom}, {Id::To, edit_.QuietTo}, {Id::Volume, edit_.Volume}};
  for (auto [id, value] : sliders) {
    const so::Range r = so::RangeOf(id);
    SendMessageW(window(id), TBM_SETPOS, TRUE, std::clamp(value, r.min, r.max));
    sliderMoved(window(id));
  }
}

int F_Strike::mode() const {
  for (int m = 0; m <= StrikeOptions::kModes; ++m)
    if (SendMessageW(window(Id::Mode, m), BM_GETCHECK, 0, 0) == BST_CHECKED) return m;
  return 0;
}

void F_Strike::setMode(int mode) {
  for (int m = 0; m <= StrikeOptions::kModes; ++m)
    SendMessageW(window(Id::Mode, m), BM_SETCHECK, m == mode ? BST_CHECKED : BST_UNCHECKED, 0);
}

int F_Strike::sliderValue(Id id) const {
  return static_cast<int>(SendMessageW(window(id), TBM_GETPOS, 0, 0));
}

void F_Strike::sliderMoved(HWND slider) {
  for (auto [bar, value] : {std::pair{Id::From, Id::FromValue}, std::pair{Id::To, Id::ToValue},
                            std::pair{Id::Volume, Id::VolumeValue}}) {
    if (window(bar) != slider) continue;
    SetWindowTextW(window(value), so::ValueText(bar, sliderValue(bar)).c_str());
    AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, rowOf(find(bar)) + 1);
  }
}

void F_Strike::onCommand(int id, HWND control) {
  if (id == IDOK || id == IDCANCEL) return finish(id == IDOK);
  const auto& rows = so::Controls();
  const int row = id - kFirstChildId;
  if (row < 0 || row >= static_cast<int>(rows.size()) || windows_[row] != control) return;
  if (rows[row].id == Id::VolumeTest) return playTest();
  if (rows[row].id == Id::Tick) AccessibleServer::Notify(hwnd(), EVENT_OBJECT_STATECHANGE, row + 1);
  // An option button took the check: the reader hears of the whole group.
  if (rows[row].id == Id::Mode)
    for (int m = 0; m <= StrikeOptions::kModes; ++m)
      AccessibleServer::Notify(hwnd(), EVENT_OBJECT_STATECHANGE, rowOf(find(Id::Mode, m)) + 1);
}

void F_Strike::finish(bool ok) {
  if (ok) {
    StrikeOptions o = edit_;
    o.Mode = static_cast<std::int16_t>(mode());
    o.QuietFrom = static_cast<std::int16_t>(sliderValue(Id::From));
    o.QuietTo = static_cast<std::int16_t>(sliderValue(Id::To));
    o.Volume = static_cast<std::int16_t>(sliderValue(Id::Volume));
    o.Tick = SendMessageW(window(Id::Tick), BM_GETCHECK, 0, 0) == BST_CHECKED ? -1 : 0;
    result_ = o;
  }
  done_ = true;
}

// The strike of 3:00 in the mode and at the volume shown; pressed again, it stops. The sound
// module refuses it while an alarm rings.
void F_Strike::playTest() {
  if (testing_) return stopTest();
  StrikeOptions o;
  o.Mode = static_cast<std::int16_t>(mode());
  o.Volume = static_cast<std::int16_t>(sliderValue(Id::Volume));
  testing_ = commands_.StartStrikeTest(o);
  if (testing_) showTesting(true);
  else MessageBeep(MB_OK);
}

void F_Strike::stopTest() {
  if (!testing_) return;
  testing_ = false;
  if (commands_.Striking()) commands_.StopStrikeTest();
  showTesting(false);
}

void F_Strike::showTesting(bool on) {
  Timer1.SetEnabled(on);
  if (!Loaded()) return;
  SetWindowTextW(window(Id::VolumeTest), Tr(on ? Text::RingStop : Text::VolumeTest).c_str());
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_NAMECHANGE, rowOf(find(Id::VolumeTest)) + 1);
}

void F_Strike::Timer1_Timer() {
  // The strike ended, or an alarm took the player.
  if (testing_ && !commands_.Striking()) {
    testing_ = false;
    showTesting(false);
  }
}

LRESULT F_Strike::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      onCommand(LOWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_HSCROLL:
      sliderMoved(reinterpret_cast<HWND>(lp));
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
      if (KeepFocus(wp, lastFocus_)) return 0;
      break;
    case WM_CLOSE:
      finish(false);
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

// ----------------------------------------------------------------------------- a reader

std::wstring F_Strike::valueOf(const so::Control& c) const {
  if (c.kind == so::Kind::Slider) return so::ValueText(c.id, sliderValue(c.id));
  if (c.kind != so::Kind::Text || c.text != dialog_layout::kFilledIn) return L"";
  wchar_t text[32] = {};
  GetWindowTextW(windows_[rowOf(c)], text, static_cast<int>(std::size(text)));
  return text;
}

long F_Strike::stateOf(const so::Control& c) const {
  HWND w = windows_[rowOf(c)];
  long s = 0;
  if (!IsWindowEnabled(w)) s |= STATE_SYSTEM_UNAVAILABLE;
  if (c.kind != so::Kind::Text) s |= STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == w) s |= STATE_SYSTEM_FOCUSED;
  if ((c.kind == so::Kind::Radio || c.kind == so::Kind::Check) &&
      SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED)
    s |= STATE_SYSTEM_CHECKED;
  if (c.kind == so::Kind::DefaultButton) s |= STATE_SYSTEM_DEFAULT;
  return s;
}

AccessibleInfo F_Strike::Accessible(int child) {
  AccessibleInfo a;
  if (!Loaded()) return a;
  if (child == 0) {
    a.name = Tr(Text::StrikeTitle);
    a.role = MsaaRole(ReaderRole::Dialog);
    GetWindowRect(hwnd(), &a.screen);
    return a;
  }
  const so::Control& c = so::Controls()[static_cast<std::size_t>(child - 1)];
  a.name = so::NameOf(c);
  if (c.id == Id::VolumeTest) a.name = testing_ ? Tr(Text::RingStop) : Tr(Text::VolumeTest);
  const ReaderRole role = so::RoleOf(c.kind);
  a.role = MsaaRole(role);
  a.value = valueOf(c);
  a.state = stateOf(c);
  GetWindowRect(windows_[child - 1], &a.screen);
  a.defaultAction = ActionText(DefaultActionOf(role, a.state & STATE_SYSTEM_CHECKED));
  return a;
}

int F_Strike::AccessibleFocus() { return Loaded() ? FocusedChild(windows_) : -1; }

bool F_Strike::AccessibleDefault(int child) {
  if (child < 1 || child > AccessibleCount()) return false;
  const so::Kind k = so::Controls()[static_cast<std::size_t>(child - 1)].kind;
  if (DefaultActionOf(so::RoleOf(k)) == ReaderAction::None) return false;
  return ClickLater(windows_[static_cast<std::size_t>(child - 1)]);
}

}  // namespace

std::optional<StrikeOptions> EditStrike(HWND owner, const StrikeOptions& current, int dpi,
                                        Commands& commands) {
  InitCommonControlsLate(ICC_BAR_CLASSES | ICC_STANDARD_CLASSES);
  F_Strike window(current, dpi, commands);
  if (!window.Open(owner)) return std::nullopt;
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (window.Loaded() && !window.Done() && (!owner || IsWindow(owner))) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the loop that runs it must see the quit too.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    // The other windows' keys first: the ringing window answers its own while this loop runs.
    if (RouteKey(msg) || IsDialogMessageW(window.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Enabled before this window goes, so the activation returns to the clock.
  if (owner) EnableWindow(owner, TRUE);
  window.Unload();
  if (owner && !IsWindow(owner)) return std::nullopt;
  return window.Result();
}
