#include "settings/F_Setting.h"

#include <cmath>
#include <tuple>
#include <utility>

#include "app/convert.h"
#include "app/ini_file.h"
#include "app/topmost_win.h"
#include "res/resource_ids.h"
#include "settings/edit_rules.h"
#include "settings/pickers_win.h"
#include "settings/preview.h"
#include "settings/save_settings.h"
#include "settings/tile_background.h"
#include "ui/late_dlls.h"
#include "ui/screen_dpi.h"
#include "ui/twips.h"
#include "version.h"

namespace {

const wchar_t kClassName[] = L"Tessarine_F_Setting";
const wchar_t kTitle[] = L"Tessarineの設定";
const wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
constexpr int kFontPixels = 13;  // 9.75 pt at 96 dots per inch
constexpr int kBaseWidth = 537, kBaseHeight = 501;
constexpr int kTitleHeight = 22;
constexpr int kBaseTop = 20;  // the base panel covers the strip's last two rows
constexpr int kGroupBorder = 2;
constexpr int kTextureWidth = 579, kTextureHeight = 21;
constexpr Colour kBaseGrey = 0x808080;
constexpr Colour kWhite = 0xFFFFFF;
constexpr int kComboFieldHeight = 15;  // and the frame makes the box 21 high

// Frames of the five groups on the base panel: colours, shape, preview, memory, alarms.
const RECT kGroups[5] = {RectAt(12, 40, 101, 209), RectAt(124, 40, 113, 73),
                         RectAt(124, 152, 113, 169), RectAt(248, 40, 273, 281),
                         RectAt(12, 332, 509, 117)};
enum Group { kColours, kShape, kPreview, kMemory, kAlarms };

// Ids of the real controls.
enum ControlId { kIdIval = 10, kIdKagen, kIdCombo = 20 };
// Tool ids of the path labels' tips.
constexpr UINT_PTR kPathTip = 2;

RECT InBase(int x, int y, int w, int h) { return RectAt(x, kBaseTop + y, w, h); }

RECT InGroup(int n, int x, int y, int w, int h) {
  return RectAt(kGroups[n].left + kGroupBorder + x, kBaseTop + kGroups[n].top + kGroupBorder + y,
                w, h);
}


std::wstring TwoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

// Format "##": nothing for 0.
std::wstring TrackText(int n) { return n == 0 ? L"" : std::to_wstring(n); }

DrawnLabel Label(const RECT& r, const std::wstring& caption, Align a = Align::Left) {
  DrawnLabel l;
  l.rect = r;
  l.Caption = caption;
  l.Alignment = a;
  return l;
}

// A label placed by its corner; its width follows the caption once the font is known.
DrawnLabel LabelAt(const RECT& corner, const std::wstring& caption) {
  RECT r = corner;
  r.right = r.left;
  r.bottom = r.top + kFontPixels;
  return Label(r, caption);
}

class IniWriter : public SettingsWriter {
 public:
  explicit IniWriter(const std::wstring& path) : path_(path) {}
  bool Write(const IniEntries& entries) override {
    return WriteIniKeys(kSettingsSection, entries, path_);
  }

 private:
  const std::wstring& path_;
};

}  // namespace

F_Setting::F_Setting(AppState& app, Commands& commands)
    : app_(app),
      commands_(commands),
      titlePicture_(IDB_TITLE),
      Img_On(IDB_BUTTON_ON),
      Img_Off(IDB_BUTTON_OFF),
      Img_Opt_On(IDB_OPTION_ON),
      Img_Opt_Off(IDB_OPTION_OFF),
      Img_Ra{Picture(IDB_SWITCH_OFF), Picture(IDB_SWITCH_ON)},
      imgImages{Picture(IDB_CLOSE_UP), Picture(IDB_CLOSE_DOWN)},
      headingPicture_(IDB_HEADING),
      Pic_Mbl(kTextureWidth, kTextureHeight) {
  Picture texture(IDB_TEXTURE);
  Pic_Mbl.SetBackColour(kBaseGrey);
  texture.Draw(Pic_Mbl.Dc(), RectAt(0, 0, kTextureWidth, kTextureHeight), false);
  handCursor_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HANDPOINT));
  if (!handCursor_) handCursor_ = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
  InitCommonControlsLate(ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES);
}

F_Setting::~F_Setting() = default;

