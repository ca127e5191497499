// The random trade draw shared by both simulations.
#include "sim/random.h"

#include <cmath>

#include "io/clock.h"

namespace {

constexpr int kDiscardedValues = 500;

}  // namespace

void SeedRandomFromClock() {
  randomDraw.randomState = static_cast<std::uint32_t>(ClockNow());
  for (int i = 0; i < kDiscardedValues; ++i)
    NextRandomValue(randomDraw.randomState);
}

void SeedOnce(bool& seeded) {
  if (seeded) return;
  SeedRandomFromClock();
  seeded = true;
}

int WinThreshold(double winRate) {
  // 0.29 × 100 is 28.999...; rounding to the nearest gives the 29 meant.
  // fmax takes 0 for a rate that is not a number.
  return static_cast<int>(std::lround(std::fmin(std::fmax(winRate, 0.0), 1.0) * 100));
}

TradeResult DrawTradeResult(double winRate) {
  return DrawWithThreshold(randomDraw.randomState, randomDraw.drawAccumulator, WinThreshold(winRate));
}
