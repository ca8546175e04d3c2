#include "model/settings.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "model/convert.h"
#include "model/ini_codec.h"

namespace {

// Empty text gives the default; text that does not convert, or gives a number outside
// [lo, hi], leaves the field alone.
template <typename T, typename Convert>
void readNumber(SettingsSource& source, const std::wstring& key, T fallback, Convert convert,
                T& field, T lo = std::numeric_limits<T>::lowest(),
                T hi = std::numeric_limits<T>::max()) {
  const std::wstring text = source.Read(key);
  if (text.empty()) {
    field = fallback;
  } else if (const auto v = convert(text); v && *v >= lo && *v <= hi) {
    field = *v;
  }
}

// A clock fainter than the lowest step could be lost on the desktop: kept at that step.
void readLook(Settings& s, SettingsSource& source) {
  readNumber(source, L"ClickThrough", std::int16_t{0}, ToBoolean, s.ClickThrough);
  std::int16_t opacity = kOpaque;
  readNumber(source, L"Opacity", kOpaque, ToInt16, opacity);
  s.Opacity = std::clamp(opacity, kFaintest, kOpaque);
}

// Colours are red + 256 * green + 65536 * blue with each part 0..255.
void readColour(SettingsSource& source, const std::wstring& key, Colour fallback, Colour& field) {
  readNumber(source, key, fallback, ToInt32, field, Colour{0}, kMaxColour);
}

void setShapeRatio(Settings& s) {
  if (const auto ratio = ShapeRatioOf(s.Shape)) {
    s.ShapeRatio = *ratio;
  } else if (s.ShapeRatio == std::array<double, 4>{}) {
    // The file never gives an unknown shape (it leaves Shape as it was), but a model set
    // elsewhere might: with no ratios yet the dial would have no scale, so it is a circle.
    s.ShapeRatio = *ShapeRatioOf(0);
  }
}

// The options: what is missing or out of range means the alarm rings as it always did.
void readAlarmOptions(Settings& s, SettingsSource& source) {
  s.OptionKeysInFile.clear();
  auto option = [&](const std::wstring& key) {
    std::wstring text = source.ReadWhole(key);
    if (!text.empty()) s.OptionKeysInFile.insert(key);
    return text;
  };
  auto ranged = [](const std::optional<std::int16_t>& v, int lo, int hi, std::int16_t fallback) {
    return v && *v >= lo && *v <= hi ? *v : fallback;
  };
  for (int n = 0; n < kAlarmCount; ++n) {
    AlarmOptions& o = s.Options[n];
    const AlarmOptions defaults;
    // No day at all would be an alarm that never rings, which the switch already says.
    o.Days = ranged(ToInt16(option(IniKey(L"Sound_Days_", n))), 1, AlarmOptions::kEveryDay,
                    defaults.Days);
    o.Once = ToBoolean(option(IniKey(L"Sound_Once_", n))).value_or(0);
    // Whole, though the window shows and edits only the first kMaxLabel characters: a longer
    // label written by hand is written back as it was.
    o.Label = option(IniKey(L"Sound_Label_", n));
    o.Volume = ranged(ToInt16(option(IniKey(L"Sound_Volume_", n))), 0, 100, defaults.Volume);
    o.FadeIn = ranged(ToInt16(option(IniKey(L"Sound_FadeIn_", n))), 0, AlarmOptions::kMaxFadeIn,
                      defaults.FadeIn);
  }
  s.Snooze_Min = ranged(ToInt16(option(L"Snooze_Min")), 1, kMaxSnooze, kDefaultSnooze);
  const StrikeOptions strike;
  s.Strike.Mode = ranged(ToInt16(option(L"Strike")), 0, StrikeOptions::kModes, strike.Mode);
  s.Strike.QuietFrom = ranged(ToInt16(option(L"Strike_Quiet_From")), 0, 23, strike.QuietFrom);
  s.Strike.QuietTo = ranged(ToInt16(option(L"Strike_Quiet_To")), 0, 23, strike.QuietTo);
  s.Strike.Volume = ranged(ToInt16(option(L"Strike_Volume")), 0, 100, strike.Volume);
  s.Strike.Tick = ToBoolean(option(L"Tick")).value_or(strike.Tick);
}

const wchar_t* const kAlarmStems[] = {
    L"Sound_C_",    L"Sound_H_",     L"Sound_M_",     L"Sound_Kbn_",    L"Sound_Repeat_",
    L"Sound_F_",    L"Sound_Days_",  L"Sound_Once_",  L"Sound_Label_",  L"Sound_Volume_",
    L"Sound_FadeIn_"};

bool anyAlarmKey(SettingsSource& source, int n) {
  for (const wchar_t* stem : kAlarmStems)
    if (!source.Read(IniKey(stem, n)).empty()) return true;
  return false;
}

}  // namespace

