// What a screen reader sees of a window: one IAccessible for the window's client area, whose
// children are simple elements a window describes through AccessibleSource (a drawn control has
// no window of its own to be named). Made when a client first asks (WM_GETOBJECT), so a window
// nobody reads carries nothing; oleacc and the automation strings are loaded then too.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <string>

#include "ui/reader_role.h"

// One element: the window itself (child 0) or one of its children (1..count).
struct AccessibleInfo {
  std::wstring name;
  std::wstring value;
  std::wstring defaultAction;
  long role = ROLE_SYSTEM_CLIENT;
  long state = 0;   // STATE_SYSTEM_*
  RECT screen{};    // in screen pixels
};

// The system's role number (ROLE_SYSTEM_*) for a reader role.
long MsaaRole(ReaderRole role);

class AccessibleSource {
 public:
  virtual ~AccessibleSource() = default;
  virtual int AccessibleCount() = 0;
  virtual AccessibleInfo Accessible(int child) = 0;
  // The focused element: 0 the window itself, -1 none in this window.
  virtual int AccessibleFocus() = 0;
  // Has the element do what a click on it does, later, from the window's own messages: the
  // reader's call must not wait for a chooser the click opens. False when it has no action.
  virtual bool AccessibleDefault(int child) = 0;
};

class AccessibleObject;

// Owned by the window; answers its WM_GETOBJECT and raises its WinEvents.
class AccessibleServer {
 public:
  explicit AccessibleServer(AccessibleSource& source) : source_(source) {}
  ~AccessibleServer();
  AccessibleServer(const AccessibleServer&) = delete;
  AccessibleServer& operator=(const AccessibleServer&) = delete;

  // WM_GETOBJECT: true and `result` set when it asked for the client object.
  bool Answer(HWND window, WPARAM wp, LPARAM lp, LRESULT& result);
  // Forgets the window (it is being destroyed): clients holding the object get errors.
  void Disconnect();
  // EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE... for `child`.
  static void Notify(HWND window, DWORD event, int child);

 private:
  AccessibleSource& source_;
  AccessibleObject* object_ = nullptr;
};
