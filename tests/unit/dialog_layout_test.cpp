// The settings dialog's layout table, checked as data: where each control lies, which may
// overlap, and which carry text.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "settings/dialog_layout.h"

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
// has text.
TEST(DialogLayout, CaptionsArePresentWhereTheyMustBe) {
  for (const Control& c : Controls()) {
    if (!IsText(c.kind)) {
      EXPECT_EQ(c.caption, nullptr) << Name(c);
      continue;
    }
    ASSERT_NE(c.caption, nullptr) << Name(c);
    const bool filledLater = (c.style & kBorder) && c.kind == Kind::Label;
    EXPECT_EQ(std::wstring(c.caption).empty(), filledLater) << Name(c);
    if (c.kind == Kind::FitLabel) {
      EXPECT_EQ(c.box.h, kFont.pixels) << Name(c);
    }
  }
  for (const Control& face : Controls()) {
    if (face.kind != Kind::Face) continue;
    int captions = 0;
    for (const Control& c : Controls())
      if (c.liesOn == face.id && c.index == face.index && IsText(c.kind) && *c.caption) ++captions;
    EXPECT_EQ(captions, 1) << Name(face) << " needs one caption";
  }
}

}  // namespace