std::optional<std::array<double, 4>> ShapeRatioOf(int shape) {
  static const std::array<double, 4> kRatios[] = {
      {1, 1, 1, 1},
      {1.5, 1, 1.5, 1},
      {1, 1.3, 1, 1.3},
  };
  if (shape < 0 || shape > 2) return std::nullopt;
  return kRatios[shape];
}

std::wstring IniKey(const std::wstring& stem, int n) { return stem + std::to_wstring(n); }

bool FileExists(SettingsSource& source, std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return !path.empty() && source.CanOpen(path);
}

std::wstring GetDirectory(const std::wstring& path) {
  const std::size_t at = path.find_last_of(L":\\");
  if (at == std::wstring::npos) return {};
  std::wstring dir = path.substr(0, at + 1);
  if (dir.back() == L'\\') dir.pop_back();
  return dir;
}

void LoadSettings(Settings& s, SettingsSource& source, const std::wstring& programDir) {
  for (int n = 0; n <= 5; ++n) {
    const Colour fallback = (n == 1 || n == 4) ? 16777215 : 0;
    readColour(source, IniKey(L"Color_", n), fallback, s.Color[n]);
  }

  // The graph colours go together: one missing key resets all four.
  for (int n = 0; n <= 3; ++n) {
    if (source.Read(IniKey(L"Graph_Color_", n)).empty()) {
      s.Graph_Color = {0, 16776960, 4259584, 0};
      break;
    }
    readColour(source, IniKey(L"Graph_Color_", n), 0, s.Graph_Color[n]);
  }

  readColour(source, L"Filter_Color", 16776960, s.Filter_Color);
  readNumber(source, L"Shape", std::int16_t{0}, ToInt16, s.Shape, std::int16_t{0}, std::int16_t{2});
  setShapeRatio(s);

  for (int n = 0; n < kAlarmCount; ++n) {
    using I16 = std::int16_t;
    // The alarm's switch, time and kind are taken as written: an alarm set for hour 24 or with
    // a switch of -1 simply never fires, whereas keeping the previous value could turn on an
    // alarm the file says is off.
    readNumber(source, IniKey(L"Sound_C_", n), I16{0}, ToInt16, s.Sound_C[n]);
    readNumber(source, IniKey(L"Sound_H_", n), I16{0}, ToInt16, s.Sound_H[n]);
    readNumber(source, IniKey(L"Sound_M_", n), I16{0}, ToInt16, s.Sound_M[n]);
    readNumber(source, IniKey(L"Sound_Kbn_", n), I16{1}, ToInt16, s.Sound_Kbn[n]);
    readNumber(source, IniKey(L"Sound_Repeat_", n), I16{0}, ToInt16, s.Sound_Repeat[n], I16{0},
               kMaxTrack);
    s.Sound_F[n] = source.ReadWhole(IniKey(L"Sound_F_", n));
  }

  // A file that does not open now is only marked: at the alarm's minute a file still missing
  // rings the chime, as a sound-file alarm without a file does.
  for (int n = 0; n < kAlarmCount; ++n)
    s.SoundFileMissing[n] =
        s.Sound_Kbn[n] == 2 && !s.Sound_F[n].empty() && !FileExists(source, s.Sound_F[n]);

  readAlarmOptions(s, source);
  for (int n = kRowAlarms; n < kAlarmCount; ++n)
    s.AlarmInUse[n] = s.AlarmInFile[n] = anyAlarmKey(source, n);

  // A negative interval would check memory at every second.
  readNumber(source, L"Mem_Ival", std::int16_t{30}, ToInt16, s.Mem_Ival, std::int16_t{0});
  readNumber(source, L"Mem_Kagen", 30.0f, ToSingle, s.Mem_Kagen, 0.0f, 100.0f);

  s.Language = source.Read(L"Language");
  readLook(s, source);
  for (int n = 0; n <= 1; ++n) {
    s.Zone[n] = source.Read(IniKey(L"Zone_", n + 1));
    s.ZoneLabel[n] = source.ReadWhole(IniKey(L"Zone_", n + 1) + L"_Label");
  }
  s.HighContrast = source.Read(L"HighContrast");

  s.Alarm_Path = source.ReadWhole(L"Alarm_Path");
  if (s.Alarm_Path.empty()) s.Alarm_Path = programDir;
}

