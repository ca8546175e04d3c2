#include "settings/memory_graph.h"

#include <cmath>

#include "app/colour.h"
#include "clock/face.h"

namespace {

constexpr double kPi = 3.14159;  // the value the drawing has always used
constexpr double kRadius = 45;
constexpr double kRim = 10;

// One spoke at `degrees`, and below the disc's lower half its piece of rim.
void spoke(Canvas& board, int cx, int cy, int degrees, Colour c) {
  const double r = degrees / 180.0 * kPi;
  const double dx = kRadius * std::cos(r), dy = kRadius * std::sin(r);
  board.Line(cx, cy, cx + dx, cy + dy, c);
  if (degrees > 0 && degrees < 180) board.Line(cx + dx, cy + dy, cx + dx, cy + dy + kRim, DarkenColor(c));
}

}  // namespace

int FreeSectorEnd(double percent) { return RoundHalfEven(percent / 100 * 360); }

std::wstring PercentText(double percent) {
  return std::to_wstring(static_cast<long long>(std::floor(percent))) + L"%";
}

MemoryGraphCaptions DrawMemoryGraph(Canvas& board, const std::array<Colour, 4>& colours,
                                    MemorySource& memory) {
  board.SetBackColour(colours[0]);
  MemoryGraphCaptions captions;
  captions.freePhysical = AvailPhysText(memory, true);
  captions.freeVirtual = AvailVirtualText(memory, true);

  const auto share = FreePhysShare(memory);
  if (!share) return captions;
  const double p = *share;

  const int cx = RoundHalfEven(board.ScaleWidth()) / 2;
  const int cy = RoundHalfEven(board.ScaleHeight()) / 2;
  board.SetDrawWidth(3);
  for (int a = 0; a <= 360; a += 2) spoke(board, cx, cy, a, colours[1]);
  const int end = FreeSectorEnd(p);
  for (int a = 0; a <= end; a += 2) spoke(board, cx, cy, a, colours[2]);
  board.SetDrawWidth(1);

  // The text takes the figures afresh, as they are when it is printed.
  const std::wstring text = PercentText(FreePhysShare(memory).value_or(p));
  const int x = RoundHalfEven(board.ScaleWidth()) / 2 - RoundHalfEven(board.TextWidth(text)) / 2;
  const int y = RoundHalfEven(board.ScaleHeight()) / 2 - RoundHalfEven(board.TextHeight(L"|")) / 2;
  board.Print(x, y, text, colours[3]);
  return captions;
}