void F_Setting::Form_Load() {
  Settings& s = app_.settings;
  // No drag under way.
  drag_.End();
  captured_ = nullptr;

  // The size of the base panel and the strip, centred on the screen (in twips, as the
  // window's position is kept).
  const int width = kBaseWidth, height = kBaseHeight + kTitleHeight;
  const int dpi = SystemDpi();
  const int left = (PixelsToTwips(GetSystemMetrics(SM_CXSCREEN) - width, dpi)) / 2;
  const int top = (PixelsToTwips(GetSystemMetrics(SM_CYSCREEN) - height, dpi)) / 2;
  if (!Create(kClassName, kTitle, WS_POPUP | WS_CLIPCHILDREN, 0, TwipsToPixels(left, dpi),
              TwipsToPixels(top, dpi), width, height))
    return;
  font_.reset(CreateFontW(-kFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontFace));
  createControls();
  Timer1.SetEnabled(false);  // a timer of an earlier window went with it
  Timer1.Attach(hwnd());

  // The base panel's texture.
  TileBackground(*Pic_Base);

  // What the file holds now.
  IniSettingsSource source(app_.IniPath);
  LoadSettings(s, source, app_.ProgramDir);

  // Group panels and headings.
  for (auto& pic : Pic_b1) TileBackground(*pic);
  for (int k = 1; k <= 5; ++k) Img_TT[k].picture = &headingPicture_;

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
  for (int i = 0; i <= 1; ++i) {
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

void F_Setting::createControls() {
  HWND w = hwnd();
  HFONT font = font_.get();
  Pic_Base = std::make_unique<ImageCanvas>(kBaseWidth, kBaseHeight);
  Pic_Base->SetBackColour(kBaseGrey);
  for (int n = 0; n < 5; ++n) {
    const RECT& f = kGroups[n];
    Pic_b1[n] = std::make_unique<ImageCanvas>(f.right - f.left - 2 * kGroupBorder,
                                              f.bottom - f.top - 2 * kGroupBorder);
    Pic_b1[n]->SetBackColour(kBaseGrey);
  }

  // The title strip, its caption and the close picture.
  Image1 = DrawnImage{RectAt(0, 0, kBaseWidth, kTitleHeight), &titlePicture_};
  ImgExit = DrawnImage{RectAt(516, 4, 15, 15), &imgImages[0]};
  lbl = {};
  lbl[1] = Label(RectAt(8, 4, 110, 13), kTitle);
  lbl[1].ForeColor = kWhite;

  // OK and cancel.
  Img_End = DrawnImage{InBase(356, 464, 81, 20), &Img_Off, true};
  Img_Can = DrawnImage{InBase(440, 464, 81, 20), &Img_Off, true};
  lbl_End = Label(InBase(356, 468, 81, 13), L"設定", Align::Centre);
  lbl_Can = Label(InBase(440, 468, 81, 13), L"ｷｬﾝｾﾙ", Align::Centre);
  lbl[21] = LabelAt(InBase(14, 468, 0, 0), L"Tessarine  Version " TESSARINE_VERSION_TEXT);

  // Group headings: a picture with its caption centred, four pixels lower.
  const struct { int k, x, y, label; const wchar_t* caption; } headings[] = {
      {4, 12, 12, 3, L"色の指定"},     {1, 124, 12, 13, L"文字盤の形"},
      {3, 124, 124, 2, L"時計のｲﾒｰｼﾞ"}, {5, 248, 12, 14, L"ﾒﾓﾘの開放"},
      {2, 12, 300, 4, L"ｱﾗｰﾑの指定"}};
  for (const auto& h : headings) {
    Img_TT[h.k] = DrawnImage{InBase(h.x, h.y, 95, 22), &headingPicture_};
    lbl[h.label] = Label(InBase(h.x, h.y + 4, 95, 13), h.caption, Align::Centre);
  }

  // Colours.
  const wchar_t* colourCaptions[7] = {L"背景", L"文字", L"時針", L"分針", L"秒針", L"振り子",
                                      L"初期値"};
  for (int i = 0; i <= 6; ++i) {
    Img_Color[i] = DrawnImage{InGroup(kColours, 8, 8 + 28 * i, 61, 20), &Img_Off, true};
    lbl_Color[i] = Label(InGroup(kColours, 8, 12 + 28 * i, 61, 13), colourCaptions[i], Align::Centre);
  }
  for (int i = 0; i <= 5; ++i) {
    lbl_Tcolor[i] = Label(InGroup(kColours, 72, 8 + 28 * i, 17, 17), L"");
    lbl_Tcolor[i].Border = true;
  }

  // Dial shape.
  const wchar_t* shapes[3] = {L"真円", L"楕円（縦）", L"楕円（横）"};
  for (int i = 0; i <= 2; ++i) {
    Img_Shape[i] = DrawnImage{InGroup(kShape, 8, 8 + 20 * i, 13, 13), &Img_Opt_Off};
    lbl_Shape[i] = LabelAt(InGroup(kShape, 24, 8 + 20 * i, 0, 0), shapes[i]);
  }

  // Preview: the black frame and the two boxes inside it.
  Pic_b = InGroup(kPreview, 8, 8, 94, 149);
  Pic_Tokei = std::make_unique<PictureBox>(w, Pic_b.left + 4, Pic_b.top + 4, 80, 80);
  Pic_Furiko = std::make_unique<PictureBox>(w, Pic_b.left + 4, Pic_b.top + 84, 80, 57);
  Pic_ball = std::make_unique<ImageCanvas>(25, 25);

  // Memory release.
  const int graphLabels[4] = {18, 7, 15, 17};
  const wchar_t* graphCaptions[4] = {L"背景", L"物理ﾒﾓﾘ（Total）", L"物理ﾒﾓﾘ（Free）", L"％表示"};
  for (int i = 0; i <= 3; ++i) {
    Cmd_C[i].rect = InGroup(kMemory, 12, 16 + 24 * i, 17, 17);
    lbl[graphLabels[i]] = LabelAt(InGroup(kMemory, 32, 20 + 24 * i, 0, 0), graphCaptions[i]);
  }
  Img_Free = DrawnImage{InGroup(kMemory, 40, 112, 81, 20), &Img_Off, true};
  lbl_Free = Label(InGroup(kMemory, 40, 116, 81, 13), L"ﾒﾓﾘ開放", Align::Centre);
  Cmd_Filter.rect = InGroup(kMemory, 12, 136, 17, 17);
  lbl[0] = LabelAt(InGroup(kMemory, 32, 140, 0, 0), L"解放時のﾌｨﾙﾀ");
  const RECT board = InGroup(kMemory, 128, 12, 130, 130);
  Board = std::make_unique<PictureBox>(w, board.left, board.top, 130, 130);
  memoryGraph_ = MemoryGraph();  // a new board shows no pie yet
  Board->SetFont(kFontFace, kFontPixels, SHIFTJIS_CHARSET);
  Board->SetBackColour(kBaseGrey);
  lbl[19] = LabelAt(InGroup(kMemory, 96, 160, 0, 0), L"物理ﾒﾓﾘ");
  lbl[20] = LabelAt(InGroup(kMemory, 176, 160, 0, 0), L"仮想ﾒﾓﾘ");
  lbl[5] = LabelAt(InGroup(kMemory, 63, 180, 0, 0), L"Total");
  lbl[6] = LabelAt(InGroup(kMemory, 68, 200, 0, 0), L"Free");
  lbl_Tatal_mem[0] = Label(InGroup(kMemory, 96, 176, 77, 17), L"", Align::Right);
  lbl_Tatal_mem[1] = Label(InGroup(kMemory, 176, 176, 81, 17), L"", Align::Right);
  lbl_Free_mem[0] = Label(InGroup(kMemory, 96, 196, 77, 17), L"", Align::Right);
  lbl_Free_mem[1] = Label(InGroup(kMemory, 176, 196, 81, 17), L"", Align::Right);
  for (auto* l : {&lbl_Tatal_mem[0], &lbl_Tatal_mem[1], &lbl_Free_mem[0], &lbl_Free_mem[1]}) {
    l->Border = true;
    l->BackColor = kWhite;
  }
  lbl[16] = LabelAt(InGroup(kMemory, 16, 224, 0, 0), L"ﾒﾓﾘﾁｪｯｸのｲﾝﾀｰﾊﾞﾙ");
  lbl[22] = LabelAt(InGroup(kMemory, 44, 248, 0, 0), L"ﾒﾓﾘ(Free)下限");
  for (auto [bar, id, y, range] : {std::tuple{&HS_Ival, kIdIval, 224, kIvalRange},
                                   std::tuple{&HS_Kagen, kIdKagen, 248, kKagenRange}}) {
    bar->Create(w, id, InGroup(kMemory, 132, y, 65, 17), range);
  }
  lbl_Ival = Label(InGroup(kMemory, 200, 224, 57, 17), IvalLabel(kIvalRange.initial), Align::Right);
  lbl_Kagen = Label(InGroup(kMemory, 200, 248, 57, 17), KagenLabel(kKagenRange.initial), Align::Right);
  for (auto* l : {&lbl_Ival, &lbl_Kagen}) {
    l->Border = true;
    l->BackColor = kWhite;
  }

  // Alarms, row i 48 * i pixels below row 0.
  rowLabels_.clear();
  for (int i = 0; i <= 1; ++i) {
    const int dy = 48 * i;
    Img_Alarm[i] = DrawnImage{InGroup(kAlarms, 8, 16 + dy, 12, 12), &Img_Ra[0]};
    lbl_Alarm[i] = LabelAt(InGroup(kAlarms, 8, 36 + dy, 0, 0), L"Off");
    const int id = kIdCombo + 3 * i;
    Combo_hh[i].Create(w, id, InGroup(kAlarms, 24, 12 + dy, 37, 21), false, font);
    rowLabels_.push_back(LabelAt(InGroup(kAlarms, 64, 16 + dy, 0, 0), L"時"));
    Combo_mm[i].Create(w, id + 1, InGroup(kAlarms, 80, 12 + dy, 37, 21), false, font);
    rowLabels_.push_back(LabelAt(InGroup(kAlarms, 120, 16 + dy, 0, 0), L"分"));
    Img_CD[i] = DrawnImage{InGroup(kAlarms, 144, 16 + dy, 13, 13), &Img_Opt_Off};
    lbl_CD[i] = LabelAt(InGroup(kAlarms, 160, 16 + dy, 0, 0), L"音楽CD");
    CD_Repeat[i].Create(w, id + 2, InGroup(kAlarms, 208, 12 + dy, 41, 20), true, font);
    rowLabels_.push_back(LabelAt(InGroup(kAlarms, 252, 16 + dy, 0, 0), L"曲目をﾘﾋﾟｰﾄ"));
    Img_MP3_Wav[i] = DrawnImage{InGroup(kAlarms, 332, 16 + dy, 13, 13), &Img_Opt_Off};
    lbl_MP3_Wav[i] = LabelAt(InGroup(kAlarms, 348, 16 + dy, 0, 0), L"MP3、WAV");
    Img_Snd_File[i] = DrawnImage{InGroup(kAlarms, 416, 12 + dy, 21, 20), &Img_Off, true};
    lbl_Snd_File[i] = Label(InGroup(kAlarms, 416, 16 + dy, 21, 13), L"...", Align::Centre);
    Img_Clear[i] = DrawnImage{InGroup(kAlarms, 440, 12 + dy, 53, 19), &Img_Off, true};
    lbl_Clear[i] = Label(InGroup(kAlarms, 440, 15 + dy, 53, 13), L"ｸﾘｱ", Align::Centre);
    rowLabels_.push_back(LabelAt(InGroup(kAlarms, 108, 40 + dy, 0, 0), L"Path :"));
    lbl_Sound_Path[i] = Label(InGroup(kAlarms, 144, 36 + dy, 349, 17), L"");
    lbl_Sound_Path[i].Border = true;
    lbl_Sound_Path[i].BackColor = kWhite;
    lbl_Sound_Path[i].PathEllipsis = true;
  }

  layoutStaticLabels();
  wireTargets();

  // Tool tips: the close picture's, and each path label's whole path, asked for when shown
  // (TTN_GETDISPINFOW), since a long one is shortened in its label.
  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, w,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (toolTip_) {
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
}

void F_Setting::layoutStaticLabels() {
  HFONT font = font_.get();
  for (auto& l : lbl) l.AutoSize(font);
  for (auto& l : lbl_Shape) l.AutoSize(font);
  for (auto& l : lbl_Alarm) l.AutoSize(font);
  for (auto& l : lbl_CD) l.AutoSize(font);
  for (auto& l : lbl_MP3_Wav) l.AutoSize(font);
  for (auto& l : rowLabels_) l.AutoSize(font);
}

void F_Setting::addTarget(const RECT& r, std::function<bool()> enabled,
                          std::function<void(int)> down, std::function<void(int)> up,
                          std::function<void()> move) {
  targets_.push_back(Target{&r, std::move(enabled), std::move(down), std::move(up), std::move(move)});
}

void F_Setting::wireTargets() {
  targets_.clear();
  auto always = [] { return true; };
  // The strip first: everything on it lies above it.
  addTarget(Image1.rect, always, [this](int b) { Image1_MouseDown(b); },
            [this](int) { Image1_MouseUp(); }, [this] { Image1_MouseMove(); });
  addTarget(ImgExit.rect, always,
            [this](int) {
              ImgExit.picture = &imgImages[1];
              repaint(ImgExit.rect);
            },
            [this](int) { ImgExit_MouseUp(); });
  // A label button answers over the whole of its face.
  addTarget(Img_End.rect, always, [this](int) { press(Img_End); },
            [this](int) { lbl_End_MouseUp(); });
  addTarget(Img_Can.rect, always, [this](int) { press(Img_Can); },
            [this](int) { lbl_Can_MouseUp(); });
  for (int i = 0; i <= 6; ++i) {
    addTarget(Img_Color[i].rect, [this, i] { return lbl_Color[i].Enabled; },
              [this, i](int) { press(Img_Color[i]); }, [this, i](int) { lbl_Color_MouseUp(i); });
  }
  for (int i = 0; i <= 3; ++i) addColourButton(Cmd_C[i], [this, i] { Cmd_C_Click(i); });
  addColourButton(Cmd_Filter, [this] { Cmd_Filter_Click(); });
  addTarget(Img_Free.rect, [this] { return lbl_Free.Enabled; }, [this](int) { press(Img_Free); },
            [this](int) { lbl_Free_MouseUp(); });
  // Option marks and their captions act on the press and have no pressed look.
  for (int i = 0; i <= 2; ++i) {
    for (const RECT* r : {&Img_Shape[i].rect, &lbl_Shape[i].rect})
      addTarget(*r, always, [this, i](int) { Img_Shape_MouseDown(i); });
  }
  for (int i = 0; i <= 1; ++i) {
    addTarget(Img_Alarm[i].rect, always, [this, i](int) { Img_Alarm_MouseDown(i); });
    addTarget(Img_CD[i].rect, [this, i] { return Img_CD[i].Enabled; },
              [this, i](int) { chooseSoundKind(i, 1); });
    addTarget(lbl_CD[i].rect, [this, i] { return lbl_CD[i].Enabled; },
              [this, i](int) { chooseSoundKind(i, 1); });
    addTarget(Img_MP3_Wav[i].rect, [this, i] { return Img_MP3_Wav[i].Enabled; },
              [this, i](int) { chooseSoundKind(i, 2); });
    addTarget(lbl_MP3_Wav[i].rect, [this, i] { return lbl_MP3_Wav[i].Enabled; },
              [this, i](int) { chooseSoundKind(i, 2); });
    addTarget(Img_Snd_File[i].rect, [this, i] { return lbl_Snd_File[i].Enabled; },
              [this, i](int) { press(Img_Snd_File[i]); },
              [this, i](int) { lbl_Snd_File_MouseUp(i); });
    addTarget(Img_Clear[i].rect, [this, i] { return lbl_Clear[i].Enabled; },
              [this, i](int) { press(Img_Clear[i]); }, [this, i](int) { lbl_Clear_MouseUp(i); });
  }
}

void F_Setting::addColourButton(ColourButton& button, std::function<void()> click) {
  ColourButton* b = &button;
  addTarget(
      b->rect, [b] { return b->Enabled; },
      [this, b](int mouse) {
        if (mouse != 1) return;
        b->Pressed = true;
        repaint(b->rect);
      },
      [this, b, click = std::move(click)](int mouse) {
        if (mouse != 1 || !b->Pressed) return;
        b->Pressed = false;
        repaint(b->rect);
        UpdateWindow(hwnd());
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (PtInRect(&b->rect, p)) click();
      });
}

const F_Setting::Target* F_Setting::targetAt(POINT p) const {
  for (auto it = targets_.rbegin(); it != targets_.rend(); ++it) {
    if (PtInRect(it->rect, p) && (!it->enabled || it->enabled())) return &*it;
  }
  return nullptr;
}

void F_Setting::setAlarmRowEnabled(int i, bool on) {
  for (AlarmRowControl c : AlarmRowControls()) {
    switch (c) {
      case AlarmRowControl::Combo_hh: Combo_hh[i].SetEnabled(on); break;
      case AlarmRowControl::Combo_mm: Combo_mm[i].SetEnabled(on); break;
      case AlarmRowControl::Img_CD: Img_CD[i].Enabled = on; break;
      case AlarmRowControl::lbl_CD: lbl_CD[i].Enabled = on; break;
      case AlarmRowControl::CD_Repeat: CD_Repeat[i].SetEnabled(on); break;
      case AlarmRowControl::Img_MP3_Wav: Img_MP3_Wav[i].Enabled = on; break;
      case AlarmRowControl::lbl_MP3_Wav: lbl_MP3_Wav[i].Enabled = on; break;
      case AlarmRowControl::lbl_Snd_File: lbl_Snd_File[i].Enabled = on; break;
      case AlarmRowControl::lbl_Clear: lbl_Clear[i].Enabled = on; break;
    }
  }
  if (Loaded()) InvalidateRect(hwnd(), nullptr, FALSE);
}

// ----------------------------------------------------------------------------- drawing

void F_Setting::TileBackground(ImageCanvas& pic) {
  ::TileBackground(pic, pic.PixelWidth(), pic.PixelHeight(), Pic_Mbl, kTextureWidth,
                   kTextureHeight);
}

void F_Setting::DrawPreview() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  ::DrawPreview(*Pic_Tokei, *Pic_Furiko, *Pic_ball, EditColor, EditShape,
                PreviewTime{now.wHour, now.wMinute, now.wSecond});
  Pic_bBackColor = EditColor[0];
  repaint(Pic_b);
  // The preview's dial is round whatever the shape.
  Region region(CreateEllipticRgn(0, 0, 81, 81));
  if (SetWindowRgn(Pic_Tokei->hwnd(), region.get(), TRUE)) region.release();
}

void F_Setting::DrawMemoryGraph() {
  const MemoryGraphCaptions captions = memoryGraph_.Refresh(
      *Board, {Cmd_C[0].BackColor, Cmd_C[1].BackColor, Cmd_C[2].BackColor, Cmd_C[3].BackColor},
      memory_);
  // A label repaints (and the window recomposes) only when its figure moved.
  for (auto [label, caption] : {std::pair{&lbl_Free_mem[0], &captions.freePhysical},
                                std::pair{&lbl_Free_mem[1], &captions.freeVirtual}}) {
    if (label->Caption == *caption) continue;
    label->Caption = *caption;
    repaint(label->rect);
  }
}

void F_Setting::paint(HDC dc) {
  Image1.Paint(dc);
  BitBlt(dc, 0, kBaseTop, kBaseWidth, kBaseHeight, Pic_Base->Dc(), 0, 0, SRCCOPY);
  for (int n = 0; n < 5; ++n) {
    RECT frame = kGroups[n];
    OffsetRect(&frame, 0, kBaseTop);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    BitBlt(dc, frame.left + kGroupBorder, frame.top + kGroupBorder, Pic_b1[n]->PixelWidth(),
           Pic_b1[n]->PixelHeight(), Pic_b1[n]->Dc(), 0, 0, SRCCOPY);
  }
  {
    Brush back(CreateSolidBrush(ToColorRef(Pic_bBackColor)));
    FillRect(dc, &Pic_b, back.get());
    FrameRect(dc, &Pic_b, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }

  for (const auto* img : {&ImgExit, &Img_End, &Img_Can, &Img_Free}) img->Paint(dc);
  for (const auto& img : Img_TT) img.Paint(dc);
  for (const auto& img : Img_Color) img.Paint(dc);
  for (const auto& img : Img_Shape) img.Paint(dc);
  for (int i = 0; i <= 1; ++i) {
    for (const auto* img : {&Img_Alarm[i], &Img_CD[i], &Img_MP3_Wav[i], &Img_Snd_File[i],
                            &Img_Clear[i]})
      img->Paint(dc);
  }
  for (const auto& b : Cmd_C) b.Paint(dc);
  Cmd_Filter.Paint(dc);

  HFONT font = font_.get();
  for (const auto& l : lbl) l.Paint(dc, font);
  for (const auto* l : {&lbl_End, &lbl_Can, &lbl_Free, &lbl_Ival, &lbl_Kagen}) l->Paint(dc, font);
  for (const auto& l : lbl_Color) l.Paint(dc, font);
  for (const auto& l : lbl_Tcolor) l.Paint(dc, font);
  for (const auto& l : lbl_Shape) l.Paint(dc, font);
  for (int i = 0; i <= 1; ++i) {
    for (const auto* l : {&lbl_Tatal_mem[i], &lbl_Free_mem[i], &lbl_Alarm[i], &lbl_CD[i],
                          &lbl_MP3_Wav[i], &lbl_Snd_File[i], &lbl_Clear[i], &lbl_Sound_Path[i]})
      l->Paint(dc, font);
  }
  for (const auto& l : rowLabels_) l.Paint(dc, font);
}

void F_Setting::repaint(const RECT& r) {
  if (Loaded()) InvalidateRect(hwnd(), &r, FALSE);
}

void F_Setting::press(DrawnImage& face) {
  face.picture = &Img_On;
  repaint(face.rect);
}

void F_Setting::release(DrawnImage& face) {
  face.picture = &Img_Off;
  repaint(face.rect);
  // The released face shows before the button's action starts.
  UpdateWindow(hwnd());
}

// ----------------------------------------------------------------------------- saving

void F_Setting::SaveSettings() {
  DialogValues v;
  v.EditColor = EditColor;
  for (int i = 0; i <= 3; ++i) v.GraphColor[i] = Cmd_C[i].BackColor;
  v.FilterColor = Cmd_Filter.BackColor;
  v.EditShape = EditShape;
  v.EditAlarmOn = EditAlarmOn;
  v.EditSoundKind = EditSoundKind;
  for (int i = 0; i <= 1; ++i) {
    v.HourText[i] = Combo_hh[i].Text();
    v.MinuteText[i] = Combo_mm[i].Text();
    v.TrackText[i] = CD_Repeat[i].Text();
    v.SoundPath[i] = lbl_Sound_Path[i].Caption;
  }
  v.Ival = static_cast<std::int16_t>(HS_Ival.Value());
  v.Kagen = static_cast<std::int16_t>(HS_Kagen.Value());
  IniWriter writer(app_.IniPath);
  ::SaveSettings(v, app_.settings, writer);
}

// ----------------------------------------------------------------------------- handlers

void F_Setting::Image1_MouseDown(int button) {
  if (button == 1) drag_.Start(hwnd());
}

void F_Setting::Image1_MouseMove() { drag_.Follow(hwnd()); }

void F_Setting::Image1_MouseUp() { drag_.End(); }

void F_Setting::Timer1_Timer() { DrawMemoryGraph(); }

void F_Setting::lbl_End_MouseUp() {
  release(Img_End);
  SaveSettings();
  if (app_.MenuSource == MenuPlace::Clock) commands_.ReloadClock();
  Unload();
}

void F_Setting::lbl_Can_MouseUp() {
  release(Img_Can);
  Unload();
}

void F_Setting::ImgExit_MouseUp() {
  ImgExit.picture = &imgImages[0];
  repaint(ImgExit.rect);
  UpdateWindow(hwnd());
  Unload();
}

void F_Setting::HS_Ival_Change() {
  lbl_Ival.Caption = IvalLabel(HS_Ival.Value());
  repaint(lbl_Ival.rect);
}

void F_Setting::HS_Kagen_Change() {
  lbl_Kagen.Caption = KagenLabel(HS_Kagen.Value());
  repaint(lbl_Kagen.rect);
}

void F_Setting::onScroll(HWND bar, int request, int position) {
  if (bar == HS_Ival.hwnd()) {
    if (HS_Ival.Scroll(request, position)) HS_Ival_Change();
  } else if (bar == HS_Kagen.hwnd()) {
    if (HS_Kagen.Scroll(request, position)) HS_Kagen_Change();
  }
}

void F_Setting::lbl_Color_MouseUp(int index) {
  release(Img_Color[index]);
  if (index == 6) {
    EditColor = DefaultClockColours();
  } else {
    const auto colour = PickColour(hwnd());
    if (!colour || !Loaded()) return;
    EditColor[index] = *colour;
  }
  for (int j = 0; j <= 5; ++j) {
    lbl_Tcolor[j].BackColor = EditColor[j];
    repaint(lbl_Tcolor[j].rect);
  }
  DrawPreview();
}

void F_Setting::Cmd_C_Click(int index) {
  const auto colour = PickColour(hwnd());
  if (!colour || !Loaded()) return;
  Cmd_C[index].BackColor = *colour;
  repaint(Cmd_C[index].rect);
  DrawMemoryGraph();
}

void F_Setting::Cmd_Filter_Click() {
  const auto colour = PickColour(hwnd());
  if (!colour || !Loaded()) return;
  Cmd_Filter.BackColor = *colour;
  repaint(Cmd_Filter.rect);
  // In use at once, by a cleaning started before the dialog closes too, even if it is cancelled.
  app_.settings.Filter_Color = Cmd_Filter.BackColor;
}

void F_Setting::Img_Alarm_MouseDown(int index) {
  EditAlarmOn[index] = ToggledAlarm(EditAlarmOn[index]);
  showAlarmSwitch(index);
}

void F_Setting::showAlarmSwitch(int index) {
  const std::int16_t state = EditAlarmOn[index];
  const AlarmSwitchLook look = AlarmSwitch(state);
  // Only the two switch states have a picture; any other value keeps the one shown.
  if (state == 0 || state == 1) Img_Alarm[index].picture = &Img_Ra[look.picture];
  lbl_Alarm[index].Caption = look.caption;
  lbl_Alarm[index].ForeColor = look.captionColour;
  setAlarmRowEnabled(index, look.rowEnabled);
}

void F_Setting::chooseSoundKind(int index, std::int16_t kind) {
  EditSoundKind[index] = kind;
  Img_CD[index].picture = kind == 1 ? &Img_Opt_On : &Img_Opt_Off;
  Img_MP3_Wav[index].picture = kind == 1 ? &Img_Opt_Off : &Img_Opt_On;
  repaint(Img_CD[index].rect);
  repaint(Img_MP3_Wav[index].rect);
}

void F_Setting::lbl_Snd_File_MouseUp(int index) {
  release(Img_Snd_File[index]);
  const auto path = PickSoundFile(hwnd(), app_.settings.Alarm_Path);
  if (!path || !Loaded()) return;
  lbl_Sound_Path[index].Caption = *path;
  repaint(lbl_Sound_Path[index].rect);
  // The next chooser, of either row, opens where this file was found.
  app_.settings.Alarm_Path = GetDirectory(lbl_Sound_Path[index].Caption);
}

void F_Setting::lbl_Clear_MouseUp(int index) {
  release(Img_Clear[index]);
  lbl_Sound_Path[index].Caption.clear();
  repaint(lbl_Sound_Path[index].rect);
}

void F_Setting::Img_Shape_MouseDown(int index) {
  for (auto& img : Img_Shape) img.picture = &Img_Opt_Off;
  Img_Shape[index].picture = &Img_Opt_On;
  for (const auto& img : Img_Shape) repaint(img.rect);
  EditShape = static_cast<std::int16_t>(index);
  DrawPreview();
}

void F_Setting::lbl_Free_MouseUp() {
  release(Img_Free);
  const std::wstring total = TotalPhysText(memory_, false);
  const int limit = HS_Kagen.Value();
  const std::wstring avail = AvailPhysText(memory_, false);
  if (ShouldReleaseMemory(total, avail, limit)) commands_.OpenCleaner();
}

void F_Setting::QueryUnload() {
  app_.SettingsDialogOpen = 0;
  Timer1.SetEnabled(false);
  captured_ = nullptr;
  // The memory check follows the interval that is saved, which the settings model holds:
  // read at this dialog's load, and read again by the clock's reload after OK. The bar's
  // position may be an edit that was never saved.
  commands_.SetMemoryCheck(true);
}

bool F_Setting::PreTranslate(const MSG& msg) {
  if (!Loaded() || msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  for (int i = 0; i <= 1; ++i) {
    for (const ComboBox* c : {&Combo_hh[i], &Combo_mm[i], &CD_Repeat[i]})
      if (c->Dropped()) return false;  // Esc closes the list first
  }
  lbl_Can_MouseUp();
  return true;
}

LRESULT F_Setting::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
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
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.get(), ps.rcPaint.left,
               ps.rcPaint.top, SRCCOPY);
      }
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wp == Timer1.Id()) Timer1_Timer();
      return 0;
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wp);
      bool hand = false;
      if (over == hwnd()) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        const Target* t = targetAt(p);
        hand = t && t != &targets_.front();  // the title strip keeps the arrow
      } else if (IsWindowEnabled(over)) {
        HWND control = GetParent(over) == hwnd() ? over : GetParent(over);
        for (int i = 0; i <= 1; ++i) {
          if (control == Combo_hh[i].hwnd() || control == Combo_mm[i].hwnd() ||
              control == CD_Repeat[i].hwnd())
            hand = true;
        }
        if (control == HS_Ival.hwnd() || control == HS_Kagen.hwnd()) hand = true;
      }
      if (hand) {
        SetCursor(handCursor_);
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      const Target* t = targetAt(p);
      if (!t) return 0;
      captured_ = t;
      SetCapture(hwnd());
      const int button = msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4;
      if (t->down) t->down(button);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (captured_ && captured_->move) captured_->move();
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const Target* t = captured_;
      captured_ = nullptr;
      if (GetCapture() == hwnd()) ReleaseCapture();
      const int button = msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4;
      if (t && t->up) t->up(button);
      return 0;
    }
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (m->CtlType != ODT_COMBOBOX) break;
      ComboBox::MeasureItem(*m, kComboFieldHeight);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlType != ODT_COMBOBOX) break;
      ComboBox::DrawItem(*d, font_.get());
      return TRUE;
    }
    case WM_NOTIFY: {
      auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lp);
      if (tip->hdr.hwndFrom != toolTip_ || tip->hdr.code != TTN_GETDISPINFOW) break;
      const UINT_PTR i = tip->hdr.idFrom - kPathTip;
      if (i <= 1) tip->lpszText = const_cast<wchar_t*>(lbl_Sound_Path[i].Caption.c_str());
      return 0;
    }
    case WM_HSCROLL:
      onScroll(reinterpret_cast<HWND>(lp), LOWORD(wp), static_cast<short>(HIWORD(wp)));
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        lbl_Can_MouseUp();
        return 0;
      }
      break;
    case WM_CLOSE:
      Unload();
      return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}
