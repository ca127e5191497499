// The random trade draw: the generator's values, the accumulator, the win
// threshold and the seeding of each simulation from the clock.
#include "io/clock.h"
#include "simulation_test.h"

namespace {

TEST(RandomDraw, ValuesAccumulateAndCompareWithTheWholePercent) {
  // From state 1 the values 41, 18467, 6334, 26500 and 19169 sum to 41, 18508,
  // 24842, 51342 and 70511 - 65536: 41, 8, 42, 42 and 75 modulo 100.
  randomDraw = {1, 0, false, false};
  std::string draws;
  std::vector<std::uint16_t> sums;
  for (double rate : {0.42, 0.42, 0.42, 0.43, 0.75}) {
    draws += DrawTradeResult(rate) == TradeResult::Win ? 'W' : 'L';
    sums.push_back(randomDraw.drawAccumulator);
  }
  EXPECT_EQ(draws, "WWLWL");  // a draw wins when below the threshold, not at it
  EXPECT_EQ(sums, (std::vector<std::uint16_t>{41, 18508, 24842, 51342, 4975}));
  EXPECT_EQ(randomDraw.randomState, 3403800452u);
  randomDraw = {};
}

TEST(RandomDraw, TheThresholdIsTheNearestWholePercent) {
  const std::pair<double, int> cases[] = {{0, 0},      {0.004, 0}, {0.005, 1}, {0.29, 29}, {0.57, 57},
                                          {0.994, 99}, {1, 100},   {-1, 0},    {2, 100}};
  for (const auto& [rate, threshold] : cases)
    EXPECT_EQ(WinThreshold(rate), threshold) << rate;
}

TEST(RandomDraw, EachSimulationSeedsAtItsFirstRunEvenAFailedOne) {
  // The clock's low 32 bits, 500 values on: 1000 gives 942875036, 2000 1047079940.
  randomDraw = {0, 777, false, false};
  tradeParameters.margin = -1;  // every run fails its preconditions
  const struct {
    std::int64_t clock;
    RunOutcome (*run)(const LogData&);
    std::uint32_t state;
  } runs[] = {{0x100000000 + 1000, RunArithmeticSimulation, 942875036},
              {2000, RunArithmeticSimulation, 942875036},   // later runs go on
              {2000, RunMonteCarloSimulation, 1047079940},  // its own first run seeds again
              {3000, RunMonteCarloSimulation, 1047079940}};
  for (const auto& r : runs) {
    SetClockForTesting(r.clock);
    EXPECT_EQ(r.run({{1, 2, 3}}), RunOutcome::Failed);
    EXPECT_EQ(randomDraw.randomState, r.state) << r.clock;
  }
  EXPECT_EQ(randomDraw.drawAccumulator, 777);
  SetClockForTesting(std::nullopt);
  randomDraw = {};
  tradeParameters = {};
}

}  // namespace
