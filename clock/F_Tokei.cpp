#include "clock/F_Tokei.h"

#include <algorithm>
#include <cmath>

#include "app/convert.h"
#include "app/ini_file.h"
#include "app/topmost_win.h"
#include "clock/face.h"
#include "ui/twips.h"

namespace {

const wchar_t kClassName[] = L"Tessarine_F_Tokei";
constexpr int kWidth = 81, kHeight = 137;  // Pic_b, and so the window
constexpr int kDialSize = 80;
constexpr int kPendulumTop = kDialSize + 4;

// Where the bob drawn last lies in the pendulum area.
RECT SpriteRect(const Pendulum& p) {
  return RECT{p.SpriteX(), p.SpriteY(), p.SpriteX() + BallSpriteSize,
              p.SpriteY() + BallSpriteSize};
}

}  // namespace

F_Tokei::F_Tokei(AppState& app, F_Sound& sound, Commands& commands)
    : app_(app), commands_(commands), alarm_(app.settings, sound, *this, app.StopRequested) {}

F_Tokei::~F_Tokei() = default;

void F_Tokei::Form_Load() {
  Settings& s = app_.settings;
  drag_.End();
  // No caption, no taskbar button: the clock is a small ornament on the desktop.
  if (!Create(kClassName, L"Tessarine", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, 0, 0,
              kWidth, kHeight))
    return;
  // A reload makes a new window: timers of the old one are gone with it. The memory check's
  // count keeps what its timer had slept through.
  SetMemoryCheck(false);
  for (Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5}) {
    t->SetEnabled(false);
    t->Attach(hwnd());
  }

  Pic_Tokei = std::make_unique<PictureBox>(hwnd(), 0, 0, kDialSize, kDialSize);
  Pic_Furiko = std::make_unique<PictureBox>(hwnd(), 0, kPendulumTop, kDialSize, 57);
  Pic_ball = std::make_unique<ImageCanvas>(BallSpriteSize, BallSpriteSize);
  Pic_Tokei->SetManualRefresh(true);
  Pic_Furiko->SetManualRefresh(true);

  // One source for the whole load: the file is read and parsed once.
  IniSettingsSource source(app_.IniPath);
  placeWindow(source);
  wireMouse();

  LoadSettings(s, source, app_.ProgramDir);
  ReadTopMost(s, source);
  tick_.Reset();
  lastTick_ = TickResult{};

  PaintDial(*Pic_Tokei, s);
  Pic_Furiko->SetBackColour(s.Color[0]);
  DrawBall(*Pic_ball, s.Color[5]);
  Pic_Furiko->Clear();

  pendulum_.Reset(Pic_Furiko->ScaleWidth());
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_);
  hiddenSince_ = GetTickCount64();  // the pendulum timer starts when the window is shown
  pendulumCarry_ = 0;

  alarm_.Reset();
  syncSoundTimers();
  Timer1.Start(1);  // the first tick at once, then at each second boundary
  SetMemoryCheck(true);

  Region region(CreateRoundRectRgn(0, 0, kWidth, kHeight, 15, 15));
  if (SetWindowRgn(hwnd(), region.get(), TRUE)) region.release();  // the window owns it now

  SetTopMost(hwnd(), s.TopMost);
  Show();
}

// The stored position, or the centre of the primary screen when none is stored or when the
// stored one lies on no monitor at all (a captionless window there could never be reached).
void F_Tokei::placeWindow(SettingsSource& source) {
  const std::int32_t screenW = GetSystemMetrics(SM_CXSCREEN) * kTwipsPerPixel;
  const std::int32_t screenH = GetSystemMetrics(SM_CYSCREEN) * kTwipsPerPixel;
  const std::int32_t centredX = (screenW - kWidth * kTwipsPerPixel) / 2;
  const std::int32_t centredY = (screenH - kHeight * kTwipsPerPixel) / 2;

  ReadPosition(source, L"Pos_X", centredX, PosX);
  ReadPosition(source, L"Pos_Y", centredY, PosY);

  RECT r{TwipsToPixels(PosX), TwipsToPixels(PosY), 0, 0};
  r.right = r.left + kWidth;
  r.bottom = r.top + kHeight;
  if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
    PosX = centredX;
    PosY = centredY;
  }
  SetWindowPos(hwnd(), nullptr, TwipsToPixels(PosX), TwipsToPixels(PosY), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void F_Tokei::wireMouse() {
  // Both boxes drag the window; only a press on the dial also stops a ringing alarm.
  PictureBox::MouseHandlers handlers;
  // Any other button opens the menu: from the pendulum area always, from the dial only while
  // the settings dialog is closed.
  handlers.down = [this](int button) {
    if (button == 1)
      drag_.Start(hwnd());
    else
      commands_.OpenMenu(MenuPlace::Clock);
  };
  handlers.move = [this] {
    POINT corner;
    if (drag_.Follow(hwnd(), &corner)) {
      PosX = corner.x;
      PosY = corner.y;
    }
  };
  handlers.up = [this] { drag_.End(); };
  Pic_Furiko->SetMouseHandlers(handlers);
  handlers.down = [this](int button) {
    StopSound();
    if (button == 1)
      drag_.Start(hwnd());
    else if (!app_.SettingsDialogOpen)
      commands_.OpenMenu(MenuPlace::Clock);
  };
  Pic_Tokei->SetMouseHandlers(handlers);
}

void F_Tokei::Timer1_Timer() {
  handleTick();
  // Woken again just past the next second boundary: once a second instead of ten times.
  SYSTEMTIME now;
  GetLocalTime(&now);
  Timer1.Start(static_cast<UINT>(TickDelay(now.wMilliseconds)));
}

void F_Tokei::handleTick() {
  SYSTEMTIME now;
  GetLocalTime(&now);  // once per tick, so hour, minute and second belong together
  const TickResult t = tick_.Tick(now.wHour, now.wMinute, now.wSecond);
  if (!t.Handled) return;
  alarm_.OnTick(t.MinuteChanged, t.ClockHour, t.ClockMinute);
  syncSoundTimers();
  lastTick_ = t;
  if (!IsWindowVisible(hwnd())) return;  // in the tray: drawn when shown again
  DrawHands(*Pic_Tokei, t.ClockHour, t.ClockMinute, t.ClockSecond, app_.settings);
  Pic_Tokei->Refresh();
}

void F_Tokei::Timer2_Timer() {
  // Only the bob's old and new squares change on the screen.
  const RECT before = SpriteRect(pendulum_);
  pendulum_.Step();
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_);
  const RECT after = SpriteRect(pendulum_);
  RECT area;
  UnionRect(&area, &before, &after);
  Pic_Furiko->Refresh(&area);
}

