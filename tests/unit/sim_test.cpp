// Both simulations through their commands, the draw, the fast sampling against the plain loop, and a long run.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fake_ui.h"
#include "literal_run.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "sim/run_progress.h"
#include "sim/sampling_count.h"

namespace {

using Asked = std::vector<std::pair<std::int64_t, std::int64_t>>;
using Points = std::vector<double>;
constexpr PathStatus kWon = PathStatus::Won, kLost = PathStatus::Lost;

// Start(): a log of the lists ("1,2,3"; none: no log), the generator at state 1, the samples, the inputs;
// all that runs change is put back.
class Simulation : public testing::Test {
 protected:
  void TearDown() override {
    std::tie(fakeUi, randomDraw, arithmeticResults, marginSeries, tradeParameters, samplingCount) =
        std::tuple(FakeUi{}, RandomDraw{}, ArithmeticResults{}, MarginSeries{}, TradeParameters{},
                   kDefaultSamplingCount);
  }
  void Start(std::initializer_list<std::string> lists, std::int32_t samples = 1000, std::wstring_view inputs = L"") {
    std::string text;
    for (const std::string& list : lists) text += "ARRAY:" + list + "\n";
    std::filesystem::remove(TradeLogPath = dir.File("trade_query.txt"));
    if (lists.size() > 0) WriteBytes(TradeLogPath, text);
    std::tie(fakeUi, samplingCount, randomDraw) = std::tuple(FakeUi{}, samples, RandomDraw{1, 0, true, true});
    SetInputs(inputs);
  }
  const TempDir dir;
};

const ShownBox kNoLog = {BoxKind::Error, L"エラーコード:02-44\nメモリの確保に失敗しました。"};
const ShownBox kArithmeticFailed = {BoxKind::Error,
                                    L"エラーコード:02-45\nARITHMETIC SIMULATION実行時にエラーが発生しました。"};
const ShownBox kNoPathLog = {BoxKind::Error, L"エラーコード:02-61\nメモリの確保に失敗しました。"};
const ShownBox kPathFailed = {BoxKind::Error,
                              L"エラーコード:02-62\nMONTE CARLO SIMULATION実行時にエラーが発生しました。"};

TEST_F(Simulation, ArithmeticShowsTheFourResultsOrOneBox) {
  const struct {
    std::initializer_list<std::string> log;
    std::wstring_view inputs, shown;   // shown: ruin rate, WIN ONLY, WIN & LOSE, LOSE ONLY
    std::optional<ShownBox> box = {}; std::int32_t samples = 1000;  // with a box the outputs keep their texts
  } cases[] = {
      {{"1,2,3"}, L"100000|25|100|1000|100|0.5|0.5", L"0|2000|2000|0"},  // every sample wins: lot 4000
      // Losses of 4000 and 5000 leave 1000, which cannot carry the lot of 6000; a loss beyond the margin counts it;
      // a lot equal to the capacity (5000 on 5000) is played; a loss may leave 0 or 1.
      {{"1,2,3"}, L"10000|1|1|1000|0|0.5|1", L"100|0|-9000|-9000"},
      {{"1,2,3"}, L"5000|1|1|1000|0|0.5|2", L"100|0|-5000|-5000"},
      {{"1,2,3"}, L"9000|1|1|1000|0|0.5|1", L"100|0|-9000|-9000"},
      {{"1,2,3"}, L"10001|1|1|1000|0|0.5|2.5", L"100|0|-10000|-10000"},
      // Ruined without sampling: a logged loss beyond the margin, or s = -4000 leaving 4000 for a lot of 5000.
      {{"1,2,3", "1,2,3,4"}, L"1000|1|1|100|50|0.5|3", L"100|0|-1000|-1000"},
      {{"1,2,3", "1,2,3,4"}, L"8000|1|1|1000|50|0.5|1", L"100|0|-4000|-4000"},
      // From state 1 at 50 %: W W W W, then L L L W L W: four samples of 2000 and one of -2500.
      {{"1,2,3"}, L"100000|25|100|1000|50|0.5|0.5", L"0|1100|1100|0", {}, 5},
      {{"1,2,3"}, L"20000|25|100|1000|10|0.5|0.5", L"50|2000|0|-2000", {}, 2},
      // A live list of stake 0 at win rate 0 could never end; at 1 % it ends at its first win.
      {{"7"}, L"100000|25|100|1000|0|0.5|0.5", L"a|b|c|d", kArithmeticFailed},
      {{"1,2,3", "1,2,3,4", "7"}, L"100000|25|100|1000|1|0.5|0.5", L"0|500|500|0"},
      {{}, L"100000|25|100|1000|50|0.5|0.5", L"a|b|c|d", kNoLog}};
  for (const auto& c : cases) {
    Start(c.log, c.samples, c.inputs);
    SetControls(IDC_RUIN_RATE, L"a|b|c|d");
    ArithmeticCalculateCommand();
    EXPECT_EQ(Shown(IDC_RUIN_RATE, IDC_EXPECTED_LOSE_ONLY), Fields(c.shown)) << c.inputs.data();
    EXPECT_EQ(fakeUi.boxes, c.box ? Boxes{*c.box} : Boxes{}) << c.inputs.data();
  }
}

TEST_F(Simulation, MonteCarloKeepsThePathAndShowsItOrOneBox) {
  const MarginSeries earlier = {Points{1, 2}, 9, 2, 1, kWon};
  const struct {
    std::initializer_list<std::string> log;
    std::wstring_view inputs, shown;   // shown: profit, HIGH VALUE, LOW VALUE, STATUS, trade count
    Points points;  // then the series: the lists logged, the highest and the lowest point, the status
    std::int32_t logged; double high, low; PathStatus status;
    std::optional<ShownBox> box = {};  // then the outputs keep their texts
  } cases[] = {
      {{"1,2,3"}, L"100000|25|100|1000|100|0.5|0.5", L"2000|102000|100000|WIN|1", Points{100000, 102000}, 1,
       102000, 100000, kWon},
      // The next lot, 6000, exceeds the capacity 1000; a simulated margin of -3000 is kept as 0.
      {{"1,2,3"}, L"10000|1|1|1000|0|0.5|1", L"-9000|10000|1000|LOSE|2", Points{10000, 6000, 1000}, 1, 10000,
       1000, kLost},
      {{"1,2,3"}, L"5000|1|1|1000|0|0.5|2", L"-5000|5000|0|LOSE|1", Points{5000, 0}, 1, 5000, 0, kLost},
      // Logged 96000 and 91000, then from state 1 at 40 %: L W L L L; the lot of 16000 exceeds 58500 × 25 / 100.
      {{"1,2,3", "1,2,3,4", "1,2,3,4,5"}, L"100000|25|100|1000|40|0.5|1", L"-41500|100000|58500|LOSE|7",
       Points{100000, 96000, 91000, 85000, 88500, 81500, 71500, 58500}, 3, 100000, 58500, kLost},
      // Logged losses beyond the margin stay below zero, and nothing is simulated; a base of 1 plays its lot of 5.
      {{"1,2,3", "1,2,3,4", "1,2,3,4,5"}, L"5000|1|1|1000|50|0.5|1", L"-9000|5000|-4000|LOSE|2",
       Points{5000, 1000, -4000}, 3, 5000, -4000, kLost},
      {{"1,2,3", "1,2,3,4"}, L"4001|1000|1|1|100|1|1000", L"-3995|4001|1|WIN|2", Points{4001, 1, 6}, 2, 4001, 1, kWon},
      {{}, L"100000|25|100|1000|50|0.5|0.5", L"a|b|c|d|e", Points{1, 2}, 9, 2, 1, kWon, kNoPathLog},
      // Lists of equal length: the points so far stay, unfinished.
      {{"1,2,3", "1,2,3,4", "1,2,3,5"}, L"100000|25|100|1000|50|0.5|1", L"a|b|c|d|e", Points{100000, 96000}, 9,
       0, 0, PathStatus::Unfinished, kPathFailed}};
  for (const auto& c : cases) {
    Start(c.log, 1000, c.inputs);
    marginSeries = earlier;
    SetControls(IDC_PROFIT, L"a|b|c|d|e");
    EXPECT_EQ(MonteCarloCalculateCommand(), !c.box) << c.inputs.data();
    EXPECT_EQ(std::pair(Shown(IDC_PROFIT, IDC_TRADE_COUNT), fakeUi.boxes),
              std::pair(Fields(c.shown), c.box ? Boxes{*c.box} : Boxes{}))
        << c.inputs.data();
    EXPECT_EQ(marginSeries, (MarginSeries{c.points, c.logged, c.high, c.low, c.status})) << c.inputs.data();
  }
}

TEST_F(Simulation, TheFastSamplingMatchesThePlainLoopToTheLastBit) {
  const LogData fresh = {{1, 2, 3}}, partlyUsed = {{1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 5}, {3, 4}},
                losses = {{1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 7}};
  // Ruined by the capacity; losses beyond the margin; long samples, beyond the tree.
  const struct { const LogData& log; double margin, takeProfit, stopLoss; std::initializer_list<int> percents; }
  cases[] = {{fresh, 50000, 0.5, 0.5, {0, 1, 37, 50, 99, 100}}, {partlyUsed, 50000, 0.5, 0.5, {1, 37, 50}},
             {fresh, 30000, 0.7, 3.3, {0, 37, 73}},            {fresh, 100000, 0.5, 4.5, {37, 73}},
             {fresh, 1000000, 0.5, 0.5, {37, 50}},             {losses, 1000000, 0.5, 0.5, {45}}};
  samplingCount = 20000;
  for (std::uint32_t state = 20260101; const auto& c : cases) {
    for (int percent : c.percents) {
      tradeParameters = {{}, c.margin, 25, 100, 1000, percent / 100.0, c.takeProfit, c.stopLoss};
      randomDraw = {state, 4321, true, true};
      ASSERT_EQ(RunArithmeticSimulation(c.log), RunOutcome::Done);
      const RandomDraw fast = std::exchange(randomDraw, {state, 4321, true, true});
      const SampleSums plain = PlayLiteralSamples(c.log, samplingCount);
      const double completed = static_cast<double>(plain.completed), ruined = static_cast<double>(plain.ruined);
      const ArithmeticResults means = {ruined / samplingCount, completed > 0 ? plain.winOnly / completed : 0,
                                       plain.all / samplingCount, ruined > 0 ? plain.loseOnly / ruined : 0};
      EXPECT_EQ(std::tuple(arithmeticResults, fast.randomState, fast.drawAccumulator),
                std::tuple(means, randomDraw.randomState, randomDraw.drawAccumulator))
          << percent << "% from a log of " << c.log.size();
      state = fast.randomState;
    }
  }
}

// A run asks every 4096 samples and every 65536 trades of a long sample or path (at win rate 0 the one
// sample, or the path, loses 1,414,211 times); a stopped run leaves the outputs as they were.
TEST_F(Simulation, ALongRunAsksNowAndThenAndStopsWhenTold) {
  Start({"1,2,3"}, 10000, L"1000000|25|100|1000|37|0.5|0.5");  // long samples leave the tree
  fakeUi.stopAt = 2;
  ArithmeticCalculateCommand();
  EXPECT_EQ(std::tuple(fakeUi.asked, fakeUi.runs, fakeUi.runOpen, fakeUi.boxes),
            std::tuple(Asked{{4096, 10000}, {8192, 10000}}, std::vector{RunKind::Arithmetic}, false, Boxes{}));
  EXPECT_EQ(Shown(IDC_RUIN_RATE, IDC_EXPECTED_LOSE_ONLY), Fields(L"|||"));
  Start({"1,2,3"}, 1);
  tradeParameters = {{}, 1000000, 1000, 0.000001, 1, 0, 0.000001, 0.000001};
  EXPECT_EQ(RunArithmeticSimulation({{1, 2, 3}}), RunOutcome::Done);
  EXPECT_EQ(fakeUi.asked, Asked(21, {0, 1}));
  Start({"1,2,3"}, 1);
  fakeUi.stopAt = 3;
  EXPECT_EQ(RunArithmeticSimulation({{1, 2, 3}}), RunOutcome::Stopped);
  EXPECT_EQ(fakeUi.asked.size(), 3u);
  EXPECT_EQ(arithmeticResults, (ArithmeticResults{0, 0, 0, 0}));  // no sample ended
  Start({"1,2,3"}, 1, L"1000000|1000|0.000001|1|0|0.000001|0.000001");
  ASSERT_TRUE(MonteCarloCalculateCommand());
  EXPECT_EQ(Shown(IDC_PROFIT, IDC_TRADE_COUNT), Fields(L"-1000000|1000000|0|LOSE|1414211"));
  EXPECT_EQ(std::tuple(fakeUi.asked.size(), fakeUi.asked.back(), fakeUi.runs),
            std::tuple(21u, std::pair<std::int64_t, std::int64_t>(21 * 65536, 0), std::vector{RunKind::MonteCarlo}));
}

// Each simulation seeds from the clock's low 32 bits, 500 values on (1000 gives 942875036, 2000 1047079940),
// at its first run, even a failed one. Conditions that cannot be simulated (the inputs' validators let none
// of them through) fail; at their bounds they run (a margin of 0 ends without a draw).
TEST_F(Simulation, EachSimulationSeedsAtItsFirstRunAndRejectsWhatCannotBeSimulated) {
  const double kInfinity = std::numeric_limits<double>::infinity(), kMicro = 0.000001f;
  constexpr auto A = RunArithmeticSimulation, M = RunMonteCarloSimulation;
  constexpr RunOutcome kFailed = RunOutcome::Failed, kDone = RunOutcome::Done;
  const struct {
    std::int64_t clock;
    RunOutcome (*run)(const LogData&);
    TradeParameters conditions;
    RunOutcome outcome;
    std::uint32_t state;
  } runs[] = {
      {0x100000000 + 1000, A, {{}, -0.01, 1, 1, 1, 0, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, kInfinity, 1, 1, 1, 0, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 0, 1, 1, 0, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 0, 1, 0, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 1, 0, 0, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 1, 1, -0.01, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 1, 1, 1.01, 1, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 1, 1, 0, 9.9e-7, 1}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 1, 1, 0, 1, 9.9e-7}, kFailed, 942875036},
      {2000, A, {{}, 0, 1, 1e-300, 1, 0, kMicro, kMicro}, kDone, 942875036},
      {2000, M, {{}, 0, 1, 1e-300, 1, 1, kMicro, kMicro}, kDone, 1047079940},
      {3000, M, {{}, -0.01, 1, 1, 1, 0, 1, 1}, kFailed, 1047079940}};
  randomDraw = {0, 777, false, false};
  for (const auto& r : runs) {
    SetClockForTesting(r.clock);
    tradeParameters = r.conditions;
    EXPECT_EQ(std::tuple(r.run({{1, 2, 3}}), randomDraw.drawAccumulator), std::tuple(r.outcome, 777)) << r.clock;
    EXPECT_EQ(randomDraw.randomState, r.state) << r.clock;
  }
  SetClockForTesting(std::nullopt);
}

