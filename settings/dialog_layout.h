// The settings dialog's layout as data: every control's kind, group, box, caption, look and
// cursor, in pixels at 96 dots per inch. The window code creates its controls by walking this
// table and turns each box into window pixels in one place, so the table is the only source of
// the dialog's geometry. Portable: the unit tests check it as data.
#pragma once

#include <string>
#include <vector>

#include "model/texts.h"
#include "model/window_texts.h"
#include "ui/align.h"
#include "ui/box.h"

namespace dialog_layout {

using Box = ui::Box;

// Every label and the memory pie's percentage are written in the dialog font.
using ::DialogFont;
using ::FontSpec;
inline constexpr int kFontPixels = kDialogFontPixels;
inline constexpr Box kClient{0, 0, 537, 523};
// The textured base panel; it covers the title strip's last two rows.
inline constexpr Box kBasePanel{0, 20, 537, 501};
// A group's sunken frame is this thick; its textured panel fills the rest.
inline constexpr int kGroupBorder = 2;
// The text field of a drop-down list; with its frame the closed box is 21 high.
inline constexpr int kComboFieldHeight = 15;

// Where a control lies: the window, the base panel, or one of the five framed groups.
enum class Group { Window, Base, Colours, Shape, Preview, Memory, Alarms };
inline constexpr Group kFramedGroups[] = {Group::Colours, Group::Shape, Group::Preview,
                                          Group::Memory, Group::Alarms};

enum class Kind {
  Picture,       // a drawn picture: title strip, close picture, heading, switch, option mark
  Face,          // a label-button's face, pressed and released; its caption lies on it
  Label,         // text in a fixed box
  FitLabel,      // text as wide as its caption, which must fit the box kept for it
  ColourButton,  // a raised button showing a colour, no caption
  ListCombo,     // a drop-down list
  EditCombo,     // a drop-down list whose text can be typed
  ScrollBar,
  PictureBox,    // a child window with an image of its own
  Frame,         // the preview's black frame, filled with the dial's colour
};

enum class Cursor { Arrow, Hand };

// When a control acts on the mouse, the keyboard and a reader, and a label is drawn plainly
// rather than engraved.
enum class Enable {
  Always,
  WhileAlarmOn,    // its row's alarm is switched on
  WhileCleanable,  // the machine has memory enough for the cleaner
};

// Looks a label may have besides its caption.
enum Style : unsigned {
  kPlain = 0,
  kBorder = 1,        // a sunken one-pixel frame
  kWhiteBack = 2,     // an opaque white box (figures and paths); otherwise see-through
  kWhiteText = 4,
  kPathEllipsis = 8,  // a long path keeps its drive and file name
};

// What each control is to the window code. Repeated controls share an id and differ by index.
enum class Id {
  None,
  TitleStrip, Close, Title, OkFace, Ok, CancelFace, Cancel, Version, Heading, HeadingCaption,
  ColourFace, ColourCaption, ColourSwatch,
  ShapeMark, ShapeCaption,
  PreviewFrame, PreviewDial, PreviewPendulum,
  GraphColour, GraphCaption, FreeFace, Free, FilterColour, FilterCaption, Board,
  PhysicalHeading, VirtualHeading, TotalCaption, FreeCaption, TotalFigure, FreeFigure,
  IvalCaption, KagenCaption, IvalBar, KagenBar, IvalValue, KagenValue,
  AlarmSwitch, AlarmState, Hour, HourUnit, Minute, MinuteUnit, CdMark, CdCaption, Track,
  TrackCaption, FileMark, FileCaption, FileFace, File, ClearFace, Clear, OptionsFace, Options,
  PathCaption, Path, MoreFace, More,
};

// A control without text, and one whose text the window fills in while the dialog runs (a
// colour, a figure, a value, the path).
inline constexpr Text kNoText = Text::Count;
inline constexpr Text kFilledIn = static_cast<Text>(static_cast<int>(Text::Count) + 1);

struct Control {
  Id id;
  int index;
  Kind kind;
  Group group;
  Box box;  // inside the group's panel, from its top-left corner
  Text text;  // its caption in the table of texts; kNoText, or kFilledIn by the window
  Align align = Align::Left;
  unsigned style = kPlain;
  Cursor cursor = Cursor::Arrow;
  // The control this one is drawn over on purpose (a caption on its face, a heading's caption
  // on its picture, a box in the preview's frame), which it may overlap; None when none.
  Id liesOn = Id::None;
  Enable enable = Enable::Always;
  // A picture's or face's drawing when the dialog opens: its resource id at 100 %.
  int picture = 0;
};

// Every control, in the order the window creates them. Pictures are painted before labels,
// so a caption is never hidden by its face.
const std::vector<Control>& Controls();
// A control's caption in the current language: nullptr for a control without text, "" for one
// the window fills in.
const wchar_t* Caption(const Control& c);
// The one control with this id and index; nullptr when there is none.
const Control* Find(Id id, int index = 0);

// A group's outer frame and its panel, in the window's client area.
Box GroupFrame(Group g);
Box GroupPanel(Group g);
// A control's box in the window's client area.
Box ClientBox(const Control& c);

}  // namespace dialog_layout
