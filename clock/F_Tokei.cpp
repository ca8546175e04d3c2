#include "clock/F_Tokei.h"

#include <cmath>
#include <cwchar>

#include "clock/face.h"
#include "clock/reading.h"
#include "model/convert.h"
#include "model/texts.h"
#include "ui/screen_dpi.h"
#include "ui/topmost.h"
#include "ui/twips.h"
#include "ui/window_names.h"

namespace {

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

// The left and top, in twips, that centre the clock on a monitor, rounded as at start-up.
POINT CentredOn(HMONITOR monitor) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(monitor, &mi))
    SetRect(&mi.rcMonitor, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const RECT& m = mi.rcMonitor;
  // The window's size at the system DPI; the place in twips of 96 DPI, as the file keeps it.
  const int dpi = SystemDpi(), place = 96;
  const int width = ScaleToDpi(kWidth, dpi), height = ScaleToDpi(kHeight, dpi);
  return POINT{PixelsToTwips(m.left, place) + PixelsToTwips(m.right - m.left - width, place) / 2,
               PixelsToTwips(m.top, place) + PixelsToTwips(m.bottom - m.top - height, place) / 2};
}

std::int64_t LocalMinuteOf(const SYSTEMTIME& t) {
  return LocalMinute({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute});
}

// Where the bob drawn last lies in the pendulum area.
RECT SpriteRect(const Pendulum& p) {
  return RECT{p.SpriteX(), p.SpriteY(), p.SpriteX() + p.SpriteSize, p.SpriteY() + p.SpriteSize};
}

}  // namespace

F_Tokei::F_Tokei(SettingsStore& store, AlarmService& alarms, Commands& commands)
    : store_(store), alarms_(alarms), commands_(commands) {
  alarms_.Listen(*this);
  ServeReaders(access_);
}

F_Tokei::~F_Tokei() {
  access_.Disconnect();
  if (owner_) DestroyWindow(owner_);
}

void F_Tokei::Form_Load(bool shown) {
  const Settings& s = store_.Get();
  drag_.End();
  // No caption, no taskbar button: the clock is a small ornament on the desktop, reached by
  // Alt+Tab.
  if (!Create(kClockWindowClass, L"Tessarine", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, kWidth,
              kHeight, owner()))
    return;
  // A reload makes a new window: timers of the old one are gone with it. The memory check's
  // count keeps what its timer had slept through.
  SetMemoryCheck(false);
  for (Timer* t : {&Timer1, &Timer2, &Timer3}) {
    t->SetEnabled(false);
    AttachTimer(*t);
  }

  placeWindow();
  acceptOutsideMessages();
  watchWhetherSeen();
  tick_.Reset();
  lastTick_ = TickResult{};

  // Drawn at the density of the monitor the stored position lies on.
  dpi_ = WindowDpi(hwnd());
  buildFace();
  pendulum_.Reset(Pic_Furiko->ScaleWidth(), 0.5, dpi_);
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_, ballMode());
  schedule_.Load(GetTickCount64());  // the pendulum's frames start when the window is shown

  loading_ = true;
  Timer1_Timer();  // the hands are on the dial before it is shown
  SetMemoryCheck(true);

  SetTopMost(hwnd(), s.TopMost);
  ApplyLook();
  if (shown) Show();
  loading_ = false;
  tellReaderOfRing();  // an alarm due at the start: its window beside the clock, not before it
}

