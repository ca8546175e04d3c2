// The window class of an alarm's own settings window (see alarm_options_win.h), shared by its
// sources: the window, its time band and what it tells a reader.
#pragma once

#include "settings/alarm_options_win.h"

#include <string>
#include <vector>

#include "settings/alarm_options.h"
#include "ui/accessible.h"
#include "ui/form.h"
#include "ui/gdi.h"
#include "ui/timer.h"

namespace alarm_options_window {

namespace ao = alarm_options;
using ao::Id;

// A control's id: its row of the table, past this; OK and cancel keep the dialog ids the
// dialog keys send.
constexpr int kFirstChildId = 100;

class F_AlarmOptions : public Form, private AccessibleSource {
 public:
  F_AlarmOptions(int alarm, const AlarmOptionsEdit& current, bool cd, int dpi,
                 Commands& commands, const std::wstring& file)
      : alarm_(alarm), edit_(current), cd_(cd), full_(current.timeSound.has_value()),
        commands_(commands) {
    if (full_) cd_ = current.timeSound->kind == 1;
    SetDpi(dpi);
    sound_.alarm = alarm;
    sound_.kind = cd ? 1 : 2;
    sound_.file = file;
    ServeReaders(access_);
    UseDialogFace();
  }
  ~F_AlarmOptions() override {
    if (testing_) commands_.StopSoundTest();
  }

  bool Open(HWND owner);
  bool Done() const { return done_; }
  const std::optional<AlarmOptionsEdit>& Result() const { return result_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override { stopTest(); }
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  int rowOf(const ao::Control& c) const {
    return static_cast<int>(&c - ao::Controls().data());
  }
  const ao::Control& find(Id id, int index = 0) const {
    for (const ao::Control& c : ao::Controls())
      if (c.id == id && c.index == index) return c;
    return ao::Controls().front();
  }
  HWND window(Id id, int index = 0) const { return windows_[rowOf(find(id, index))]; }
  void createControls();
  // The time band (F_AlarmOptions_time.cpp): filled, its kind followed, read back at OK.
  void fillTimeSound();
  void kindChosen();
  void browse();
  void finishTimeSound(AlarmOptionsEdit& e) const;
  std::wstring textOf(Id id) const;
  ui::Box place(const ao::Control& c) const { return ao::Place(c, full_); }
  void makeFont();
  void fill();
  void showDays();
  int sliderValue(Id id) const;
  void sliderMoved(HWND slider);
  void onCommand(int id, int code, HWND control);
  void finish(bool ok);
  void playTest();
  void stopTest();
  // While an alarm rings 試聴 is grey, with the note that says why; checked every second while
  // the window is open.
  void showTestRefused(bool refused);
  void Timer1_Timer();
  // 試聴 becomes 停止 while the test plays.
  void showTesting(bool on);
  std::wstring valueOf(const ao::Control& c) const;
  long stateOf(const ao::Control& c) const;

  int AccessibleCount() override { return static_cast<int>(ao::Controls().size()); }
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  int alarm_;
  AlarmOptionsEdit edit_;
  bool cd_;
  bool full_;  // with the time band
  std::int16_t days_ = AlarmOptions::kEveryDay;
  Font font_;
  std::vector<HWND> windows_;  // one per row of the table
  HWND lastFocus_ = nullptr;   // given back when the window is activated again
  bool done_ = false;
  std::optional<AlarmOptionsEdit> result_;
  Commands& commands_;
  SoundTest sound_;       // what 試聴 plays: the alarm's sound as the dialog holds it
  bool testing_ = false;  // the test plays
  bool refused_ = false;  // 試聴 is grey for a ringing alarm
  Timer Timer1{1, 1000, [this] { Timer1_Timer(); }};
  AccessibleServer access_{*this};
};

}  // namespace alarm_options_window
