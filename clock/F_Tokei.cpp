#include "clock/F_Tokei.h"

#include <cmath>

#include "app/convert.h"
#include "app/ini_file.h"
#include "app/topmost_win.h"
#include "clock/face.h"
#include "ui/screen_dpi.h"
#include "ui/twips.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

const wchar_t kClassName[] = L"Tessarine_F_Tokei";
// Pixels at 96 DPI; every other density scales them.
constexpr int kWidth = 81, kHeight = 137;  // Pic_b, and so the window
constexpr int kDialSize = 80;
constexpr int kPendulumTop = kDialSize + 4;
constexpr int kPendulumHeight = 57;  // below the window's bottom edge in part
constexpr int kCorner = 15;          // the region's corner ellipse
// The numerals' font: 12 pixels of the Japanese user-interface font, small enough for twelve
// numerals to stand clear of each other inside the dial.
const wchar_t kNumeralFont[] = L"MS UI Gothic";
constexpr int kNumeralPixels = 12;

// Where the bob drawn last lies in the pendulum area.
RECT SpriteRect(const Pendulum& p) {
  return RECT{p.SpriteX(), p.SpriteY(), p.SpriteX() + p.SpriteSize, p.SpriteY() + p.SpriteSize};
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
  // A reload makes a new window: timers of the old one are gone with it.
  for (Timer* t : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5}) {
    t->SetEnabled(false);
    t->Attach(hwnd());
  }

  // One source for the whole load: the file is read and parsed once.
  IniSettingsSource source(app_.IniPath);
  placeWindow(source);

  LoadSettings(s, source, app_.ProgramDir);
  ReadTopMost(s, source);
  tick_.Reset();
  lastTick_ = TickResult{};

  // Drawn at the density of the monitor the stored position lies on.
  dpi_ = WindowDpi(hwnd());
  buildFace();
  pendulum_.Reset(Pic_Furiko->ScaleWidth(), 0.5, dpi_);
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_);

  alarm_.Reset();
  syncSoundTimers();
  Timer1.SetEnabled(true);
  Timer2.SetEnabled(true);
  SetMemoryCheck(true);

  SetTopMost(hwnd(), s.TopMost);
  Show();
}

