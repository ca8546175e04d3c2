// One route for the keys of the program's windows, whatever message loop is running. The
// program's own loops (the application's, an alarm window's) call RouteKey before they
// translate a message; a thread hook calls it from the loops the system runs for a message
// box or a colour or file chooser. A window takes keys by keeping a KeyHandler, which answers
// true for a key it used; each handler takes only messages addressed to its own window or its
// children, so no window takes the keys of the one that has the focus.
#pragma once

#include <windows.h>

#include <functional>

class KeyHandler {
 public:
  explicit KeyHandler(std::function<bool(const MSG&)> handle);
  ~KeyHandler();
  KeyHandler(const KeyHandler&) = delete;
  KeyHandler& operator=(const KeyHandler&) = delete;

  bool operator()(const MSG& msg) const { return handle_(msg); }

 private:
  std::function<bool(const MSG&)> handle_;
};

// True when a window's handler used the message, which then goes no further.
bool RouteKey(const MSG& msg);
