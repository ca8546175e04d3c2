#include "app/settings.h"

#include <optional>

#include "app/convert.h"

namespace {

// Empty text gives the default; text that does not convert leaves the field alone.
template <typename T, typename Convert>
void readNumber(SettingsSource& source, const std::wstring& key, T fallback, Convert convert,
                T& field) {
  const std::wstring text = source.Read(key);
  if (text.empty()) {
    field = fallback;
  } else if (const auto v = convert(text)) {
    field = *v;
  }
}

void setShapeRatio(Settings& s) {
  if (const auto ratio = ShapeRatioOf(s.Shape)) {
    s.ShapeRatio = *ratio;
  } else if (s.ShapeRatio == std::array<double, 4>{}) {
    // An unknown shape keeps the last good ratios; with none yet, the dial would have no
    // coordinate scale at all, so it is drawn as a circle.
    s.ShapeRatio = *ShapeRatioOf(0);
  }
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
    readNumber(source, IniKey(L"Color_", n), fallback, ToInt32, s.Color[n]);
  }

  // The graph colours go together: one missing key resets all four.
  for (int n = 0; n <= 3; ++n) {
    const std::wstring text = source.Read(IniKey(L"Graph_Color_", n));
    if (text.empty()) {
      s.Graph_Color = {0, 16776960, 4259584, 0};
      break;
    }
    if (const auto v = ToInt32(text)) s.Graph_Color[n] = *v;
  }

  readNumber(source, L"Filter_Color", Colour{16776960}, ToInt32, s.Filter_Color);
  readNumber(source, L"Shape", std::int16_t{0}, ToInt16, s.Shape);
  setShapeRatio(s);

  for (int n = 0; n <= 1; ++n) {
    readNumber(source, IniKey(L"Sound_C_", n), std::int16_t{0}, ToInt16, s.Sound_C[n]);
    readNumber(source, IniKey(L"Sound_H_", n), std::int16_t{0}, ToInt16, s.Sound_H[n]);
    readNumber(source, IniKey(L"Sound_M_", n), std::int16_t{0}, ToInt16, s.Sound_M[n]);
    readNumber(source, IniKey(L"Sound_Kbn_", n), std::int16_t{1}, ToInt16, s.Sound_Kbn[n]);
    readNumber(source, IniKey(L"Sound_Repeat_", n), std::int16_t{0}, ToInt16, s.Sound_Repeat[n]);
    s.Sound_F[n] = source.Read(IniKey(L"Sound_F_", n));
  }

  // An alarm whose sound file has gone is switched off and forgets the file.
  for (int n = 0; n <= 1; ++n) {
    if (s.Sound_Kbn[n] != 2) continue;
    if (s.Sound_F[n].empty()) {
      s.Sound_C[n] = 0;
    } else if (!FileExists(source, s.Sound_F[n])) {
      s.Sound_C[n] = 0;
      s.Sound_F[n].clear();
    }
  }

  readNumber(source, L"Mem_Ival", std::int16_t{30}, ToInt16, s.Mem_Ival);
  readNumber(source, L"Mem_Kagen", 30.0f, ToSingle, s.Mem_Kagen);

  s.Alarm_Path = source.Read(L"Alarm_Path");
  if (s.Alarm_Path.empty()) s.Alarm_Path = programDir;
}

void ReadPosition(SettingsSource& source, const std::wstring& key, std::int32_t centred,
                  std::int32_t& pos) {
  readNumber(source, key, centred, ToInt32, pos);
}

void ReadTopMost(Settings& s, SettingsSource& source) {
  readNumber(source, L"TopMost", std::int16_t{0}, ToBoolean, s.TopMost);
}
