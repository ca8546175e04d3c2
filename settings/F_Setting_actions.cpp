// What the settings dialog's controls do: the drawn controls' mouse targets, the handlers of
// every control, drawing the preview and the pie, and saving.
#include "settings/F_Setting.h"

#include <utility>

#include "model/convert.h"
#include "model/ini_file.h"
#include "settings/edit_rules.h"
#include "settings/pickers_win.h"
#include "settings/preview.h"
#include "settings/save_settings.h"
#include "settings/tile_background.h"

using dialog_layout::Id;

namespace {

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

void F_Setting::addTarget(Id id, int index, const RECT& r, std::function<bool()> enabled,
                          std::function<void(int)> down, std::function<void(int)> up,
                          std::function<void()> move) {
  const dialog_layout::Control* c = dialog_layout::Find(id, index);
  const bool hand = c && c->cursor == dialog_layout::Cursor::Hand;
  // A left press moves the keyboard focus there first, as on a button; the focus rectangle
  // still waits for the keyboard.
  const dialog_layout::Control* focus = dialog_layout::FocusOnPress(id, index);
  auto press = [this, focus, down = std::move(down)](int button) {
    if (button == 1 && focus) focusOn(focus);
    if (down) down(button);
  };
  targets_.Add(HitTargets::Target{&r, hand, std::move(enabled), std::move(press), std::move(up),
                                  std::move(move)});
}

void F_Setting::wireTargets() {
  targets_.Clear();
  auto always = [] { return true; };
  // The strip first: everything on it lies above it.
  addTarget(Id::TitleStrip, 0, Image1.rect, always, [this](int b) { Image1_MouseDown(b); },
            [this](int) { Image1_MouseUp(); }, [this] { Image1_MouseMove(); });
  addTarget(Id::Close, 0, ImgExit.rect, always,
            [this](int) {
              ImgExit.picture = &imgImages[1];
              repaint(ImgExit.rect);
            },
            [this](int) { ImgExit_MouseUp(); });
  // A label button answers over the whole of its face.
  addTarget(Id::OkFace, 0, Img_End.rect, always, [this](int) { press(Img_End); },
            [this](int) { lbl_End_MouseUp(); });
  addTarget(Id::CancelFace, 0, Img_Can.rect, always, [this](int) { press(Img_Can); },
            [this](int) { lbl_Can_MouseUp(); });
  for (int i = 0; i <= 6; ++i) {
    addTarget(Id::ColourFace, i, Img_Color[i].rect, [this, i] { return lbl_Color[i].Enabled; },
              [this, i](int) { press(Img_Color[i]); }, [this, i](int) { lbl_Color_MouseUp(i); });
  }
  for (int i = 0; i <= 3; ++i) addColourButton(Cmd_C[i], [this, i] { Cmd_C_Click(i); });
  addColourButton(Cmd_Filter, [this] { Cmd_Filter_Click(); });
  addTarget(Id::FreeFace, 0, Img_Free.rect, [this] { return lbl_Free.Enabled; },
            [this](int) { press(Img_Free); }, [this](int) { lbl_Free_MouseUp(); });
  // Option marks and their captions act on the press and have no pressed look.
  for (int i = 0; i <= 2; ++i) {
    addTarget(Id::ShapeMark, i, Img_Shape[i].rect, always, [this, i](int) { Img_Shape_MouseDown(i); });
    addTarget(Id::ShapeCaption, i, lbl_Shape[i].rect, always,
              [this, i](int) { Img_Shape_MouseDown(i); });
  }
  for (int i = 0; i <= 1; ++i) wireAlarmRow(i);
}

void F_Setting::wireAlarmRow(int i) {
  auto always = [] { return true; };
  addTarget(Id::AlarmSwitch, i, Img_Alarm[i].rect, always, [this, i](int) { Img_Alarm_MouseDown(i); });
  addTarget(Id::CdMark, i, Img_CD[i].rect, [this, i] { return Img_CD[i].Enabled; },
            [this, i](int) { chooseSoundKind(i, 1); });
  addTarget(Id::CdCaption, i, lbl_CD[i].rect, [this, i] { return lbl_CD[i].Enabled; },
            [this, i](int) { chooseSoundKind(i, 1); });
  addTarget(Id::FileMark, i, Img_MP3_Wav[i].rect, [this, i] { return Img_MP3_Wav[i].Enabled; },
            [this, i](int) { chooseSoundKind(i, 2); });
  addTarget(Id::FileCaption, i, lbl_MP3_Wav[i].rect, [this, i] { return lbl_MP3_Wav[i].Enabled; },
            [this, i](int) { chooseSoundKind(i, 2); });
  addTarget(Id::FileFace, i, Img_Snd_File[i].rect, [this, i] { return lbl_Snd_File[i].Enabled; },
            [this, i](int) { press(Img_Snd_File[i]); },
            [this, i](int) { lbl_Snd_File_MouseUp(i); });
  addTarget(Id::ClearFace, i, Img_Clear[i].rect, [this, i] { return lbl_Clear[i].Enabled; },
            [this, i](int) { press(Img_Clear[i]); }, [this, i](int) { lbl_Clear_MouseUp(i); });
}

void F_Setting::addColourButton(ColourButton& button, std::function<void()> click) {
  ColourButton* b = &button;
  const Id id = b == &Cmd_Filter ? Id::FilterColour : Id::GraphColour;
  const int index = b == &Cmd_Filter ? 0 : static_cast<int>(b - Cmd_C.data());
  addTarget(
      id, index, b->rect, [b] { return b->Enabled; },
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
  ::TileBackground(pic, pic.PixelWidth(), pic.PixelHeight(), *Pic_Mbl, Pic_Mbl->PixelWidth(),
                   Pic_Mbl->PixelHeight());
}

void F_Setting::DrawPreview() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  ::DrawPreview(*Pic_Tokei, *Pic_Furiko, *Pic_ball, EditColor, EditShape,
                PreviewTime{now.wHour, now.wMinute, now.wSecond}, dpi_);
  Pic_bBackColor = EditColor[0];
  repaint(Pic_b);
  // The preview's dial is round whatever the shape.
  const int side = Pic_Tokei->PixelWidth() + 1;
  Region region(CreateEllipticRgn(0, 0, side, side));
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
  announce(Id::IvalBar, 0, EVENT_OBJECT_VALUECHANGE);
}

void F_Setting::HS_Kagen_Change() {
  lbl_Kagen.Caption = KagenLabel(HS_Kagen.Value());
  repaint(lbl_Kagen.rect);
  announce(Id::KagenBar, 0, EVENT_OBJECT_VALUECHANGE);
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
    announce(Id::ColourSwatch, j, EVENT_OBJECT_VALUECHANGE);
  }
  DrawPreview();
}

