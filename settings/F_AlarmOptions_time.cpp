// The time band of an alarm's own window: the hour and minute, and the sound's kind with its
// CD track or its file, for an alarm the list of alarms opened.
#include "settings/F_AlarmOptions.h"

#include <algorithm>

#include "model/convert.h"
#include "model/settings.h"
#include "settings/pickers_win.h"
#include "ui/accessible.h"

namespace alarm_options_window {

namespace {

std::wstring twoDigits(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

// A typed number, held to [0, most]; empty or unreadable text keeps `held`.
std::int16_t typed(const std::wstring& text, int most, std::int16_t held) {
  const auto v = ToInt16(text);
  return v ? static_cast<std::int16_t>(std::clamp<int>(*v, 0, most)) : held;
}

}  // namespace

std::wstring F_AlarmOptions::textOf(Id id) const {
  HWND w = window(id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

void F_AlarmOptions::fillTimeSound() {
  const AlarmTimeSound& t = *edit_.timeSound;
  SetWindowTextW(window(Id::Hour), twoDigits(t.hour).c_str());
  SetWindowTextW(window(Id::Minute), twoDigits(t.minute).c_str());
  HWND kind = window(Id::SoundKind);
  for (Text name : {Text::Cd, Text::SoundFile})
    SendMessageW(kind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Tr(name).c_str()));
  SendMessageW(kind, CB_SETCURSEL, t.kind == 1 ? 0 : 1, 0);
  SetWindowTextW(window(Id::Track), t.track > 0 ? std::to_wstring(t.track).c_str() : L"");
  SetWindowTextW(window(Id::File), t.file.c_str());
  kindChosen();
}

// The kind shows its own source (a CD's track, a file and its chooser); a CD plays at the
// drive's volume, so the volume and fade-in go grey for it.
void F_AlarmOptions::kindChosen() {
  cd_ = SendMessageW(window(Id::SoundKind), CB_GETCURSEL, 0, 0) == 0;
  ShowWindow(window(Id::Track), cd_ ? SW_SHOWNA : SW_HIDE);
  EnableWindow(window(Id::Track), cd_);
  for (Id id : {Id::File, Id::Browse}) {
    ShowWindow(window(id), cd_ ? SW_HIDE : SW_SHOWNA);
    EnableWindow(window(id), !cd_);
  }
  for (Id id : {Id::VolumeCaption, Id::Volume, Id::VolumeValue, Id::FadeCaption, Id::FadeIn,
                Id::FadeValue})
    EnableWindow(window(id), !cd_);
  if (!refused_) ShowWindow(window(Id::CdNote), cd_ ? SW_SHOWNA : SW_HIDE);
  AccessibleServer::Notify(hwnd(), EVENT_OBJECT_VALUECHANGE, rowOf(find(Id::SoundKind)) + 1);
}

void F_AlarmOptions::browse() {
  const auto path = PickSoundFile(hwnd(), edit_.timeSound->folder);
  if (!path || !Loaded()) return;
  SetWindowTextW(window(Id::File), path->c_str());
  SetFocus(window(Id::File));
}

void F_AlarmOptions::finishTimeSound(AlarmOptionsEdit& e) const {
  AlarmTimeSound& t = *e.timeSound;
  t.hour = typed(textOf(Id::Hour), 23, t.hour);
  t.minute = typed(textOf(Id::Minute), 59, t.minute);
  t.kind = cd_ ? 1 : 2;
  t.track = typed(textOf(Id::Track), kMaxTrack, 0);
  t.file = textOf(Id::File);
  if (!t.file.empty()) t.folder = GetDirectory(t.file);
}

}  // namespace alarm_options_window
