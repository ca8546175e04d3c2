// The settings dialog's pie of physical memory: a disc in the total colour with a 10-pixel
// dark rim along its lower half, the free share as a sector from three o'clock clockwise in
// the free colour, and the floored free percentage in the middle. Given an outline colour (high
// contrast), the disc, its rim and the sector are edged in it, and the percentage sits on a
// hole in the board's colour, so that it never stands on the user's colours.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/settings.h"
#include "ui/canvas.h"
#include "ui/dpi.h"
#include "memory/memtext.h"

struct MemoryGraphCaptions {
  std::wstring freePhysical;  // AvailPhysText, formatted
  std::wstring freeVirtual;   // AvailVirtualText, formatted
};

// The last spoke of the free sector, in degrees: the free angle rounded half to even.
int FreeSectorEnd(double percent);

// The centred percentage text: "37%".
std::wstring PercentText(double percent);

// The pie as the board shows it. A refresh reads the figures of this moment but redraws the
// board only when what it shows would change: the free sector, the percentage text or a
// colour. The dialog refreshes once a second, and the figures rarely move the pie.
class MemoryGraph {
 public:
  // The pie's radius, rim and line width are 96-DPI pixels scaled to `dpi`; the text is the
  // board's font.
  explicit MemoryGraph(int dpi = kBaseDpi) : dpi_(dpi) {}
  // Brings `board` (pixel scale) up to date in the colours back, total, free, text of
  // `colours`. The captions are read before the figures are divided, so a failing division
  // (no total) still gives them, and leaves a cleared board.
  MemoryGraphCaptions Refresh(Canvas& board, const std::array<Colour, 4>& colours,
                              MemorySource& memory,
                              std::optional<Colour> outline = std::nullopt);
  // The percentage the pie shows ("37%"); empty while it shows none.
  std::wstring Percent() const { return shown_ ? shown_->text : std::wstring(); }

 private:
  struct Shown {
    std::array<Colour, 4> colours{};
    std::optional<Colour> outline;
    int freeSpokes = -1;  // -1: no figures, a cleared board
    std::wstring text;
    bool operator==(const Shown& o) const {
      return colours == o.colours && outline == o.outline && freeSpokes == o.freeSpokes &&
             text == o.text;
    }
  };
  void draw(Canvas& board, const Shown& pie) const;
  void drawOutline(Canvas& board, const Shown& pie, int cx, int cy) const;

  int dpi_;
  std::optional<Shown> shown_;  // nothing drawn yet
};
