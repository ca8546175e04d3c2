// The settings dialog's layout table, checked as data: where each control lies, which may
// overlap, and which carry text; and which drawing of its pictures a density takes.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <utility>

#include "res/resource_ids.h"
#include "settings/dialog_access.h"
#include "settings/dialog_layout.h"
#include "ui/dpi.h"

namespace {

using namespace dialog_layout;

bool Inside(const Box& in, const Box& out) {
  return in.x >= out.x && in.y >= out.y && in.Right() <= out.Right() &&
         in.Bottom() <= out.Bottom();
}

bool Overlap(const Box& a, const Box& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

std::string Name(const Control& c) {
  return "control " + std::to_string(static_cast<int>(c.id)) + "[" + std::to_string(c.index) +
         "]";
}

bool IsText(Kind k) { return k == Kind::Label || k == Kind::FitLabel; }

TEST(DialogLayout, EveryControlLiesInItsGroupAndNoGroupOverlapsAnother) {
  for (Group g : kFramedGroups) {
    EXPECT_TRUE(Inside(GroupFrame(g), kBasePanel)) << static_cast<int>(g);
    for (Group h : kFramedGroups) {
      EXPECT_TRUE(g == h || !Overlap(GroupFrame(g), GroupFrame(h)));
    }
  }
  std::set<std::pair<Id, int>> seen;
  for (const Control& c : Controls()) {
    EXPECT_TRUE(seen.insert({c.id, c.index}).second) << Name(c) << " is in the table twice";
    EXPECT_GT(c.box.w, 0) << Name(c);
    EXPECT_GT(c.box.h, 0) << Name(c);
    EXPECT_TRUE(Inside(ClientBox(c), GroupPanel(c.group))) << Name(c);
  }
}

// Two controls may share pixels only when one is drawn over the other on purpose (its
// `liesOn`): a caption on its face, a heading's caption on its picture, the close picture on
// the title strip, the preview's boxes in their frame. Such a control lies wholly on it.
TEST(DialogLayout, OnlyAControlOnItsOwnFaceOverlapsAnother) {
  const auto& all = Controls();
  for (const Control& c : all) {
    if (c.liesOn == Id::None) continue;
    const Control* under = Find(c.liesOn, c.index);
    ASSERT_NE(under, nullptr) << Name(c) << " lies on a control the table lacks";
    EXPECT_TRUE(Inside(ClientBox(c), ClientBox(*under))) << Name(c);
  }
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      const Control &a = all[i], &b = all[j];
      const bool onPurpose = (a.liesOn == b.id && a.index == b.index) ||
                             (b.liesOn == a.id && a.index == b.index);
      if (!onPurpose) {
        EXPECT_FALSE(Overlap(ClientBox(a), ClientBox(b))) << Name(a) << " and " << Name(b);
      }
    }
  }
}

// Text controls have a caption; only a bordered box filled in while the dialog runs (a colour,
// a figure, a path) starts empty. Every label-button's face carries a caption. Nothing else
// has text, and only pictures and faces a drawing.
TEST(DialogLayout, CaptionsArePresentWhereTheyMustBe) {
  for (const Control& c : Controls()) {
    if (!IsText(c.kind)) {
      EXPECT_EQ(Caption(c), nullptr) << Name(c);
      continue;
    }
    ASSERT_NE(Caption(c), nullptr) << Name(c);
    const bool filledLater = (c.style & kBorder) && c.kind == Kind::Label;
    EXPECT_EQ(std::wstring(Caption(c)).empty(), filledLater) << Name(c);
    if (c.kind == Kind::FitLabel) {
      EXPECT_EQ(c.box.h, kFontPixels) << Name(c);
    }
  }
  // Pictures and faces, and nothing else, open with a drawing.
  for (const Control& c : Controls())
    EXPECT_EQ(c.picture != 0, c.kind == Kind::Picture || c.kind == Kind::Face) << Name(c);
  for (const Control& face : Controls()) {
    if (face.kind != Kind::Face) continue;
    int captions = 0;
    for (const Control& c : Controls())
      if (c.liesOn == face.id && c.index == face.index && IsText(c.kind) && *Caption(c)) ++captions;
    EXPECT_EQ(captions, 1) << Name(face) << " needs one caption";
  }
}

