#include "settings/memory_graph.h"

#include <algorithm>
#include <cmath>

#include "ui/colour.h"

namespace {

// Five digits: a truer pi moves some spokes of a full pie by a pixel from where they are drawn.
constexpr double kPi = 3.14159;
constexpr double kRadius = 45;
constexpr double kRim = 10;

// One spoke at `degrees`, and below the disc's lower half its piece of rim; `scale` is the
// board's density over 96 DPI.
void spoke(Canvas& board, int cx, int cy, int degrees, Colour c, double scale) {
  const double r = degrees / 180.0 * kPi;
  const double dx = kRadius * scale * std::cos(r), dy = kRadius * scale * std::sin(r);
  board.Line(cx, cy, cx + dx, cy + dy, c);
  if (degrees > 0 && degrees < 180)
    board.Line(cx + dx, cy + dy, cx + dx, cy + dy + kRim * scale, DarkenColor(c));
}

}  // namespace

int FreeSectorEnd(double percent) { return RoundHalfEven(percent / 100 * 360); }

std::wstring PercentText(double percent) {
  return std::to_wstring(static_cast<long long>(std::floor(percent))) + L"%";
}

MemoryGraphCaptions MemoryGraph::Refresh(Canvas& board, const std::array<Colour, 4>& colours,
                                         MemorySource& memory, std::optional<Colour> outline) {
  MemoryGraphCaptions captions;
  captions.freePhysical = AvailPhysText(memory, true);
  captions.freeVirtual = AvailVirtualText(memory, true);

  Shown pie;
  pie.colours = colours;
  pie.outline = outline;
  if (const auto share = FreePhysShare(memory)) {
    const int end = FreeSectorEnd(*share);
    pie.freeSpokes = end < 0 ? 0 : end / 2 + 1;
    // The text takes the figures afresh, as the drawing always has.
    pie.text = PercentText(FreePhysShare(memory).value_or(*share));
  }
  if (!shown_ || !(*shown_ == pie)) {
    draw(board, pie);
    shown_ = pie;
  }
  return captions;
}

void MemoryGraph::draw(Canvas& board, const Shown& pie) const {
  board.SetBackColour(pie.colours[0]);
  if (pie.freeSpokes < 0) return;

  const int cx = RoundHalfEven(board.ScaleWidth()) / 2;
  const int cy = RoundHalfEven(board.ScaleHeight()) / 2;
  const double scale = DpiScale(dpi_);
  board.SetDrawWidth(ScaleToDpi(3, dpi_));
  for (int a = 0; a <= 360; a += 2) spoke(board, cx, cy, a, pie.colours[1], scale);
  for (int i = 0; i < pie.freeSpokes; ++i) spoke(board, cx, cy, 2 * i, pie.colours[2], scale);
  board.SetDrawWidth(1);
  if (pie.outline) drawOutline(board, pie, cx, cy);

  const int x =
      RoundHalfEven(board.ScaleWidth()) / 2 - RoundHalfEven(board.TextWidth(pie.text)) / 2;
  const int y = RoundHalfEven(board.ScaleHeight()) / 2 - RoundHalfEven(board.TextHeight(L"|")) / 2;
  board.Print(x, y, pie.text, pie.colours[3]);
}

void MemoryGraph::drawOutline(Canvas& board, const Shown& pie, int cx, int cy) const {
  const Colour c = *pie.outline;
  // Just outside the spokes, whose three-pixel pen reaches past their ends.
  const double scale = DpiScale(dpi_), r = (kRadius + 2) * scale, rim = kRim * scale;
  board.SetDrawWidth(std::max(1, dpi_ / kBaseDpi));
  board.Circle(cx, cy, r, c);
  // The rim: its two ends and its lower edge, the lower half of the disc moved down.
  board.Line(cx - r, cy, cx - r, cy + rim, c);
  board.Line(cx + r, cy, cx + r, cy + rim, c);
  for (int a = 0; a < 180; a += 6) {
    const double a0 = a / 180.0 * kPi, a1 = (a + 6) / 180.0 * kPi;
    board.Line(cx + r * std::cos(a0), cy + rim + r * std::sin(a0), cx + r * std::cos(a1),
               cy + rim + r * std::sin(a1), c);
  }
  // The free sector's two edges, where it has any.
  if (pie.freeSpokes > 0) {
    const double end = 2 * (pie.freeSpokes - 1) / 180.0 * kPi;
    board.Line(cx, cy, cx + r, cy, c);
    board.Line(cx, cy, cx + r * std::cos(end), cy + r * std::sin(end), c);
  }
  const double hole = kRadius * scale * 0.6;
  board.FilledDisc(cx, cy, hole, pie.colours[0]);
  board.Circle(cx, cy, hole, c);
  board.SetDrawWidth(1);
}
