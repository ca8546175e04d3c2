#include "settings/F_Setting.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/convert.h"
#include "model/ini_file.h"
#include "ui/topmost.h"
#include "clock/pendulum.h"
#include "res/resource_ids.h"
#include "settings/edit_rules.h"
#include "settings/preview.h"
#include "settings/tile_background.h"
#include "ui/late_dlls.h"
#include "ui/screen_dpi.h"
#include "ui/twips.h"

namespace dl = dialog_layout;
using dl::Id;

namespace {

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

const wchar_t kClassName[] = L"Tessarine_F_Setting";
constexpr int kTextureWidth = 579, kTextureHeight = 21;
constexpr Colour kBaseGrey = 0x808080;
constexpr Colour kWhite = 0xFFFFFF;

// Ids of the real controls.
enum ControlId { kIdIval = 10, kIdKagen, kIdCombo = 20 };
// Tool ids of the path labels' tips.
constexpr UINT_PTR kPathTip = 2;

std::wstring TwoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

// Format "##": nothing for 0.
std::wstring TrackText(int n) { return n == 0 ? L"" : std::to_wstring(n); }

}  // namespace

F_Setting::F_Setting(AppState& app, Commands& commands) : app_(app), commands_(commands) {
  handCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HANDPOINT));
  if (!handCursor_) handCursor_ = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
  InitCommonControlsLate(ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES);
}

F_Setting::~F_Setting() = default;

int F_Setting::Px(int v) const { return ScaleToDpi(v, dpi_); }
RECT F_Setting::ToRect(const dl::Box& b) const {
  return RectAt(Px(b.x), Px(b.y), Px(b.w), Px(b.h));
}

void F_Setting::makeFont() {
  font_.reset(CreateFontW(-Px(dl::kFont.pixels), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, dl::kFont.face));
}

// In place, so the controls that show a picture keep pointing at theirs.
void F_Setting::loadPictures() {
  titlePicture_ = Picture(IDB_TITLE, dpi_);
  Img_On = Picture(IDB_BUTTON_ON, dpi_);
  Img_Off = Picture(IDB_BUTTON_OFF, dpi_);
  Img_Opt_On = Picture(IDB_OPTION_ON, dpi_);
  Img_Opt_Off = Picture(IDB_OPTION_OFF, dpi_);
  Img_Ra = {Picture(IDB_SWITCH_OFF, dpi_), Picture(IDB_SWITCH_ON, dpi_)};
  imgImages = {Picture(IDB_CLOSE_UP, dpi_), Picture(IDB_CLOSE_DOWN, dpi_)};
  headingPicture_ = Picture(IDB_HEADING, dpi_);
}

