#include "model/palette.h"

#include "model/convert.h"

bool HighContrastOn(const std::wstring& setting, bool windowsOn) {
  const auto forced = ToBoolean(setting);
  return forced ? *forced != 0 : windowsOn;
}

FacePalette ChooseFacePalette(const Settings& s, bool highContrast, const SystemColours& sys) {
  FacePalette p;
  if (!highContrast) {
    for (int n = 0; n < 6; ++n) p.colour[n] = s.Color[n];
    p.ringingRim = RGBColour(224, 32, 32);
    return p;
  }
  p.colour = {sys.window, sys.windowText, sys.windowText, sys.windowText, sys.highlight,
              sys.windowText};
  p.ringingRim = sys.highlight;
  p.flat = true;
  return p;
}

PieColours ChoosePieColours(const std::array<Colour, 4>& user, bool highContrast,
                            const SystemColours& sys) {
  if (!highContrast) return {user, std::nullopt};
  return {{sys.window, user[1], user[2], sys.windowText}, sys.windowText};
}
