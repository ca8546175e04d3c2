// The settings dialog from the keyboard: Tab and Shift+Tab through the layout's stops, the
// arrow keys within a choice, Space and Enter as a click, Enter elsewhere as OK, Esc as cancel,
// and the focus rectangle once the keyboard has been used (the system's keyboard-cue rule).
#include "settings/F_Setting.h"

#include "settings/edit_rules.h"

namespace dl = dialog_layout;
using dl::Id;

namespace {

// The system's focus rectangle, dotted, but in the captions' black: DrawFocusRect inverts, and
// an inverted dot on the mid-grey panels (126 becomes 129) cannot be seen.
void DottedFrame(HDC dc, const RECT& r) {
  const COLORREF ink = RGB(0, 0, 0);
  for (LONG x = r.left; x < r.right; x += 2) {
    SetPixelV(dc, x, r.top, ink);
    SetPixelV(dc, x, r.bottom - 1, ink);
  }
  for (LONG y = r.top; y < r.bottom; y += 2) {
    SetPixelV(dc, r.left, y, ink);
    SetPixelV(dc, r.right - 1, y, ink);
  }
}

}  // namespace

const dl::Control* F_Setting::stopControl(const dl::Stop& s) const {
  // A choice's stop is the mark that is chosen; a sound kind's marks are each a stop of their
  // own, and the one not chosen is none.
  if (s.id == Id::ShapeMark) return dl::Find(Id::ShapeMark, EditShape >= 0 && EditShape <= 2 ? EditShape : 0);
  if (s.id == Id::CdMark || s.id == Id::FileMark) {
    const bool cd = EditSoundKind[s.index] == 1;
    if ((s.id == Id::CdMark) != cd) return nullptr;
  }
  return dl::Find(s.id, s.index);
}

// The control that has the keyboard focus: a drawn one while the window itself has it, or the
// list or scroll bar (or the edit box inside a list) that has it.
const dl::Control* F_Setting::focusedControl() const {
  HWND f = GetFocus();
  if (!Loaded() || !f) return nullptr;
  if (f == hwnd()) return focus_;
  for (const dl::Control& c : dl::Controls()) {
    HWND w = windowOf(c);
    if (w && (f == w || GetParent(f) == w)) return &c;
  }
  return nullptr;
}

// The table's rule, for the mouse, the keyboard and a reader alike; applyEnabled shows it.
bool F_Setting::enabled(const dl::Control& c) const {
  switch (c.enable) {
    case dl::Enable::Always: return true;
    case dl::Enable::WhileAlarmOn: return AlarmSwitch(EditAlarmOn[c.index]).rowEnabled;
    case dl::Enable::WhileCleanable: return cleanable_;
  }
  return true;
}

void F_Setting::focusOn(const dl::Control* c) {
  const dl::Control* before = focus_;
  focus_ = c;
  if (HWND w = c ? windowOf(*c) : nullptr) {
    SetFocus(w);
  } else if (GetFocus() != hwnd()) {
    SetFocus(hwnd());  // its WM_SETFOCUS tells a reader
  } else {
    announce(c, EVENT_OBJECT_FOCUS);
  }
  if (before && before != c) repaint(focusRect(*before));
  if (c) repaint(focusRect(*c));
}

// The next (or previous) stop that can take the focus, round the end.
void F_Setting::tab(bool back) {
  const auto& order = dl::TabOrder();
  const int n = static_cast<int>(order.size());
  const dl::Control* now = focusedControl();
  int at = back ? 0 : n - 1;
  for (int k = 0; k < n; ++k) {
    const dl::Control* c = stopControl(order[k]);
    if (now && c == now) at = k;
  }
  for (int step = 1; step <= n; ++step) {
    const dl::Control* c = stopControl(order[(at + (back ? n - step : step)) % n]);
    if (c && enabled(*c)) return focusOn(c);
  }
}

// The arrows within a choice: the next mark is chosen and takes the focus.
void F_Setting::arrow(int delta) {
  if (!focus_) return;
  const auto marks = dl::ChoiceOf(focus_->id, focus_->index);
  const int n = static_cast<int>(marks.size());
  for (int k = 0; k < n; ++k) {
    if (marks[k].id != focus_->id || marks[k].index != focus_->index) continue;
    const dl::Control* next = dl::Find(marks[(k + delta + n) % n].id, marks[(k + delta + n) % n].index);
    if (!next || !enabled(*next)) return;
    click(*next);
    focusOn(next);
    return;
  }
}

void F_Setting::showCues() {
  if (cues_) return;
  // The window's own UI state follows the rule too, for any child that reads it.
  SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  cues_ = true;
  if (focus_) repaint(focusRect(*focus_));
}

bool F_Setting::onKey(const MSG& msg) {
  const WPARAM key = msg.wParam;
  const bool own = msg.hwnd == hwnd();
  const dl::Control* f = focusedControl();
  switch (key) {
    case VK_TAB:
      showCues();
      tab(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
      if (!own) return false;  // a list or a scroll bar takes its own arrows
      showCues();
      arrow(key == VK_LEFT || key == VK_UP ? -1 : 1);
      return true;
    case VK_SPACE:
      if (!own) return false;
      if (focus_) click(*focus_);
      return true;
    case VK_RETURN:
      // A list that is open takes Enter to close; any control without an action of its own
      // gives it to OK. The dialog itself, before Tab, takes none.
      if (!f || comboDropped()) return false;
      if (own) click(*focus_);
      else lbl_End_MouseUp();
      return true;
  }
  return false;
}

bool F_Setting::comboDropped() const {
  for (const dl::Control& c : dl::Controls())
    if (slot(c).combo.hwnd() && slot(c).combo.Dropped()) return true;
  return false;
}

void F_Setting::paintFocus(HDC dc) const {
  if (!cues_ || !focus_ || GetFocus() != hwnd()) return;
  DottedFrame(dc, focusRect(*focus_));
}

// Round a face inside its edge; round a mark with its caption; round anything else outside.
RECT F_Setting::focusRect(const dl::Control& c) const {
  RECT r = boxOf(c);
  const int inset = Px(3);
  switch (dl::RoleOf(c)) {
    case dl::Role::PushButton:
      if (c.id != Id::Close) {
        InflateRect(&r, -inset, -inset);
        return r;
      }
      break;
    case dl::Role::RadioButton:
      // Its caption is the control whose press focuses the mark.
      for (const dl::Control& caption : dl::Controls()) {
        if (&caption == &c || dl::FocusOnPress(caption.id, caption.index) != &c) continue;
        const RECT label = boxOf(caption);
        UnionRect(&r, &r, &label);
      }
      break;
    default: break;
  }
  InflateRect(&r, 1, 1);
  return r;
}

// The focus coming and going, the keyboard cues switched, a reader asking for an element's
// default action.
bool F_Setting::onFocusMessage(UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (focus_) repaint(focusRect(*focus_));
      if (msg == WM_SETFOCUS) announce(focus_, EVENT_OBJECT_FOCUS);
      return true;
    case WM_UPDATEUISTATE:
      if (HIWORD(wp) & UISF_HIDEFOCUS) cues_ = LOWORD(wp) == UIS_CLEAR;
      if (focus_) repaint(focusRect(*focus_));
      return false;  // the system keeps the window's state too
    case kDefaultAction: {
      const int child = static_cast<int>(wp);
      for (const dl::Control& c : dl::Controls())
        if (childOf(&c) == child) click(c);
      return true;
    }
  }
  return false;
}