TEST(Draws, WinBelowTheWinRatesNearestWholePercent) {
  const std::pair<double, int> cases[] = {{0, 0},      {0.004, 0}, {0.005, 1}, {0.29, 29}, {0.57, 57},
                                          {0.994, 99}, {1, 100},   {-1, 0},    {2, 100},   {std::nan(""), 0}};
  for (const auto& [rate, threshold] : cases) EXPECT_EQ(WinThreshold(rate), threshold) << rate;
}

TEST(ProgressText, CountsAndTheTimeStillNeededAtThePaceSoFar) {
  const struct { RunKind kind; std::int64_t done, total, elapsedMs; std::wstring_view text; } cases[] = {
      {RunKind::Arithmetic, 123456, 1000000, 1111, L"計算中です。 123456 / 1000000 サンプル\n残り時間 約8秒"},
      {RunKind::Arithmetic, 250000, 1000000, 2700000, L"計算中です。 250000 / 1000000 サンプル\n残り時間 約2時間15分"},
      {RunKind::Arithmetic, 1, 4, 66499, L"計算中です。 1 / 4 サンプル\n残り時間 約3分19秒"},
      {RunKind::Arithmetic, 1, 4, 66500, L"計算中です。 1 / 4 サンプル\n残り時間 約3分20秒"},
      {RunKind::Arithmetic, 1, 2, 60000, L"計算中です。 1 / 2 サンプル\n残り時間 約1分0秒"},
      {RunKind::Arithmetic, 1, 2, 3600000, L"計算中です。 1 / 2 サンプル\n残り時間 約1時間0分"},
      {RunKind::Arithmetic, 0, 1000000, 900, L"計算中です。 0 / 1000000 サンプル\n残り時間 計算中"},
      {RunKind::MonteCarlo, 12345678, 0, 5000, L"計算中です。 12345678 トレード"}};
  for (const auto& c : cases) EXPECT_EQ(ProgressText(c.kind, c.done, c.total, c.elapsedMs), c.text);
}

}  // namespace
