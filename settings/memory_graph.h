// The settings dialog's pie of physical memory: a disc in the total colour with a 10-pixel
// dark rim along its lower half, the free share as a sector from three o'clock clockwise in
// the free colour, and the floored free percentage in the middle.
#pragma once

#include <array>
#include <string>

#include "app/settings.h"
#include "clock/canvas.h"
#include "memory/memtext.h"

struct MemoryGraphCaptions {
  std::wstring freePhysical;  // AvailPhysText, formatted
  std::wstring freeVirtual;   // AvailVirtualText, formatted
};

// The last spoke of the free sector, in degrees: the free angle rounded half to even.
int FreeSectorEnd(double percent);

// The centred percentage text: "37%".
std::wstring PercentText(double percent);

// Redraws `board` (pixel scale) in the colours back, total, free, text of `colours`, from the
// memory figures of this moment. The captions are read before the figures are divided, so a
// failing division (no total) still leaves them, and a cleared board.
MemoryGraphCaptions DrawMemoryGraph(Canvas& board, const std::array<Colour, 4>& colours,
                                    MemorySource& memory);
