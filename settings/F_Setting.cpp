#include "settings/F_Setting.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "clock/pendulum.h"
#include "model/convert.h"
#include "res/resource_ids.h"
#include "settings/edit_rules.h"
#include "settings/preview.h"
#include "settings/tile_background.h"
#include "ui/late_dlls.h"
#include "ui/screen_dpi.h"
#include "ui/topmost.h"
#include "ui/twips.h"
#include "ui/window_names.h"

namespace dl = dialog_layout;
using dl::Id;

namespace {

std::wstring TwoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

// Format "##": nothing for 0.
std::wstring TrackText(int n) { return n == 0 ? L"" : std::to_wstring(n); }

}  // namespace

F_Setting::F_Setting(SettingsStore& store, Commands& commands)
    : store_(store), commands_(commands) {
  handCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HANDPOINT));
  if (!handCursor_) handCursor_ = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
  InitCommonControlsLate(ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES);
  slots_.resize(dl::Controls().size());
  ServeReaders(access_);
}

F_Setting::~F_Setting() = default;

void F_Setting::Form_Load() {
  // No drag under way.
  drag_.End();
  targets_.Drop();
  if (!openWindow()) return;
  coloursChanged();
  loadPictures();
  makeFont();
  createControls(false);
  // Settings kept in the user's own file say so, with the file's name.
  if (!store_.BesideProgram()) {
    DrawnLabel& title = label(Id::Title);
    title.Caption = std::wstring(dl::Caption(*dl::Find(Id::Title))) + L"  (" + store_.Path() + L")";
    SetWindowTextW(hwnd(), title.Caption.c_str());
  }
  Timer1.SetEnabled(false);  // a timer of an earlier window went with it
  AttachTimer(Timer1);

  // The base panel's texture.
  TileBackground(*Pic_Base);

  edit_ = store_.Edit();
  fillFromSettings();

  // Open, and above every other window.
  Timer1.SetEnabled(true);
  SetTopMost(hwnd(), -1);
  // A mouse user's dialog shows no focus mark and takes no key but Esc as before: the focus
  // lies on the dialog itself until Tab takes it to the first control.
  cues_ = false;
  focus_ = nullptr;

}

