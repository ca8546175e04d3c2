#include "ui/form.h"

#include <algorithm>

#include "ui/accessible.h"

// Older headers lack the name of the message a move to a monitor of another density sends.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

Form::~Form() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

RECT Form::Px(const ui::Box& b) const {
  const int x = Px(b.x), y = Px(b.y);
  return {x, y, x + Px(b.w), y + Px(b.h)};
}

bool EnsureWindowClass(const wchar_t* className, WNDPROC proc, UINT style) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(inst, className, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) != 0;
}

bool Form::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                  int x, int y, int w, int h, HWND owner) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (!EnsureWindowClass(className, &Form::Thunk)) return false;
  hwnd_ = CreateWindowExW(exStyle, className, title, style, x, y, w, h, owner, nullptr, inst,
                          this);
  return hwnd_ != nullptr;
}

void Form::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Form::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Form::MoveTo(const RECT& r) {
  if (hwnd_)
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Unload() {
  if (!hwnd_ || unloading_) return;
  unloading_ = true;
  QueryUnload();
  if (readers_) readers_->Disconnect();
  HWND h = hwnd_;
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
  DestroyWindow(h);
  unloading_ = false;
}

void Form::AttachTimer(Timer& timer) {
  timer.Attach(hwnd_);
  if (std::find(timers_.begin(), timers_.end(), &timer) == timers_.end())
    timers_.push_back(&timer);
}

int Form::FocusedChild(const std::vector<HWND>& controls) const {
  HWND f = GetFocus();
  if (!hwnd_ || !f) return -1;
  if (f == hwnd_) return 0;
  const auto at = std::find(controls.begin(), controls.end(), f);
  return at == controls.end() ? -1 : static_cast<int>(at - controls.begin()) + 1;
}

bool Form::KeepFocus(WPARAM wp, HWND& last) const {
  if (LOWORD(wp) == WA_INACTIVE) {
    last = GetFocus();
    return false;
  }
  if (!last || !IsChild(hwnd_, last)) return false;
  SetFocus(last);
  return true;
}

namespace {

// Far above WM_APP + n, which the windows number their own messages from.
constexpr UINT kClickLater = WM_APP + 0x3F00;

BOOL CALLBACK TellColoursChanged(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

void RedrawAll(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

bool Form::ClickLater(HWND button) const {
  return button && PostMessageW(hwnd_, kClickLater, reinterpret_cast<WPARAM>(button), 0);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (!dialogFace_) break;
      {
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_3DFACE));
      }
      return msg == WM_ERASEBKGND ? 1 : 0;
    case kClickLater: {
      const HWND button = reinterpret_cast<HWND>(wp);
      if (IsChild(hwnd_, button)) SendMessageW(button, BM_CLICK, 0, 0);
      return 0;
    }
    case WM_TIMER:
      for (Timer* t : timers_)
        if (t->Id() == wp) {
          t->Fire();
          break;
        }
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_ENDSESSION:
      if (wp) QueryUnload();
      return 0;
    case WM_GETOBJECT: {
      LRESULT result;
      if (readers_ && readers_->Answer(hwnd_, wp, lp, result)) return result;
      break;
    }
    case WM_SYSCOLORCHANGE:
      // Only top-level windows hear it, and the common controls (sliders, lists) keep
      // their own copies of the colours until told.
      EnumChildWindows(hwnd_, TellColoursChanged, 0);
      RedrawAll(hwnd_);
      return 0;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETHIGHCONTRAST) RedrawAll(hwnd_);
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* self = static_cast<Form*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->HandleMessage(msg, wp, lp);
}
