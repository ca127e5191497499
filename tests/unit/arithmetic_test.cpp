// The arithmetic simulation through its CALCULATE command, its preconditions,
// the fast sampling against the plain loop, and how a long run asks whether
// to go on, stops and reports its progress.
#include <limits>
#include <optional>

#include "literal_run.h"
#include "sim/run_progress.h"
#include "simulation_test.h"

namespace {

using ArithmeticTest = SimulationTest;
using Asked = std::vector<std::pair<std::int64_t, std::int64_t>>;

std::pair<std::uint32_t, std::uint32_t> Generator(const RandomDraw& draw) {
  return {draw.randomState, draw.drawAccumulator};
}

const ShownBox kRunError = {BoxKind::Error,
                            L"エラーコード:02-45\nARITHMETIC SIMULATION実行時にエラーが発生しました。"};

TEST_F(ArithmeticTest, CalculateShowsTheFourResultsOrOneBox) {
  struct Case {
    std::initializer_list<std::string> log;
    std::wstring_view inputs, shown;   // shown: ruin rate, WIN ONLY, WIN & LOSE, LOSE ONLY
    std::optional<ShownBox> box = {};  // then the outputs keep their texts
    std::int32_t samples = 1000;
  } cases[] = {
      // clang-format off
      // Every sample wins its first trade: lot 4000, profit 2000.
      {{"1,2,3"}, L"100000|25|100|1000|100|0.5|0.5", L"0|2000|2000|0"},
      // Losses of 4000 and 5000 leave 1000, which cannot carry the lot of 6000.
      {{"1,2,3"}, L"10000|1|1|1000|0|0.5|1", L"100|0|-9000|-9000"},
      // A loss of 8000 beyond the margin counts the margin entered.
      {{"1,2,3"}, L"5000|1|1|1000|0|0.5|2", L"100|0|-5000|-5000"},
      // A lot equal to the capacity (5000 on 5000) is played; the margin reaches 0.
      {{"1,2,3"}, L"9000|1|1|1000|0|0.5|1", L"100|0|-9000|-9000"},
      {{"1,2,3"}, L"10001|1|1|1000|0|0.5|2.5", L"100|0|-10000|-10000"},  // a loss leaves 1
      {{"1,2,3"}, L"1|1000|1|1|100|0.5|0.5", L"0|2|2|0"},
      // A logged loss of 1200 beyond the margin 1000: ruined without sampling.
      {{"1,2,3", "1,2,3,4"}, L"1000|1|1|100|50|0.5|3", L"100|0|-1000|-1000"},
      // s = -4000 leaves 4000, which cannot carry the live lot of 5000.
      {{"1,2,3", "1,2,3,4"}, L"8000|1|1|1000|50|0.5|1", L"100|0|-4000|-4000"},
      // From state 1 at 50 %: W W W W, then L L L W L W: four samples of 2000 and one of -2500.
      {{"1,2,3"}, L"100000|25|100|1000|50|0.5|0.5", L"0|1100|1100|0", {}, 5},
      {{"1,2,3"}, L"20000|25|100|1000|10|0.5|0.5", L"50|2000|0|-2000", {}, 2},
      // A live list of stake 0 at win rate 0 could never end; at 1 % it ends at its first win.
      {{"7"}, L"100000|25|100|1000|0|0.5|0.5", L"a|b|c|d", kRunError},
      {{"1,2,3", "1,2,3,4", "7"}, L"100000|25|100|1000|1|0.5|0.5", L"0|500|500|0"},
      {{"1,2,3", "1,2,4"}, L"100000|25|100|1000|50|0.5|0.5", L"a|b|c|d", kRunError},
      {{}, L"100000|25|100|1000|50|0.5|0.5", L"a|b|c|d",
       ShownBox{BoxKind::Error, L"エラーコード:02-44\nメモリの確保に失敗しました。"}},
      // The first invalid field in panel order is the one reported.
      {{"1,2,3"}, L"100000|25|100|1000|101||x", L"a|b|c|d",
       ShownBox{BoxKind::FieldWarning, L"勝率は0～100の範囲の整数で指定して下さい。"}},
      // clang-format on
  };
  for (const Case& c : cases) {
    ResetFakeUi();
    randomDraw = {1, 0, true, true};
    for (int i = 0; i < 4; ++i)
      fakeUi.controls[IDC_RUIN_RATE + i] = Fields(L"a|b|c|d")[i];
    WriteLog(c.log);
    samplingCount = c.samples;
    SetInputs(c.inputs);
    ArithmeticCalculateCommand();
    const std::wstring shown(c.inputs);
    EXPECT_EQ(Shown(IDC_RUIN_RATE, IDC_EXPECTED_LOSE_ONLY), Fields(c.shown)) << shown;
    EXPECT_EQ(fakeUi.boxes, c.box ? std::vector<ShownBox>{*c.box} : std::vector<ShownBox>{}) << shown;
  }
}

TEST_F(ArithmeticTest, PreconditionsRejectWhatCannotBeSimulatedAndNothingElse) {
  const double kInfinity = std::numeric_limits<double>::infinity(), kFloatMicro = 0.000001f;
  struct Case {
    TradeParameters parameters;
    bool rejected;
  };
  const Case cases[] = {
      // clang-format off
      {{{}, -0.01, 25, 100, 1000, 0.5, 0.5, 0.5}, true},  {{{}, 0, 25, 100, 1000, 0.5, 0.5, 0.5}, false},
      {{{}, 1e5, 0, 100, 1000, 0.5, 0.5, 0.5}, true},     {{{}, 1e5, 1, 100, 1000, 0.5, 0.5, 0.5}, false},
      {{{}, 1e5, 25, 0, 1000, 0.5, 0.5, 0.5}, true},      {{{}, 1e5, 25, 1e-9, 1000, 0.5, 0.5, 0.5}, false},
      {{{}, 1e5, 25, 100, 0, 0.5, 0.5, 0.5}, true},       {{{}, 1e5, 25, 100, 1, 0.5, 0.5, 0.5}, false},
      {{{}, 1e5, 25, 100, 1000, 0.5, 9.9e-7, 0.5}, true}, {{{}, 1e5, 25, 100, 1000, 0.5, kFloatMicro, 0.5}, false},
      {{{}, 1e5, 25, 100, 1000, 0.5, 0.5, 9.9e-7}, true}, {{{}, 1e5, 25, 100, 1000, 0.5, 0.5, kFloatMicro}, false},
      {{{}, 1e5, 25, 100, 1000, 0.5, 0.5, 0.000001}, false},
      {{{}, 1e5, 25, 100, 1000, -0.01, 0.5, 0.5}, true},  {{{}, 1e5, 25, 100, 1000, 0, 0.5, 0.5}, false},
      {{{}, 1e5, 25, 100, 1000, 1.01, 0.5, 0.5}, true},   {{{}, 1e5, 25, 100, 1000, 1, 0.5, 0.5}, false},
      {{{}, kInfinity, 25, 100, 1000, 0.5, 0.5, 0.5}, true},
      // clang-format on
  };
  for (const auto& [parameters, rejected] : cases) {
    tradeParameters = parameters;
    arithmeticResults = {0.25, 1, 2, 3};
    EXPECT_EQ(RunArithmeticSimulation({{1, 2, 3}}), rejected ? RunOutcome::Failed : RunOutcome::Done);
    EXPECT_EQ(arithmeticResults == (ArithmeticResults{0.25, 1, 2, 3}), rejected) << parameters.margin;
  }
}

TEST_F(ArithmeticTest, TheFastSamplingMatchesThePlainLoopToTheLastBit) {
  samplingCount = 20000;
  const LogData fresh = {{1, 2, 3}}, partlyUsed = {{1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 5}, {3, 4}},
                losses = {
                    {1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 7}};
  const struct {
    const LogData& log;
    double margin, takeProfit, stopLoss;
    std::initializer_list<int> percents;
  } cases[] = {
      // clang-format off
      {fresh, 50000, 0.5, 0.5, {0, 1, 37, 50, 99, 100}},
      {partlyUsed, 50000, 0.5, 0.5, {1, 37, 50}},
      {fresh, 30000, 0.7, 3.3, {0, 37, 73}},  // ruined by the capacity after one loss
      {fresh, 100000, 0.5, 4.5, {37, 73}},    // a loss can take more than the margin
      {fresh, 1000000, 0.5, 0.5, {37, 50}},   // long samples, beyond the tree
      {losses, 1000000, 0.5, 0.5, {45}},
      // clang-format on
  };
  std::uint32_t state = 20260101;
  for (const auto& c : cases) {
    for (int percent : c.percents) {
      tradeParameters = {{}, c.margin, 25, 100, 1000, percent / 100.0, c.takeProfit, c.stopLoss};
      randomDraw = {state, 4321, true, true};
      ASSERT_EQ(RunArithmeticSimulation(c.log), RunOutcome::Done);
      const RandomDraw fast = randomDraw;
      randomDraw = {state, 4321, true, true};
      const SampleSums plain = PlayLiteralSamples(c.log, samplingCount);
      const double completed = static_cast<double>(plain.completed),
                   ruined = static_cast<double>(plain.ruined);
      const ArithmeticResults expected = {
          ruined / samplingCount, completed > 0 ? plain.winOnly / completed : 0, plain.all / samplingCount,
          ruined > 0 ? plain.loseOnly / ruined : 0};
      EXPECT_EQ(arithmeticResults, expected) << percent << "% from a log of " << c.log.size();
      EXPECT_EQ(Generator(fast), Generator(randomDraw));
      state = fast.randomState;
    }
  }
}

TEST_F(ArithmeticTest, AStoppedRunLeavesTheOutputsAndWhatWasPlayed) {
  samplingCount = 10000;
  fakeUi.stopAt = 2;
  SetInputs(L"1000000|25|100|1000|37|0.5|0.5");  // long samples leave the tree
  ArithmeticCalculateCommand();
  EXPECT_EQ(fakeUi.asked, (Asked{{4096, 10000}, {8192, 10000}}));
  EXPECT_EQ(fakeUi.runs, std::vector<RunKind>{RunKind::Arithmetic});
  EXPECT_FALSE(fakeUi.runOpen);
  EXPECT_TRUE(fakeUi.boxes.empty());
  EXPECT_EQ(Shown(IDC_RUIN_RATE, IDC_EXPECTED_LOSE_ONLY), Fields(L"|||"));
  // The sums and the generator are where the plain loop is after 8192 samples.
  const ArithmeticResults stopped = arithmeticResults;
  const RandomDraw after = randomDraw;
  randomDraw = {1, 0, true, true};
  const SampleSums plain = PlayLiteralSamples({{1, 2, 3}}, 8192);
  EXPECT_EQ(stopped,
            (ArithmeticResults{static_cast<double>(plain.ruined), plain.winOnly, plain.all, plain.loseOnly}));
  EXPECT_EQ(Generator(after), Generator(randomDraw));
}

TEST_F(ArithmeticTest, ALongSampleAsksEvery65536Trades) {
  // At win rate 0 the one sample loses 1,414,211 times before the margin is gone.
  tradeParameters = {{}, 1000000, 1000, 0.000001, 1, 0, 0.000001, 0.000001};
  samplingCount = 1;
  EXPECT_EQ(RunArithmeticSimulation({{1, 2, 3}}), RunOutcome::Done);
  EXPECT_EQ(fakeUi.asked, Asked(21, {0, 1}));
  ResetFakeUi();
  fakeUi.stopAt = 3;
  EXPECT_EQ(RunArithmeticSimulation({{1, 2, 3}}), RunOutcome::Stopped);
  EXPECT_EQ(fakeUi.asked.size(), 3u);
  EXPECT_EQ(arithmeticResults, (ArithmeticResults{0, 0, 0, 0}));  // no sample ended
}

TEST(ProgressText, CountsAndTheTimeStillNeededAtThePaceSoFar) {
  const struct {
    RunKind kind;
    std::int64_t done, total, elapsedMs;
    std::wstring_view text;
  } cases[] = {
      // clang-format off
      {RunKind::Arithmetic, 123456, 1000000, 1111, L"計算中です。 123456 / 1000000 サンプル\n残り時間 約8秒"},
      {RunKind::Arithmetic, 250000, 1000000, 2700000, L"計算中です。 250000 / 1000000 サンプル\n残り時間 約2時間15分"},
      {RunKind::Arithmetic, 1, 4, 66499, L"計算中です。 1 / 4 サンプル\n残り時間 約3分19秒"},
      {RunKind::Arithmetic, 1, 4, 66500, L"計算中です。 1 / 4 サンプル\n残り時間 約3分20秒"},
      {RunKind::Arithmetic, 1, 2, 3600000, L"計算中です。 1 / 2 サンプル\n残り時間 約1時間0分"},
      {RunKind::Arithmetic, 0, 1000000, 900, L"計算中です。 0 / 1000000 サンプル\n残り時間 計算中"},
      {RunKind::MonteCarlo, 12345678, 0, 5000, L"計算中です。 12345678 トレード"},
      // clang-format on
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgressText(c.kind, c.done, c.total, c.elapsedMs), c.text);
}

}  // namespace
