// The random trade draw: the generator's values, the accumulator, the win
// threshold and the seeding of each simulation from the clock.
#include "sim/random.h"

#include <gtest/gtest.h>

#include <vector>

#include "io/clock.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "trade/trade_parameters.h"

namespace {

TEST(RandomDraw, ValuesAccumulateAndCompareWithTheWholePercent) {
  std::uint32_t state = 1;
  std::vector<std::uint32_t> values;
  for (int i = 0; i < 5; ++i) values.push_back(NextRandomValue(state));
  EXPECT_EQ(values, (std::vector<std::uint32_t>{41, 18467, 6334, 26500, 19169}));
  state = 0xFFFFFFFF;  // the product wraps modulo 2^32
  EXPECT_EQ(NextRandomValue(state), 35u);
  EXPECT_EQ(state, 2316998u);

  // The sums 41, 18508, 24842, 51342 and 70511 - 65536 are 41, 8, 42, 42 and
  // 75 modulo 100: against 42, W W L L L.
  randomDraw = {1, 0, false, false};
  std::string draws;
  std::vector<std::uint16_t> sums;
  for (int i = 0; i < 5; ++i) {
    draws += DrawTradeResult(0.42);
    sums.push_back(randomDraw.drawAccumulator);
  }
  EXPECT_EQ(draws, "WWLLL");
  EXPECT_EQ(sums, (std::vector<std::uint16_t>{41, 18508, 24842, 51342, 4975}));
  randomDraw = {1, 0, false, false};
  EXPECT_EQ(DrawTradeResult(0.41), 'L');  // 41 is not below 41
  randomDraw = {};
}

TEST(RandomDraw, TheThresholdIsTheNearestWholePercent) {
  const std::pair<double, int> cases[] = {{0, 0},    {0.004, 0}, {0.005, 1},  {0.29, 29}, {0.57, 57},
                                          {0.994, 99}, {1, 100},  {-1, 0},    {2, 100}};
  for (const auto& [rate, threshold] : cases) EXPECT_EQ(WinThreshold(rate), threshold) << rate;
}

TEST(RandomDraw, EachSimulationSeedsAtItsFirstRunEvenAFailedOne) {
  // The low 32 bits of the clock, 500 values on: 1000 gives 942875036, 2000
  // gives 1047079940.
  randomDraw = {};
  randomDraw.drawAccumulator = 777;
  tradeParameters.margin = -1;  // every run fails its preconditions
  const LogData log = {{1, 2, 3}};
  const struct {
    std::int64_t clock;
    RunOutcome (*run)(const LogData&);
    std::uint32_t state;
  } runs[] = {{0x100000000 + 1000, RunArithmeticSimulation, 942875036},
              {2000, RunArithmeticSimulation, 942875036},  // later runs go on
              {2000, RunMonteCarloSimulation, 1047079940},  // its own first run seeds again
              {3000, RunMonteCarloSimulation, 1047079940}};
  for (const auto& r : runs) {
    SetClockForTesting(r.clock);
    EXPECT_EQ(r.run(log), RunOutcome::Failed);
    EXPECT_EQ(randomDraw.randomState, r.state) << r.clock;
  }
  EXPECT_EQ(randomDraw.drawAccumulator, 777);
  SetClockForTesting(std::nullopt);
  randomDraw = {};
  tradeParameters = {};
}

}  // namespace
