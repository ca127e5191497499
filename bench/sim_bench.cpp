// Speed of the arithmetic simulation on the standard case: a fresh log,
// margin 1000000, leverage 25, rate 100, unit lot size 1000, win rate 50 %,
// TAKE PROFIT and STOP LOSS 0.5, 1000000 samples. Three loops over the same
// draws: the fast one, the literal one (a new list per trade) and a bare loop
// that only draws.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "literal_run.h"
#include "sim/arithmetic.h"
#include "sim/random.h"
#include "sim/sampling_count.h"
#include "trade/trade_parameters.h"

namespace {

constexpr std::uint32_t kStartState = 20260101;

const LogData kFreshLog = {{1, 2, 3}};

void SetStandardCase() {
  tradeParameters = TradeParameters{{}, 1000000, 25, 100, 1000, 0.5, 0.5, 0.5};
  samplingCount = 1000000;
  randomDraw = RandomDraw{kStartState, 0, true, true};
}

// The number of trades the standard case plays: the generator steps from the
// start state to the state the run leaves.
std::int64_t StandardTradeCount() {
  static const std::int64_t count = [] {
    SetStandardCase();
    RunArithmeticSimulation(kFreshLog);
    std::uint32_t state = kStartState;
    std::int64_t steps = 0;
    while (state != randomDraw.randomState) {
      NextRandomValue(state);
      ++steps;
    }
    return steps;
  }();
  return count;
}

void ReportTrades(benchmark::State& state) {
  state.counters["trades"] = static_cast<double>(StandardTradeCount());
  state.counters["trades/s"] = benchmark::Counter(static_cast<double>(StandardTradeCount()),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ArithmeticFast(benchmark::State& state) {
  StandardTradeCount();
  for (auto _ : state) {
    SetStandardCase();
    benchmark::DoNotOptimize(RunArithmeticSimulation(kFreshLog));
    benchmark::DoNotOptimize(arithmeticResults);
  }
  ReportTrades(state);
}

void BM_ArithmeticLiteral(benchmark::State& state) {
  StandardTradeCount();
  for (auto _ : state) {
    SetStandardCase();
    benchmark::DoNotOptimize(PlayLiteralSamples(kFreshLog, samplingCount));
  }
  ReportTrades(state);
}

// The lower bound: as many draws as the run makes, and nothing else.
void BM_BareDraws(benchmark::State& state) {
  const std::int64_t trades = StandardTradeCount();
  const int threshold = WinThreshold(0.5);
  for (auto _ : state) {
    std::uint32_t randomState = kStartState;
    std::uint16_t accumulator = 0;
    std::int64_t wins = 0;
    for (std::int64_t i = 0; i < trades; ++i)
      wins += DrawWithThreshold(randomState, accumulator, threshold) == TradeResult::Win;
    benchmark::DoNotOptimize(wins);
  }
  ReportTrades(state);
}

BENCHMARK(BM_ArithmeticFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArithmeticLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDraws)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
