// The colours the clock's face is drawn in. In high contrast they come from the system, flat:
// one background, one foreground and the highlight for what must stand out, so that a face
// drawn by hand reads as every other window does. The user's own colours stay in the file, as
// they were, for when high contrast is off again. Portable.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/settings.h"
#include "ui/colour.h"

// "HighContrast" in the file: empty, or what is no Boolean, follows Windows; a true (-1)
// always; a false (0) never.
bool HighContrastOn(const std::wstring& setting, bool windowsOn);

struct FacePalette {
  // As the settings' six: background, numerals, hour, minute and second hand, pendulum.
  std::array<Colour, 6> colour{};
  Colour ringingRim = 0;
  // No shading: plain discs and background, and a bob copied with the background around it
  // (the shaded bob is ORed onto black, which a light background would swallow).
  bool flat = false;
  bool operator==(const FacePalette& o) const {
    return colour == o.colour && ringingRim == o.ringingRim && flat == o.flat;
  }
};

FacePalette ChooseFacePalette(const Settings& s, bool highContrast, const SystemColours& sys);

// The settings dialog's memory pie: back, total, free and text, as the user chose them. In high
// contrast the board and the figure take the system's window and text colours, the shares keep
// the user's (they tell the two apart), and everything is outlined in the text colour.
struct PieColours {
  std::array<Colour, 4> colour{};
  std::optional<Colour> outline;
};

PieColours ChoosePieColours(const std::array<Colour, 4>& user, bool highContrast,
                            const SystemColours& sys);