void F_Setting::Cmd_C_Click(int index) {
  const auto colour = PickColour(hwnd());
  if (!colour || !Loaded()) return;
  Cmd_C[index].BackColor = *colour;
  repaint(Cmd_C[index].rect);
  announce(Id::GraphColour, index, EVENT_OBJECT_VALUECHANGE);
  DrawMemoryGraph();
}

void F_Setting::Cmd_Filter_Click() {
  const auto colour = PickColour(hwnd());
  if (!colour || !Loaded()) return;
  Cmd_Filter.BackColor = *colour;
  repaint(Cmd_Filter.rect);
  announce(Id::FilterColour, 0, EVENT_OBJECT_VALUECHANGE);
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
  Img_Alarm[index].picture = &Img_Ra[look.picture];
  lbl_Alarm[index].Caption = Tr(look.caption);
  lbl_Alarm[index].ForeColor = look.captionColour;
  setAlarmRowEnabled(index, look.rowEnabled);
  announce(Id::AlarmSwitch, index, EVENT_OBJECT_STATECHANGE);
}

void F_Setting::chooseSoundKind(int index, std::int16_t kind) {
  EditSoundKind[index] = kind;
  Img_CD[index].picture = kind == 1 ? &Img_Opt_On : &Img_Opt_Off;
  Img_MP3_Wav[index].picture = kind == 1 ? &Img_Opt_Off : &Img_Opt_On;
  repaint(Img_CD[index].rect);
  repaint(Img_MP3_Wav[index].rect);
  announce(Id::CdMark, index, EVENT_OBJECT_STATECHANGE);
  announce(Id::FileMark, index, EVENT_OBJECT_STATECHANGE);
}

void F_Setting::lbl_Snd_File_MouseUp(int index) {
  release(Img_Snd_File[index]);
  const auto path = PickSoundFile(hwnd(), app_.settings.Alarm_Path);
  if (!path || !Loaded()) return;
  showPath(index, *path, false);
  // The next chooser, of either row, opens where this file was found.
  app_.settings.Alarm_Path = GetDirectory(lbl_Sound_Path[index].Caption);
}

void F_Setting::lbl_Clear_MouseUp(int index) {
  release(Img_Clear[index]);
  showPath(index, L"", false);
}

void F_Setting::Img_Shape_MouseDown(int index) {
  for (auto& img : Img_Shape) img.picture = &Img_Opt_Off;
  Img_Shape[index].picture = &Img_Opt_On;
  for (const auto& img : Img_Shape) repaint(img.rect);
  EditShape = static_cast<std::int16_t>(index);
  for (int i = 0; i <= 2; ++i) announce(Id::ShapeMark, i, EVENT_OBJECT_STATECHANGE);
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
  access_.Disconnect();
  focus_ = nullptr;
  app_.SettingsDialogOpen = 0;
  Timer1.SetEnabled(false);
  targets_.Drop();
  // The memory check follows the interval that is saved, which the settings model holds:
  // read at this dialog's load, and read again by the clock's reload after OK. The bar's
  // position may be an edit that was never saved.
  commands_.SetMemoryCheck(true);
}

bool F_Setting::PreTranslate(const MSG& msg) {
  if (!Loaded() || msg.message != WM_KEYDOWN) return false;
  if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
  if (msg.wParam != VK_ESCAPE) return onKey(msg);
  if (comboDropped()) return false;  // Esc closes the list first
  lbl_Can_MouseUp();
  return true;
}
