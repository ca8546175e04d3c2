// The clock window: a captionless 81 x 137 window cut to a rounded rectangle, with the dial
// on top and the pendulum area below. It loads the settings, paints and freezes the dial,
// runs the one-second tick and the pendulum, and lets the user drag it about. Its position
// and on-top state are written back when it is unloaded.
#pragma once

#include <cstdint>
#include <memory>

#include "app/app_state.h"
#include "clock/pendulum.h"
#include "clock/tick.h"
#include "memory/system_memory_win.h"
#include "ui/form.h"
#include "ui/picture_box.h"
#include "ui/timer.h"

class F_Tokei : public Form {
 public:
  explicit F_Tokei(AppState& app);
  ~F_Tokei() override;

  // Creates the window and everything on it, then shows it.
  void Form_Load();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override;

 private:
  void placeWindow();
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void startDrag();
  void dragMove();

  AppState& app_;
  SystemMemory memory_;

  std::unique_ptr<PictureBox> Pic_Tokei;
  std::unique_ptr<PictureBox> Pic_Furiko;
  std::unique_ptr<ImageCanvas> Pic_ball;  // the bob sprite, never shown itself
  Timer Timer1{1, 100};
  Timer Timer2{2, 100};
  Timer Timer3{3, 1000};
  Timer Timer4{4, 1000};
  Timer Timer5{5, 200};

  std::int32_t PosX = 0, PosY = 0;  // twips
  std::int16_t Dragging = 0;
  std::int32_t DragOffsetX = 0, DragOffsetY = 0;
  int MemCheckCount = 0;
  ClockTick tick_;
  Pendulum pendulum_;
};
