// The clock in high contrast: its face from the system's colours while Windows' high contrast
// is on (or the file's "HighContrast" says so), drawn anew as soon as they change.
#include "clock/F_Tokei.h"

#include "ui/system_colours.h"

FacePalette F_Tokei::facePalette() const {
  const Settings& s = store_.Get();
  const bool on = HighContrastOn(s.HighContrast, WindowsHighContrast());
  return ChooseFacePalette(s, on, on ? WindowColours() : SystemColours{});
}

void F_Tokei::coloursChanged() {
  if (!Loaded() || facePalette() == palette_) return;
  buildFace();
  drawCurrentState();
  // Shown by the form, which redraws every window when the colours change.
}
