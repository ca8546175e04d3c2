#include "ui/key_route.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<const KeyHandler*>& Handlers() {
  static std::vector<const KeyHandler*> list;
  return list;
}

HHOOK hook = nullptr;

// The system's modal loops hand each message here before their dialog keys take it.
LRESULT CALLBACK ModalLoopFilter(int code, WPARAM wp, LPARAM lp) {
  if ((code == MSGF_DIALOGBOX || code == MSGF_MESSAGEBOX) &&
      RouteKey(*reinterpret_cast<const MSG*>(lp)))
    return TRUE;
  return CallNextHookEx(hook, code, wp, lp);
}

}  // namespace

KeyHandler::KeyHandler(std::function<bool(const MSG&)> handle) : handle_(std::move(handle)) {
  if (Handlers().empty())
    hook = SetWindowsHookExW(WH_MSGFILTER, ModalLoopFilter, nullptr, GetCurrentThreadId());
  Handlers().push_back(this);
}

KeyHandler::~KeyHandler() {
  auto& list = Handlers();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (list.empty() && hook) {
    UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
}

bool RouteKey(const MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  // A copy: a handler may close a window, whose handler then leaves the list.
  const std::vector<const KeyHandler*> list = Handlers();
  for (const KeyHandler* h : list)
    if (std::find(Handlers().begin(), Handlers().end(), h) != Handlers().end() && (*h)(msg))
      return true;
  return false;
}
