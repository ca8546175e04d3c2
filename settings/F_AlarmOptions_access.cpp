// What an alarm's own settings window tells a screen reader of its controls.
#include "settings/F_AlarmOptions.h"

#include "ui/accessible_named.h"

namespace alarm_options_window {

std::wstring F_AlarmOptions::valueOf(const ao::Control& c) const {
  HWND w = windows_[rowOf(c)];
  switch (c.kind) {
    case ao::Kind::Slider: return ao::ValueText(c.id, sliderValue(c.id));
    case ao::Kind::Edit:
    case ao::Kind::Text: {
      // A value label is named by its slider's caption and reads as its text.
      if (c.kind == ao::Kind::Text && c.text != dialog_layout::kFilledIn) return L"";
      wchar_t text[AlarmOptions::kMaxLabel + 2] = {};
      GetWindowTextW(w, text, static_cast<int>(std::size(text)));
      return text;
    }
    default: return L"";
  }
}

long F_AlarmOptions::stateOf(const ao::Control& c) const {
  HWND w = windows_[rowOf(c)];
  long s = 0;
  if (!IsWindowEnabled(w)) s |= STATE_SYSTEM_UNAVAILABLE;
  if (!IsWindowVisible(w)) s |= STATE_SYSTEM_INVISIBLE;
  if (c.kind != ao::Kind::Text && !(s & STATE_SYSTEM_UNAVAILABLE)) s |= STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == w) s |= STATE_SYSTEM_FOCUSED;
  if (c.kind == ao::Kind::Check && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED)
    s |= STATE_SYSTEM_CHECKED;
  if (c.kind == ao::Kind::DefaultButton) s |= STATE_SYSTEM_DEFAULT;
  return s;
}

AccessibleInfo F_AlarmOptions::Accessible(int child) {
  AccessibleInfo a;
  if (!Loaded()) return a;
  if (child == 0) {
    a.name = Tr(Text::OptionsTitle, std::to_wstring(alarm_ + 1));
    a.role = MsaaRole(ReaderRole::Dialog);
    GetWindowRect(hwnd(), &a.screen);
    return a;
  }
  const ao::Control& c = ao::Controls()[static_cast<std::size_t>(child - 1)];
  a.name = ao::NameOf(c);
  // The note says why 試聴 is grey, or that a CD keeps its volume; 試聴 may read 停止.
  if (c.id == Id::CdNote || c.id == Id::VolumeTest) {
    wchar_t text[128] = {};
    GetWindowTextW(windows_[child - 1], text, static_cast<int>(std::size(text)));
    a.name = text;
  }
  const ReaderRole role = ao::RoleOf(c.kind);
  a.role = MsaaRole(role);
  a.value = valueOf(c);
  a.state = stateOf(c);
  GetWindowRect(windows_[child - 1], &a.screen);
  a.defaultAction = ActionText(DefaultActionOf(role, a.state & STATE_SYSTEM_CHECKED));
  return a;
}

int F_AlarmOptions::AccessibleFocus() { return Loaded() ? FocusedChild(windows_) : -1; }

bool F_AlarmOptions::AccessibleDefault(int child) {
  if (child < 1 || child > AccessibleCount()) return false;
  const ao::Kind k = ao::Controls()[static_cast<std::size_t>(child - 1)].kind;
  if (DefaultActionOf(ao::RoleOf(k)) == ReaderAction::None) return false;
  return ClickLater(windows_[static_cast<std::size_t>(child - 1)]);
}

}  // namespace alarm_options_window
