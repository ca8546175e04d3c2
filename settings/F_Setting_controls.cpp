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

// A real control's id: its row of the table, past this.
constexpr int kFirstChildId = 10;

}  // namespace

void F_Setting::makeFont() {
  font_.reset(FontAt(DialogFont(), Dpi()));
}

// In place, so the controls that show a picture keep pointing at theirs.
void F_Setting::loadPictures() {
  for (int id : {IDB_TITLE, IDB_CLOSE_UP, IDB_CLOSE_DOWN, IDB_HEADING, IDB_BUTTON_OFF,
                 IDB_BUTTON_ON, IDB_OPTION_OFF, IDB_OPTION_ON, IDB_SWITCH_OFF, IDB_SWITCH_ON})
    art_[id] = Picture(id, Dpi());
}

void F_Setting::createControls(bool placeOnly) {
  // The texture is a tile, laid at its own pixels: its one finer drawing serves every density
  // above 100 %.
  const Picture texture(IDB_TEXTURE, Dpi());
  const int tileW = texture.Empty() ? Px(kTextureWidth) : texture.Width();
  const int tileH = texture.Empty() ? Px(kTextureHeight) : texture.Height();
  Pic_Mbl = std::make_unique<ImageCanvas>(tileW, tileH);
  Pic_Mbl->SetBackColour(kBaseGrey);
  texture.Draw(Pic_Mbl->Dc(), RectAt(0, 0, tileW, tileH), true, Dpi());
  Pic_Base = std::make_unique<ImageCanvas>(Px(dl::kBasePanel.w), Px(dl::kBasePanel.h));
  Pic_Base->SetBackColour(kBaseGrey);
  for (int n = 0; n < 5; ++n) {
    const dl::Box panel = dl::GroupPanel(dl::kFramedGroups[n]);
    Pic_b1[n] = std::make_unique<ImageCanvas>(Px(panel.w), Px(panel.h));
    Pic_b1[n]->SetBackColour(kBaseGrey);
  }
  Pic_ball = std::make_unique<ImageCanvas>(Px(BallSpriteSize), Px(BallSpriteSize));  // preview bob
  memoryGraph_ = MemoryGraph(Dpi());                          // a new board shows no pie yet
  if (!placeOnly) {
    for (Slot& s : slots_) s = Slot{};
  }
  for (const dl::Control& c : dl::Controls()) createControl(c, placeOnly);
  if (!placeOnly) nameRealControls();
  wireTargets();
  if (placeOnly && toolTip_) DestroyWindow(toolTip_);
  createToolTips();
}

void F_Setting::createControl(const dl::Control& c, bool placeOnly) {
  Slot& s = slot(c);
  const RECT r = Px(dl::ClientBox(c));
  const int id = kFirstChildId + static_cast<int>(&c - dl::Controls().data());
  switch (c.kind) {
    case dl::Kind::Picture:
    case dl::Kind::Face:
      if (placeOnly) {
        s.image.rect = r;
        s.image.dpi = Dpi();
      } else {
        s.image = DrawnImage{r, art(c.picture), c.kind == dl::Kind::Face, Dpi()};
      }
      break;
    case dl::Kind::Label:
    case dl::Kind::FitLabel:
      createLabel(c, r, placeOnly);
      break;
    case dl::Kind::ColourButton:
      s.colour.rect = r;
      break;
    case dl::Kind::ListCombo:
    case dl::Kind::EditCombo:
      if (placeOnly)
        s.combo.Place(r, font_.get(), Px(dl::kComboFieldHeight));
      else
        s.combo.Create(hwnd(), id, r, c.kind == dl::Kind::EditCombo, font_.get());
      break;
    case dl::Kind::ScrollBar:
      if (placeOnly)
        s.bar.Place(r);
      else
        s.bar.Create(hwnd(), id, r, c.id == Id::IvalBar ? kIvalRange : kKagenRange);
      break;
    case dl::Kind::PictureBox:
      s.box = std::make_unique<PictureBox>(hwnd(), r.left, r.top, r.right - r.left,
                                           r.bottom - r.top);
      if (c.id == Id::Board) {
        const FontSpec font = DialogFont();
        s.box->SetFont(font.face.c_str(), Px(font.pixels), static_cast<BYTE>(font.charset));
        s.box->SetBackColour(kBaseGrey);
      } else if (c.id == Id::PreviewDial) {
        s.box->SetFont(kNumeralFace, Px(kNumeralPixels96), DEFAULT_CHARSET);
      }
      break;
    case dl::Kind::Frame:
      s.frame = r;
      break;
  }
}

void F_Setting::createLabel(const dl::Control& c, const RECT& r, bool placeOnly) {
  // Placed anew, a label keeps its caption and look.
  DrawnLabel& l = slot(c).label;
  if (!placeOnly) {
    l = DrawnLabel{};
    l.Caption = dl::Caption(c);
    l.Alignment = c.align;
    l.Border = c.style & dl::kBorder;
    l.PathEllipsis = c.style & dl::kPathEllipsis;
    if (c.style & dl::kWhiteBack) l.BackColor = kWhite;
    if (c.style & dl::kWhiteText) l.ForeColor = kWhite;
  }
  l.rect = r;
  if (c.kind == dl::Kind::FitLabel) {
    // Its box is the room kept for it; it takes its caption's width.
    l.rect.right = l.rect.left;
    l.AutoSize(font_.get());
  }
}

const F_Setting::Slot& F_Setting::slot(const dl::Control& c) const {
  return slots_[static_cast<std::size_t>(&c - dl::Controls().data())];
}

F_Setting::Slot& F_Setting::slot(const dl::Control& c) {
  return slots_[static_cast<std::size_t>(&c - dl::Controls().data())];
}

const RECT* F_Setting::drawnRect(const dl::Control& c) const {
  const Slot& s = slot(c);
  switch (c.kind) {
    case dl::Kind::Picture:
    case dl::Kind::Face: return &s.image.rect;
    case dl::Kind::Label:
    case dl::Kind::FitLabel: return &s.label.rect;
    case dl::Kind::ColourButton: return &s.colour.rect;
    case dl::Kind::Frame: return &s.frame;
    default: return nullptr;
  }
}

HWND F_Setting::windowOf(const dl::Control& c) const {
  const Slot& s = slot(c);
  switch (c.kind) {
    case dl::Kind::ListCombo:
    case dl::Kind::EditCombo: return s.combo.hwnd();
    case dl::Kind::ScrollBar: return s.bar.hwnd();
    case dl::Kind::PictureBox: return s.box ? s.box->hwnd() : nullptr;
    default: return nullptr;
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
  addTip(1, image(Id::Close).rect, Tr(Text::CloseTip).c_str());
  for (int i = 0; i <= 1; ++i) addTip(kPathTip + i, label(Id::Path, i).rect, LPSTR_TEXTCALLBACKW);
  // A path wider than the screen breaks into lines at its blanks.
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
}
