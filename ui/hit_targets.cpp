#include "ui/hit_targets.h"

void HitTargets::Clear() {
  targets_.clear();
  captured_ = nullptr;
}

const HitTargets::Target* HitTargets::At(POINT p) const {
  for (auto it = targets_.rbegin(); it != targets_.rend(); ++it) {
    if (PtInRect(it->rect, p) && (!it->enabled || it->enabled())) return &*it;
  }
  return nullptr;
}

bool HitTargets::HandAt(POINT p) const {
  const Target* t = At(p);
  return t && t->hand;
}

bool HitTargets::Press(HWND window, POINT p, int button) {
  const Target* t = At(p);
  if (!t) return false;
  captured_ = t;
  SetCapture(window);
  if (t->down) t->down(button);
  return true;
}

void HitTargets::Move() const {
  if (captured_ && captured_->move) captured_->move();
}

void HitTargets::Release(HWND window, int button) {
  const Target* t = captured_;
  captured_ = nullptr;
  if (GetCapture() == window) ReleaseCapture();
  if (t && t->up) t->up(button);
}
