#include "settings/dialog_layout.h"

#include "version.h"

namespace dialog_layout {
namespace {

// Appends one control to the table under construction.
struct Add {
  std::vector<Control>& t;
  void operator()(Id id, int index, Kind kind, Group g, Box box, const wchar_t* caption,
                  Align align = Align::Left, unsigned style = kPlain,
                  Cursor cursor = Cursor::Arrow, Id liesOn = Id::None) const {
    t.push_back(Control{id, index, kind, g, box, caption, align, style, cursor, liesOn});
  }
};

constexpr Kind P = Kind::Picture, F = Kind::Face, L = Kind::Label, Fit = Kind::FitLabel;
constexpr Align C = Align::Centre, R = Align::Right, Le = Align::Left;
constexpr Cursor A = Cursor::Arrow, H = Cursor::Hand;

// Rows of a group repeat at a fixed step; the table is written with that step.
void AddWindow(const Add& add) {
  // The title strip, its caption and the close picture.
  add(Id::TitleStrip, 0, P, Group::Window, {0, 0, 537, 22}, nullptr);
  add(Id::Close, 0, P, Group::Window, {516, 4, 15, 15}, nullptr, Le, kPlain, H, Id::TitleStrip);
  add(Id::Title, 0, L, Group::Window, {8, 4, 110, 13}, L"Tessarineの設定", Le, kWhiteText, A,
      Id::TitleStrip);

  // OK, cancel and the credit line, on the base panel.
  add(Id::OkFace, 0, F, Group::Base, {356, 464, 81, 20}, nullptr, Le, kPlain, H);
  add(Id::Ok, 0, L, Group::Base, {356, 468, 81, 13}, L"設定", C, kPlain, A, Id::OkFace);
  add(Id::CancelFace, 0, F, Group::Base, {440, 464, 81, 20}, nullptr, Le, kPlain, H);
  add(Id::Cancel, 0, L, Group::Base, {440, 468, 81, 13}, L"ｷｬﾝｾﾙ", C, kPlain, A, Id::CancelFace);
  add(Id::Version, 0, Fit, Group::Base, {14, 468, 336, 13},
      L"Tessarine  Version " TESSARINE_VERSION_TEXT);

  // Group headings: a picture with its caption centred, four pixels lower.
  const struct { int x, y; const wchar_t* caption; } headings[] = {
      {12, 12, L"色の指定"}, {124, 12, L"文字盤の形"}, {124, 124, L"時計のｲﾒｰｼﾞ"},
      {248, 12, L"ﾒﾓﾘの開放"}, {12, 300, L"ｱﾗｰﾑの指定"}};
  for (int i = 0; i < 5; ++i) {
    const auto& h = headings[i];
    add(Id::Heading, i, P, Group::Base, {h.x, h.y, 95, 22}, nullptr);
    add(Id::HeadingCaption, i, L, Group::Base, {h.x, h.y + 4, 95, 13}, h.caption, C, kPlain, A,
        Id::Heading);
  }

}

void AddColoursShapeAndPreview(const Add& add) {
  // Colours: six of the clock's and their reset, each a button with the colour beside it.
  const wchar_t* colours[7] = {L"背景", L"文字", L"時針", L"分針", L"秒針", L"振り子", L"初期値"};
  for (int i = 0; i < 7; ++i) {
    const int y = 8 + 28 * i;
    add(Id::ColourFace, i, F, Group::Colours, {8, y, 61, 20}, nullptr, Le, kPlain, H);
    add(Id::ColourCaption, i, L, Group::Colours, {8, y + 4, 61, 13}, colours[i], C, kPlain, A,
        Id::ColourFace);
    if (i < 6) add(Id::ColourSwatch, i, L, Group::Colours, {72, y, 17, 17}, L"", Le, kBorder);
  }

  // Dial shape: three option marks, each caption acting as its mark.
  const wchar_t* shapes[3] = {L"真円", L"楕円（縦）", L"楕円（横）"};
  for (int i = 0; i < 3; ++i) {
    add(Id::ShapeMark, i, P, Group::Shape, {8, 8 + 20 * i, 13, 13}, nullptr, Le, kPlain, H);
    add(Id::ShapeCaption, i, Fit, Group::Shape, {24, 8 + 20 * i, 80, 13}, shapes[i], Le, kPlain,
        H);
  }

  // Preview: the black frame and the clock's two boxes inside it.
  add(Id::PreviewFrame, 0, Kind::Frame, Group::Preview, {8, 8, 94, 149}, nullptr);
  add(Id::PreviewDial, 0, Kind::PictureBox, Group::Preview, {12, 12, 80, 80}, nullptr, Le,
      kPlain, A, Id::PreviewFrame);
  add(Id::PreviewPendulum, 0, Kind::PictureBox, Group::Preview, {12, 92, 80, 57}, nullptr, Le,
      kPlain, A, Id::PreviewFrame);

}

void AddMemory(const Add& add) {
  // Memory release: the pie's four colours, the release button, the cleaner's filter colour,
  // the pie, the figures, and the check's interval and lower limit.
  const wchar_t* graph[4] = {L"背景", L"物理ﾒﾓﾘ（Total）", L"物理ﾒﾓﾘ（Free）", L"％表示"};
  for (int i = 0; i < 4; ++i) {
    add(Id::GraphColour, i, Kind::ColourButton, Group::Memory, {12, 16 + 24 * i, 17, 17}, nullptr,
        Le, kPlain, H);
    add(Id::GraphCaption, i, Fit, Group::Memory, {32, 20 + 24 * i, 92, 13}, graph[i]);
  }
  const Group M = Group::Memory;
  add(Id::FreeFace, 0, F, M, {40, 112, 81, 20}, nullptr, Le, kPlain, H);
  add(Id::Free, 0, L, M, {40, 116, 81, 13}, L"ﾒﾓﾘ開放", C, kPlain, A, Id::FreeFace);
  add(Id::FilterColour, 0, Kind::ColourButton, M, {12, 136, 17, 17}, nullptr, Le, kPlain, H);
  add(Id::FilterCaption, 0, Fit, M, {32, 140, 92, 13}, L"解放時のﾌｨﾙﾀ");
  add(Id::Board, 0, Kind::PictureBox, M, {128, 12, 130, 130}, nullptr);
  add(Id::PhysicalHeading, 0, Fit, M, {96, 160, 76, 13}, L"物理ﾒﾓﾘ");
  add(Id::VirtualHeading, 0, Fit, M, {176, 160, 81, 13}, L"仮想ﾒﾓﾘ");
  add(Id::TotalCaption, 0, Fit, M, {63, 180, 31, 13}, L"Total");
  add(Id::FreeCaption, 0, Fit, M, {68, 200, 26, 13}, L"Free");
  const unsigned figure = kBorder | kWhiteBack;
  add(Id::TotalFigure, 0, L, M, {96, 176, 77, 17}, L"", R, figure);
  add(Id::TotalFigure, 1, L, M, {176, 176, 81, 17}, L"", R, figure);
  add(Id::FreeFigure, 0, L, M, {96, 196, 77, 17}, L"", R, figure);
  add(Id::FreeFigure, 1, L, M, {176, 196, 81, 17}, L"", R, figure);
  add(Id::IvalCaption, 0, Fit, M, {16, 224, 114, 13}, L"ﾒﾓﾘﾁｪｯｸのｲﾝﾀｰﾊﾞﾙ");
  add(Id::KagenCaption, 0, Fit, M, {44, 248, 86, 13}, L"ﾒﾓﾘ(Free)下限");
  add(Id::IvalBar, 0, Kind::ScrollBar, M, {132, 224, 65, 17}, nullptr, Le, kPlain, H);
  add(Id::KagenBar, 0, Kind::ScrollBar, M, {132, 248, 65, 17}, nullptr, Le, kPlain, H);
  add(Id::IvalValue, 0, L, M, {200, 224, 57, 17}, L"", R, figure);
  add(Id::KagenValue, 0, L, M, {200, 248, 57, 17}, L"", R, figure);

}

void AddAlarms(const Add& add) {
  // Alarms: two rows, the second 48 pixels below the first.
  const Group Al = Group::Alarms;
  for (int i = 0; i < 2; ++i) {
    const int y = 48 * i;
    add(Id::AlarmSwitch, i, P, Al, {8, 16 + y, 12, 12}, nullptr, Le, kPlain, H);
    add(Id::AlarmState, i, Fit, Al, {8, 36 + y, 28, 13}, L"Off");
    add(Id::Hour, i, Kind::ListCombo, Al, {24, 12 + y, 37, 21}, nullptr, Le, kPlain, H);
    add(Id::HourUnit, i, Fit, Al, {64, 16 + y, 14, 13}, L"時");
    add(Id::Minute, i, Kind::ListCombo, Al, {80, 12 + y, 37, 21}, nullptr, Le, kPlain, H);
    add(Id::MinuteUnit, i, Fit, Al, {120, 16 + y, 14, 13}, L"分");
    add(Id::CdMark, i, P, Al, {144, 16 + y, 13, 13}, nullptr, Le, kPlain, H);
    add(Id::CdCaption, i, Fit, Al, {160, 16 + y, 46, 13}, L"音楽CD", Le, kPlain, H);
    add(Id::Track, i, Kind::EditCombo, Al, {208, 12 + y, 41, 20}, nullptr, Le, kPlain, H);
    add(Id::TrackCaption, i, Fit, Al, {252, 16 + y, 78, 13}, L"曲目をﾘﾋﾟｰﾄ");
    add(Id::FileMark, i, P, Al, {332, 16 + y, 13, 13}, nullptr, Le, kPlain, H);
    add(Id::FileCaption, i, Fit, Al, {348, 16 + y, 66, 13}, L"MP3、WAV", Le, kPlain, H);
    add(Id::FileFace, i, F, Al, {416, 12 + y, 21, 20}, nullptr, Le, kPlain, H);
    add(Id::File, i, L, Al, {416, 16 + y, 21, 13}, L"...", C, kPlain, A, Id::FileFace);
    add(Id::ClearFace, i, F, Al, {440, 12 + y, 53, 19}, nullptr, Le, kPlain, H);
    add(Id::Clear, i, L, Al, {440, 15 + y, 53, 13}, L"ｸﾘｱ", C, kPlain, A, Id::ClearFace);
    add(Id::PathCaption, i, Fit, Al, {108, 40 + y, 34, 13}, L"Path :");
    add(Id::Path, i, L, Al, {144, 36 + y, 349, 17}, L"", Le, kBorder | kWhiteBack | kPathEllipsis);
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