// A hidden clock draws nothing and its pendulum timer sleeps; the paint that shows it again
// must show the time and the swing as they are now, so the swing is first stepped through the
// frames it missed.
void F_Tokei::onShown(bool shown) {
  if (!shown) {
    Timer2.SetEnabled(false);
    hiddenSince_ = GetTickCount64();
    return;
  }
  const auto hidden = static_cast<long long>(GetTickCount64() - hiddenSince_);
  for (int n = StepsDue(hidden, pendulumCarry_); n > 0; --n) pendulum_.Step();
  drawCurrentState();
  Timer2.SetEnabled(true);
}

void F_Tokei::drawCurrentState() {
  if (lastTick_.Handled)
    DrawHands(*Pic_Tokei, lastTick_.ClockHour, lastTick_.ClockMinute, lastTick_.ClockSecond,
              app_.settings);
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_);
}

// The check's timer sleeps until the next check is due instead of counting every second.
void F_Tokei::Timer3_Timer() {
  const Settings& s = app_.settings;
  const bool open = memoryCheck_.Advance(memArmedSeconds_, s.Mem_Ival, s.Mem_Kagen, memory_);
  armMemoryCheck();
  // Does not wait for the cleaner: it cleans at its own first tick.
  if (open) commands_.OpenCleaner();
}

void F_Tokei::armMemoryCheck() {
  memArmedSeconds_ = memoryCheck_.SecondsToNext(app_.settings.Mem_Ival);
  memArmedAt_ = GetTickCount64();
  if (memArmedSeconds_ > 0) Timer3.Start(static_cast<UINT>(memArmedSeconds_) * 1000u);
}

bool F_Tokei::FileExists(const std::wstring& path) {
  IniSettingsSource source(app_.IniPath);
  return ::FileExists(source, path);
}

void F_Tokei::SetMemoryCheck(bool on) {
  // A machine too small to clean, or an interval of 0, never checks memory.
  if (app_.settings.Mem_Ival == 0 || TooSmallToClean(memory_)) on = false;
  if (on == Timer3.Enabled()) return;
  if (on) {
    armMemoryCheck();
    return;
  }
  // The whole seconds slept so far still count; the check itself waits for the timer.
  const auto slept = static_cast<int>((GetTickCount64() - memArmedAt_) / 1000);
  memoryCheck_.Advance(std::min(slept, memArmedSeconds_ - 1), app_.settings.Mem_Ival,
                       app_.settings.Mem_Kagen, memory_);
  Timer3.SetEnabled(false);
}

void F_Tokei::QueryUnload() { SavePlacement(); }

void F_Tokei::SavePlacement() {
  if (!Loaded()) return;
  RECT r;
  if (!GetWindowRect(hwnd(), &r)) return;
  Settings& s = app_.settings;
  // One replace of the file for all three, so a kill cannot keep half a move.
  s.LastApiResult = WriteIniKeys(kSettingsSection,
                                 {{L"Pos_X", NumberText(r.left * kTwipsPerPixel)},
                                  {L"Pos_Y", NumberText(r.top * kTwipsPerPixel)},
                                  {L"TopMost", NumberText(s.TopMost)}},
                                 app_.IniPath);
}

LRESULT F_Tokei::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == Timer1.Id()) Timer1_Timer();
      else if (wp == Timer2.Id()) Timer2_Timer();
      else if (wp == Timer3.Id()) Timer3_Timer();
      else if (wp == Timer4.Id()) Timer4_Timer();
      else if (wp == Timer5.Id()) Timer5_Timer();
      return 0;
    case WM_SHOWWINDOW:
      onShown(wp != 0);
      break;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE || wp == VK_SPACE) StopSound();
      return 0;
    case WM_ERASEBKGND: {
      // Pic_b: the window's own background, seen between and below the boxes.
      RECT r;
      GetClientRect(hwnd(), &r);
      Brush b(CreateSolidBrush(ToColorRef(app_.settings.Color[0])));
      FillRect(reinterpret_cast<HDC>(wp), &r, b.get());
      return 1;
    }
    case WM_CLOSE:
      Unload();
      PostQuitMessage(0);
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}
