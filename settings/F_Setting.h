// The settings dialog: a borderless window with its own title strip that shows every setting
// at once in five groups on a textured panel (clock colours, dial shape, a still preview of the
// clock, memory release with a pie of physical memory, and the two alarms). It loads what the
// settings file holds now, lets the user edit it, and on OK writes it back and has the clock
// reloaded; cancel and the close picture drop the edits.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/settings_store.h"
#include "model/commands.h"
#include "memory/system_memory_win.h"
#include "settings/dialog_access.h"
#include "settings/dialog_layout.h"
#include "settings/memory_graph.h"
#include "settings/save_settings.h"
#include "ui/accessible.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/hit_targets.h"
#include "ui/key_route.h"
#include "ui/picture_box.h"
#include "ui/timer.h"
#include "ui/window_drag.h"

class F_Setting : public Form, private AccessibleSource {
 public:
  F_Setting(SettingsStore& store, Commands& commands);
  ~F_Setting() override;

  // Creates the window and its controls and fills them from the settings file; Show follows.
  void Form_Load();
  // Brings the dialog to the front with the keyboard focus.
  void Activate();
  // A once-alarm switched itself off while the dialog is open: its row shows it off.
  void AlarmSwitchedOff(int index);

  // The values being edited (the controls hold the rest).
  std::array<Colour, 6> EditColor{};
  std::int16_t EditShape = 0;
  std::array<std::int16_t, 2> EditAlarmOn{};
  std::array<std::int16_t, 2> EditSoundKind{};
  // What each alarm's own settings window holds, and the snooze they share.
  std::array<AlarmOptions, 2> EditOptions{};
  std::int16_t EditSnooze = kDefaultSnooze;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override;
  // Laid out anew at the new density, keeping what is being edited.
  void OnDpiChanged(int dpi, const RECT& suggested) override;

 private:
  // The dialog's keys, wherever in it the focus is: Tab and Shift+Tab, the arrows, Space,
  // Enter, and Esc, which cancels it (unless it closes an open drop-down list).
  bool PreTranslate(const MSG& msg);
  // A reader's default action, carried out from the window's own messages.
  static constexpr UINT kDefaultAction = WM_APP + 1;
  // Tool ids of the path labels' tips.
  static constexpr UINT_PTR kPathTip = 2;
  // Creates the window centred on the screen at its density.
  bool openWindow();
  // Filling the controls from the settings model.
  void fillFromSettings();
  // The pictures, in their drawings for the dialog's density, and the font.
  void loadPictures();
  void makeFont();
  // Creating the controls by walking the dialog's layout table; with `placeOnly`, laying the
  // ones made out anew at the dialog's density, keeping what they show.
  void createControls(bool placeOnly);
  void createControl(const dialog_layout::Control& c, bool placeOnly);
  void createLabel(const dialog_layout::Control& c, const RECT& r, bool placeOnly);
  void createToolTips();
  // The mouse targets of the drawn controls that act, from the table.
  void wireTargets();
  void addTarget(const dialog_layout::Control& c, std::function<void(int)> down,
                 std::function<void(int)> up = nullptr, std::function<void()> move = nullptr);
  void addColourTarget(const dialog_layout::Control& c);
  void paint(HDC dc);
  void repaint(const RECT& r);
  // Every control as its table row's rule has it now (enabled(c)).
  void applyEnabled();
  // The switch picture, the "On"/"Off" caption and the row, for EditAlarmOn(index).
  void showAlarmSwitch(int index);
  // Filling the controls from the settings.
  void fillAlarmRow(int i);
  // A row's path, marked in red with "見つかりません" while its file cannot be found.
  void showPath(int index, const std::wstring& path, bool missing);
  // The note after the path: "見つかりません", or the chime for an alarm on without a file.
  std::wstring pathNote(int index);
  void showPathNote(int index);
  void fillMemory();

  // The keyboard (F_Setting_keys.cpp): the focus among the layout's stops, and its mark.
  const dialog_layout::Control* stopControl(const dialog_layout::Stop& s) const;
  const dialog_layout::Control* focusedControl() const;
  bool enabled(const dialog_layout::Control& c) const;
  void focusOn(const dialog_layout::Control* c);
  void tab(bool back);
  void arrow(int delta);
  void showCues();
  bool onKey(const MSG& msg);
  bool onFocusMessage(UINT msg, WPARAM wp);
  bool comboDropped() const;
  void paintFocus(HDC dc) const;
  RECT focusRect(const dialog_layout::Control& c) const;

  // A screen reader (F_Setting_access.cpp): the table's elements, their state and value.
  RECT boxOf(const dialog_layout::Control& c) const;
  void nameRealControls();
  bool click(const dialog_layout::Control& c);
  int childOf(const dialog_layout::Control* c) const;
  void announce(const dialog_layout::Control* c, DWORD event);
  void announce(dialog_layout::Id id, int index, DWORD event);
  std::wstring valueOf(const dialog_layout::Control& c) const;
  long stateOf(const dialog_layout::Control& c) const;
  int AccessibleCount() override;
  AccessibleInfo Accessible(int child) override;
  int AccessibleFocus() override;
  bool AccessibleDefault(int child) override;

  // Messages.
  void onPaint();
  bool onSetCursor(HWND over);
  void onMouseDown(UINT msg, LPARAM lp);
  void onMouseUp(UINT msg);
  // A path label's tip asks for its text; false for any other notice.
  bool onNotify(LPARAM lp);

