// The ringing window: a small window above the others that names the alarm ringing now and
// answers it with two buttons, ｽﾇｰｽﾞ (the default) and 停止. It opens beside the clock, or by
// the notification area while the clock is in the tray, without taking the keyboard from what
// the user is typing; Alt+Tab or a click reaches it, and then Tab, Enter and Esc work as in a
// dialog, even while another window's loop runs (an alarm's window, a chooser, a message). It
// tells a screen reader it opened. It closes whenever the ring ends, however it
// ends.
#pragma once

#include <windows.h>

#include <optional>

#include "model/commands.h"
#include "shell/ring_layout.h"
#include "ui/accessible.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/key_route.h"

class F_Ring : public Form, private AccessibleSource {
 public:
  explicit F_Ring(Commands& commands);
  ~F_Ring() override;

  // Opens the window for `ring` beside the window `clock`, or with none by the notification
  // area; open already, it shows the new notice where it is.
  void Form_Load(const RingNotice& ring, HWND clock);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  void createControls();
  void layOut();
  int labelLines() const;
  ring_layout::Boxes boxes() const;
  void showNotice();
  void setDefault(HWND button);
  void cmdSnooze_Click();
  void cmdStop_Click();
  // The dialog keys while the window or a button of it has them, whatever loop is running:
  // true when the key was used.
  bool PreTranslate(const MSG& msg);

  // What a reader reads: an alert named by the alarm, its time and label; the headline, the
  // label, the two buttons and the line naming the alarms due with it as its children.
  int AccessibleCount() override { return 5; }
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  Commands& commands_;
  RingNotice ring_;
  Font font_, boldFont_;
  HWND lblHeadline_ = nullptr, lblLabel_ = nullptr, lblOthers_ = nullptr;
  HWND cmdSnooze_ = nullptr, cmdStop_ = nullptr;
  HWND focus_ = nullptr;  // the button that had the keyboard when the window last lost it
  AccessibleServer access_{*this};
  KeyHandler keys_{[this](const MSG& msg) { return PreTranslate(msg); }};
};