bool F_Setting::openWindow() {
  // The size of the base panel and the strip, centred on the screen (in twips, as the
  // window's position is kept), laid out for the primary screen's density.
  const int dpi = SystemDpi();
  SetDpi(dpi);
  const int width = Px(dl::kClient.w), height = Px(dl::kClient.h);
  // On a screen too small for it at its density, its title strip stays on the screen to be
  // dragged by.
  const int left = std::max(0, PixelsToTwips(GetSystemMetrics(SM_CXSCREEN) - width, dpi) / 2);
  const int top = std::max(0, PixelsToTwips(GetSystemMetrics(SM_CYSCREEN) - height, dpi) / 2);
  // The window's title is its strip's caption.
  if (!Create(kSettingsWindowClass, dl::Caption(*dl::Find(Id::Title)), WS_POPUP | WS_CLIPCHILDREN, 0,
              TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), width, height))
    return false;
  // The monitor it opened on may be of another density than the primary screen.
  if (WindowDpi(hwnd()) != Dpi()) {
    SetDpi(WindowDpi(hwnd()));
    SetWindowPos(hwnd(), nullptr, 0, 0, Px(dl::kClient.w), Px(dl::kClient.h),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

void F_Setting::fillFromSettings() {
  const Settings& s = edit_;
  cleanable_ = !TooSmallToClean(memory_);
  // Group panels; the controls were made with released faces and unselected marks.
  for (auto& pic : Pic_b1) TileBackground(*pic);
  if (s.Shape >= 0 && s.Shape <= 2) image(Id::ShapeMark, s.Shape).picture = art(IDB_OPTION_ON);

  // Colours.
  for (int i = 0; i <= 5; ++i) {
    EditColor[i] = s.Color[i];
    label(Id::ColourSwatch, i).BackColor = EditColor[i];
  }
  for (int i = 0; i <= 3; ++i) colour(Id::GraphColour, i).BackColor = s.Graph_Color[i];
  colour(Id::FilterColour).BackColor = s.Filter_Color;

  // Shape and preview.
  EditShape = s.Shape;
  DrawPreview();

  // Alarms.
  for (int i = 0; i <= 1; ++i) fillAlarmRow(i);
  for (int i = 0; i < kRowAlarms; ++i) EditOptions[i] = s.Options[i];
  EditSnooze = s.Snooze_Min;
  showMoreAlarms();

  fillMemory();
}

void F_Setting::Activate() {
  if (!Loaded()) return;
  Show();
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
}

void F_Setting::fillAlarmRow(int i) {
  const Settings& s = edit_;
  EditAlarmOn[i] = s.Sound_C[i];
  showAlarmSwitch(i);

  ComboBox& hour = combo(Id::Hour, i);
  hour.Clear();
  for (int h = 0; h <= 23; ++h) hour.AddItem(TwoDigits(h));
  hour.SetListIndex(s.Sound_H[i]);
  ComboBox& minute = combo(Id::Minute, i);
  minute.Clear();
  for (int m = 0; m <= 59; ++m) minute.AddItem(TwoDigits(m));
  minute.SetListIndex(s.Sound_M[i]);

  const bool cd = s.Sound_Kbn[i] == 1;
  image(Id::CdMark, i).picture = cd ? art(IDB_OPTION_ON) : art(IDB_OPTION_OFF);
  image(Id::FileMark, i).picture = cd ? art(IDB_OPTION_OFF) : art(IDB_OPTION_ON);
  EditSoundKind[i] = s.Sound_Kbn[i];

  ComboBox& track = combo(Id::Track, i);
  track.Clear();
  for (int t = 0; t <= 20; ++t) track.AddItem(TrackText(t));
  track.SetText(TrackText(s.Sound_Repeat[i]));

  showPath(i, s.Sound_F[i], s.SoundFileMissing[i]);
}

void F_Setting::showPath(int index, const std::wstring& path, bool missing) {
  pathMissing_[index] = missing;
  DrawnLabel& l = label(Id::Path, index);
  l.Caption = path;
  l.ForeColor = missing ? AlarmSwitch(1).captionColour : 0;
  l.Note = pathNote(index);
  repaint(l.rect);
  announce(Id::Path, index, EVENT_OBJECT_VALUECHANGE);
}

// A sound-file alarm that is on with no file still rings: the chime, as for a file that is
// gone, and the row says so.
std::wstring F_Setting::pathNote(int index) {
  const bool chime = label(Id::Path, index).Caption.empty() && EditSoundKind[index] != 1 &&
                     EditAlarmOn[index] == 1;
  return pathMissing_[index] ? Tr(Text::PathMissing) : chime ? Tr(Text::RingsChime) : L"";
}

void F_Setting::showPathNote(int index) {
  DrawnLabel& l = label(Id::Path, index);
  const std::wstring note = pathNote(index);
  if (note == l.Note) return;
  l.Note = note;
  repaint(l.rect);
  announce(Id::Path, index, EVENT_OBJECT_VALUECHANGE);
}

// Memory controls, on a machine big enough to clean.
void F_Setting::fillMemory() {
  const Settings& s = edit_;
  applyEnabled();
  if (!cleanable_) {
    label(Id::IvalValue).Caption.clear();
    label(Id::KagenValue).Caption.clear();
  } else {
    ScrollBar& ival = bar(Id::IvalBar);
    if (ival.Value() != s.Mem_Ival && ival.SetValue(s.Mem_Ival)) barChanged(Id::IvalBar);
    ScrollBar& kagen = bar(Id::KagenBar);
    const int limit = RoundHalfEven(s.Mem_Kagen);
    if (kagen.Value() != limit && kagen.SetValue(limit)) barChanged(Id::KagenBar);
    label(Id::TotalFigure, 0).Caption = TotalPhysText(memory_, true);
    label(Id::FreeFigure, 0).Caption = AvailPhysText(memory_, true);
    label(Id::TotalFigure, 1).Caption = TotalVirtualText(memory_, true);
    label(Id::FreeFigure, 1).Caption = AvailVirtualText(memory_, true);
    label(Id::IvalValue).Caption = IvalLabel(s.Mem_Ival);
    label(Id::KagenValue).Caption = KagenLabel(s.Mem_Kagen);
    DrawMemoryGraph();
  }
}


void F_Setting::paint(HDC dc) {
  const auto& rows = dl::Controls();
  auto paintImages = [&](bool strip) {
    for (const dl::Control& c : rows) {
      const bool drawn = c.kind == dl::Kind::Picture || c.kind == dl::Kind::Face;
      if (drawn && (c.group == dl::Group::Window) == strip) paintImage(dc, slot(c).image);
    }
  };
  // The window's own strip lies below the base panel, the rest above it.
  paintImages(true);
  const RECT base = Px(dl::kBasePanel);
  BitBlt(dc, base.left, base.top, base.right - base.left, base.bottom - base.top, Pic_Base->Dc(),
         0, 0, SRCCOPY);
  for (int n = 0; n < 5; ++n) {
    RECT frame = Px(dl::GroupFrame(dl::kFramedGroups[n]));
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    const RECT panel = Px(dl::GroupPanel(dl::kFramedGroups[n]));
    BitBlt(dc, panel.left, panel.top, Pic_b1[n]->PixelWidth(), Pic_b1[n]->PixelHeight(),
           Pic_b1[n]->Dc(), 0, 0, SRCCOPY);
  }
  {
    const RECT& frame = slot(*dl::Find(Id::PreviewFrame)).frame;
    Brush back(CreateSolidBrush(ToColorRef(Pic_bBackColor)));
    FillRect(dc, &frame, back.get());
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  // Captions last: each lies on its face.
  paintImages(false);
  for (const dl::Control& c : rows)
    if (c.kind == dl::Kind::ColourButton) slot(c).colour.Paint(dc);
  for (const dl::Control& c : rows)
    if (c.kind == dl::Kind::Label || c.kind == dl::Kind::FitLabel) paintLabel(dc, c);
  paintFocus(dc);
}

// ----------------------------------------------------------------------------- messages

LRESULT F_Setting::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (onSetCursor(reinterpret_cast<HWND>(wp))) return TRUE;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      onMouseDown(msg, lp);
      return 0;
    case WM_MOUSEMOVE:
      targets_.Move();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      onMouseUp(msg);
      return 0;
    case WM_MEASUREITEM:
      if (reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlType != ODT_COMBOBOX) break;
      ComboBox::MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp), Px(dl::kComboFieldHeight));
      return TRUE;
    case WM_DRAWITEM:
      if (reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->CtlType != ODT_COMBOBOX) break;
      ComboBox::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp), font_.get());
      return TRUE;
    case WM_NOTIFY:
      if (onNotify(lp)) return 0;
      break;
    case WM_HSCROLL:
      onScroll(reinterpret_cast<HWND>(lp), LOWORD(wp), static_cast<short>(HIWORD(wp)));
      return 0;
    case WM_KEYDOWN:
      if (wp != VK_ESCAPE) break;
      lbl_Can_MouseUp();
      return 0;
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_UPDATEUISTATE:
    case kDefaultAction:
      if (onFocusMessage(msg, wp)) return 0;
      break;
    case WM_SYSCOLORCHANGE:
      coloursChanged();
      break;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETHIGHCONTRAST) coloursChanged();
      break;
    case WM_CLOSE:
      Unload();
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void F_Setting::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  RECT client;
  GetClientRect(hwnd(), &client);
  // Composed off the screen, so labels never flicker over their panels.
  MemoryDc buffer;
  Bitmap image(CreateCompatibleBitmap(dc, client.right, client.bottom));
  {
    SelectGuard sel(buffer.get(), image.get());
    FillRect(buffer.get(), &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    paint(buffer.get());
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, buffer.get(), ps.rcPaint.left, ps.rcPaint.top,
           SRCCOPY);
  }
  EndPaint(hwnd(), &ps);
}

