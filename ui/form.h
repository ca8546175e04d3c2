// The base of every top-level window: class registration, one WndProc thunk that routes each
// message to the object that owns the HWND, and the load / show / hide / unload life cycle.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/box.h"
#include "ui/dpi.h"
#include "ui/timer.h"

class AccessibleServer;

// Registers a window class once per process; later calls find it registered.
bool EnsureWindowClass(const wchar_t* className, WNDPROC proc, UINT style = 0);

class Form {
 public:
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND hwnd() const { return hwnd_; }
  bool Loaded() const { return hwnd_ != nullptr; }
  void Show();
  void Hide();
  // Runs QueryUnload, then destroys the window.
  void Unload();
  // Moves and sizes the window to `r` (screen pixels), keeping its place in the z-order and
  // the activation as they are.
  void MoveTo(const RECT& r);
  // The density the window is laid out at, and its layout's 96-DPI lengths and boxes in its
  // own pixels.
  int Dpi() const { return dpi_; }
  int Px(int v) const { return ScaleToDpi(v, dpi_); }
  RECT Px(const ui::Box& b) const;

 protected:
  Form() = default;
  // Registers the class once and creates the window; Form_Load-style work follows in the caller.
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x,
              int y, int w, int h, HWND owner = nullptr);
  // Default handling; derived forms override and fall back to this.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Called before the window goes away (unload, quit, session end).
  virtual void QueryUnload() {}
  // A move to a monitor of another density, to the rectangle the system suggests.
  virtual void OnDpiChanged(int /*dpi*/, const RECT& /*suggested*/) {}
  // Set before the window is made, and again when it moves to another density.
  void SetDpi(int dpi) { dpi_ = dpi; }
  // The server that answers a screen reader's WM_GETOBJECT for this window; its object is
  // dropped at every unload, since a reload makes a new window.
  void ServeReaders(AccessibleServer& server) { readers_ = &server; }
  // Gives the timer to this window (made anew at every load): its WM_TIMER runs the timer's
  // handler.
  void AttachTimer(Timer& timer);
  // Which of `controls` (in a reader's order) has the keyboard: 1 for the first, 0 for the
  // window itself, -1 for none of them.
  int FocusedChild(const std::vector<HWND>& controls) const;
  // WM_ACTIVATE: the keyboard leaves with the window and comes back to the control that had it
  // (`last`). True when it was given back, and the message is then handled.
  bool KeepFocus(WPARAM wp, HWND& last) const;
  // A window made of the system's controls: its background is the dialog face, on the screen
  // and when a control prints it behind itself.
  void UseDialogFace() { dialogFace_ = true; }
  // A reader's default action on one of the window's buttons: pressed once the reader's call
  // has returned, since the press may open a window of its own.
  bool ClickLater(HWND button) const;

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  int dpi_ = kBaseDpi;
  std::vector<Timer*> timers_;
  AccessibleServer* readers_ = nullptr;
  bool unloading_ = false;
  bool dialogFace_ = false;
};
