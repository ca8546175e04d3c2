// Building the settings dialog's controls by walking its layout table, and laying them out
// anew at another density: the pictures and font for the density, the drawn images and labels,
// the real lists and scroll bars, the preview's and the pie's picture boxes, the tool tips.
#include "settings/F_Setting.h"

#include <utility>

#include "clock/pendulum.h"
#include "res/resource_ids.h"
#include "settings/edit_rules.h"
#include "settings/preview.h"
#include "ui/late_dlls.h"
#include "ui/screen_dpi.h"

namespace dl = dialog_layout;
using dl::Id;

namespace {

constexpr int kTextureWidth = 579, kTextureHeight = 21;
constexpr Colour kBaseGrey = 0x808080;
constexpr Colour kWhite = 0xFFFFFF;

// Ids of the real controls.
enum ControlId { kIdIval = 10, kIdKagen, kIdCombo = 20 };

}  // namespace

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
  rowRects_.assign(dl::Controls().size(), nullptr);
  for (const dl::Control& c : dl::Controls()) createControl(c, placeOnly);
  if (!placeOnly) nameRealControls();
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
      rowRects_[&c - dl::Controls().data()] = &img->rect;
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
      rowRects_[&c - dl::Controls().data()] = &b->rect;
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
    case dl::Kind::PictureBox:
      createPictureBox(c, r);
      break;
    case dl::Kind::Frame:
      Pic_b = r;
      rowRects_[&c - dl::Controls().data()] = &Pic_b;
      break;
  }
}

void F_Setting::createPictureBox(const dl::Control& c, const RECT& r) {
  auto box = std::make_unique<PictureBox>(hwnd(), r.left, r.top, r.right - r.left,
                                          r.bottom - r.top);
  if (c.id == Id::Board) {
    box->SetFont(dl::kFont.face, Px(dl::kFont.pixels), SHIFTJIS_CHARSET);
    box->SetBackColour(kBaseGrey);
  } else if (c.id == Id::PreviewDial) {
    box->SetFont(kNumeralFace, Px(kNumeralPixels96), DEFAULT_CHARSET);
  }
  (c.id == Id::Board ? Board : c.id == Id::PreviewDial ? Pic_Tokei : Pic_Furiko) =
      std::move(box);
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
    l->Caption = dl::Caption(c);
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
  rowRects_[&c - dl::Controls().data()] = &l->rect;
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
  addTip(1, ImgExit.rect, Tr(Text::CloseTip).c_str());
  for (int i = 0; i <= 1; ++i) addTip(kPathTip + i, lbl_Sound_Path[i].rect, LPSTR_TEXTCALLBACKW);
  // A path wider than the screen breaks into lines at its blanks.
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
}