// True when the pointer shows the hand: over a drawn control that acts, or an enabled list or
// scroll bar (or the edit box inside a list).
bool F_Setting::onSetCursor(HWND over) {
  bool hand = false;
  if (over == hwnd()) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(hwnd(), &p);
    hand = targets_.HandAt(p);
  } else if (IsWindowEnabled(over)) {
    HWND control = GetParent(over) == hwnd() ? over : GetParent(over);
    for (const dl::Control& c : dl::Controls())
      hand = hand || (c.cursor == dl::Cursor::Hand && windowOf(c) == control);
  }
  if (hand) SetCursor(handCursor_);
  return hand;
}

void F_Setting::onMouseDown(UINT msg, LPARAM lp) {
  const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
  targets_.Press(hwnd(), p, button);
}

void F_Setting::onMouseUp(UINT msg) {
  const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
  targets_.Release(hwnd(), button);
}

bool F_Setting::onNotify(LPARAM lp) {
  auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lp);
  if (tip->hdr.hwndFrom != toolTip_ || tip->hdr.code != TTN_GETDISPINFOW) return false;
  const UINT_PTR i = tip->hdr.idFrom - kPathTip;
  if (i <= 1)
    tip->lpszText = const_cast<wchar_t*>(label(Id::Path, static_cast<int>(i)).Caption.c_str());
  return true;
}

// Laid out and drawn anew at the new density, the pictures in their drawings for it. The
// controls are kept, and with them everything edited but not yet saved.
void F_Setting::OnDpiChanged(int dpi, const RECT& suggested) {
  drag_.End();
  targets_.Drop();
  SetDpi(dpi);
  MoveTo(suggested);
  loadPictures();
  const Font previous = std::move(font_);  // the lists show it until they are given the new one
  makeFont();
  createControls(true);
  TileBackground(*Pic_Base);
  for (auto& pic : Pic_b1) TileBackground(*pic);
  DrawPreview();
  if (cleanable_) DrawMemoryGraph();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
