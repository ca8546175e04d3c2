// The ringing window as data: its texts from the notice, its controls' boxes at 96 DPI, and where
// it goes on the screen. Portable, so the unit tests check the placement without a screen.
#pragma once

#include <string>

#include "model/commands.h"
#include "ui/box.h"

namespace ring_layout {

using Box = ui::Box;

// The client area and its controls, at 96 DPI, for a label of one line and no other alarm;
// LayOut gives them for a longer label and the others' line.
inline constexpr Box kClient{0, 0, 300, 96};
inline constexpr Box kHeadline{12, 8, 276, 20};  // the alarm's name and time
inline constexpr Box kLabel{12, 30, 276, 18};    // the alarm's label, when it has one
inline constexpr Box kSnooze{12, 60, 128, 26};   // the default button
inline constexpr Box kStop{208, 60, 80, 26};
// A label wraps onto this many lines at most: the 64 characters the alarm's window takes, at
// full width.
inline constexpr int kLineHeight = 16;
inline constexpr int kMaxLabelLines = 4;

struct Boxes {
  Box client, label, others, snooze, stop;
};
// The boxes for a label of `labelLines` lines (none or one keep the one line's room) and, with
// `others`, the line that names the alarms due with this one.
Boxes LayOut(int labelLines, bool others);
// "+1: ｱﾗｰﾑ5 7:30 お薬": the alarms that fell due with the ringing one; "" for none.
std::wstring Others(const RingNotice& ring);
// Between the clock and the window beside it.
inline constexpr int kGap = 8;

// "ｱﾗｰﾑ1  7:30": the alarm as the user numbers it and its time as set.
std::wstring Headline(const RingNotice& ring);
// The title, which a reader speaks and Alt+Tab shows: "ｱﾗｰﾑ1 7:30 お薬".
std::wstring Title(const RingNotice& ring);

// The window's top-left corner, `size` wide and high (x, y unused): beside the clock's window
// `clock` on its monitor's work area `work`, to the right or, with no room there, to the left,
// kept on that area; with no clock shown (`clock` null), in the corner of `work` by the
// notification area, the bottom right.
Box Place(const Box* clock, const Box& work, const Box& size);

}  // namespace ring_layout