TEST(DialogPictures, ADensityTakesTheNearestDrawingAndItsResource) {
  const struct {
    int dpi;
    std::array<int, 3> order;
  } kCases[] = {
      {72, {100, 150, 200}},  {96, {100, 150, 200}},  {110, {100, 150, 200}},
      {120, {150, 100, 200}},  // 125 %: halfway, and a reduced drawing stays sharper
      {144, {150, 200, 100}}, {168, {200, 150, 100}}, {192, {200, 150, 100}},
      {288, {200, 150, 100}},
  };
  for (const auto& c : kCases) EXPECT_EQ(ArtScalesFor(c.dpi), c.order) << c.dpi << " DPI";

  // The resource numbering of the drawings agrees with the ids the resource script uses.
  const struct {
    int id100, id150, id200;
  } kIds[] = {
      {IDB_TITLE, IDB_TITLE_150, IDB_TITLE_200},
      {IDB_CLOSE_UP, IDB_CLOSE_UP_150, IDB_CLOSE_UP_200},
      {IDB_CLOSE_DOWN, IDB_CLOSE_DOWN_150, IDB_CLOSE_DOWN_200},
      {IDB_HEADING, IDB_HEADING_150, IDB_HEADING_200},
      {IDB_BUTTON_OFF, IDB_BUTTON_OFF_150, IDB_BUTTON_OFF_200},
      {IDB_BUTTON_ON, IDB_BUTTON_ON_150, IDB_BUTTON_ON_200},
      {IDB_OPTION_OFF, IDB_OPTION_OFF_150, IDB_OPTION_OFF_200},
      {IDB_OPTION_ON, IDB_OPTION_ON_150, IDB_OPTION_ON_200},
      {IDB_SWITCH_OFF, IDB_SWITCH_OFF_150, IDB_SWITCH_OFF_200},
      {IDB_SWITCH_ON, IDB_SWITCH_ON_150, IDB_SWITCH_ON_200},
      {IDB_TEXTURE, 0, IDB_TEXTURE_200},
  };
  for (const auto& ids : kIds) {
    EXPECT_EQ(ArtResourceId(ids.id100, 100), ids.id100);
    if (ids.id150) {
      EXPECT_EQ(ArtResourceId(ids.id100, 150), ids.id150) << ids.id100;
    }
    EXPECT_EQ(ArtResourceId(ids.id100, 200), ids.id200) << ids.id100;
  }
}

}  // namespace

