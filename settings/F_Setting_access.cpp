// The settings dialog for a screen reader: one element per control of the layout table that a
// reader needs (settings/dialog_access.h), with its state, value and place on the screen, and
// a click for its default action.
#include "settings/F_Setting.h"

#include <cstdio>

#include "res/resource_ids.h"
#include "settings/edit_rules.h"
#include "ui/accessible_named.h"

namespace dl = dialog_layout;
using dl::Id;

namespace {

std::wstring RgbText(Colour c) {
  wchar_t text[40];
  std::swprintf(text, 40, L"RGB(%d, %d, %d)", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  return text;
}

// The table's elements: its controls that a reader sees, in the table's order.
const std::vector<const dl::Control*>& Elements() {
  static const std::vector<const dl::Control*> list = [] {
    std::vector<const dl::Control*> l;
    for (const dl::Control& c : dl::Controls())
      if (dl::RoleOf(c) != dl::Role::None) l.push_back(&c);
    return l;
  }();
  return list;
}

}  // namespace

// Where a control lies now, in client pixels: a real control's own window, or the drawn
// control's rectangle (a label as wide as its caption).
RECT F_Setting::boxOf(const dl::Control& c) const {
  RECT r{};
  if (HWND w = windowOf(c)) {
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  const RECT* drawn = drawnRect(c);
  return drawn ? *drawn : Px(dl::ClientBox(c));
}

// The real lists and bars, named for a reader by the labels drawn beside them, with the value
// the dialog's tree gives them (a bar's as the label beside it shows it, "30分").
void F_Setting::nameRealControls() {
  for (const dl::Control& c : dl::Controls()) {
    HWND w = windowOf(c);
    const dl::Role role = dl::RoleOf(c);
    if (!w || (role != dl::Role::ComboBox && role != dl::Role::ScrollBar)) continue;
    auto value = [this, &c] { return valueOf(c); };
    NameForReaders(w, dl::NameOf(c), MsaaRole(role), value);
    // A list that takes typing has the focus in its edit box, which reads as the list itself:
    // the same role and value as the hour and minute lists.
    if (HWND edit = FindWindowExW(w, nullptr, L"Edit", nullptr))
      NameForReaders(edit, dl::NameOf(c), MsaaRole(role), value);
  }
}

// What a click on the control does.
bool F_Setting::click(const dl::Control& c) {
  const int i = c.index;
  if (!enabled(c)) return false;
  switch (c.id) {
    case Id::ColourFace: lbl_Color_MouseUp(i); break;
    case Id::GraphColour: case Id::FilterColour: Cmd_C_Click(c); break;
    case Id::FreeFace: lbl_Free_MouseUp(); break;
    case Id::ShapeMark: Img_Shape_MouseDown(i); break;
    case Id::AlarmSwitch: Img_Alarm_MouseDown(i); break;
    case Id::CdMark: chooseSoundKind(i, 1); break;
    case Id::FileMark: chooseSoundKind(i, 2); break;
    case Id::FileFace: lbl_Snd_File_MouseUp(i); break;
    case Id::ClearFace: lbl_Clear_MouseUp(i); break;
    case Id::OptionsFace: lbl_Options_MouseUp(i); break;
    case Id::MoreFace: lbl_More_MouseUp(); break;
    case Id::OkFace: lbl_End_MouseUp(); break;
    case Id::CancelFace: lbl_Can_MouseUp(); break;
    case Id::Close: ImgExit_MouseUp(); break;
    default: return false;
  }
  return true;
}

int F_Setting::AccessibleCount() { return static_cast<int>(Elements().size()); }

int F_Setting::childOf(const dl::Control* c) const {
  const auto& list = Elements();
  for (std::size_t k = 0; k < list.size(); ++k)
    if (list[k] == c) return static_cast<int>(k) + 1;
  return 0;
}

void F_Setting::announce(const dl::Control* c, DWORD event) {
  if (Loaded()) AccessibleServer::Notify(hwnd(), event, childOf(c));
}

void F_Setting::announce(Id id, int index, DWORD event) { announce(dl::Find(id, index), event); }

AccessibleInfo F_Setting::Accessible(int child) {
  AccessibleInfo a;
  if (!Loaded()) return a;
  if (child == 0) {
    a.name = slot(*dl::Find(Id::Title)).label.Caption;
    a.role = MsaaRole(ReaderRole::Dialog);
    GetWindowRect(hwnd(), &a.screen);
    return a;
  }
  const dl::Control& c = *Elements()[child - 1];
  a.name = c.id == Id::MoreFace ? label(Id::More).Caption : dl::NameOf(c);
  const dl::Role role = dl::RoleOf(c);
  a.role = MsaaRole(role);
  a.value = valueOf(c);
  a.state = stateOf(c);
  a.screen = boxOf(c);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&a.screen), 2);
  a.defaultAction = ActionText(DefaultActionOf(role, a.state & STATE_SYSTEM_CHECKED));
  return a;
}

std::wstring F_Setting::valueOf(const dl::Control& c) const {
  const Slot& s = slot(c);
  switch (c.id) {
    case Id::ColourSwatch: return RgbText(EditColor[c.index]);
    case Id::IvalBar: return slot(*dl::Find(Id::IvalValue)).label.Caption;
    case Id::KagenBar: return slot(*dl::Find(Id::KagenValue)).label.Caption;
    case Id::Path: return PathReading(s.label.Caption, s.label.Note);
    case Id::Board: return memoryGraph_.Percent();
    default: break;
  }
  switch (c.kind) {
    case dl::Kind::ColourButton: return RgbText(s.colour.BackColor);
    case dl::Kind::ListCombo: return s.combo.Text();
    case dl::Kind::EditCombo: return TrackReading(s.combo.Text());
    case dl::Kind::Label:
    case dl::Kind::FitLabel:
      // A text named by another caption (a figure, a value, the alarm's state) reads as its
      // text; a caption is its own name.
      if (dl::RoleOf(c) == dl::Role::StaticText && dl::NameOf(c) != dl::Caption(c))
        return s.label.Caption;
      return L"";
    default: return L"";
  }
}

long F_Setting::stateOf(const dl::Control& c) const {
  long s = 0;
  if (!enabled(c)) s |= STATE_SYSTEM_UNAVAILABLE;
  const bool focusable = dl::FocusOnPress(c.id, c.index) == &c;
  if (focusable && !(s & STATE_SYSTEM_UNAVAILABLE)) s |= STATE_SYSTEM_FOCUSABLE;
  if (focusedControl() == &c) s |= STATE_SYSTEM_FOCUSED;
  if (c.kind == dl::Kind::Picture || c.kind == dl::Kind::Face) {
    // A mark or a switch is checked, a face pressed, as its picture shows.
    const Picture* shown = slot(c).image.picture;
    if (shown == art(IDB_OPTION_ON) || shown == art(IDB_SWITCH_ON)) s |= STATE_SYSTEM_CHECKED;
    if (shown == art(IDB_BUTTON_ON)) s |= STATE_SYSTEM_PRESSED;
  }
  return s;
}

int F_Setting::AccessibleFocus() {
  const dl::Control* c = focusedControl();
  if (c) return childOf(c);
  return GetFocus() == hwnd() ? 0 : -1;
}

bool F_Setting::AccessibleDefault(int child) {
  if (child < 1 || child > AccessibleCount()) return false;
  const dl::Control& c = *Elements()[child - 1];
  if (DefaultActionOf(dl::RoleOf(c)) == ReaderAction::None) return false;
  return PostMessageW(hwnd(), kDefaultAction, static_cast<WPARAM>(child), 0) != FALSE;
}