// Sizes the window for dpi_ and makes everything on it anew at that density: the boxes, the
// frozen dial, the bob sprite and the region. The pendulum's swing is the caller's.
void F_Tokei::buildFace() {
  const Settings& s = store_.Get();
  const int width = ScaleToDpi(kWidth, dpi_), height = ScaleToDpi(kHeight, dpi_);
  SetWindowPos(hwnd(), nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int dial = ScaleToDpi(kDialSize, dpi_);
  dropZoneTip();  // its tool is the old dial
  Pic_Tokei.reset();
  Pic_Furiko.reset();
  Pic_Tokei = std::make_unique<PictureBox>(hwnd(), 0, 0, dial, dial);
  Pic_Furiko = std::make_unique<PictureBox>(hwnd(), 0, ScaleToDpi(kPendulumTop, dpi_), dial,
                                            ScaleToDpi(kPendulumHeight, dpi_));
  Pic_ball = std::make_unique<ImageCanvas>(ScaleToDpi(BallSpriteSize, dpi_),
                                           ScaleToDpi(BallSpriteSize, dpi_));
  Pic_Tokei->SetManualRefresh(true);
  Pic_Furiko->SetManualRefresh(true);
  palette_ = facePalette();
  const auto& colour = palette_.colour;
  // Smoothed numerals would blend colours that high contrast keeps apart.
  Pic_Tokei->SetFont(kNumeralFont, ScaleToDpi(kNumeralPixels, dpi_), DEFAULT_CHARSET,
                     palette_.flat ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY);
  wireMouse();

  DialLook look = ClockDialLook(s);
  look.background = colour[0];
  look.numerals = colour[1];
  look.flat = palette_.flat;
  look.dpi = dpi_;
  PaintDial(*Pic_Tokei, look);
  Pic_Furiko->SetBackColour(colour[0]);
  if (palette_.flat)
    DrawFlatBall(*Pic_ball, colour[0], colour[5]);
  else
    DrawBall(*Pic_ball, colour[5], dpi_);
  Pic_Furiko->Clear();

  const int corner = ScaleToDpi(kCorner, dpi_);
  Region region(CreateRoundRectRgn(0, 0, width, height, corner, corner));
  if (SetWindowRgn(hwnd(), region.get(), TRUE)) region.release();  // the window owns it now
}

// A move to a monitor of another density: the system suggests the rectangle, and the clock is
// drawn anew for it rather than stretched.
void F_Tokei::OnDpiChanged(int dpi, const RECT& suggested) {
  drag_.End();
  dpi_ = dpi;
  MoveTo(suggested);
  buildFace();
  pendulum_.SetDpi(Pic_Furiko->ScaleWidth(), dpi_);
  drawCurrentState();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The stored position, or the centre of the primary screen when none is stored.
void F_Tokei::placeWindow() {
  const POINT centre = CentredOn(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
  const Placement& where = store_.Where();
  PosX = where.x.value_or(centre.x);
  PosY = where.y.value_or(centre.y);
  moveWindow();
  keepOnAMonitor();
}

void F_Tokei::moveWindow() {
  const int dpi = kPlaceDpi;
  SetWindowPos(hwnd(), nullptr, TwipsToPixels(PosX, dpi), TwipsToPixels(PosY, dpi), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A captionless window on no monitor could never be reached: a stored position from another
// screen layout, or a monitor unplugged while the clock runs, puts it at the centre of the
// nearest monitor.
void F_Tokei::keepOnAMonitor() {
  RECT r;
  if (!GetWindowRect(hwnd(), &r) || MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return;
  const POINT centre = CentredOn(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
  PosX = centre.x;
  PosY = centre.y;
  moveWindow();
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
    stopSound();
    if (button == 1)
      drag_.Start(hwnd());
    else if (!commands_.SettingsDialogOpen())
      commands_.OpenMenu(MenuPlace::Clock);
  };
  handlers.move = [this, follow = handlers.move] {
    follow();
    if (!zoneTip_) showZoneTip();
  };
  Pic_Tokei->SetMouseHandlers(handlers);
}

void F_Tokei::stopSound() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  alarms_.Stop(LocalMinuteOf(now));
}

void F_Tokei::RingChanged() {
  tellReaderOfRing();
  if (!Loaded()) return;
  ApplyLook();
  SYSTEMTIME now;
  GetLocalTime(&now);
  showRinging(now.wSecond);
  if (alarms_.RingingSilently() != tickEverySecond_) armTick(now);
}

void F_Tokei::NextRingChanged(const std::wstring&) {
  if (!Loaded()) return;
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
  // A snooze set, rung or cancelled: the hidden tick wakes for its second, or no more.
  SYSTEMTIME now;
  GetLocalTime(&now);
  armTick(now);
}

void F_Tokei::Timer1_Timer() {
  SYSTEMTIME now;
  GetLocalTime(&now);  // once per tick, so hour, minute and second belong together
  handleTick(now);
  armTick(now);
}

// Hidden, woken just past the next minute's turn or a snooze's second, whichever comes first
// (every second only while the tray icon must alternate). A shown clock needs no wake of its
// own: its pendulum frames carry the tick.
void F_Tokei::armTick(const SYSTEMTIME& now) {
  tickEverySecond_ = alarms_.RingingSilently();
  const std::int64_t delay =
      schedule_.TickDelay(now.wSecond * 1000 + now.wMilliseconds, tickEverySecond_,
                          alarms_.SnoozeSecond(LocalMinuteOf(now), now.wSecond));
  if (delay == ClockSchedule::kNone)
    Timer1.SetEnabled(false);
  else
    Timer1.Start(static_cast<UINT>(delay));
}

void F_Tokei::handleTick(const SYSTEMTIME& now) {
  const TickResult t = tick_.Tick(now.wHour, now.wMinute, now.wSecond);
  if (!t.Handled) return;
  // A new minute may come after a jump of the clock, which also moves the alarms' UTC time.
  alarms_.OnTick(LocalMinuteOf(now), now.wSecond);
  // A reader hears of the time once a minute, when the minute hand moves.
  const bool newMinute = t.ClockMinute != lastTick_.ClockMinute || t.ClockHour != lastTick_.ClockHour;
  lastTick_ = t;
  if (newMinute && !refreshZones())
    AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
  tellReaderOfRing();
  showRinging(t.ClockSecond);
  if (!IsWindowVisible(hwnd())) return;  // in the tray: drawn when shown again
  drawDial(t);
  Pic_Tokei->Refresh();
}

void F_Tokei::tellReaderOfRing() {
  const int ringing = alarms_.RingingAlarm();
  if (loading_ || ringing == toldRinging_) return;
  toldRinging_ = ringing;
  commands_.ShowRingWindow(alarms_.Ringing());
  if (Loaded()) AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, CHILDID_SELF);
}

void F_Tokei::drawDial(const TickResult& t) {
  const auto& c = palette_.colour;
  DrawHands(*Pic_Tokei, t.ClockHour, t.ClockMinute, t.ClockSecond, c[2], c[3], c[4]);
  if (alarms_.RingingSilently()) DrawRingingSign(*Pic_Tokei, dpi_, palette_.ringingRim);
}

void F_Tokei::showRinging(int second) {
  const bool ringing = alarms_.RingingSilently();
  if (!ringing && !trayRinging_) return;
  trayRinging_ = ringing;
  commands_.ShowTrayRinging(ringing && second % 2 == 0);
}

void F_Tokei::Timer2_Timer() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  armFrame(now);
  runFrame(now);
}

DWORD F_Tokei::FrameWait() {
  if (!schedule_.FramesOn() || !Loaded()) return INFINITE;
  if (schedule_.FramesToLoop()) Timer2.SetEnabled(false);
  return static_cast<DWORD>(schedule_.FrameIn(GetTickCount64()));
}

void F_Tokei::Frame() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  runFrame(now);
}

void F_Tokei::FramesToTimer() {
  if (!schedule_.FramesToTimer() || !Loaded()) return;
  Timer2.Start(static_cast<UINT>(schedule_.FrameIn(GetTickCount64())));
}

void F_Tokei::runFrame(const SYSTEMTIME& now) {
  schedule_.FrameRan(GetTickCount64(), now.wMilliseconds);
  handleTick(now);

  // Only the bob's old and new squares change on the screen, and near the ends of the swing
  // often not even those.
  const RECT before = SpriteRect(pendulum_);
  const bool rightward = pendulum_.PendVX > 0;
  pendulum_.Step();
  if (rightward != (pendulum_.PendVX > 0)) alarms_.Swing();
  const RECT after = SpriteRect(pendulum_);
  if (EqualRect(&before, &after)) return;
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_, ballMode());
  RECT area;
  UnionRect(&area, &before, &after);
  Pic_Furiko->Refresh(&area);
}

// A hidden clock draws nothing and its pendulum timer sleeps; the paint that shows it again
// must show the time and the swing as they are now, so the swing is first stepped through the
// frames it missed.
void F_Tokei::onShown(bool shown) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  framesChanged(schedule_.SetShown(shown, GetTickCount64(), now.wMilliseconds), now);
}

