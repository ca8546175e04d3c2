// The settings dialog's controls for the keyboard and a screen reader, as data over the layout
// table: each control's role, its name in the dialog's own words, and the order Tab walks the
// controls in. Portable: the unit tests check it as data.
#pragma once

#include <string>
#include <vector>

#include "settings/dialog_layout.h"
#include "ui/reader_role.h"

namespace dialog_layout {

// What a reader calls a control. None: no element of its own (a caption lying on its face,
// which names the face, or a frame round other elements).
using Role = ReaderRole;

Role RoleOf(const Control& c);
// Its caption; for a control without one, the caption of what it sets or lies beside.
std::wstring NameOf(const Control& c);

// A stop of Tab. A choice's stop is its first mark; the window puts the focus on the mark
// that is chosen, and the arrow keys move between the marks of the choice.
struct Stop {
  Id id;
  int index;
};
// Reading order: colours, shape, memory, the alarms row by row, then OK, cancel and close.
const std::vector<Stop>& TabOrder();
// The caption of the button that opens the list of alarms, with how many of its own are on.
std::wstring MoreAlarmsCaption(int on);
// The marks of one choice, in the order the arrow keys walk them; empty for another control.
std::vector<Stop> ChoiceOf(Id id, int index);
// What a press of the mouse on a control gives the keyboard focus to, as a click on a button
// does: the control itself when Tab or the arrows reach it, a mark for its caption; nullptr for
// anything else.
const Control* FocusOnPress(Id id, int index);

}  // namespace dialog_layout