void F_Setting::Form_Load() {
  Settings& s = app_.settings;
  // No drag under way.
  drag_.End();
  targets_.Drop();

  // The size of the base panel and the strip, centred on the screen (in twips, as the
  // window's position is kept), laid out for the primary screen's density.
  const int dpi = SystemDpi();
  dpi_ = dpi;
  const int width = Px(dl::kClient.w), height = Px(dl::kClient.h);
  // On a screen too small for it at its density, its title strip stays on the screen to be
  // dragged by.
  const int left = std::max(0, PixelsToTwips(GetSystemMetrics(SM_CXSCREEN) - width, dpi) / 2);
  const int top = std::max(0, PixelsToTwips(GetSystemMetrics(SM_CYSCREEN) - height, dpi) / 2);
  // The window's title is its strip's caption.
  if (!Create(kClassName, dl::Find(Id::Title)->caption, WS_POPUP | WS_CLIPCHILDREN, 0,
              TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), width, height))
    return;
  // The monitor it opened on may be of another density than the primary screen.
  if (WindowDpi(hwnd()) != dpi_) {
    dpi_ = WindowDpi(hwnd());
    SetWindowPos(hwnd(), nullptr, 0, 0, Px(dl::kClient.w), Px(dl::kClient.h),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  loadPictures();
  makeFont();
  createControls(false);
  Timer1.SetEnabled(false);  // a timer of an earlier window went with it
  Timer1.Attach(hwnd());

  // The base panel's texture.
  TileBackground(*Pic_Base);

  // What the file holds now.
  IniSettingsSource source(app_.IniPath);
  LoadSettings(s, source, app_.ProgramDir);

  // Group panels and headings.
  for (auto& pic : Pic_b1) TileBackground(*pic);
  for (auto& img : Img_TT) img.picture = &headingPicture_;

  // Released faces and unselected marks.
  for (auto& img : Img_Color) img.picture = &Img_Off;
  for (auto& img : Img_Shape) img.picture = &Img_Opt_Off;
  if (s.Shape >= 0 && s.Shape <= 2) Img_Shape[s.Shape].picture = &Img_Opt_On;
  Img_Free.picture = Img_End.picture = Img_Can.picture = &Img_Off;

  // Colours.
  for (int i = 0; i <= 5; ++i) {
    EditColor[i] = s.Color[i];
    lbl_Tcolor[i].BackColor = EditColor[i];
  }
  for (int i = 0; i <= 3; ++i) Cmd_C[i].BackColor = s.Graph_Color[i];
  Cmd_Filter.BackColor = s.Filter_Color;

  // Shape and preview.
  EditShape = s.Shape;
  DrawPreview();

  // Alarms.
  for (int i = 0; i <= 1; ++i) fillAlarmRow(i);

  fillMemory();

  // Open, and above every other window.
  Timer1.SetEnabled(true);
  app_.SettingsDialogOpen = -1;
  SetTopMost(hwnd(), -1);
}

void F_Setting::Activate() {
  if (!Loaded()) return;
  Show();
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
}

void F_Setting::fillAlarmRow(int i) {
  const Settings& s = app_.settings;
  EditAlarmOn[i] = s.Sound_C[i];
  showAlarmSwitch(i);

  Combo_hh[i].Clear();
  for (int h = 0; h <= 23; ++h) Combo_hh[i].AddItem(TwoDigits(h));
  Combo_hh[i].SetListIndex(s.Sound_H[i]);
  Combo_mm[i].Clear();
  for (int m = 0; m <= 59; ++m) Combo_mm[i].AddItem(TwoDigits(m));
  Combo_mm[i].SetListIndex(s.Sound_M[i]);

  const bool cd = s.Sound_Kbn[i] == 1;
  Img_CD[i].picture = cd ? &Img_Opt_On : &Img_Opt_Off;
  Img_MP3_Wav[i].picture = cd ? &Img_Opt_Off : &Img_Opt_On;
  EditSoundKind[i] = s.Sound_Kbn[i];

  CD_Repeat[i].Clear();
  for (int t = 0; t <= 20; ++t) CD_Repeat[i].AddItem(TrackText(t));
  CD_Repeat[i].SetText(TrackText(s.Sound_Repeat[i]));

  Img_Snd_File[i].picture = Img_Clear[i].picture = &Img_Off;
  lbl_Sound_Path[i].Caption = s.Sound_F[i];
}

// Memory controls, on a machine big enough to clean.
void F_Setting::fillMemory() {
  const Settings& s = app_.settings;
  if (TooSmallToClean(memory_)) {
    HS_Ival.SetEnabled(false);
    HS_Kagen.SetEnabled(false);
    lbl_Free.Enabled = false;
    lbl_Ival.Caption.clear();
    lbl_Kagen.Caption.clear();
  } else {
    if (HS_Ival.Value() != s.Mem_Ival && HS_Ival.SetValue(s.Mem_Ival)) HS_Ival_Change();
    const int kagen = RoundHalfEven(s.Mem_Kagen);
    if (HS_Kagen.Value() != kagen && HS_Kagen.SetValue(kagen)) HS_Kagen_Change();
    lbl_Tatal_mem[0].Caption = TotalPhysText(memory_, true);
    lbl_Free_mem[0].Caption = AvailPhysText(memory_, true);
    lbl_Tatal_mem[1].Caption = TotalVirtualText(memory_, true);
    lbl_Free_mem[1].Caption = AvailVirtualText(memory_, true);
    lbl_Ival.Caption = IvalLabel(s.Mem_Ival);
    lbl_Kagen.Caption = KagenLabel(s.Mem_Kagen);
    DrawMemoryGraph();
  }
}

void F_Setting::createControls(bool placeOnly) {
  // The texture is a tile, laid at its own pixels: its one finer drawing serves every density
  // above 100 %.
  const Picture texture(IDB_TEXTURE, dpi_);
  const int tileW = texture.Empty() ? Px(kTextureWidth) : texture.Width();
  const int tileH = texture.Empty() ? Px(kTextureHeight) : texture.Height();
  Pic_Mbl = std::make_unique<ImageCanvas>(tileW, tileH);
  Pic_Mbl->SetBackColour(kBaseGrey);
  texture.Draw(Pic_Mbl->Dc(), RectAt(0, 0, tileW, tileH), true, dpi_);
  Pic_Base = std::make_unique<ImageCanvas>(Px(dl::kBasePanel.w), Px(dl::kBasePanel.h));
  Pic_Base->SetBackColour(kBaseGrey);
  for (int n = 0; n < 5; ++n) {
    const dl::Box panel = dl::GroupPanel(dl::kFramedGroups[n]);
    Pic_b1[n] = std::make_unique<ImageCanvas>(Px(panel.w), Px(panel.h));
    Pic_b1[n]->SetBackColour(kBaseGrey);
  }
  staticLabels_.clear();
  stripImages_.clear();
  images_.clear();
  colourButtons_.clear();
  labels_.clear();
  handChildren_.clear();
  Pic_ball = std::make_unique<ImageCanvas>(Px(BallSpriteSize), Px(BallSpriteSize));  // preview bob
  memoryGraph_ = MemoryGraph(dpi_);                          // a new board shows no pie yet
  for (const dl::Control& c : dl::Controls()) createControl(c, placeOnly);
  wireTargets();
  if (placeOnly && toolTip_) DestroyWindow(toolTip_);
  createToolTips();
}

void F_Setting::createControl(const dl::Control& c, bool placeOnly) {
  HWND w = hwnd();
  const RECT r = ToRect(dl::ClientBox(c));
  const bool hand = c.cursor == dl::Cursor::Hand;
  switch (c.kind) {
    case dl::Kind::Picture:
    case dl::Kind::Face: {
      DrawnImage* img = imageFor(c.id, c.index);
      if (placeOnly) {
        img->rect = r;
        img->dpi = dpi_;
      } else {
        *img = DrawnImage{r, firstPicture(c.id), c.kind == dl::Kind::Face, dpi_};
      }
      (c.group == dl::Group::Window ? stripImages_ : images_).push_back(img);
      break;
    }
    case dl::Kind::Label:
    case dl::Kind::FitLabel:
      createLabel(c, r, placeOnly);
      break;
    case dl::Kind::ColourButton: {
      ColourButton* b = c.id == Id::FilterColour ? &Cmd_Filter : &Cmd_C[c.index];
      b->rect = r;
      colourButtons_.push_back(b);
      break;
    }
    case dl::Kind::ListCombo:
    case dl::Kind::EditCombo: {
      ComboBox* combo = comboFor(c.id, c.index);
      const int id = kIdCombo + 3 * c.index + (c.id == Id::Hour ? 0 : c.id == Id::Minute ? 1 : 2);
      if (placeOnly)
        combo->Place(r, font_.get(), Px(dl::kComboFieldHeight));
      else
        combo->Create(w, id, r, c.kind == dl::Kind::EditCombo, font_.get());
      if (hand) handChildren_.push_back(combo->hwnd());
      break;
    }
    case dl::Kind::ScrollBar: {
      const bool ival = c.id == Id::IvalBar;
      ScrollBar& bar = ival ? HS_Ival : HS_Kagen;
      if (placeOnly)
        bar.Place(r);
      else
        bar.Create(w, ival ? kIdIval : kIdKagen, r, ival ? kIvalRange : kKagenRange);
      if (hand) handChildren_.push_back(bar.hwnd());
      break;
    }
    case dl::Kind::PictureBox: {
      auto box = std::make_unique<PictureBox>(w, r.left, r.top, r.right - r.left,
                                              r.bottom - r.top);
      if (c.id == Id::Board) {
        box->SetFont(dl::kFont.face, Px(dl::kFont.pixels), SHIFTJIS_CHARSET);
        box->SetBackColour(kBaseGrey);
      } else if (c.id == Id::PreviewDial) {
        box->SetFont(kNumeralFace, Px(kNumeralPixels96), DEFAULT_CHARSET);
      }
      (c.id == Id::Board ? Board : c.id == Id::PreviewDial ? Pic_Tokei : Pic_Furiko) =
          std::move(box);
      break;
    }
    case dl::Kind::Frame:
      Pic_b = r;
      break;
  }
}

void F_Setting::createLabel(const dl::Control& c, const RECT& r, bool placeOnly) {
  // Placed anew, a label that changes keeps its caption and look; one that never changes is
  // made again from the table.
  DrawnLabel* l = labelFor(c.id, c.index);
  if (!l) {
    l = &staticLabels_.emplace_back();
    placeOnly = false;
  }
  if (!placeOnly) {
    *l = DrawnLabel{};
    l->Caption = c.caption;
    l->Alignment = c.align;
    l->Border = c.style & dl::kBorder;
    l->PathEllipsis = c.style & dl::kPathEllipsis;
    if (c.style & dl::kWhiteBack) l->BackColor = kWhite;
    if (c.style & dl::kWhiteText) l->ForeColor = kWhite;
  }
  l->rect = r;
  if (c.kind == dl::Kind::FitLabel) {
    // Its box is the room kept for it; it takes its caption's width.
    l->rect.right = l->rect.left;
    l->AutoSize(font_.get());
  }
  labels_.push_back(l);
}

DrawnImage* F_Setting::imageFor(Id id, int i) {
  switch (id) {
    case Id::TitleStrip: return &Image1;
    case Id::Close: return &ImgExit;
    case Id::OkFace: return &Img_End;
    case Id::CancelFace: return &Img_Can;
    case Id::Heading: return &Img_TT[i];
    case Id::ColourFace: return &Img_Color[i];
    case Id::ShapeMark: return &Img_Shape[i];
    case Id::FreeFace: return &Img_Free;
    case Id::AlarmSwitch: return &Img_Alarm[i];
    case Id::CdMark: return &Img_CD[i];
    case Id::FileMark: return &Img_MP3_Wav[i];
    case Id::FileFace: return &Img_Snd_File[i];
    case Id::ClearFace: return &Img_Clear[i];
    default: return nullptr;
  }
}

DrawnLabel* F_Setting::labelFor(Id id, int i) {
  switch (id) {
    case Id::Ok: return &lbl_End;
    case Id::Cancel: return &lbl_Can;
    case Id::ColourCaption: return &lbl_Color[i];
    case Id::ColourSwatch: return &lbl_Tcolor[i];
    case Id::ShapeCaption: return &lbl_Shape[i];
    case Id::Free: return &lbl_Free;
    case Id::TotalFigure: return &lbl_Tatal_mem[i];
    case Id::FreeFigure: return &lbl_Free_mem[i];
    case Id::IvalValue: return &lbl_Ival;
    case Id::KagenValue: return &lbl_Kagen;
    case Id::AlarmState: return &lbl_Alarm[i];
    case Id::CdCaption: return &lbl_CD[i];
    case Id::FileCaption: return &lbl_MP3_Wav[i];
    case Id::File: return &lbl_Snd_File[i];
    case Id::Clear: return &lbl_Clear[i];
    case Id::Path: return &lbl_Sound_Path[i];
    default: return nullptr;  // a caption that never changes
  }
}

ComboBox* F_Setting::comboFor(Id id, int i) {
  return id == Id::Hour ? &Combo_hh[i] : id == Id::Minute ? &Combo_mm[i] : &CD_Repeat[i];
}

// What a picture shows when the dialog opens, before the settings are filled in.
const Picture* F_Setting::firstPicture(Id id) const {
  switch (id) {
    case Id::TitleStrip: return &titlePicture_;
    case Id::Close: return &imgImages[0];
    case Id::Heading: return &headingPicture_;
    case Id::AlarmSwitch: return &Img_Ra[0];
    case Id::ShapeMark:
    case Id::CdMark:
    case Id::FileMark: return &Img_Opt_Off;
    default: return &Img_Off;  // a released face
  }
}

// Tool tips: the close picture's, and each path label's whole path, asked for when shown
// (TTN_GETDISPINFOW), since a long one is shortened in its label.
void F_Setting::createToolTips() {
  HWND w = hwnd();
  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!toolTip_) return;
  auto addTip = [this, w](UINT_PTR id, const RECT& r, const wchar_t* text) {
    TOOLINFOW tip{};
    tip.cbSize = sizeof tip;
    tip.uFlags = TTF_SUBCLASS;
    tip.hwnd = w;
    tip.uId = id;
    tip.rect = r;
    tip.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tip));
  };
  addTip(1, ImgExit.rect, L"exit button");
  for (int i = 0; i <= 1; ++i) addTip(kPathTip + i, lbl_Sound_Path[i].rect, LPSTR_TEXTCALLBACKW);
  // A path wider than the screen breaks into lines at its blanks.
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
}