// Shown and seen, the frames run from the time as it is now; else the tick sleeps to the minute.
void F_Tokei::framesChanged(int missed, const SYSTEMTIME& now) {
  if (!schedule_.FramesOn()) {
    Timer2.SetEnabled(false);
    armTick(now);
    return;
  }
  for (int n = missed; n > 0; --n) pendulum_.Step();
  handleTick(now);  // hidden, it ticked once a minute: the hands as they are now
  drawCurrentState();
  Pic_Tokei->Refresh();  // seen again while shown: no paint comes by itself
  Pic_Furiko->Refresh();
  if (!schedule_.FramesInLoop()) armFrame(now);
  armTick(now);
}

// Armed afresh only to put the next frame back in its place: a frame in step costs no call.
void F_Tokei::armFrame(const SYSTEMTIME& now) {
  const auto next = static_cast<UINT>(ClockSchedule::FrameTimerDelay(now.wMilliseconds));
  if (!Timer2.Enabled() || next != Timer2.Interval()) Timer2.Start(next);
}

void F_Tokei::drawCurrentState() {
  if (lastTick_.Handled) drawDial(lastTick_);
  DrawPendulum(*Pic_Furiko, *Pic_ball, pendulum_, ballMode());
}

// The check's timer sleeps until the next check is due instead of counting every second.
void F_Tokei::Timer3_Timer() {
  const Settings& s = store_.Get();
  const ULONGLONG now = GetTickCount64();
  const bool open = schedule_.RunMemoryCheck(now, s.Mem_Ival, s.Mem_Kagen, memory_);
  armMemoryCheck(now);
  // Does not wait for the cleaner: it cleans at its own first tick.
  if (open) commands_.OpenCleaner();
}

