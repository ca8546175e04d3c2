#include "shell/F_Ring.h"

#include <string>

#include "model/texts.h"
#include "model/window_texts.h"
#include "shell/ring_layout.h"
#include "ui/dpi.h"
#include "ui/screen_dpi.h"
#include "ui/window_names.h"

namespace rl = ring_layout;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// In the taskbar and Alt+Tab as a window of its own, above the others.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_APPWINDOW;

rl::Box ToBox(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// The work area of the monitor `window` is on, or of the primary one.
rl::Box WorkArea(HWND window) {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (window && GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &mi))
    work = mi.rcWork;
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return ToBox(work);
}

void SetText(HWND window, const std::wstring& text) { SetWindowTextW(window, text.c_str()); }

std::wstring GetText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(),
                                                      static_cast<int>(text.size()))));
  return text;
}

}  // namespace

F_Ring::F_Ring(Commands& commands) : commands_(commands) {
  ServeReaders(access_);
  UseDialogFace();
}

// The controls go before the fonts they were given.
F_Ring::~F_Ring() { Unload(); }

void F_Ring::Form_Load(const RingNotice& ring, HWND clock) {
  ring_ = ring;
  if (!Loaded()) {
    const bool beside = clock && IsWindowVisible(clock);
    SetDpi(beside ? WindowDpi(clock) : SystemDpi());
    const rl::Box client = boxes().client;
    RECT frame{0, 0, Px(client.w), Px(client.h)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const rl::Box size = ToBox(frame);
    RECT clockRect{};
    const rl::Box clockBox =
        beside && GetWindowRect(clock, &clockRect) ? ToBox(clockRect) : rl::Box{};
    const rl::Box at =
        rl::Place(beside ? &clockBox : nullptr, WorkArea(beside ? clock : nullptr), size);
    if (!Create(kRingWindowClass, L"", kStyle, kExStyle, at.x, at.y, at.w, at.h)) return;
    createControls();
    showNotice();
    focus_ = cmdSnooze_;
    setDefault(cmdSnooze_);
    // Shown without taking the keyboard from whatever the user is typing into.
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    showNotice();
  }
  NotifyWinEvent(EVENT_SYSTEM_ALERT, hwnd(), OBJID_WINDOW, CHILDID_SELF);
}

void F_Ring::createControls() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  auto make = [&](const wchar_t* cls, DWORD style, int id) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
  };
  // A label is the user's own text: an "&" in it is a character, not an access key.
  const DWORD text = SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_ENDELLIPSIS;
  lblHeadline_ = make(L"STATIC", text, -1);
  // Wrapped, a long word too, onto as many lines as the layout gives it.
  lblLabel_ = make(L"STATIC", SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, -1);
  lblOthers_ = make(L"STATIC", text, -1);
  cmdSnooze_ = make(L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  cmdStop_ = make(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  layOut();
}

// The lines the label takes in the window's font at its density, measured as the label wraps.
int F_Ring::labelLines() const {
  if (ring_.label.empty()) return 1;
  Font plain(FontAt(DialogFont(), Dpi()));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, plain.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT r{0, 0, Px(rl::kLabel.w), 0};
  DrawTextW(dc, ring_.label.c_str(), -1, &r,
            DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int line = tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 1;
  return (r.bottom + line - 1) / line;
}

rl::Boxes F_Ring::boxes() const { return rl::LayOut(labelLines(), !ring_.others.empty()); }

// Fonts and boxes for the window's density and notice; the window takes the size they need.
void F_Ring::layOut() {
  Font plain(FontAt(DialogFont(), Dpi())), bold(FontAt(DialogFont(), Dpi(), FW_BOLD));
  const rl::Boxes b = boxes();
  const struct {
    HWND control;
    const rl::Box& box;
    HFONT font;
  } controls[] = {{lblHeadline_, rl::kHeadline, bold.get()},
                  {lblLabel_, b.label, plain.get()},
                  {lblOthers_, b.others, plain.get()},
                  {cmdSnooze_, b.snooze, plain.get()},
                  {cmdStop_, b.stop, plain.get()}};
  for (const auto& c : controls) {
    const RECT r = Px(c.box);
    SendMessageW(c.control, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    MoveWindow(c.control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  RECT frame{0, 0, Px(b.client.w), Px(b.client.h)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The controls hold the new fonts now: the old ones may go.
  font_ = std::move(plain);
  boldFont_ = std::move(bold);
}

void F_Ring::showNotice() {
  SetText(hwnd(), rl::Title(ring_));
  SetText(lblHeadline_, rl::Headline(ring_));
  SetText(lblLabel_, ring_.label);
  ShowWindow(lblLabel_, ring_.label.empty() ? SW_HIDE : SW_SHOWNA);
  SetText(lblOthers_, rl::Others(ring_));
  ShowWindow(lblOthers_, ring_.others.empty() ? SW_HIDE : SW_SHOWNA);
  layOut();
  SetText(cmdSnooze_, Tr(Text::RingSnooze, std::to_wstring(ring_.snoozeMinutes)));
  SetText(cmdStop_, Tr(Text::RingStop));
}

// As a dialog does: the focused button is the one Enter presses, and looks it.
void F_Ring::setDefault(HWND button) {
  for (HWND b : {cmdSnooze_, cmdStop_})
    SendMessageW(b, BM_SETSTYLE, b == button ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

// Handled here rather than by IsDialogMessage, which leaves Tab to a dialog's own procedure.
bool F_Ring::PreTranslate(const MSG& msg) {
  if (!Loaded() || msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  switch (msg.wParam) {
    case VK_ESCAPE: cmdStop_Click(); return true;
    case VK_RETURN:
      if (GetFocus() == cmdStop_) cmdStop_Click();
      else cmdSnooze_Click();
      return true;
    case VK_TAB: {
      HWND next = GetFocus() == cmdSnooze_ ? cmdStop_ : cmdSnooze_;
      SetFocus(next);
      setDefault(next);
      return true;
    }
  }
  return false;
}

// Both end the ring, and the clock then closes this window; closing it here as well keeps it
// from lingering if the ring had already ended.
void F_Ring::cmdSnooze_Click() {
  commands_.SnoozeClockAlarm();
  Unload();
}

void F_Ring::cmdStop_Click() {
  commands_.StopClockSound();
  Unload();
}

void F_Ring::OnDpiChanged(int dpi, const RECT& suggested) {
  SetDpi(dpi);
  MoveTo(suggested);
  layOut();
}

AccessibleInfo F_Ring::Accessible(int child) {
  AccessibleInfo a;
  HWND control = hwnd();
  a.name = rl::Title(ring_);
  a.role = MsaaRole(ReaderRole::Alert);
  if (child == 1 || child == 2 || child == 5) {
    control = child == 1 ? lblHeadline_ : child == 2 ? lblLabel_ : lblOthers_;
    a.name = child == 1 ? rl::Headline(ring_) : child == 2 ? ring_.label : rl::Others(ring_);
    a.role = MsaaRole(ReaderRole::StaticText);
    a.state = STATE_SYSTEM_READONLY | (IsWindowVisible(control) ? 0 : STATE_SYSTEM_INVISIBLE);
  } else if (child == 3 || child == 4) {
    control = child == 3 ? cmdSnooze_ : cmdStop_;
    a.name = GetText(control);
    a.role = MsaaRole(ReaderRole::PushButton);
    a.defaultAction = ActionText(DefaultActionOf(ReaderRole::PushButton));
    a.state = STATE_SYSTEM_FOCUSABLE | (GetFocus() == control ? STATE_SYSTEM_FOCUSED : 0) |
              ((GetWindowLongW(control, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON
                   ? STATE_SYSTEM_DEFAULT
                   : 0);
  }
  GetWindowRect(control, &a.screen);
  return a;
}

int F_Ring::AccessibleFocus() {
  HWND f = GetFocus();
  if (f == cmdSnooze_) return 3;
  if (f == cmdStop_) return 4;
  return f == hwnd() ? 0 : -1;
}

bool F_Ring::AccessibleDefault(int child) {
  if (child != 3 && child != 4) return false;
  PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(child == 3 ? IDOK : IDCANCEL, BN_CLICKED), 0);
  return true;
}

LRESULT F_Ring::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        if (LOWORD(wp) == IDOK) cmdSnooze_Click();
        else if (LOWORD(wp) == IDCANCEL) cmdStop_Click();
      }
      return 0;
    case WM_CLOSE:  // the close box and Alt+F4 answer the alarm as Esc does
      cmdStop_Click();
      return 0;
    case WM_ACTIVATE:
      // The keyboard goes back to the button that had it, not to the window itself.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f == cmdSnooze_ || f == cmdStop_) focus_ = f;
      } else if (focus_) {
        SetFocus(focus_);
      }
      return 0;
    case WM_SETFOCUS:
      if (focus_) SetFocus(focus_);
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}