// Sizes the window for dpi_ and makes everything on it anew at that density: the boxes, the
// frozen dial, the bob sprite and the region. The pendulum's swing is the caller's.
void F_Tokei::buildFace() {
  const Settings& s = app_.settings;
  const int width = ScaleToDpi(kWidth, dpi_), height = ScaleToDpi(kHeight, dpi_);
  SetWindowPos(hwnd(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int dial = ScaleToDpi(kDialSize, dpi_);
  Pic_Tokei.reset();
  Pic_Furiko.reset();
  Pic_Tokei = std::make_unique<PictureBox>(hwnd(), 0, 0, dial, dial);
  Pic_Furiko = std::make_unique<PictureBox>(hwnd(), 0, ScaleToDpi(kPendulumTop, dpi_), dial,
                                            ScaleToDpi(kPendulumHeight, dpi_));
  Pic_ball = std::make_unique<ImageCanvas>(ScaleToDpi(BallSpriteSize, dpi_),
                                           ScaleToDpi(BallSpriteSize, dpi_));
  Pic_Tokei->SetManualRefresh(true);
  Pic_Furiko->SetManualRefresh(true);
  Pic_Tokei->SetFont(kNumeralFont, ScaleToDpi(kNumeralPixels, dpi_), DEFAULT_CHARSET);
  wireMouse();

  DialLook look = ClockDialLook(s);
  look.dpi = dpi_;
  PaintDial(*Pic_Tokei, look);
  Pic_Furiko->SetBackColour(s.Color[0]);
  DrawBall(*Pic_ball, s.Color[5], dpi_);
  Pic_Furiko->Clear();

  const int corner = ScaleToDpi(kCorner, dpi_);
  Region region(CreateRoundRectRgn(0, 0, width, height, corner, corner));
  if (SetWindowRgn(hwnd(), region.get(), TRUE)) region.release();  // the window owns it now
}

// A move to a monitor of another density: the system suggests the rectangle, and the clock is
// drawn anew for it rather than stretched.
void F_Tokei::onDpiChanged(int dpi, const RECT& suggested) {
  drag_.End();
  dpi_ = dpi;
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  buildFace();
  pendulum_.SetDpi(Pic_Furiko->ScaleWidth(), dpi_);
  drawCurrentState();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The stored position, or the centre of the primary screen when none is stored or when the
// stored one lies on no monitor at all (a captionless window there could never be reached).
// Twips are those of the system DPI, whichever monitor the clock ends up on.
void F_Tokei::placeWindow(SettingsSource& source) {
  const int dpi = SystemDpi();
  const std::int32_t screenW = PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi);
  const std::int32_t screenH = PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi);
  const int width = ScaleToDpi(kWidth, dpi), height = ScaleToDpi(kHeight, dpi);
  const std::int32_t centredX = (screenW - PixelsToTwips(width, dpi)) / 2;
  const std::int32_t centredY = (screenH - PixelsToTwips(height, dpi)) / 2;

  ReadPosition(source, L"Pos_X", centredX, PosX);
  ReadPosition(source, L"Pos_Y", centredY, PosY);

  RECT r{TwipsToPixels(PosX, dpi), TwipsToPixels(PosY, dpi), 0, 0};
  r.right = r.left + width;
  r.bottom = r.top + height;
  if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
    PosX = centredX;
    PosY = centredY;
  }
  SetWindowPos(hwnd(), nullptr, TwipsToPixels(PosX, dpi), TwipsToPixels(PosY, dpi), 0, 0,
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
  if (!IsWindowVisible(hwnd())) return;  // the swing goes on unseen
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_);
  const RECT after = SpriteRect(pendulum_);
  RECT area;
  UnionRect(&area, &before, &after);
  Pic_Furiko->Refresh(&area);
}

// A hidden clock draws nothing; the paint that shows it again must show the time and the
// swing as they are now, not as they were when it was hidden.
void F_Tokei::drawCurrentState() {
  if (lastTick_.Handled)
    DrawHands(*Pic_Tokei, lastTick_.ClockHour, lastTick_.ClockMinute, lastTick_.ClockSecond,
              app_.settings);
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_);
}

void F_Tokei::Timer3_Timer() {
  // Does not wait for the cleaner: it cleans at its own first tick.
  if (memoryCheck_.Tick(app_.settings.Mem_Ival, app_.settings.Mem_Kagen, memory_))
    commands_.OpenCleaner();
}

bool F_Tokei::FileExists(const std::wstring& path) {
  IniSettingsSource source(app_.IniPath);
  return ::FileExists(source, path);
}

void F_Tokei::SetMemoryCheck(bool on) {
  // A machine too small to clean, or an interval of 0, never checks memory.
  if (app_.settings.Mem_Ival == 0 || TooSmallToClean(memory_)) on = false;
  Timer3.SetEnabled(on);
}

void F_Tokei::QueryUnload() { SavePlacement(); }

void F_Tokei::SavePlacement() {
  if (!Loaded()) return;
  RECT r;
  if (!GetWindowRect(hwnd(), &r)) return;
  Settings& s = app_.settings;
  const int dpi = SystemDpi();
  // One replace of the file for all three, so a kill cannot keep half a move.
  s.LastApiResult = WriteIniKeys(kSettingsSection,
                                 {{L"Pos_X", NumberText(PixelsToTwips(r.left, dpi))},
                                  {L"Pos_Y", NumberText(PixelsToTwips(r.top, dpi))},
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
      if (wp) drawCurrentState();
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
    case WM_DPICHANGED:
      onDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}