// The keyboard's and a reader's facts: every element named, every stop a control that acts,
// in reading order (top to bottom within a group, the groups as they read).
TEST(DialogAccess, EveryElementIsNamedAndTabWalksTheActingControlsInReadingOrder) {
  int elements = 0;
  for (const Control& c : Controls()) {
    if (RoleOf(c) == Role::None) continue;
    ++elements;
    EXPECT_FALSE(NameOf(c).empty()) << Name(c);
  }
  EXPECT_GE(elements, 60);
  const struct { Id id; int index; Role role; const wchar_t* name; } rows[] = {
      {Id::ColourFace, 0, Role::PushButton, L"背景"},
      {Id::GraphColour, 0, Role::PushButton, L"ｸﾞﾗﾌ 背景"},
      {Id::ColourSwatch, 5, Role::StaticText, L"振り子"},
      {Id::ShapeMark, 1, Role::RadioButton, L"楕円（縦）"},
      {Id::IvalBar, 0, Role::ScrollBar, L"ﾒﾓﾘﾁｪｯｸのｲﾝﾀｰﾊﾞﾙ"},
      {Id::AlarmSwitch, 1, Role::CheckBox, L"ｱﾗｰﾑ2"},
      {Id::Hour, 0, Role::ComboBox, L"ｱﾗｰﾑ1 時"},
      {Id::Track, 1, Role::ComboBox, L"ｱﾗｰﾑ2 曲目をﾘﾋﾟｰﾄ"},
      {Id::FileFace, 0, Role::PushButton, L"ｱﾗｰﾑ1 MP3、WAV ..."},
      {Id::OptionsFace, 1, Role::PushButton, L"ｱﾗｰﾑ2 詳細"},
      {Id::MoreFace, 0, Role::PushButton, L"その他のｱﾗｰﾑ..."},
      {Id::OkFace, 0, Role::PushButton, L"設定"},
      {Id::Ok, 0, Role::None, L"設定"},
      {Id::Board, 0, Role::Graphic, L"物理ﾒﾓﾘ Free"},
      {Id::TotalFigure, 1, Role::StaticText, L"仮想ﾒﾓﾘ Total"},
  };
  for (const auto& r : rows) {
    const Control* c = Find(r.id, r.index);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(RoleOf(*c), r.role) << Name(*c);
    EXPECT_EQ(NameOf(*c), r.name) << Name(*c);
  }
  const std::vector<Stop>& order = TabOrder();
  ASSERT_EQ(order.size(), 38u);
  std::set<std::pair<int, int>> seen;
  for (std::size_t n = 0; n < order.size(); ++n) {
    const Control* c = Find(order[n].id, order[n].index);
    ASSERT_NE(c, nullptr);
    const Role role = RoleOf(*c);
    EXPECT_TRUE(role == Role::PushButton || role == Role::RadioButton ||
                role == Role::CheckBox || role == Role::ComboBox || role == Role::ScrollBar)
        << Name(*c);
    EXPECT_TRUE(seen.insert({static_cast<int>(c->id), c->index}).second) << Name(*c);
    if (n == 0 || c->group != Find(order[n - 1].id, order[n - 1].index)->group) continue;
    // Within a group a stop lies below the one before, or beside it on the same row.
    const Box a = ClientBox(*Find(order[n - 1].id, order[n - 1].index)), b = ClientBox(*c);
    EXPECT_TRUE(b.y >= a.Bottom() - 4 || (b.x > a.x && b.y < a.Bottom())) << Name(*c);
  }
  EXPECT_EQ(ChoiceOf(Id::FileMark, 1).size(), 2u);
  EXPECT_EQ(ChoiceOf(Id::ShapeMark, 0).size(), 3u);
  EXPECT_TRUE(ChoiceOf(Id::Hour, 0).empty());
  // A press focuses what Tab or the arrows reach; a mark's caption focuses its mark.
  const struct { Id pressed; int index; Id focused; } presses[] = {
      {Id::ShapeMark, 2, Id::ShapeMark}, {Id::ShapeCaption, 1, Id::ShapeMark},
      {Id::FileCaption, 1, Id::FileMark}, {Id::CdCaption, 0, Id::CdMark},
      {Id::OkFace, 0, Id::OkFace},       {Id::GraphColour, 3, Id::GraphColour},
  };
  for (const auto& p : presses)
    EXPECT_EQ(FocusOnPress(p.pressed, p.index), Find(p.focused, p.index)) << Name(*Find(p.pressed, p.index));
  for (Id none : {Id::TitleStrip, Id::Board, Id::ColourSwatch, Id::IvalValue})
    EXPECT_EQ(FocusOnPress(none, 0), nullptr) << Name(*Find(none, 0));
  // What sets an alarm's sound acts only while the alarm is on; its switch, state, units and
  // path always; release and the check only on a machine the cleaner can work on.
  const std::set<Id> whileOn{Id::Hour,      Id::Minute,      Id::CdMark,   Id::CdCaption,
                             Id::Track,     Id::FileMark,    Id::FileCaption, Id::FileFace,
                             Id::File,      Id::ClearFace,   Id::Clear,       Id::OptionsFace,
                             Id::Options};
  const std::set<Id> whileBig{Id::FreeFace, Id::Free, Id::IvalBar, Id::KagenBar};
  for (const Control& c : Controls()) {
    const Enable rule = whileOn.count(c.id)    ? Enable::WhileAlarmOn
                        : whileBig.count(c.id) ? Enable::WhileCleanable
                                               : Enable::Always;
    EXPECT_EQ(c.enable, rule) << Name(c);
    // A caption acts with the face or mark it names.
    const Control* focus = FocusOnPress(c.id, c.index);
    if (c.liesOn != Id::None && IsText(c.kind)) {
      EXPECT_EQ(c.enable, Find(c.liesOn, c.index)->enable) << Name(c);
    }
    if (focus) {
      EXPECT_EQ(c.enable, focus->enable) << Name(c);
    }
  }
}
