// What the settings dialog's controls do: the drawn controls' mouse targets, the handlers of
// every control, drawing the preview and the pie, and saving.
#include "settings/F_Setting.h"

#include <utility>

#include "model/convert.h"
#include "model/palette.h"
#include "res/resource_ids.h"
#include "settings/edit_rules.h"
#include "settings/alarm_list.h"
#include "settings/alarm_list_win.h"
#include "settings/alarm_options_win.h"
#include "ui/system_colours.h"
#include "settings/pickers_win.h"
#include "settings/preview.h"
#include "settings/save_settings.h"
#include "settings/tile_background.h"

namespace dl = dialog_layout;
using dl::Id;

namespace {

// The keys as SaveSettings gives them, for the store to write.
class KeyRecorder : public SettingsWriter {
 public:
  bool Write(const IniEntries& entries) override {
    keys = entries;
    return true;
  }
  IniEntries keys;
};

}  // namespace

void F_Setting::addTarget(const dl::Control& c, std::function<void(int)> down,
                          std::function<void(int)> up, std::function<void()> move) {
  // A left press moves the keyboard focus there first, as on a button; the focus rectangle
  // still waits for the keyboard.
  const dl::Control* focus = dl::FocusOnPress(c.id, c.index);
  auto press = [this, focus, down = std::move(down)](int button) {
    if (button == 1 && focus) focusOn(focus);
    if (down) down(button);
  };
  targets_.Add(HitTargets::Target{drawnRect(c), c.cursor == dl::Cursor::Hand,
                                  [this, &c] { return enabled(c); }, std::move(press),
                                  std::move(up), std::move(move)});
}

// Every drawn control that shows the hand acts, in the table's order: the strip first, so
// everything on it lies above it.
void F_Setting::wireTargets() {
  targets_.Clear();
  for (const dl::Control& c : dl::Controls()) {
    DrawnImage& face = slot(c).image;
    if (c.id == Id::TitleStrip) {
      addTarget(c, [this](int b) { Image1_MouseDown(b); }, [this](int) { Image1_MouseUp(); },
                [this] { Image1_MouseMove(); });
    } else if (c.cursor != dl::Cursor::Hand || !drawnRect(c)) {
      continue;  // a real control takes its own mouse
    } else if (c.kind == dl::Kind::ColourButton) {
      addColourTarget(c);
    } else if (c.id == Id::Close) {
      addTarget(
          c,
          [this, &face](int) {
            face.picture = art(IDB_CLOSE_DOWN);
            repaint(face.rect);
          },
          [this, &c](int) { click(c); });
    } else if (c.kind == dl::Kind::Face) {
      // A label button answers over the whole of its face.
      addTarget(c, [this, &face](int) { press(face); }, [this, &c](int) { click(c); });
    } else {
      // Marks, the switch and the captions acting as their marks act on the press and have no
      // pressed look.
      const dl::Control* mark = dl::FocusOnPress(c.id, c.index);
      addTarget(c, [this, mark](int) { click(*mark); });
    }
  }
}

// A colour button acts only when the left button is let go over it.
void F_Setting::addColourTarget(const dl::Control& c) {
  ColourButton* b = &slot(c).colour;
  addTarget(
      c,
      [this, b](int mouse) {
        if (mouse != 1) return;
        b->Pressed = true;
        repaint(b->rect);
      },
      [this, b, &c](int mouse) {
        if (mouse != 1 || !b->Pressed) return;
        b->Pressed = false;
        repaint(b->rect);
        UpdateWindow(hwnd());
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (PtInRect(&b->rect, p)) click(c);
      });
}

void F_Setting::applyEnabled() {
  for (const dl::Control& c : dl::Controls()) {
    Slot& s = slot(c);
    const bool on = enabled(c);
    s.label.Enabled = on;
    if (s.combo.hwnd()) s.combo.SetEnabled(on);
    if (s.bar.hwnd()) s.bar.SetEnabled(on);
  }
  if (Loaded()) InvalidateRect(hwnd(), nullptr, FALSE);
}

// ----------------------------------------------------------------------------- drawing

