#include "settings/dialog_layout.h"

#include "res/resource_ids.h"
#include "version.h"

namespace dialog_layout {
namespace {

// Appends one control to the table under construction; the row it gives back takes the facts
// few rows have. Every face opens released.
struct Add {
  std::vector<Control>& t;
  Control& operator()(Id id, int index, Kind kind, Group g, Box box, Text caption,
                      Align align = Align::Left, unsigned style = kPlain,
                      Cursor cursor = Cursor::Arrow, Id liesOn = Id::None) const {
    Control& c = t.emplace_back(Control{id, index, kind, g, box, caption, align, style, cursor,
                                        liesOn});
    if (kind == Kind::Face) c.picture = IDB_BUTTON_OFF;
    return c;
  }
  // An option mark: a picture under the hand pointer that opens unselected.
  Control& mark(Id id, int index, Group g, Box box, Enable enable = Enable::Always) const {
    Control& c = (*this)(id, index, Kind::Picture, g, box, kNoText, Align::Left, kPlain,
                         Cursor::Hand);
    c.picture = IDB_OPTION_OFF;
    c.enable = enable;
    return c;
  }
};

constexpr Kind P = Kind::Picture, F = Kind::Face, L = Kind::Label, Fit = Kind::FitLabel;
constexpr Align C = Align::Centre, R = Align::Right, Le = Align::Left;
constexpr Cursor A = Cursor::Arrow, H = Cursor::Hand;

// Rows of a group repeat at a fixed step; the table is written with that step.
void AddWindow(const Add& add) {
  // The title strip, its caption and the close picture.
  add(Id::TitleStrip, 0, P, Group::Window, {0, 0, 537, 22}, kNoText).picture = IDB_TITLE;
  add(Id::Close, 0, P, Group::Window, {516, 4, 15, 15}, kNoText, Le, kPlain, H, Id::TitleStrip)
      .picture = IDB_CLOSE_UP;
  // As wide as the strip allows: it names the settings file when that is the user's own.
  add(Id::Title, 0, L, Group::Window, {8, 4, 500, 13}, Text::DialogTitle, Le, kWhiteText, A,
      Id::TitleStrip);

  // OK, cancel and the credit line, on the base panel.
  add(Id::OkFace, 0, F, Group::Base, {356, 464, 81, 20}, kNoText, Le, kPlain, H);
  add(Id::Ok, 0, L, Group::Base, {356, 468, 81, 13}, Text::Ok, C, kPlain, A, Id::OkFace);
  add(Id::CancelFace, 0, F, Group::Base, {440, 464, 81, 20}, kNoText, Le, kPlain, H);
  add(Id::Cancel, 0, L, Group::Base, {440, 468, 81, 13}, Text::Cancel, C, kPlain, A, Id::CancelFace);
  add(Id::Version, 0, Fit, Group::Base, {14, 468, 208, 13}, Text::VersionLine);
  // The list of every alarm, beside OK: its caption counts the list's own alarms that are on.
  add(Id::MoreFace, 0, F, Group::Base, {228, 464, 121, 20}, kNoText, Le, kPlain, H);
  add(Id::More, 0, L, Group::Base, {228, 468, 121, 13}, Text::MoreAlarms, C, kPlain, A, Id::MoreFace);

  // Group headings: a picture with its caption centred, four pixels lower.
  const struct { int x, y; Text caption; } headings[] = {
      {12, 12, Text::HeadingColours}, {124, 12, Text::HeadingShape},
      {124, 124, Text::HeadingPreview}, {248, 12, Text::HeadingMemory},
      {12, 300, Text::HeadingAlarms}};
  for (int i = 0; i < 5; ++i) {
    const auto& h = headings[i];
    add(Id::Heading, i, P, Group::Base, {h.x, h.y, 95, 22}, kNoText).picture = IDB_HEADING;
    add(Id::HeadingCaption, i, L, Group::Base, {h.x, h.y + 4, 95, 13}, h.caption, C, kPlain, A,
        Id::Heading);
  }

}

void AddColoursShapeAndPreview(const Add& add) {
  // Colours: six of the clock's and their reset, each a button with the colour beside it.
  const Text colours[7] = {Text::ColourBackground, Text::ColourNumerals, Text::ColourHourHand,
                           Text::ColourMinuteHand, Text::ColourSecondHand, Text::ColourPendulum,
                           Text::ColourReset};
  for (int i = 0; i < 7; ++i) {
    const int y = 8 + 28 * i;
    add(Id::ColourFace, i, F, Group::Colours, {8, y, 61, 20}, kNoText, Le, kPlain, H);
    add(Id::ColourCaption, i, L, Group::Colours, {8, y + 4, 61, 13}, colours[i], C, kPlain, A,
        Id::ColourFace);
    if (i < 6) add(Id::ColourSwatch, i, L, Group::Colours, {72, y, 17, 17}, kFilledIn, Le, kBorder);
  }

  // Dial shape: three option marks, each caption acting as its mark.
  const Text shapes[3] = {Text::ShapeCircle, Text::ShapeTall, Text::ShapeWide};
  for (int i = 0; i < 3; ++i) {
    add.mark(Id::ShapeMark, i, Group::Shape, {8, 8 + 20 * i, 13, 13});
    add(Id::ShapeCaption, i, Fit, Group::Shape, {24, 8 + 20 * i, 80, 13}, shapes[i], Le, kPlain,
        H);
  }

  // Preview: the black frame and the clock's two boxes inside it.
  add(Id::PreviewFrame, 0, Kind::Frame, Group::Preview, {8, 8, 94, 149}, kNoText);
  add(Id::PreviewDial, 0, Kind::PictureBox, Group::Preview, {12, 12, 80, 80}, kNoText, Le,
      kPlain, A, Id::PreviewFrame);
  add(Id::PreviewPendulum, 0, Kind::PictureBox, Group::Preview, {12, 92, 80, 57}, kNoText, Le,
      kPlain, A, Id::PreviewFrame);

}

void AddMemory(const Add& add) {
  // Memory release: the pie's four colours, the release button, the cleaner's filter colour,
  // the pie, the figures, and the check's interval and lower limit.
  const Text graph[4] = {Text::GraphBackground, Text::GraphTotal, Text::GraphFree,
                         Text::GraphPercent};
  for (int i = 0; i < 4; ++i) {
    add(Id::GraphColour, i, Kind::ColourButton, Group::Memory, {12, 16 + 24 * i, 17, 17}, kNoText,
        Le, kPlain, H);
    add(Id::GraphCaption, i, Fit, Group::Memory, {32, 20 + 24 * i, 96, 13}, graph[i]);
  }
  const Group M = Group::Memory;
  // Release and the check need a machine the cleaner can work on.
  const Enable big = Enable::WhileCleanable;
  add(Id::FreeFace, 0, F, M, {40, 112, 81, 20}, kNoText, Le, kPlain, H).enable = big;
  add(Id::Free, 0, L, M, {40, 116, 81, 13}, Text::FreeNow, C, kPlain, A, Id::FreeFace).enable = big;
  add(Id::FilterColour, 0, Kind::ColourButton, M, {12, 136, 17, 17}, kNoText, Le, kPlain, H);
  add(Id::FilterCaption, 0, Fit, M, {32, 140, 92, 13}, Text::Filter);
  add(Id::Board, 0, Kind::PictureBox, M, {128, 12, 130, 130}, kNoText);
  add(Id::PhysicalHeading, 0, Fit, M, {96, 160, 76, 13}, Text::Physical);
  add(Id::VirtualHeading, 0, Fit, M, {176, 160, 81, 13}, Text::Virtual);
  add(Id::TotalCaption, 0, Fit, M, {63, 180, 33, 13}, Text::Total);
  add(Id::FreeCaption, 0, Fit, M, {68, 200, 28, 13}, Text::Free);
  const unsigned figure = kBorder | kWhiteBack;
  add(Id::TotalFigure, 0, L, M, {96, 176, 77, 17}, kFilledIn, R, figure);
  add(Id::TotalFigure, 1, L, M, {176, 176, 81, 17}, kFilledIn, R, figure);
  add(Id::FreeFigure, 0, L, M, {96, 196, 77, 17}, kFilledIn, R, figure);
  add(Id::FreeFigure, 1, L, M, {176, 196, 81, 17}, kFilledIn, R, figure);
  add(Id::IvalCaption, 0, Fit, M, {16, 224, 114, 13}, Text::Interval);
  add(Id::KagenCaption, 0, Fit, M, {44, 248, 86, 13}, Text::Limit);
  add(Id::IvalBar, 0, Kind::ScrollBar, M, {132, 224, 65, 17}, kNoText, Le, kPlain, H).enable = big;
  add(Id::KagenBar, 0, Kind::ScrollBar, M, {132, 248, 65, 17}, kNoText, Le, kPlain, H).enable = big;
  add(Id::IvalValue, 0, L, M, {200, 224, 57, 17}, kFilledIn, R, figure);
  add(Id::KagenValue, 0, L, M, {200, 248, 57, 17}, kFilledIn, R, figure);

}

void AddAlarms(const Add& add) {
  // Alarms: two rows, the second 48 pixels below the first. What sets the sound acts only
  // while the row's alarm is on; the switch, the units and the path stay as they are.
  const Group Al = Group::Alarms;
  const Enable on = Enable::WhileAlarmOn;
  for (int i = 0; i < 2; ++i) {
    const int y = 48 * i;
    add(Id::AlarmSwitch, i, P, Al, {8, 16 + y, 12, 12}, kNoText, Le, kPlain, H).picture =
        IDB_SWITCH_OFF;
    add(Id::AlarmState, i, Fit, Al, {8, 36 + y, 28, 13}, Text::Off);
    add(Id::Hour, i, Kind::ListCombo, Al, {24, 12 + y, 37, 21}, kNoText, Le, kPlain, H).enable = on;
    add(Id::HourUnit, i, Fit, Al, {64, 16 + y, 14, 13}, Text::HourUnit);
    add(Id::Minute, i, Kind::ListCombo, Al, {80, 12 + y, 37, 21}, kNoText, Le, kPlain, H).enable =
        on;
    add(Id::MinuteUnit, i, Fit, Al, {120, 16 + y, 14, 13}, Text::MinuteUnit);
    add.mark(Id::CdMark, i, Al, {144, 16 + y, 13, 13}, on);
    add(Id::CdCaption, i, Fit, Al, {160, 16 + y, 48, 13}, Text::Cd, Le, kPlain, H).enable = on;
    add(Id::Track, i, Kind::EditCombo, Al, {208, 12 + y, 41, 20}, kNoText, Le, kPlain, H).enable =
        on;
    add(Id::TrackCaption, i, Fit, Al, {252, 16 + y, 78, 13}, Text::Track);
    add.mark(Id::FileMark, i, Al, {332, 16 + y, 13, 13}, on);
    add(Id::FileCaption, i, Fit, Al, {348, 16 + y, 66, 13}, Text::SoundFile, Le, kPlain, H)
        .enable = on;
    add(Id::FileFace, i, F, Al, {416, 12 + y, 21, 20}, kNoText, Le, kPlain, H).enable = on;
    add(Id::File, i, L, Al, {416, 16 + y, 21, 13}, Text::ChooseFile, C, kPlain, A, Id::FileFace)
        .enable = on;
    add(Id::ClearFace, i, F, Al, {440, 12 + y, 53, 19}, kNoText, Le, kPlain, H).enable = on;
    add(Id::Clear, i, L, Al, {440, 15 + y, 53, 13}, Text::Clear, C, kPlain, A, Id::ClearFace)
        .enable = on;
    // The first line has no room left: the alarm's own settings open from under ｸﾘｱ, and the
    // path ends before it with the gap the buttons keep.
    add(Id::OptionsFace, i, F, Al, {440, 35 + y, 53, 19}, kNoText, Le, kPlain, H).enable = on;
    add(Id::Options, i, L, Al, {440, 38 + y, 53, 13}, Text::OptionsButton, C, kPlain, A,
        Id::OptionsFace)
        .enable = on;
    add(Id::PathCaption, i, Fit, Al, {108, 40 + y, 36, 13}, Text::PathCaption);
    add(Id::Path, i, L, Al, {144, 36 + y, 293, 17}, kFilledIn, Le, kBorder | kWhiteBack | kPathEllipsis);
  }
}

std::vector<Control> Build() {
  std::vector<Control> t;
  const Add add{t};
  AddWindow(add);
  AddColoursShapeAndPreview(add);
  AddMemory(add);
  AddAlarms(add);
  return t;
}

}  // namespace

const std::vector<Control>& Controls() {
  static const std::vector<Control> table = Build();
  return table;
}

const wchar_t* Caption(const Control& c) {
  if (c.text == kNoText) return nullptr;
  if (c.text == kFilledIn) return L"";
  if (c.text == Text::VersionLine) {
    static std::wstring line;
    line = Tr(Text::VersionLine, L"" TESSARINE_VERSION_TEXT);
    return line.c_str();
  }
  return Tr(c.text).c_str();
}

const Control* Find(Id id, int index) {
  for (const Control& c : Controls())
    if (c.id == id && c.index == index) return &c;
  return nullptr;
}

Box GroupFrame(Group g) {
  const int top = kBasePanel.y;
  switch (g) {
    case Group::Window: return kClient;
    case Group::Base: return kBasePanel;
    case Group::Colours: return {12, top + 40, 101, 209};
    case Group::Shape: return {124, top + 40, 113, 73};
    case Group::Preview: return {124, top + 152, 113, 169};
    case Group::Memory: return {248, top + 40, 273, 281};
    case Group::Alarms: return {12, top + 332, 509, 117};
  }
  return kClient;
}

Box GroupPanel(Group g) {
  Box f = GroupFrame(g);
  if (g == Group::Window || g == Group::Base) return f;
  return {f.x + kGroupBorder, f.y + kGroupBorder, f.w - 2 * kGroupBorder, f.h - 2 * kGroupBorder};
}

Box ClientBox(const Control& c) {
  const Box p = GroupPanel(c.group);
  return {p.x + c.box.x, p.y + c.box.y, c.box.w, c.box.h};
}

}  // namespace dialog_layout
