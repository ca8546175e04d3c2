// Any settings file gives a settings model whose every field is in its range or at its default
// (or, for a field whose text does not convert at the first load, at the start value 0), and a
// second load of the same file gives the same model.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "model/ini_source.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/test_code_page.h"

namespace {

class FuzzSource : public IniFileSource {
 public:
  FuzzSource(std::string bytes, const AnsiCodePage& page)
      : IniFileSource([bytes] { return bytes; }, page) {}
  // Sound files "exist" when their name has an even length: both paths get taken.
  bool CanOpen(const std::wstring& path) override { return path.size() % 2 == 0; }
};

template <typename T>
bool inRange(T v, T lo, T hi, T fallback) {
  return (v >= lo && v <= hi) || v == fallback || v == 0;
}

void checkModel(const Settings& s, std::size_t fileSize) {
  for (int n = 0; n < 6; ++n) FUZZ_CHECK(inRange(s.Color[n], 0, kMaxColour, 0));
  for (Colour c : s.Graph_Color) FUZZ_CHECK(inRange(c, 0, kMaxColour, 0));
  FUZZ_CHECK(inRange(s.Filter_Color, 0, kMaxColour, 16776960));
  FUZZ_CHECK(s.Shape >= 0 && s.Shape <= 2);
  static const double kRatios[3][4] = {{1, 1, 1, 1}, {1.5, 1, 1.5, 1}, {1, 1.3, 1, 1.3}};
  for (int i = 0; i < 4; ++i) FUZZ_CHECK(s.ShapeRatio[i] == kRatios[s.Shape][i]);
  for (int n = 0; n < kAlarmCount; ++n) {
    using I16 = std::int16_t;
    // Switch, hour, minute and kind may hold any 16-bit value: the alarm fires only on an
    // exact match, so an odd one never fires.
    FUZZ_CHECK(inRange<I16>(s.Sound_Repeat[n], 0, kMaxTrack, 0));
    // A path is read whole, however long: a cut one would be written back over the real one.
    FUZZ_CHECK(s.Sound_F[n].size() <= fileSize);
    // A sound-file alarm keeps its switch with or without a path (without one it rings the
    // chime); a file that does not open (asked without one trailing "\") is marked, never
    // dropped.
    if (s.Sound_Kbn[n] == 2 && !s.Sound_F[n].empty()) {
      std::wstring path = s.Sound_F[n];
      if (path.back() == L'\\') path.pop_back();
      FUZZ_CHECK(s.SoundFileMissing[n] == (path.empty() || path.size() % 2 != 0));
    } else {
      FUZZ_CHECK(!s.SoundFileMissing[n]);
    }
  }
  FUZZ_CHECK(s.Mem_Ival >= 0);
  FUZZ_CHECK(std::isfinite(s.Mem_Kagen) && s.Mem_Kagen >= 0 && s.Mem_Kagen <= 100);
  FUZZ_CHECK(!s.Alarm_Path.empty() && s.Alarm_Path.size() <= std::max<std::size_t>(fileSize, 7));
  FUZZ_CHECK(s.TopMost == 0 || s.TopMost == -1);
}

bool sameModel(const Settings& a, const Settings& b) {
  return a.Color == b.Color && a.Graph_Color == b.Graph_Color && a.Filter_Color == b.Filter_Color &&
         a.Shape == b.Shape && a.ShapeRatio == b.ShapeRatio && a.Sound_C == b.Sound_C &&
         a.Sound_H == b.Sound_H && a.Sound_M == b.Sound_M && a.Sound_Kbn == b.Sound_Kbn &&
         a.Sound_Repeat == b.Sound_Repeat && a.Sound_F == b.Sound_F && a.Mem_Ival == b.Mem_Ival &&
         a.Mem_Kagen == b.Mem_Kagen && a.Alarm_Path == b.Alarm_Path && a.TopMost == b.TopMost;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TestCodePage page;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Settings s;
  FuzzSource first(bytes, page);
  LoadSettings(s, first, L"C:\\Prog");
  ReadTopMost(s, first);
  checkModel(s, size);

  Settings again = s;
  FuzzSource second(bytes, page);
  LoadSettings(again, second, L"C:\\Prog");
  ReadTopMost(again, second);
  FUZZ_CHECK(sameModel(s, again));
  return 0;
}