void F_Setting::TileBackground(ImageCanvas& pic) {
  if (highContrast_) {  // no picture behind text
    pic.SetBackColour(SystemColour(COLOR_BTNFACE));
    return;
  }
  ::TileBackground(pic, pic.PixelWidth(), pic.PixelHeight(), *Pic_Mbl, Pic_Mbl->PixelWidth(),
                   Pic_Mbl->PixelHeight());
}

void F_Setting::DrawPreview() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  PictureBox& dial = box(Id::PreviewDial);
  ::DrawPreview(dial, box(Id::PreviewPendulum), *Pic_ball, EditColor, EditShape,
                PreviewTime{now.wHour, now.wMinute, now.wSecond}, Dpi());
  Pic_bBackColor = EditColor[0];
  repaint(slot(*dl::Find(Id::PreviewFrame)).frame);
  // The preview's dial is round whatever the shape.
  const int side = dial.PixelWidth() + 1;
  Region region(CreateEllipticRgn(0, 0, side, side));
  if (SetWindowRgn(dial.hwnd(), region.get(), TRUE)) region.release();
}

void F_Setting::DrawMemoryGraph() {
  std::array<Colour, 4> colours{};
  for (int k = 0; k < 4; ++k) colours[k] = colour(Id::GraphColour, k).BackColor;
  const PieColours pie =
      ChoosePieColours(colours, highContrast_, highContrast_ ? WindowColours() : SystemColours{});
  const MemoryGraphCaptions captions =
      memoryGraph_.Refresh(box(Id::Board), pie.colour, memory_, pie.outline);
  // A label repaints (and the window recomposes) only when its figure moved.
  for (auto [figure, caption] : {std::pair{&label(Id::FreeFigure, 0), &captions.freePhysical},
                                 std::pair{&label(Id::FreeFigure, 1), &captions.freeVirtual}}) {
    if (figure->Caption == *caption) continue;
    figure->Caption = *caption;
    repaint(figure->rect);
  }
}

void F_Setting::repaint(const RECT& r) {
  if (Loaded()) InvalidateRect(hwnd(), &r, FALSE);
}

void F_Setting::press(DrawnImage& face) {
  face.picture = art(IDB_BUTTON_ON);
  repaint(face.rect);
}

void F_Setting::release(DrawnImage& face) {
  face.picture = art(IDB_BUTTON_OFF);
  repaint(face.rect);
  // The released face shows before the button's action starts.
  UpdateWindow(hwnd());
}

// ----------------------------------------------------------------------------- saving

DialogValues F_Setting::values() {
  DialogValues v;
  v.EditColor = EditColor;
  for (int i = 0; i <= 3; ++i) v.GraphColor[i] = colour(Id::GraphColour, i).BackColor;
  v.FilterColor = colour(Id::FilterColour).BackColor;
  v.EditShape = EditShape;
  v.EditAlarmOn = EditAlarmOn;
  v.Options = EditOptions;
  v.SnoozeMin = EditSnooze;
  v.EditSoundKind = EditSoundKind;
  for (int i = 0; i <= 1; ++i) {
    v.HourText[i] = combo(Id::Hour, i).Text();
    v.MinuteText[i] = combo(Id::Minute, i).Text();
    v.TrackText[i] = combo(Id::Track, i).Text();
    v.SoundPath[i] = label(Id::Path, i).Caption;
  }
  v.Ival = static_cast<std::int16_t>(bar(Id::IvalBar).Value());
  v.Kagen = static_cast<std::int16_t>(bar(Id::KagenBar).Value());
  return v;
}

void F_Setting::SaveSettings() {
  const DialogValues v = values();
  KeyRecorder keys;
  ::SaveSettings(v, edit_, keys);
  // The store tells the clock, which is laid out anew with these values.
  store_.Replace(edit_, keys.keys);
}

// ----------------------------------------------------------------------------- handlers

void F_Setting::Image1_MouseDown(int button) {
  if (button == 1) drag_.Start(hwnd());
}

void F_Setting::Image1_MouseMove() { drag_.Follow(hwnd()); }

void F_Setting::Image1_MouseUp() { drag_.End(); }

void F_Setting::Timer1_Timer() { DrawMemoryGraph(); }

