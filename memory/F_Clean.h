// The memory cleaner: a window over the whole screen showing the screen as it was a moment
// before, seen through the filter colour, while the program claims about two thirds of
// physical memory, writes it and gives it back. It cleans once, at its first timer tick, and
// then unloads itself; a later load starts afresh with a new picture of the screen.
#pragma once

#include <memory>

#include "model/settings_store.h"
#include "memory/cleaner.h"
#include "memory/system_memory_win.h"
#include "memory/virtual_memory_win.h"
#include "ui/form.h"
#include "ui/picture_box.h"
#include "ui/timer.h"

class F_Clean : public Form, private CleanerWindow {
 public:
  explicit F_Clean(const SettingsStore& store) : store_(store) {}

  // Freezes and tints the screen, shows the window and starts the timer.
  void Form_Load();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Timer1_Timer();

  // What the cleaning borrows from the window.
  void StopTimer() override { Timer1.SetEnabled(false); }
  void ShowShortageMessage() override;
  void Close() override;

  const SettingsStore& store_;
  SystemMemory memory_;
  VirtualMemory allocator_;
  std::unique_ptr<ImageCanvas> image_;  // the window's persistent image
  Timer Timer1{1, 100, [this] { Timer1_Timer(); }};
};
