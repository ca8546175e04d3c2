// The settings dialog in high contrast: no picture behind any text. The pictures give way to
// plain shapes in the system's colours that still say what each one said (pressed, on,
// chosen), the panels to the button face, and every caption takes the system's text colour;
// all of it drawn anew as soon as those colours change.
#include "settings/F_Setting.h"

#include <algorithm>

#include "model/palette.h"
#include "res/resource_ids.h"
#include "ui/system_colours.h"

namespace dl = dialog_layout;

namespace {

void fill(HDC dc, const RECT& r, Colour c) {
  const Brush b(CreateSolidBrush(ToColorRef(c)));
  FillRect(dc, &r, b.get());
}

void frame(HDC dc, RECT r, int width, Colour c) {
  const Brush b(CreateSolidBrush(ToColorRef(c)));
  for (int i = 0; i < width; ++i) {
    FrameRect(dc, &r, b.get());
    InflateRect(&r, -1, -1);
  }
}

// A disc of `inside` with an edge of `edge`, in the square centred in `r`, `inset` from it.
void disc(HDC dc, const RECT& r, int inset, int width, Colour edge, Colour inside) {
  const int side = std::min(r.right - r.left, r.bottom - r.top) - 2 * inset;
  if (side <= 0) return;
  const int x = (r.left + r.right - side) / 2, y = (r.top + r.bottom - side) / 2;
  const Pen pen(CreatePen(PS_SOLID, width, ToColorRef(edge)));
  const Brush brush(CreateSolidBrush(ToColorRef(inside)));
  SelectGuard p(dc, pen.get());
  SelectGuard b(dc, brush.get());
  Ellipse(dc, x, y, x + side, y + side);
}

}  // namespace

void F_Setting::coloursChanged() {
  highContrast_ = HighContrastOn(store_.Get().HighContrast, WindowsHighContrast());
  if (!Loaded() || !Pic_Base) return;
  TileBackground(*Pic_Base);
  for (auto& pic : Pic_b1) TileBackground(*pic);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void F_Setting::paintImage(HDC dc, const DrawnImage& image) const {
  if (!highContrast_ || !image.picture) {
    image.Paint(dc);
    return;
  }
  const Colour face = SystemColour(COLOR_BTNFACE), text = SystemColour(COLOR_BTNTEXT);
  const int line = std::max(1, image.dpi / kBaseDpi);
  const RECT& r = image.rect;
  auto is = [&](int id) { return image.picture == art(id); };
  if (is(IDB_TITLE)) {
    fill(dc, r, SystemColour(COLOR_ACTIVECAPTION));
  } else if (is(IDB_OPTION_OFF) || is(IDB_OPTION_ON)) {
    disc(dc, r, line, line, text, face);
    if (is(IDB_OPTION_ON)) disc(dc, r, 4 * line, 1, text, text);
  } else if (is(IDB_SWITCH_OFF) || is(IDB_SWITCH_ON)) {
    const Colour lit = SystemColour(COLOR_HIGHLIGHT);
    disc(dc, r, line, line, text, is(IDB_SWITCH_ON) ? lit : face);
  } else if (is(IDB_CLOSE_UP) || is(IDB_CLOSE_DOWN)) {
    fill(dc, r, face);
    frame(dc, r, is(IDB_CLOSE_DOWN) ? 2 * line : line, text);
    const Pen pen(CreatePen(PS_SOLID, line, ToColorRef(text)));
    SelectGuard p(dc, pen.get());
    const int in = 4 * line;
    MoveToEx(dc, r.left + in, r.top + in, nullptr);
    LineTo(dc, r.right - in, r.bottom - in);
    MoveToEx(dc, r.right - in - 1, r.top + in, nullptr);
    LineTo(dc, r.left + in - 1, r.bottom - in);
  } else {
    // Buttons and headings: a face with an edge, twice as thick while pressed.
    fill(dc, r, face);
    frame(dc, r, is(IDB_BUTTON_ON) ? 2 * line : line, text);
  }
}

void F_Setting::paintLabel(HDC dc, const dl::Control& c) {
  const DrawnLabel& l = slot(c).label;
  if (!highContrast_) {
    l.Paint(dc, font_.get());
    return;
  }
  DrawnLabel look = l;
  if (c.style & dl::kWhiteBack) {  // the figures' and paths' white fields
    look.BackColor = SystemColour(COLOR_WINDOW);
    look.ForeColor = SystemColour(COLOR_WINDOWTEXT);
  } else {
    look.ForeColor =
        SystemColour(c.group == dl::Group::Window ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
  }
  look.Paint(dc, font_.get());
}
