// An owner of one system handle, freed by its own call when the owner goes: icons, menus and
// kernel objects here, GDI objects in ui/gdi.h.
#pragma once

#include <windows.h>

#include <utility>

template <typename H, typename Free>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  void reset(H h = nullptr) {
    if (h_) Free{}(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, nullptr); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

struct DestroyIconCall {
  void operator()(HICON h) const { DestroyIcon(h); }
};
struct DestroyMenuCall {
  void operator()(HMENU h) const { DestroyMenu(h); }
};
struct CloseHandleCall {
  void operator()(HANDLE h) const { CloseHandle(h); }
};

using Icon = Owned<HICON, DestroyIconCall>;
// A menu that another menu holds goes with its holder: give it up (release) once appended.
using Menu = Owned<HMENU, DestroyMenuCall>;
// A kernel object whose failure is null (a mutex, a waitable timer), not a file's
// INVALID_HANDLE_VALUE.
using KernelHandle = Owned<HANDLE, CloseHandleCall>;
