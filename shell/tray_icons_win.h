// The tray's icons that are drawn rather than stored: the ringing sign, and the clock in the
// system's colours for high contrast, where the stored icon's shades may vanish into the
// taskbar.
#pragma once

#include <windows.h>

#include "ui/colour.h"

// The clock's own icon turned into a red disc with a white ring, a bell's sign. It keeps the
// icon's outline (its mask), so that the tray, drawing one over the other, leaves no trace of
// either. Drawn rather than stored: only a silent alarm ever needs it.
HICON MakeRingingIcon(HICON base);

// A plain clock `size` pixels square: a disc of `back` edged in `fore`, with hands at ten past
// ten in `fore`; outside the disc the taskbar shows through. In high contrast the window and
// text colours make the clock, the highlight's the ringing sign.
HICON MakeContrastIcon(int size, Colour back, Colour fore);
