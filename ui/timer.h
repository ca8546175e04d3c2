// A window timer with an interval, an on/off state and the handler its owner's WM_TIMER runs.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

class Timer {
 public:
  Timer(UINT_PTR id, UINT interval, std::function<void()> onTick)
      : id_(id), interval_(interval), onTick_(std::move(onTick)) {}
  ~Timer() { SetEnabled(false); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void Attach(HWND owner) { owner_ = owner; }
  UINT_PTR Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  UINT Interval() const { return interval_; }
  // What the owner runs when the timer fires.
  void Fire() const { onTick_(); }
  // (Re)arms the timer with a new interval, whether it ran or not: a one-shot wake-up is a timer
  // armed afresh at every firing.
  void Start(UINT interval) {
    interval_ = interval;
    enabled_ = owner_ && SetTimer(owner_, id_, interval_, nullptr) != 0;
  }
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
  std::function<void()> onTick_;
  HWND owner_ = nullptr;
  bool enabled_ = false;
};
