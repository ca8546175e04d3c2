#include "shell/look_menu.h"

#include <cstdlib>

#include "model/settings.h"

namespace {

constexpr int kStep = 10;

}  // namespace

std::vector<std::int16_t> OpacitySteps() {
  std::vector<std::int16_t> steps;
  for (int p = kOpaque; p >= kFaintest; p -= kStep) steps.push_back(static_cast<std::int16_t>(p));
  return steps;
}

std::optional<std::int16_t> OpacityOfItem(int item) {
  const auto steps = OpacitySteps();
  const int i = item - kMenuOpacityFirst;
  if (i < 0 || i >= static_cast<int>(steps.size())) return std::nullopt;
  return steps[static_cast<std::size_t>(i)];
}

int OpacityItem(std::int16_t percent) {
  const auto steps = OpacitySteps();
  std::size_t best = 0;
  for (std::size_t i = 1; i < steps.size(); ++i)
    if (std::abs(steps[i] - percent) < std::abs(steps[best] - percent)) best = i;
  return kMenuOpacityFirst + static_cast<int>(best);
}