void F_Setting::lbl_End_MouseUp() {
  release(image(Id::OkFace));
  SaveSettings();
  Unload();
}

void F_Setting::lbl_Can_MouseUp() {
  release(image(Id::CancelFace));
  Unload();
}

void F_Setting::ImgExit_MouseUp() {
  DrawnImage& close = image(Id::Close);
  close.picture = art(IDB_CLOSE_UP);
  repaint(close.rect);
  UpdateWindow(hwnd());
  Unload();
}

void F_Setting::barChanged(Id id) {
  const bool ival = id == Id::IvalBar;
  DrawnLabel& value = label(ival ? Id::IvalValue : Id::KagenValue);
  const int v = bar(id).Value();
  value.Caption = ival ? IvalLabel(v) : KagenLabel(v);
  repaint(value.rect);
  announce(id, 0, EVENT_OBJECT_VALUECHANGE);
}

void F_Setting::onScroll(HWND w, int request, int position) {
  for (const dl::Control& c : dl::Controls()) {
    ScrollBar& b = slot(c).bar;
    if (b.hwnd() && b.hwnd() == w && b.Scroll(request, position)) barChanged(c.id);
  }
}

void F_Setting::lbl_Color_MouseUp(int index) {
  release(image(Id::ColourFace, index));
  if (index == 6) {
    EditColor = DefaultClockColours();
  } else {
    const auto colour = PickColour(hwnd());
    if (!colour || !Loaded()) return;
    EditColor[index] = *colour;
  }
  for (int j = 0; j <= 5; ++j) {
    DrawnLabel& swatch = label(Id::ColourSwatch, j);
    swatch.BackColor = EditColor[j];
    repaint(swatch.rect);
    announce(Id::ColourSwatch, j, EVENT_OBJECT_VALUECHANGE);
  }
  DrawPreview();
}

// The pie's colours and the cleaner's filter: a colour button's colour, from the colour dialog.
void F_Setting::Cmd_C_Click(const dl::Control& c) {
  const auto picked = PickColour(hwnd());
  if (!picked || !Loaded()) return;
  ColourButton& b = slot(c).colour;
  b.BackColor = *picked;
  repaint(b.rect);
  announce(&c, EVENT_OBJECT_VALUECHANGE);
  if (c.id == Id::GraphColour) DrawMemoryGraph();
  // The filter is in use at once, by a cleaning started before the dialog closes too, even if
  // it is cancelled.
  else store_.SetFilterColour(b.BackColor);
}

void F_Setting::Img_Alarm_MouseDown(int index) {
  EditAlarmOn[index] = ToggledAlarm(EditAlarmOn[index]);
  showAlarmSwitch(index);
}

void F_Setting::AlarmSwitchedOff(int index) {
  if (!Loaded() || index < 0 || index >= kAlarmCount) return;
  switchedOff_ |= 1u << index;
  // One of the list's own: off in the edit, so that 設定 does not switch it on again.
  if (index >= kRowAlarms) {
    edit_.Sound_C[index] = 0;
    return showMoreAlarms();
  }
  if (EditAlarmOn[index] == 0) return;
  const dl::Control* had = focusedControl();
  EditAlarmOn[index] = 0;
  showAlarmSwitch(index);
  // The focus leaves a control of the row that went grey for the row's switch, without taking
  // the keyboard from the window the user is in (the ringing window, most likely).
  if (!had || enabled(*had)) return;
  const dl::Control* on = dl::Find(Id::AlarmSwitch, index);
  if (GetActiveWindow() == hwnd())
    focusOn(on);
  else
    focus_ = on;
}

void F_Setting::showAlarmSwitch(int index) {
  const AlarmSwitchLook look = AlarmSwitch(EditAlarmOn[index]);
  image(Id::AlarmSwitch, index).picture = art(look.picture ? IDB_SWITCH_ON : IDB_SWITCH_OFF);
  DrawnLabel& state = label(Id::AlarmState, index);
  state.Caption = Tr(look.caption);
  state.ForeColor = look.captionColour;
  showPathNote(index);
  applyEnabled();
  announce(Id::AlarmSwitch, index, EVENT_OBJECT_STATECHANGE);
}

