// An alarm's own settings window (see alarm_options_win.h). Unlike the settings dialog it is
// made of the system's own controls, laid out from the table in alarm_options.h: check boxes,
// an edit box, sliders and buttons that a keyboard and a screen reader know already. Its own
// message loop runs the dialog keys (Tab, arrows, Space, Enter for OK, Esc for cancel) while
// the settings dialog waits disabled underneath.
#include "settings/F_AlarmOptions.h"


#include <algorithm>
#include <string>
#include <vector>

#include "settings/alarm_options.h"
#include "ui/accessible.h"
#include "ui/accessible_named.h"
#include "ui/dpi.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/key_route.h"
#include "ui/late_dlls.h"
#include "ui/window_names.h"

namespace alarm_options_window {

bool F_AlarmOptions::Open(HWND owner) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  // Above the settings dialog, which keeps itself above every other window.
  const DWORD exStyle = WS_EX_DLGMODALFRAME |
                        (GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
  const ui::Box client = ao::Client(full_);
  RECT frame{0, 0, Px(client.w), Px(client.h)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  RECT over{};
  GetWindowRect(owner, &over);
  const int x = std::max(0, static_cast<int>(over.left + over.right - w) / 2);
  const int y = std::max(0, static_cast<int>(over.top + over.bottom - h) / 2);
  const std::wstring title = Tr(Text::OptionsTitle, std::to_wstring(alarm_ + 1));
  if (!Create(kAlarmOptionsWindowClass, title.c_str(), style, exStyle, x, y, w, h, owner))
    return false;
  createControls();
  fill();
  AttachTimer(Timer1);
  Timer1.SetEnabled(true);
  showTestRefused(commands_.ClockRinging().has_value());
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(window(full_ ? Id::Hour : Id::Day, 0));  // the first stop, as a dialog box starts
  if (full_) SendMessageW(window(Id::Hour), EM_SETSEL, 0, -1);  // typing replaces the hour
  return true;
}

void F_AlarmOptions::makeFont() {
  font_.reset(FontAt(DialogFont(), Dpi()));
}

// Moved to a monitor of another density: the same controls, with what they hold, placed and
// lettered for it.
void F_AlarmOptions::OnDpiChanged(int dpi, const RECT& suggested) {
  SetDpi(dpi);
  const Font previous = std::move(font_);  // the controls show it until they have the new one
  makeFont();
  MoveTo(suggested);
  const auto& rows = ao::Controls();
  for (size_t i = 0; i < rows.size(); ++i) {
    RECT r = Px(place(rows[i]));
    if (rows[i].kind == ao::Kind::Combo) r.bottom += Px(6 * rows[i].box.h);  // the list's drop
    SendMessageW(windows_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    MoveWindow(windows_[i], r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  }
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

namespace {

// The system's class and styles of a control of the table.
struct Made {
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
};

Made madeAs(const ao::Control& c) {
  Made m;
  switch (c.kind) {
    case ao::Kind::Text:
      m.style |= SS_NOPREFIX | (c.align == Align::Right ? SS_RIGHT : SS_LEFT);
      break;
    case ao::Kind::Check:
      m.cls = L"BUTTON";
      m.style |= WS_TABSTOP | BS_CHECKBOX;  // checked by the window: the last day stays
      break;
    case ao::Kind::Edit:
      m.cls = L"EDIT";
      m.style |= WS_TABSTOP | ES_AUTOHSCROLL;
      m.exStyle = WS_EX_CLIENTEDGE;
      break;
    case ao::Kind::Slider:
      m.cls = TRACKBAR_CLASSW;
      m.style |= WS_TABSTOP | TBS_HORZ | TBS_NOTICKS;
      break;
    case ao::Kind::Combo:
      m.cls = WC_COMBOBOXW;
      m.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
      break;
    case ao::Kind::Button:
    case ao::Kind::DefaultButton:
      m.cls = L"BUTTON";
      m.style |= WS_TABSTOP | (c.kind == ao::Kind::DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      break;
  }
  return m;
}

}  // namespace

void F_AlarmOptions::createControls() {
  makeFont();
  HINSTANCE inst = GetModuleHandleW(nullptr);
  for (const ao::Control& c : ao::Controls()) {
    const Made made = madeAs(c);
    const wchar_t* cls = made.cls;
    DWORD style = made.style;
    const DWORD exStyle = made.exStyle;
    const int id = c.id == Id::Ok ? IDOK : c.id == Id::Cancel ? IDCANCEL : kFirstChildId + rowOf(c);
    // Opened from a row of the dialog, the band is not there for the keys nor a reader.
    if (c.timeSound && !full_) style = (style & ~(WS_VISIBLE | WS_TABSTOP)) | WS_DISABLED;
    const wchar_t* caption = c.text == dialog_layout::kFilledIn ? L"" : Tr(c.text).c_str();
    const ui::Box b = place(c);
    const int dropped = c.kind == ao::Kind::Combo ? 6 * b.h : 0;
    HWND w = CreateWindowExW(exStyle, cls, caption, style, Px(b.x), Px(b.y), Px(b.w),
                             Px(b.h + dropped), hwnd(),
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    windows_.push_back(w);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    if (c.kind == ao::Kind::Slider) {
      const ao::Range r = ao::RangeOf(c.id);
      SendMessageW(w, TBM_SETRANGEMIN, FALSE, r.min);
      SendMessageW(w, TBM_SETRANGEMAX, FALSE, r.max);
      SendMessageW(w, TBM_SETPAGESIZE, 0, r.page);
    }
    // The system's objects for these controls lack the name of the caption beside them (and,
    // on some systems, their role and checked state).
    if (c.kind != ao::Kind::Text) {
      const ao::Control* row = &c;
      std::function<std::wstring()> value;
      if (c.kind == ao::Kind::Slider || c.kind == ao::Kind::Edit || c.kind == ao::Kind::Combo)
        value = [this, row] { return valueOf(*row); };
      NameForReaders(w, ao::NameOf(c), MsaaRole(ao::RoleOf(c.kind)), value,
                     [this, row] { return stateOf(*row) & STATE_SYSTEM_CHECKED; });
    }
  }
  SendMessageW(window(Id::Label), EM_LIMITTEXT, AlarmOptions::kMaxLabel, 0);
  for (Id id : {Id::Hour, Id::Minute, Id::Track}) {
    SendMessageW(window(id), EM_LIMITTEXT, 2, 0);
    SetWindowLongPtrW(window(id), GWL_STYLE, GetWindowLongPtrW(window(id), GWL_STYLE) | ES_NUMBER);
  }
}

void F_AlarmOptions::fill() {
  const AlarmOptions& o = edit_.options;
  days_ = o.Days;
  showDays();
  SendMessageW(window(Id::Once), BM_SETCHECK, o.Once ? BST_CHECKED : BST_UNCHECKED, 0);
  SetWindowTextW(window(Id::Label), o.Label.substr(0, AlarmOptions::kMaxLabel).c_str());
  const std::pair<Id, int> sliders[] = {
      {Id::Volume, o.Volume}, {Id::FadeIn, o.FadeIn}, {Id::Snooze, edit_.snooze}};
  for (auto [id, value] : sliders) {
    const ao::Range r = ao::RangeOf(id);
    SendMessageW(window(id), TBM_SETPOS, TRUE, std::clamp(value, r.min, r.max));
    sliderMoved(window(id));
  }
  // A CD plays at the drive's own volume, which the program does not set.
  for (Id id : {Id::VolumeCaption, Id::Volume, Id::VolumeValue, Id::FadeCaption,
                Id::FadeIn, Id::FadeValue})
    EnableWindow(window(id), !cd_);
  ShowWindow(window(Id::CdNote), cd_ ? SW_SHOWNA : SW_HIDE);
  if (full_) fillTimeSound();
}

void F_AlarmOptions::showDays() {
  for (int d = 0; d < 7; ++d) {
    const bool on = (days_ >> d & 1) != 0;
    SendMessageW(window(Id::Day, d), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

int F_AlarmOptions::sliderValue(Id id) const {
  return static_cast<int>(SendMessageW(window(id), TBM_GETPOS, 0, 0));
}

void F_AlarmOptions::sliderMoved(HWND slider) {
  for (auto [bar, value] : {std::pair{Id::Volume, Id::VolumeValue},
                            std::pair{Id::FadeIn, Id::FadeValue},
                            std::pair{Id::Snooze, Id::SnoozeValue}}) {
    if (window(bar) != slider) continue;
    SetWindowTextW(window(value), ao::ValueText(bar, sliderValue(bar)).c_str());
    AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, rowOf(find(bar)) + 1);
  }
}

void F_AlarmOptions::onCommand(int id, int code, HWND control) {
  if (id == IDOK || id == IDCANCEL) return finish(id == IDOK);
  const auto& rows = ao::Controls();
  const int row = id - kFirstChildId;
  if (row < 0 || row >= static_cast<int>(rows.size()) || windows_[row] != control) return;
  const ao::Control& c = rows[row];
  switch (c.id) {
    case Id::Day: {
      const std::int16_t days = ao::ToggledDay(days_, c.index);
      if (days == days_) MessageBeep(MB_OK);  // the last day: the alarm's switch turns it off
      days_ = days;
      showDays();
      break;
    }
    case Id::Once: {
      const bool on = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
      SendMessageW(control, BM_SETCHECK, on ? BST_UNCHECKED : BST_CHECKED, 0);
      break;
    }
    case Id::VolumeTest: playTest(); return;
    case Id::Browse: browse(); return;
    case Id::SoundKind:
      if (code == CBN_SELCHANGE) kindChosen();
      return;
    default: return;
  }
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_STATECHANGE, row + 1);
}

void F_AlarmOptions::finish(bool ok) {
  if (ok) {
    AlarmOptionsEdit e = edit_;
    e.options.Days = days_;
    e.options.Once = SendMessageW(window(Id::Once), BM_GETCHECK, 0, 0) == BST_CHECKED ? -1 : 0;
    HWND label = window(Id::Label);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    // A longer label written by hand stays whole unless its first characters were edited.
    const std::wstring& before = edit_.options.Label;
    e.options.Label = text == before.substr(0, AlarmOptions::kMaxLabel)
                          ? before
                          : text.substr(0, AlarmOptions::kMaxLabel);
    // A CD alarm's volume and fade-in stay as they were: the window showed them fixed.
    if (!cd_) {
      e.options.Volume = static_cast<std::int16_t>(sliderValue(Id::Volume));
      e.options.FadeIn = static_cast<std::int16_t>(sliderValue(Id::FadeIn));
    }
    e.snooze = static_cast<std::int16_t>(sliderValue(Id::Snooze));
    if (full_) finishTimeSound(e);
    result_ = e;
  }
  done_ = true;
}

// The alarm's own sound (a CD's is the chime) at the volume and fade-in shown, through the sound
// module, which never lets it replace a ringing alarm; pressed again, it stops.
void F_AlarmOptions::playTest() {
  if (testing_) return stopTest();
  SoundTest test = sound_;
  if (full_) {
    test.kind = cd_ ? 1 : 2;
    test.file = textOf(Id::File);
  }
  test.volume = cd_ ? 100 : sliderValue(Id::Volume);
  test.fadeInSeconds = cd_ ? 0 : sliderValue(Id::FadeIn);
  testing_ = commands_.StartSoundTest(test);
  if (testing_)
    showTesting(true);
  else
    showTestRefused(true);
}

void F_AlarmOptions::stopTest() {
  if (!testing_) return;
  testing_ = false;
  commands_.StopSoundTest();
  showTesting(false);
}

void F_AlarmOptions::showTesting(bool on) {
  if (!Loaded()) return;
  SetWindowTextW(window(Id::VolumeTest), Tr(on ? Text::RingStop : Text::VolumeTest).c_str());
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_NAMECHANGE, rowOf(find(Id::VolumeTest)) + 1);
}

void F_AlarmOptions::Timer1_Timer() {
  showTestRefused(commands_.ClockRinging().has_value());
  // An alarm that began took the player: the test is over.
  if (testing_ && !commands_.SoundTesting()) {
    testing_ = false;
    showTesting(false);
  }
}

void F_AlarmOptions::showTestRefused(bool refused) {
  if (refused == refused_ || !Loaded()) return;
  refused_ = refused;
  HWND test = window(Id::VolumeTest), note = window(Id::CdNote);
  // The focus does not stay on a button that went grey.
  if (refused && GetFocus() == test) SetFocus(window(Id::Volume));
  EnableWindow(test, !refused);
  SetWindowTextW(note, Tr(refused ? Text::TestWhileRinging : Text::CdVolume).c_str());
  ShowWindow(note, refused || cd_ ? SW_SHOWNA : SW_HIDE);
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_STATECHANGE, rowOf(find(Id::VolumeTest)) + 1);
}

LRESULT F_AlarmOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
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

}  // namespace alarm_options_window

std::optional<AlarmOptionsEdit> EditAlarmOptions(HWND owner, int alarm,
                                                 const AlarmOptionsEdit& current, bool cd,
                                                 int dpi, Commands& commands,
                                                 const std::wstring& file) {
  InitCommonControlsLate(ICC_BAR_CLASSES | ICC_STANDARD_CLASSES);
  alarm_options_window::F_AlarmOptions window(alarm, current, cd, dpi, commands, file);
  if (!window.Open(owner)) return std::nullopt;
  EnableWindow(owner, FALSE);
  MSG msg;
  while (window.Loaded() && !window.Done() && IsWindow(owner)) {
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
  // Enabled before this window goes, so the activation returns to the dialog.
  EnableWindow(owner, TRUE);
  window.Unload();
  if (!IsWindow(owner)) return std::nullopt;
  return window.Result();
}
