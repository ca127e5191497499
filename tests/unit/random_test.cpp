// Tests of the random trade draw: the generator's sequence, seeding from the
// clock, the accumulator and the win threshold.
#include "sim/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "io/clock.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "trade/trade_parameters.h"

namespace {

class RandomTest : public ::testing::Test {
 protected:
  void SetUp() override { randomDraw = RandomDraw{}; }
  void TearDown() override {
    randomDraw = RandomDraw{};
    tradeParameters = TradeParameters{};
    SetClockForTesting(std::nullopt);
  }
};

// The state after seeding from the given clock: its low 32 bits, 500 values on.
std::uint32_t SeededState(std::uint32_t clock) {
  std::uint32_t state = clock;
  for (int i = 0; i < 500; ++i) state = state * 214013u + 2531011u;
  return state;
}

TEST_F(RandomTest, FirstValuesFromAKnownState) {
  std::uint32_t state = 1;
  std::vector<std::uint32_t> values;
  for (int i = 0; i < 10; ++i) values.push_back(NextRandomValue(state));
  EXPECT_EQ(values,
            (std::vector<std::uint32_t>{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}));
  state = 0;
  EXPECT_EQ(NextRandomValue(state), 38u);
  EXPECT_EQ(state, 2531011u);
  state = 0xFFFFFFFFu;  // the product wraps modulo 2^32
  NextRandomValue(state);
  EXPECT_EQ(state, 0xFFFFFFFFu * 214013u + 2531011u);
}

TEST_F(RandomTest, DrawsAddUpInTheAccumulatorModulo65536) {
  // Values 41, 18467, 6334, 26500, 19169 give the sums 41, 18508, 24842,
  // 51342 and 70511 - 65536 = 4975: 41, 8, 42, 42 and 75 modulo 100.
  randomDraw.randomState = 1;
  const std::uint16_t sums[] = {41, 18508, 24842, 51342, 4975};
  const char atRate42[] = {'W', 'W', 'L', 'L', 'L'};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(DrawTradeResult(0.42), atRate42[i]) << i;
    EXPECT_EQ(randomDraw.drawAccumulator, sums[i]) << i;
  }
  randomDraw = RandomDraw{};
  randomDraw.randomState = 1;
  EXPECT_EQ(DrawTradeResult(0.41), 'L');  // 41 is not below 41
}

TEST_F(RandomTest, WinRatesZeroAndHundred) {
  randomDraw.randomState = 12345;
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(DrawTradeResult(0), 'L') << i;
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(DrawTradeResult(1), 'W') << i;
}

TEST_F(RandomTest, ThresholdIsTheNearestWholePercent) {
  const struct {
    int percent;
    int threshold;
  } cases[] = {{0, 0}, {1, 1}, {29, 29}, {57, 57}, {50, 50}, {99, 99}, {100, 100}};
  for (const auto& c : cases) {
    // The win rate as the trade parameters hold it: the percent over 100.
    EXPECT_EQ(WinThreshold(c.percent / 100.0), c.threshold) << c.percent;
  }
  EXPECT_LT(0.29 * 100, 29.0);  // why rounding, not truncation
  EXPECT_EQ(WinThreshold(0.004), 0);
  EXPECT_EQ(WinThreshold(-1), 0);
  EXPECT_EQ(WinThreshold(2), 100);
}

TEST_F(RandomTest, SeedingTakesTheClocksLow32BitsAndLeavesTheAccumulator) {
  SetClockForTesting(0x1'2345'6789);
  randomDraw.drawAccumulator = 777;
  bool seeded = false;
  SeedOnce(seeded);
  EXPECT_TRUE(seeded);
  EXPECT_EQ(randomDraw.randomState, SeededState(0x2345'6789));
  EXPECT_EQ(randomDraw.drawAccumulator, 777);
  SetClockForTesting(99);
  SeedOnce(seeded);  // already seeded: nothing changes
  EXPECT_EQ(randomDraw.randomState, SeededState(0x2345'6789));
}

TEST_F(RandomTest, EachSimulationSeedsAtItsFirstRunEvenAFailedOne) {
  tradeParameters.margin = -1;  // every run fails its preconditions
  const LogData log = {{1, 2, 3}};
  SetClockForTesting(1000);
  EXPECT_TRUE(RunArithmeticSimulation(log));
  EXPECT_TRUE(randomDraw.arithmeticSeeded);
  EXPECT_FALSE(randomDraw.monteCarloSeeded);
  EXPECT_EQ(randomDraw.randomState, SeededState(1000));

  SetClockForTesting(2000);
  EXPECT_TRUE(RunArithmeticSimulation(log));
  EXPECT_EQ(randomDraw.randomState, SeededState(1000));  // later runs continue

  EXPECT_TRUE(RunMonteCarloSimulation(log));
  EXPECT_TRUE(randomDraw.monteCarloSeeded);
  EXPECT_EQ(randomDraw.randomState, SeededState(2000));  // seeded again, for its own first run

  SetClockForTesting(3000);
  EXPECT_TRUE(RunMonteCarloSimulation(log));
  EXPECT_EQ(randomDraw.randomState, SeededState(2000));
}

}  // namespace