void F_Setting::paint(HDC dc) {
  for (const DrawnImage* img : stripImages_) img->Paint(dc);
  const RECT base = ToRect(dl::kBasePanel);
  BitBlt(dc, base.left, base.top, base.right - base.left, base.bottom - base.top, Pic_Base->Dc(),
         0, 0, SRCCOPY);
  for (int n = 0; n < 5; ++n) {
    RECT frame = ToRect(dl::GroupFrame(dl::kFramedGroups[n]));
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    const RECT panel = ToRect(dl::GroupPanel(dl::kFramedGroups[n]));
    BitBlt(dc, panel.left, panel.top, Pic_b1[n]->PixelWidth(), Pic_b1[n]->PixelHeight(),
           Pic_b1[n]->Dc(), 0, 0, SRCCOPY);
  }
  {
    Brush back(CreateSolidBrush(ToColorRef(Pic_bBackColor)));
    FillRect(dc, &Pic_b, back.get());
    FrameRect(dc, &Pic_b, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  // Captions last: each lies on its face.
  for (const DrawnImage* img : images_) img->Paint(dc);
  for (const ColourButton* b : colourButtons_) b->Paint(dc);
  for (const DrawnLabel* l : labels_) l->Paint(dc, font_.get());
}

// ----------------------------------------------------------------------------- messages

LRESULT F_Setting::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wp == Timer1.Id()) Timer1_Timer();
      return 0;
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
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_DPICHANGED:
      onDpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
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
    for (HWND h : handChildren_) hand = hand || control == h;
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
  if (i <= 1) tip->lpszText = const_cast<wchar_t*>(lbl_Sound_Path[i].Caption.c_str());
  return true;
}

// Laid out and drawn anew at the new density, the pictures in their drawings for it. The
// controls are kept, and with them everything edited but not yet saved.
void F_Setting::onDpiChanged(int dpi, const RECT& suggested) {
  drag_.End();
  targets_.Drop();
  dpi_ = dpi;
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  loadPictures();
  const Font previous = std::move(font_);  // the lists show it until they are given the new one
  makeFont();
  createControls(true);
  TileBackground(*Pic_Base);
  for (auto& pic : Pic_b1) TileBackground(*pic);
  DrawPreview();
  if (!TooSmallToClean(memory_)) DrawMemoryGraph();
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