std::vector<std::pair<std::wstring, std::wstring>> OptionEntries(const Settings& s) {
  std::vector<std::pair<std::wstring, std::wstring>> keys;
  const AlarmOptions defaults;
  auto add = [&](const std::wstring& key, const std::wstring& value, bool isDefault) {
    if (!isDefault || s.OptionKeysInFile.count(key)) keys.emplace_back(key, value);
  };
  for (int n = 0; n < kAlarmCount; ++n) {
    if (!s.AlarmInUse[n]) continue;
    const AlarmOptions& o = s.Options[n];
    add(IniKey(L"Sound_Days_", n), NumberText(o.Days), o.Days == defaults.Days);
    add(IniKey(L"Sound_Once_", n), NumberText(o.Once), o.Once == defaults.Once);
    add(IniKey(L"Sound_Label_", n), o.Label, o.Label == defaults.Label);
    add(IniKey(L"Sound_Volume_", n), NumberText(o.Volume), o.Volume == defaults.Volume);
    add(IniKey(L"Sound_FadeIn_", n), NumberText(o.FadeIn), o.FadeIn == defaults.FadeIn);
  }
  add(L"Snooze_Min", NumberText(s.Snooze_Min), s.Snooze_Min == kDefaultSnooze);
  const StrikeOptions strike;
  add(L"Strike", NumberText(s.Strike.Mode), s.Strike.Mode == strike.Mode);
  add(L"Strike_Quiet_From", NumberText(s.Strike.QuietFrom), s.Strike.QuietFrom == strike.QuietFrom);
  add(L"Strike_Quiet_To", NumberText(s.Strike.QuietTo), s.Strike.QuietTo == strike.QuietTo);
  add(L"Strike_Volume", NumberText(s.Strike.Volume), s.Strike.Volume == strike.Volume);
  add(L"Tick", NumberText(s.Strike.Tick), s.Strike.Tick == strike.Tick);
  return keys;
}

bool IsStrikeKey(const std::wstring& key) {
  return key.compare(0, 6, L"Strike") == 0 || key == L"Tick";
}

std::vector<std::pair<std::wstring, std::wstring>> ListAlarmEntries(const Settings& s) {
  std::vector<std::pair<std::wstring, std::wstring>> keys;
  for (int n = kRowAlarms; n < kAlarmCount; ++n) {
    if (!s.AlarmInUse[n]) {
      if (s.AlarmInFile[n])
        for (const wchar_t* stem : kAlarmStems) keys.emplace_back(IniKey(stem, n), kIniRemove);
      continue;
    }
    keys.emplace_back(IniKey(L"Sound_C_", n), NumberText(s.Sound_C[n]));
    keys.emplace_back(IniKey(L"Sound_H_", n), NumberText(s.Sound_H[n]));
    keys.emplace_back(IniKey(L"Sound_M_", n), NumberText(s.Sound_M[n]));
    keys.emplace_back(IniKey(L"Sound_Kbn_", n), NumberText(s.Sound_Kbn[n]));
    keys.emplace_back(IniKey(L"Sound_Repeat_", n), NumberText(s.Sound_Repeat[n]));
    keys.emplace_back(IniKey(L"Sound_F_", n), s.Sound_F[n]);
  }
  return keys;
}

void ClearAlarm(Settings& s, int n) {
  if (n < kRowAlarms || n >= kAlarmCount) return;
  s.Sound_C[n] = s.Sound_H[n] = s.Sound_M[n] = s.Sound_Repeat[n] = 0;
  s.Sound_Kbn[n] = 1;
  s.Sound_F[n].clear();
  s.SoundFileMissing[n] = false;
  s.Options[n] = AlarmOptions{};
  s.AlarmInUse[n] = false;
}

void ReadPosition(SettingsSource& source, const std::wstring& key, std::int32_t centred,
                  std::int32_t& pos) {
  readNumber(source, key, centred, ToInt32, pos);
}

void ReadTopMost(Settings& s, SettingsSource& source) {
  readNumber(source, L"TopMost", std::int16_t{0}, ToBoolean, s.TopMost);
}