  // Drawing.
  void TileBackground(ImageCanvas& pic);
  // High contrast (F_Setting_contrast.cpp): the pictures' stand-ins and the captions in the
  // system's colours, chosen again when those change.
  void paintImage(HDC dc, const DrawnImage& image) const;
  void paintLabel(HDC dc, const dialog_layout::Control& c);
  void coloursChanged();
  bool highContrast_ = false;
  unsigned switchedOff_ = 0;  // alarms the clock switched off since the list was opened
  void DrawPreview();
  void DrawMemoryGraph();
  void SaveSettings();

  // Pressed-button look shared by every label button.
  void press(DrawnImage& face);
  void release(DrawnImage& face);

  // Handlers: the title strip, the one-second graph refresh, OK, cancel and close.
  void Image1_MouseDown(int button);
  void Image1_MouseMove();
  void Image1_MouseUp();
  void Timer1_Timer();
  void lbl_End_MouseUp();
  void lbl_Can_MouseUp();
  void ImgExit_MouseUp();
  // The memory controls' value labels follow their scroll bars.
  void barChanged(dialog_layout::Id bar);
  void onScroll(HWND bar, int request, int position);

  // Colours: the clock's six and their reset, the graph's four, the cleaner's filter.
  void lbl_Color_MouseUp(int index);
  void Cmd_C_Click(const dialog_layout::Control& c);
  // Alarms: the switch, the kind options, the file chooser and its clearing.
  void Img_Alarm_MouseDown(int index);
  void chooseSoundKind(int index, std::int16_t kind);
  void lbl_Snd_File_MouseUp(int index);
  void lbl_Clear_MouseUp(int index);
  // The alarm's own settings window; what it gives back waits for OK like any other edit.
  void lbl_Options_MouseUp(int index);
  // The list of every alarm, over the rows' values as they are now; what it gives back waits
  // for OK as well, and the rows show it.
  void lbl_More_MouseUp();
  void showMoreAlarms();
  DialogValues values();
  // Dial shape.
  void Img_Shape_MouseDown(int index);
  // Release memory now.
  void lbl_Free_MouseUp();

  SettingsStore& store_;
  Commands& commands_;
  // What the dialog edits: a copy of the store's model, handed back on OK.
  Settings edit_;
  SystemMemory memory_;

  // The controls' pictures, by their resource ids, in their drawings for the dialog's density.
  std::map<int, Picture> art_;
  const Picture* art(int resource) const { return &art_.at(resource); }
  std::unique_ptr<ImageCanvas> Pic_Mbl;  // the texture tile, at the dialog's density
  HCURSOR handCursor_ = nullptr;
  Font font_;

  // Panels.
  std::unique_ptr<ImageCanvas> Pic_Base;
  std::array<std::unique_ptr<ImageCanvas>, 5> Pic_b1;

  // One control of the layout table as the window keeps it: the part its kind needs.
  struct Slot {
    DrawnImage image;                 // Picture, Face
    DrawnLabel label;                 // Label, FitLabel
    ColourButton colour;              // ColourButton
    ComboBox combo;                   // ListCombo, EditCombo
    ScrollBar bar;                    // ScrollBar
    std::unique_ptr<PictureBox> box;  // PictureBox
    RECT frame{};                     // Frame
  };
  // The controls, one slot per row of the table, found by their (id, index).
  std::vector<Slot> slots_;
  const Slot& slot(const dialog_layout::Control& c) const;
  Slot& slot(const dialog_layout::Control& c);
  Slot& slot(dialog_layout::Id id, int index) { return slot(*dialog_layout::Find(id, index)); }
  DrawnImage& image(dialog_layout::Id id, int i = 0) { return slot(id, i).image; }
  DrawnLabel& label(dialog_layout::Id id, int i = 0) { return slot(id, i).label; }
  ColourButton& colour(dialog_layout::Id id, int i = 0) { return slot(id, i).colour; }
  ComboBox& combo(dialog_layout::Id id, int i) { return slot(id, i).combo; }
  ScrollBar& bar(dialog_layout::Id id) { return slot(id, 0).bar; }
  PictureBox& box(dialog_layout::Id id) { return *slot(id, 0).box; }
  // A drawn control's rectangle, or the real control's window; nullptr for the other.
  const RECT* drawnRect(const dialog_layout::Control& c) const;
  HWND windowOf(const dialog_layout::Control& c) const;

  Colour Pic_bBackColor = 0;  // the preview frame's fill
  std::unique_ptr<ImageCanvas> Pic_ball;
  MemoryGraph memoryGraph_;
  bool cleanable_ = true;  // the machine has memory enough for the cleaner
  std::array<bool, 2> pathMissing_{};  // the path's file did not open when the dialog loaded

  Timer Timer1{1, 1000, [this] { Timer1_Timer(); }};
  HWND toolTip_ = nullptr;
  HitTargets targets_;
  WindowDrag drag_;

  const dialog_layout::Control* focus_ = nullptr;  // the drawn control with the focus
  bool cues_ = false;  // the focus rectangle shows: the keyboard has been used
  AccessibleServer access_{*this};
  KeyHandler keys_{[this](const MSG& msg) { return PreTranslate(msg); }};
};
