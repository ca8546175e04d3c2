// The drawn controls of a window that take the mouse (label-buttons, pictures, captions): which
// one lies under the pointer, and the one that holds the mouse from a press to its release.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class HitTargets {
 public:
  struct Target {
    const RECT* rect;  // the control's own, so it follows the control
    bool hand;         // shows the hand pointer
    std::function<bool()> enabled;
    std::function<void(int button)> down;  // 1 left, 2 right, 4 middle
    std::function<void(int button)> up;
    std::function<void()> move;
  };

  void Clear();
  // A later target lies above the earlier ones.
  void Add(Target t) { targets_.push_back(std::move(t)); }
  // The topmost enabled target at `p`, or nullptr.
  const Target* At(POINT p) const;
  // Whether the pointer over `p` shows the hand.
  bool HandAt(POINT p) const;

  // A press: the target under it takes the mouse until the release. False when none is there.
  bool Press(HWND window, POINT p, int button);
  void Move() const;
  void Release(HWND window, int button);
  // Forgets a press whose release will never come (the window closes).
  void Drop() { captured_ = nullptr; }

 private:
  std::vector<Target> targets_;
  const Target* captured_ = nullptr;
};
