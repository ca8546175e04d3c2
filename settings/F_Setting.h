// The settings dialog: a borderless window with its own title strip that shows every setting
// at once in five groups on a textured panel (clock colours, dial shape, a still preview of the
// clock, memory release with a pie of physical memory, and the two alarms). It loads what the
// settings file holds now, lets the user edit it, and on OK writes it back and has the clock
// reloaded; cancel and the close picture drop the edits.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "model/app_state.h"
#include "model/commands.h"
#include "memory/system_memory_win.h"
#include "settings/dialog_access.h"
#include "settings/dialog_layout.h"
#include "settings/memory_graph.h"
#include "ui/accessible.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/hit_targets.h"
#include "ui/picture_box.h"
#include "ui/timer.h"
#include "ui/window_drag.h"

class F_Setting : public Form, private AccessibleSource {
 public:
  F_Setting(AppState& app, Commands& commands);
  ~F_Setting() override;

  // Creates the window and its controls and fills them from the settings file; Show follows.
  void Form_Load();
  // Brings the dialog to the front with the keyboard focus.
  void Activate();
  // The dialog's keys, wherever in it the focus is: Tab and Shift+Tab, the arrows, Space,
  // Enter, and Esc, which cancels it (unless it closes an open drop-down list).
  bool PreTranslate(const MSG& msg);

  // The values being edited (the controls hold the rest).
  std::array<Colour, 6> EditColor{};
  std::int16_t EditShape = 0;
  std::array<std::int16_t, 2> EditAlarmOn{};
  std::array<std::int16_t, 2> EditSoundKind{};

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void QueryUnload() override;

 private:
  // A reader's default action, carried out from the window's own messages.
  static constexpr UINT kDefaultAction = WM_APP + 1;
  // Tool ids of the path labels' tips.
  static constexpr UINT_PTR kPathTip = 2;
  // Creates the window centred on the screen at its density.
  bool openWindow();
  // Filling the controls from the settings model.
  void fillFromSettings();
  // The one place where the layout's 96-DPI pixels become the window's pixels.
  int Px(int v) const;
  RECT ToRect(const dialog_layout::Box& b) const;
  // The pictures, in their drawings for the dialog's density, and the font.
  void loadPictures();
  void makeFont();
  // Creating the controls by walking the dialog's layout table; with `placeOnly`, laying the
  // ones made out anew at the dialog's density, keeping what they show.
  void createControls(bool placeOnly);
  void createControl(const dialog_layout::Control& c, bool placeOnly);
  void createLabel(const dialog_layout::Control& c, const RECT& r, bool placeOnly);
  void createPictureBox(const dialog_layout::Control& c, const RECT& r);
  void createToolTips();
  // The window's object for a control of the table; nullptr when the window keeps none by
  // that kind (a label that never changes is kept in staticLabels_).
  DrawnImage* imageFor(dialog_layout::Id id, int index);
  DrawnLabel* labelFor(dialog_layout::Id id, int index);
  ComboBox* comboFor(dialog_layout::Id id, int index);
  const Picture* firstPicture(dialog_layout::Id id) const;
  void wireTargets();
  void wireAlarmRow(int i);
  // A target for the table's control `id`, `index`, whose cursor it shows.
  void addTarget(dialog_layout::Id id, int index, const RECT& r, std::function<bool()> enabled,
                 std::function<void(int)> down, std::function<void(int)> up = nullptr,
                 std::function<void()> move = nullptr);
  void paint(HDC dc);
  void repaint(const RECT& r);
  void setAlarmRowEnabled(int i, bool on);
  // The switch picture, the "On"/"Off" caption and the row, for EditAlarmOn(index).
  void showAlarmSwitch(int index);
  // Filling the controls from the settings.
  void fillAlarmRow(int i);
  // A row's path, marked in red with "見つかりません" while its file cannot be found.
  void showPath(int index, const std::wstring& path, bool missing);
  void fillMemory();

  // The keyboard (F_Setting_keys.cpp): the focus among the layout's stops, and its mark.
  const dialog_layout::Control* stopControl(const dialog_layout::Stop& s) const;
  HWND windowOf(const dialog_layout::Control& c) const;
  const dialog_layout::Control* focusedControl() const;
  bool enabled(const dialog_layout::Control& c) const;
  void focusOn(const dialog_layout::Control* c);
  void tab(bool back);
  void arrow(int delta);
  void showCues();
  bool onKey(const MSG& msg);
  bool onFocusMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
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
  // A move to a monitor of another density, to the rectangle the system suggests.
  void onDpiChanged(int dpi, const RECT& suggested);

