#include "model/settings_store.h"

#include <algorithm>

#include "model/app_state.h"
#include "model/convert.h"

namespace {

// The settings section of the store's image, with the disk for the sound files.
class ImageSource : public SettingsSource {
 public:
  ImageSource(const IniText& image, SettingsFile& file) : image_(image), file_(file) {}
  std::wstring Read(const std::wstring& key) override {
    return image_.Get(kSettingsSection, key);
  }
  std::wstring ReadWhole(const std::wstring& key) override {
    return image_.Get(kSettingsSection, key, true);
  }
  bool CanOpen(const std::wstring& path) override { return file_.CanOpen(path); }

 private:
  const IniText& image_;
  SettingsFile& file_;
};

// `later` over `earlier`: a key in both keeps its place and takes the later value.
IniEntries merged(IniEntries earlier, const IniEntries& later) {
  for (const auto& entry : later) {
    auto same = std::find_if(earlier.begin(), earlier.end(),
                             [&](const auto& e) { return e.first == entry.first; });
    if (same != earlier.end())
      same->second = entry.second;
    else
      earlier.push_back(entry);
  }
  return earlier;
}

}  // namespace

SettingsStore::SettingsStore(SettingsFile& file, std::wstring programDir)
    : file_(file), programDir_(std::move(programDir)) {}

void SettingsStore::Load() {
  image_ = std::make_unique<IniText>(file_.Bytes(), file_.CodePage());
  ImageSource source(*image_, file_);
  // An empty key centres the clock; a value that does not convert leaves the corner at 0.
  std::int32_t x = 0, y = 0;
  const std::int32_t centred = INT32_MIN;
  ReadPosition(source, L"Pos_X", centred, x);
  ReadPosition(source, L"Pos_Y", centred, y);
  placement_.x = x == centred ? std::nullopt : std::optional<std::int32_t>(x);
  placement_.y = y == centred ? std::nullopt : std::optional<std::int32_t>(y);
  LoadSettings(s_, source, programDir_);
  ReadTopMost(s_, source);
  std::int16_t inTray = 0;
  if (const auto v = ToBoolean(source.Read(L"InTray"))) inTray = *v;
  placement_.inTray = inTrayInFile_ = inTray != 0;
}

bool SettingsStore::BesideProgram() const { return file_.Path() == IniPathFor(programDir_); }

Settings SettingsStore::Edit() {
  Settings copy = s_;
  ImageSource source(*image_, file_);
  for (std::size_t n = 0; n < copy.Sound_F.size(); ++n)
    copy.SoundFileMissing[n] = copy.Sound_Kbn[n] == 2 && !copy.Sound_F[n].empty() &&
                               !FileExists(source, copy.Sound_F[n]);
  return copy;
}

void SettingsStore::reload() {
  ImageSource source(*image_, file_);
  LoadSettings(s_, source, programDir_);
}

void SettingsStore::TellFailuresBy(FailureTeller teller, bool alreadyTold) {
  teller_ = std::move(teller);
  failing_ = alreadyTold;
}

bool SettingsStore::write(const IniEntries& keys) {
  if (!image_) image_ = std::make_unique<IniText>(std::string(), file_.CodePage());
  image_->Set(kSettingsSection, keys);
  const IniEntries all = merged(pending_, keys);
  const bool ok = file_.Write(all);
  s_.LastApiResult = ok ? 1 : 0;
  if (ok) {
    pending_.clear();
    failing_ = false;
    return true;
  }
  pending_ = all;
  // A listener's own save (the clock's place, as it is laid out anew) may fail within this
  // change: the failure is still told once, at its end.
  if (!failing_) failureToTell_ = true;
  failing_ = true;
  return false;
}

// The failure is told last: its message runs a loop of its own, in which the clock goes on
// with the change already in place.
void SettingsStore::tell(unsigned what, int alarm) {
  for (const Listener& l : listeners_) l(what, alarm);
  if (!failureToTell_) return;
  failureToTell_ = false;
  if (teller_) teller_(file_.Path());
}

void SettingsStore::Replace(const Settings& edited, const IniEntries& keys) {
  // On-top is the menu's, which may have changed while the dialog was open.
  const std::int16_t topMost = s_.TopMost;
  s_ = edited;
  s_.TopMost = topMost;
  // So is the strike: the dialog's copy of it may be older than the menu's last change.
  IniEntries own;
  for (const auto& entry : keys)
    if (!IsStrikeKey(entry.first)) own.push_back(entry);
  write(own);
  // What the file now says, read as a load reads it (no day at all is every day, …).
  reload();
  tell(kChangedAll);
}

void SettingsStore::SetPlacement(std::int32_t x, std::int32_t y) {
  placement_.x = x;
  placement_.y = y;
  // One write for all, so that a kill cannot keep half a move.
  IniEntries keys{{L"Pos_X", NumberText(x)},
                  {L"Pos_Y", NumberText(y)},
                  {L"TopMost", NumberText(s_.TopMost)}};
  if (placement_.inTray != inTrayInFile_) {
    keys.push_back({L"InTray", NumberText(placement_.inTray ? -1 : 0)});
    inTrayInFile_ = placement_.inTray;
  }
  write(keys);
  tell(kChangedPlacement);
}

void SettingsStore::SetTopMost(std::int16_t topMost) {
  s_.TopMost = topMost;
  write({{L"TopMost", NumberText(topMost)}});
  tell(kChangedTopMost);
}

void SettingsStore::SetClickThrough(std::int16_t on) {
  s_.ClickThrough = on ? -1 : 0;
  write({{L"ClickThrough", NumberText(s_.ClickThrough)}});
  tell(kChangedLook);
}

void SettingsStore::SetOpacity(std::int16_t percent) {
  s_.Opacity = std::clamp(percent, kFaintest, kOpaque);
  write({{L"Opacity", NumberText(s_.Opacity)}});
  tell(kChangedLook);
}

void SettingsStore::SetStrike(const StrikeOptions& strike) {
  s_.Strike = strike;
  IniEntries keys;
  for (const auto& entry : OptionEntries(s_)) {
    if (!IsStrikeKey(entry.first)) continue;
    keys.push_back(entry);
    s_.OptionKeysInFile.insert(entry.first);
  }
  if (!keys.empty()) write(keys);
  tell(kChangedStrike);
}

void SettingsStore::SwitchAlarmOff(int alarm) {
  if (alarm < 0 || alarm >= kAlarmCount || !s_.AlarmInUse[alarm]) return;
  s_.Sound_C[alarm] = 0;
  write({{IniKey(L"Sound_C_", alarm), NumberText(0)}});
  tell(kChangedAlarmSwitch, alarm);
}

void SettingsStore::SetZones(const IniEntries& keys) {
  if (keys.empty()) return;
  write(keys);
  reload();
  tell(kChangedZones);
}

void SettingsStore::SetFilterColour(Colour colour) {
  s_.Filter_Color = colour;
  tell(kChangedFilter);
}
