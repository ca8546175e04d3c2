// A window timer with an interval and an on/off state, delivered as WM_TIMER to its owner.
#pragma once

#include <windows.h>

class Timer {
 public:
  Timer(UINT_PTR id, UINT interval) : id_(id), interval_(interval) {}
  ~Timer() { SetEnabled(false); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void Attach(HWND owner) { owner_ = owner; }
  UINT_PTR Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) {
    if (on == enabled_ || !owner_) {
      if (!owner_) enabled_ = false;
      return;
    }
    if (on)
      enabled_ = SetTimer(owner_, id_, interval_, nullptr) != 0;
    else {
      KillTimer(owner_, id_);
      enabled_ = false;
    }
  }

 private:
  UINT_PTR id_;
  UINT interval_;
  HWND owner_ = nullptr;
  bool enabled_ = false;
};