  // Drawing.
  void TileBackground(ImageCanvas& pic);
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
  void HS_Ival_Change();
  void HS_Kagen_Change();
  void onScroll(HWND bar, int request, int position);

  // Colours: the clock's six and their reset, the graph's four, the cleaner's filter.
  void lbl_Color_MouseUp(int index);
  void Cmd_C_Click(int index);
  void Cmd_Filter_Click();
  // A colour button acts only when the left button is let go over it.
  void addColourButton(ColourButton& button, std::function<void()> click);
  // Alarms: the switch, the kind options, the file chooser and its clearing.
  void Img_Alarm_MouseDown(int index);
  void chooseSoundKind(int index, std::int16_t kind);
  void lbl_Snd_File_MouseUp(int index);
  void lbl_Clear_MouseUp(int index);
  // Dial shape.
  void Img_Shape_MouseDown(int index);
  // Release memory now.
  void lbl_Free_MouseUp();

  AppState& app_;
  Commands& commands_;
  SystemMemory memory_;
  int dpi_ = kBaseDpi;  // the density the dialog is laid out and drawn at

  // Pictures, stored with the dialog.
  Picture titlePicture_;
  Picture Img_On, Img_Off, Img_Opt_On, Img_Opt_Off;
  std::array<Picture, 2> Img_Ra, imgImages;
  Picture headingPicture_;  // Img_TT(0)
  std::unique_ptr<ImageCanvas> Pic_Mbl;  // the texture tile, at the dialog's density
  HCURSOR handCursor_ = nullptr;
  Font font_;

  // Panels.
  std::unique_ptr<ImageCanvas> Pic_Base;
  std::array<std::unique_ptr<ImageCanvas>, 5> Pic_b1;

  // Window level.
  DrawnImage Image1, ImgExit;
  DrawnImage Img_End, Img_Can;
  DrawnLabel lbl_End, lbl_Can;
  std::array<DrawnImage, 5> Img_TT;  // the group headings

  // Colours.
  std::array<DrawnImage, 7> Img_Color;
  std::array<DrawnLabel, 7> lbl_Color;
  std::array<DrawnLabel, 6> lbl_Tcolor;

  // Dial shape.
  std::array<DrawnImage, 3> Img_Shape;
  std::array<DrawnLabel, 3> lbl_Shape;

  // Preview.
  RECT Pic_b{};
  Colour Pic_bBackColor = 0;
  std::unique_ptr<PictureBox> Pic_Tokei, Pic_Furiko;
  std::unique_ptr<ImageCanvas> Pic_ball;

  // Memory release.
  std::array<ColourButton, 4> Cmd_C;
  ColourButton Cmd_Filter;
  DrawnImage Img_Free;
  DrawnLabel lbl_Free;
  std::unique_ptr<PictureBox> Board;
  MemoryGraph memoryGraph_;
  std::array<DrawnLabel, 2> lbl_Tatal_mem, lbl_Free_mem;
  ScrollBar HS_Ival, HS_Kagen;
  DrawnLabel lbl_Ival, lbl_Kagen;

  // Alarms.
  std::array<DrawnImage, 2> Img_Alarm;
  std::array<DrawnLabel, 2> lbl_Alarm;
  std::array<ComboBox, 2> Combo_hh, Combo_mm, CD_Repeat;
  std::array<DrawnImage, 2> Img_CD, Img_MP3_Wav, Img_Snd_File, Img_Clear;
  std::array<DrawnLabel, 2> lbl_CD, lbl_MP3_Wav, lbl_Snd_File, lbl_Clear, lbl_Sound_Path;
  std::array<bool, 2> pathMissing_{};  // the path's file did not open when the dialog loaded

  Timer Timer1{1, 1000};
  HWND toolTip_ = nullptr;

  // What the table's walk made: the captions that never change, and what paint draws in
  // order (the pictures of the window's own strip below the base panel, the rest above it).
  std::deque<DrawnLabel> staticLabels_;
  std::vector<const DrawnImage*> stripImages_, images_;
  std::vector<const ColourButton*> colourButtons_;
  std::vector<const DrawnLabel*> labels_;
  std::vector<HWND> handChildren_;  // child controls that show the hand pointer
  HitTargets targets_;

  WindowDrag drag_;

  // Each table row's rectangle as made (nullptr for a real control, which has its window).
  std::vector<const RECT*> rowRects_;
  const dialog_layout::Control* focus_ = nullptr;  // the drawn control with the focus
  bool cues_ = false;  // the focus rectangle shows: the keyboard has been used
  AccessibleServer access_{*this};
};