void F_Setting::chooseSoundKind(int index, std::int16_t kind) {
  EditSoundKind[index] = kind;
  DrawnImage& cd = image(Id::CdMark, index);
  DrawnImage& file = image(Id::FileMark, index);
  cd.picture = kind == 1 ? art(IDB_OPTION_ON) : art(IDB_OPTION_OFF);
  file.picture = kind == 1 ? art(IDB_OPTION_OFF) : art(IDB_OPTION_ON);
  repaint(cd.rect);
  repaint(file.rect);
  announce(Id::CdMark, index, EVENT_OBJECT_STATECHANGE);
  announce(Id::FileMark, index, EVENT_OBJECT_STATECHANGE);
  showPathNote(index);  // the chime's note comes or goes
}

void F_Setting::lbl_Snd_File_MouseUp(int index) {
  release(image(Id::FileFace, index));
  const auto path = PickSoundFile(hwnd(), edit_.Alarm_Path);
  if (!path || !Loaded()) return;
  showPath(index, *path, false);
  // A chosen file is what the alarm plays, not the CD.
  if (EditSoundKind[index] != 2) chooseSoundKind(index, 2);
  // The next chooser, of either row, opens where this file was found.
  edit_.Alarm_Path = GetDirectory(label(Id::Path, index).Caption);
}

void F_Setting::lbl_Clear_MouseUp(int index) {
  release(image(Id::ClearFace, index));
  showPath(index, L"", false);
}

void F_Setting::lbl_Options_MouseUp(int index) {
  release(image(Id::OptionsFace, index));
  const auto edit = EditAlarmOptions(hwnd(), index, {EditOptions[index], EditSnooze, std::nullopt},
                                     EditSoundKind[index] == 1, Dpi(), commands_,
                                     label(Id::Path, index).Caption);
  if (!edit || !Loaded()) return;
  EditOptions[index] = edit->options;
  EditSnooze = edit->snooze;
}

void F_Setting::lbl_More_MouseUp() {
  release(image(Id::MoreFace));
  Settings current = edit_;
  ApplyRows(values(), current);
  switchedOff_ = 0;
  const auto edited = EditAlarmList(hwnd(), current, Dpi(), commands_);
  if (!edited || !Loaded()) return;
  edit_ = *edited;
  // A once-alarm that rang while the list was open stays off: the list's copy still had it on.
  for (int i = 0; i < kAlarmCount; ++i)
    if (switchedOff_ >> i & 1) edit_.Sound_C[i] = 0;
  for (int i = 0; i < kRowAlarms; ++i) {
    fillAlarmRow(i);
    EditOptions[i] = edit_.Options[i];
  }
  EditSnooze = edit_.Snooze_Min;
  applyEnabled();
  showMoreAlarms();
}

void F_Setting::showMoreAlarms() {
  DrawnLabel& more = label(Id::More);
  more.Caption = dl::MoreAlarmsCaption(alarm_list::CountOn(edit_));
  repaint(more.rect);
  announce(Id::MoreFace, 0, EVENT_OBJECT_NAMECHANGE);
}

void F_Setting::Img_Shape_MouseDown(int index) {
  for (int i = 0; i <= 2; ++i) {
    DrawnImage& mark = image(Id::ShapeMark, i);
    mark.picture = i == index ? art(IDB_OPTION_ON) : art(IDB_OPTION_OFF);
    repaint(mark.rect);
  }
  EditShape = static_cast<std::int16_t>(index);
  for (int i = 0; i <= 2; ++i) announce(Id::ShapeMark, i, EVENT_OBJECT_STATECHANGE);
  DrawPreview();
}

void F_Setting::lbl_Free_MouseUp() {
  release(image(Id::FreeFace));
  const std::wstring total = TotalPhysText(memory_, false);
  const int limit = bar(Id::KagenBar).Value();
  const std::wstring avail = AvailPhysText(memory_, false);
  if (ShouldReleaseMemory(total, avail, limit)) commands_.OpenCleaner();
}

void F_Setting::QueryUnload() {
  focus_ = nullptr;
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
