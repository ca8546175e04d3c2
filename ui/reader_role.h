// What a screen reader calls an element of a small window, and the default action it offers:
// one table for the settings dialog, an alarm's own window and the ringing window. The
// system's role numbers are in ui/accessible.h (MsaaRole); the action's words are the
// language's. Portable, so the unit tests check it as data.
#pragma once

enum class ReaderRole {
  None,  // no element of its own
  TitleBar, Dialog, Alert, PushButton, RadioButton, CheckBox, ComboBox, ScrollBar, Slider,
  EditText, StaticText, Graphic,
};

enum class ReaderAction { None, Press, Check, Uncheck };

// A button is pressed, an option mark checked, a check box checked or unchecked as it is now;
// anything else has no action.
constexpr ReaderAction DefaultActionOf(ReaderRole role, bool checked = false) {
  switch (role) {
    case ReaderRole::PushButton: return ReaderAction::Press;
    case ReaderRole::RadioButton: return ReaderAction::Check;
    case ReaderRole::CheckBox: return checked ? ReaderAction::Uncheck : ReaderAction::Check;
    default: return ReaderAction::None;
  }
}