void F_Tokei::armMemoryCheck(ULONGLONG now) {
  const std::int64_t in = schedule_.MemoryIn(now);
  if (in != ClockSchedule::kNone) Timer3.Start(static_cast<UINT>(in));
}

void F_Tokei::TimeMoved() {
  if (!Loaded()) return;
  Timer1_Timer();
  refreshZones();  // a new zone here moves the others' days, not their times
  SYSTEMTIME now;
  GetLocalTime(&now);
  alarms_.TimeMoved(LocalMinuteOf(now));
}

void F_Tokei::SetMemoryCheck(bool on) {
  // A machine too small to clean, or an interval of 0, never checks memory.
  if (store_.Get().Mem_Ival == 0 || TooSmallToClean(memory_)) on = false;
  if (on == schedule_.MemoryOnNow()) return;
  const ULONGLONG now = GetTickCount64();
  if (on) {
    schedule_.MemoryOn(store_.Get().Mem_Ival, now);
    armMemoryCheck(now);
    return;
  }
  schedule_.MemoryOff(now, store_.Get().Mem_Ival, store_.Get().Mem_Kagen, memory_);
  Timer3.SetEnabled(false);
}

void F_Tokei::QueryUnload() {
  unwatchWhetherSeen();
  SavePlacement();
  dropZoneTip();
}

void F_Tokei::SavePlacement() {
  if (!Loaded()) return;
  RECT r;
  if (!GetWindowRect(hwnd(), &r)) return;
  const int dpi = kPlaceDpi;
  store_.SetPlacement(PixelsToTwips(r.left, dpi), PixelsToTwips(r.top, dpi));
}

LRESULT F_Tokei::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT answer = 0;
  if (outsideMessage(msg, wp, lp, answer)) return answer;
  switch (msg) {
    case WM_SHOWWINDOW:
      onShown(wp != 0);
      break;
    case WM_POWERBROADCAST:
      if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) TimeMoved();
      if (wp == PBT_POWERSETTINGCHANGE) onDisplayState(lp);
      return TRUE;
    case WM_TIMECHANGE:
      TimeMoved();
      return 0;
    case WM_SYSCOLORCHANGE:
      coloursChanged();
      break;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETHIGHCONTRAST) coloursChanged();
      // The regional settings, the time zone among them: the hidden clock would see a new
      // local time only at its next minute's wake.
      if (lp && (lstrcmpiW(reinterpret_cast<LPCWSTR>(lp), L"intl") == 0 ||
                 wcsstr(reinterpret_cast<LPCWSTR>(lp), L"TimeZone")))
        TimeMoved();
      break;
    case WM_DISPLAYCHANGE:
      keepOnAMonitor();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (onKeyDown(wp)) return 0;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wp == VK_APPS || wp == VK_F10) return 0;  // the menu opened on the key's press
      break;
    case WM_CONTEXTMENU:
      onContextMenu(lp);
      return 0;
    case WM_ERASEBKGND: {
      // Pic_b: the window's own background, seen between and below the boxes.
      RECT r;
      GetClientRect(hwnd(), &r);
      Brush b(CreateSolidBrush(ToColorRef(palette_.colour[0])));
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
