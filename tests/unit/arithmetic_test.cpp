// Tests of the arithmetic simulation: the worked examples through the
// CALCULATE command with the texts it shows, the failures and what survives
// them, and the fast sampling loop against the literal one.
#include "sim/arithmetic.h"
#include "literal_run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fake_ui.h"
#include "io/files.h"
#include "io/paths.h"
#include "sim/outputs.h"
#include "sim/random.h"
#include "sim/sampling_count.h"
#include "trade/trade_parameters.h"

namespace {

using Inputs = TradeInputs;

// The four outputs: ruin rate, WIN ONLY, WIN & LOSE, LOSE ONLY.
using Outputs = std::array<std::wstring, 4>;

class ArithmeticTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeLogPath = dir.File("trade_query.txt");
    ResetFakeUi();
    randomDraw = RandomDraw{};
    randomDraw.randomState = 1;
    randomDraw.arithmeticSeeded = true;
    arithmeticResults = ArithmeticResults{};
    tradeParameters = TradeParameters{};
    samplingCount = 1000;
    WriteLog({"1,2,3"});
  }
  void TearDown() override {
    ResetFakeUi();
    randomDraw = RandomDraw{};
    arithmeticResults = ArithmeticResults{};
    tradeParameters = TradeParameters{};
    samplingCount = kDefaultSamplingCount;
    TradeLogPath.clear();
  }

  void WriteLog(std::initializer_list<std::string> lists) {
    ASSERT_TRUE(WriteTextFile(TradeLogPath, LogText(lists)));
  }

  Outputs ShownOutputs() {
    return {fakeUi.controls[IDC_RUIN_RATE], fakeUi.controls[IDC_EXPECTED_WIN_ONLY], fakeUi.controls[IDC_EXPECTED_ALL],
            fakeUi.controls[IDC_EXPECTED_LOSE_ONLY]};
  }

  // Runs CALCULATE and expects the four outputs and no box.
  void ExpectOutputs(const Inputs& inputs, const Outputs& expected) {
    SetTradeInputs(inputs);
    ArithmeticCalculateCommand();
    EXPECT_TRUE(fakeUi.boxes.empty()) << (fakeUi.boxes.empty() ? "" : "box shown");
    EXPECT_EQ(ShownOutputs(), expected);
  }

  // Runs CALCULATE and expects one error box and the outputs as they were.
  void ExpectError(const Inputs& inputs, std::wstring_view code, std::wstring_view reason) {
    const Outputs before = {L"old1", L"old2", L"old3", L"old4"};
    fakeUi.controls[IDC_RUIN_RATE] = before[0];
    fakeUi.controls[IDC_EXPECTED_WIN_ONLY] = before[1];
    fakeUi.controls[IDC_EXPECTED_ALL] = before[2];
    fakeUi.controls[IDC_EXPECTED_LOSE_ONLY] = before[3];
    SetTradeInputs(inputs);
    ArithmeticCalculateCommand();
    ASSERT_EQ(fakeUi.boxes.size(), 1u);
    EXPECT_EQ(fakeUi.boxes[0], (ShownBox{BoxKind::Error, ErrorText(code, reason)}));
    EXPECT_EQ(ShownOutputs(), before);
  }

  TempDir dir;
};

constexpr std::wstring_view kRunError = L"ARITHMETIC SIMULATION実行時にエラーが発生しました。";

TEST_F(ArithmeticTest, WinRate100CompletesEverySampleAtItsFirstTrade) {
  ExpectOutputs({L"100000", L"25", L"100", L"1000", L"100", L"0.5", L"0.5"}, {L"0", L"2000", L"2000", L"0"});
}

TEST_F(ArithmeticTest, WinRate0IsRuinedWhenTheNextLotDoesNotFit) {
  // Losses of 4000 and 5000 leave 1000, which cannot carry the lot of 6000.
  ExpectOutputs({L"10000", L"1", L"1", L"1000", L"0", L"0.5", L"1"}, {L"100", L"0", L"-9000", L"-9000"});
}

TEST_F(ArithmeticTest, ALossBeyondTheMarginCountsTheMarginEntered) {
  ExpectOutputs({L"5000", L"1", L"1", L"1000", L"0", L"0.5", L"2"}, {L"100", L"0", L"-5000", L"-5000"});
}

TEST_F(ArithmeticTest, ALotEqualToTheCapacityIsPlayed) {
  // After the first loss the margin is 5000 and the next lot 5000: it is
  // played, and the margin reaches 0. Refusing it would count -4000.
  ExpectOutputs({L"9000", L"1", L"1", L"1000", L"0", L"0.5", L"1"}, {L"100", L"0", L"-9000", L"-9000"});
}

TEST_F(ArithmeticTest, ARealisedLossBeyondTheMarginNeedsNoSampling) {
  WriteLog({"1,2,3", "1,2,3,4"});  // one logged loss of 4 × 100 × 3 = 1200
  const std::uint32_t state = randomDraw.randomState;
  ExpectOutputs({L"1000", L"1", L"1", L"100", L"50", L"0.5", L"3"}, {L"100", L"0", L"-1000", L"-1000"});
  EXPECT_EQ(randomDraw.randomState, state);
}

TEST_F(ArithmeticTest, ALiveLotOverTheCapacityNeedsNoSampling) {
  WriteLog({"1,2,3", "1,2,3,4"});  // s = -4000, B = 4000, live lot 5000
  ExpectOutputs({L"8000", L"1", L"1", L"1000", L"50", L"0.5", L"1"}, {L"100", L"0", L"-4000", L"-4000"});
  WriteLog({"1,2,3"});  // s = 0, B = 1000, live lot 4000
  ExpectOutputs({L"1000", L"1", L"1", L"1000", L"50", L"0.5", L"1"}, {L"100", L"0", L"0", L"0"});
}

TEST_F(ArithmeticTest, MixedSamplesFromAKnownState) {
  // From state 1 the draws modulo 100 are 41, 8, 42, 42, 75, 99, 77, 35, 61,
  // 25: at 50 % W W W W, then L L L W L W. The first four samples win 2000
  // each; the fifth loses 2000, 2500 and 3000, wins 3500 (list 3, 4), loses
  // 3500 and wins 5000: -2500. All five complete.
  samplingCount = 5;
  ExpectOutputs({L"100000", L"25", L"100", L"1000", L"50", L"0.5", L"0.5"}, {L"0", L"1100", L"1100", L"0"});
}

TEST_F(ArithmeticTest, OneSampleShowsAWholeRuinRate) {
  samplingCount = 1;
  SetTradeInputs({L"20000", L"25", L"100", L"1000", L"50", L"0.5", L"0.5"});
  for (int run = 0; run < 20; ++run) {
    ArithmeticCalculateCommand();
    const Outputs shown = ShownOutputs();
    EXPECT_TRUE(shown[0] == L"0" || shown[0] == L"100") << run;
    EXPECT_TRUE(shown[1] == L"0" || shown[3] == L"0") << run;
    EXPECT_EQ(shown[2], shown[0] == L"0" ? shown[1] : shown[3]) << run;
  }
  EXPECT_TRUE(fakeUi.boxes.empty());
}

TEST_F(ArithmeticTest, NeighbouringListsOfEqualLengthFail) {
  WriteLog({"1,2,3", "1,2,4"});
  ExpectError({L"100000", L"25", L"100", L"1000", L"50", L"0.5", L"0.5"}, L"02-45", kRunError);
}

TEST_F(ArithmeticTest, AMissingLogKeepsThePreviousResults) {
  std::filesystem::remove(TradeLogPath);
  ExpectError({L"100000", L"25", L"100", L"1000", L"50", L"0.5", L"0.5"}, L"02-44", kReasonNoMemory);
  EXPECT_EQ(tradeParameters.margin, 100000);  // the numbers were refreshed all the same
}

TEST_F(ArithmeticTest, TheFirstInvalidFieldIsReportedAndNothingRuns) {
  SetTradeInputs({L"100000", L"25", L"100", L"1000", L"101", L"", L"0.5"});
  ArithmeticCalculateCommand();
  ASSERT_EQ(fakeUi.boxes.size(), 1u);
  EXPECT_EQ(fakeUi.boxes[0],
            (ShownBox{BoxKind::FieldWarning, std::wstring(RangeMessage(TradeField::WinRate))}));
  EXPECT_EQ(fakeUi.controlsRead, (std::vector<int>{10001, 10002, 10003, 10004, 10005}));
  EXPECT_EQ(randomDraw.randomState, 1u);  // nothing was drawn
  for (const auto& text : tradeParameters.texts) EXPECT_FALSE(text);
}

// A live list of stake 0 at a win rate of 0 would play for ever.
TEST_F(ArithmeticTest, AStakeOfZeroAtWinRate0FailsInsteadOfHanging) {
  for (const char* live : {"7", "0,0", "0,5,0"}) {
    WriteLog({live});
    ResetFakeUi();
    ExpectError({L"100000", L"25", L"100", L"1000", L"0", L"0.5", L"0.5"}, L"02-45", kRunError);
  }
  // At any other win rate such a sample ends at its first win, with t = 0.
  WriteLog({"1,2,3", "1,2,3,4", "7"});  // s = -4 × 1000 × 0.5 + 5 × 1000 × 0.5 = 500
  ResetFakeUi();
  ExpectOutputs({L"100000", L"25", L"100", L"1000", L"1", L"0.5", L"0.5"}, {L"0", L"500", L"500", L"0"});
}

TEST_F(ArithmeticTest, PreconditionsLeaveTheResultsUnchanged) {
  const LogData log = {{1, 2, 3}};
  const TradeParameters valid = {{}, 100000, 25, 100, 1000, 0.5, 0.5, 0.5};
  const ArithmeticResults earlier = {0.25, 1, 2, 3};
  struct Case {
    const char* what;
    void (*spoil)(TradeParameters&);
  } cases[] = {
      {"margin below 0", [](TradeParameters& p) { p.margin = -0.01; }},
      {"leverage 0", [](TradeParameters& p) { p.leverage = 0; }},
      {"rate 0", [](TradeParameters& p) { p.rate = 0; }},
      {"unit lot size 0", [](TradeParameters& p) { p.unitLotSize = 0; }},
      {"TAKE PROFIT below the float bound", [](TradeParameters& p) { p.takeProfit = 9.9999e-7; }},
      {"STOP LOSS below the float bound", [](TradeParameters& p) { p.stopLoss = 9.9999e-7; }},
      {"win rate below 0", [](TradeParameters& p) { p.winRate = -0.01; }},
      {"win rate above 1", [](TradeParameters& p) { p.winRate = 1.01; }},
  };
  for (const Case& c : cases) {
    tradeParameters = valid;
    c.spoil(tradeParameters);
    arithmeticResults = earlier;
    EXPECT_TRUE(RunArithmeticSimulation(log)) << c.what;
    EXPECT_EQ(arithmeticResults, earlier) << c.what;
  }
  // The bound is the float 0.000001 widened: the smallest valid input passes.
  tradeParameters = valid;
  tradeParameters.takeProfit = 0.000001;
  tradeParameters.stopLoss = static_cast<double>(0.000001f);
  EXPECT_FALSE(RunArithmeticSimulation(log));
}

TEST(ArithmeticOutputs, TenDecimalsWithoutSurplusZeros) {
  ResetFakeUi();
  const struct {
    double value;
    std::wstring_view shown;
  } cases[] = {{37.5, L"37.5"}, {-1234.5, L"-1234.5"}, {0, L"0"}, {100, L"100"}, {1.0 / 3, L"0.3333333333"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(ShowDecimalOutput(IDC_EXPECTED_ALL, c.value, L"02-50", L"02-51"));
    EXPECT_EQ(fakeUi.controls[IDC_EXPECTED_ALL], c.shown) << c.value;
  }
  EXPECT_TRUE(fakeUi.boxes.empty());
  ResetFakeUi();
}

// ---- The fast sampling loop against the literal one ----

struct RunOutcome {
  bool failed;
  ArithmeticResults results;
  std::uint32_t randomState;
  std::uint16_t drawAccumulator;
};

RunOutcome RunFrom(bool literal, const LogData& log, std::uint32_t state, std::uint16_t accumulator) {
  randomDraw.randomState = state;
  randomDraw.drawAccumulator = accumulator;
  arithmeticResults = ArithmeticResults{};
  if (!literal) {
    const bool failed = RunArithmeticSimulation(log);
    return {failed, arithmeticResults, randomDraw.randomState, randomDraw.drawAccumulator};
  }
  const SampleSums sums = PlayLiteralSamples(log, samplingCount);
  ArithmeticResults means{static_cast<double>(sums.ruined) / samplingCount, 0, sums.all / samplingCount, 0};
  if (sums.completed > 0) means.expectedWinOnly = sums.winOnly / static_cast<double>(sums.completed);
  if (sums.ruined > 0) means.expectedLoseOnly = sums.loseOnly / static_cast<double>(sums.ruined);
  return {false, means, randomDraw.randomState, randomDraw.drawAccumulator};
}

TEST_F(ArithmeticTest, FastAndLiteralLoopsAgreeToTheLastBit) {
  samplingCount = 100000;
  const LogData fresh = {{1, 2, 3}};
  const LogData partlyUsed = {{1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}, {3, 4}};
  const TradeParameters standard = {{}, 50000, 25, 100, 1000, 0, 0.5, 0.5};
  // Little room: samples are ruined by the capacity after one loss.
  const TradeParameters tight = {{}, 30000, 25, 100, 1000, 0, 0.7, 3.3};
  // Much room: some samples run long, beyond what the fast loop precomputes.
  const TradeParameters roomy = {{}, 1000000, 25, 100, 1000, 0, 0.5, 0.5};
  const LogData eightLosses = {{1, 2, 3},
                               {1, 2, 3, 4},
                               {1, 2, 3, 4, 5},
                               {1, 2, 3, 4, 5, 6},
                               {1, 2, 3, 4, 5, 6, 7},
                               {1, 2, 3, 4, 5, 6, 7, 8},
                               {1, 2, 3, 4, 5, 6, 7, 8, 9}};
  // Deep losses: a loss can take more than the margin.
  const TradeParameters deep = {{}, 100000, 25, 100, 1000, 0, 0.5, 4.5};
  struct Case {
    const LogData* log;
    TradeParameters parameters;
    int percent;
  };
  std::vector<Case> cases;
  for (int percent : {0, 1, 37, 50, 99, 100}) cases.push_back({&fresh, standard, percent});
  for (int percent : {1, 37, 50}) cases.push_back({&partlyUsed, standard, percent});
  for (int percent : {0, 37, 73}) cases.push_back({&fresh, tight, percent});
  for (int percent : {37, 73}) cases.push_back({&fresh, deep, percent});
  for (int percent : {37, 50}) cases.push_back({&fresh, roomy, percent});
  cases.push_back({&eightLosses, roomy, 45});

  std::uint32_t state = 20260101;
  for (const Case& c : cases) {
    tradeParameters = c.parameters;
    tradeParameters.winRate = c.percent / 100.0;
    const RunOutcome fast = RunFrom(false, *c.log, state, 4321);
    const RunOutcome literal = RunFrom(true, *c.log, state, 4321);
    const std::string what = std::to_string(c.percent) + "% log of " + std::to_string(c.log->size());
    ASSERT_FALSE(fast.failed) << what;
    ASSERT_FALSE(literal.failed) << what;
    // Exact equality: the same draws and the same sums in the same order.
    EXPECT_EQ(fast.results.ruinRate, literal.results.ruinRate) << what;
    EXPECT_EQ(fast.results.expectedWinOnly, literal.results.expectedWinOnly) << what;
    EXPECT_EQ(fast.results.expectedAll, literal.results.expectedAll) << what;
    EXPECT_EQ(fast.results.expectedLoseOnly, literal.results.expectedLoseOnly) << what;
    EXPECT_EQ(fast.randomState, literal.randomState) << what;
    EXPECT_EQ(fast.drawAccumulator, literal.drawAccumulator) << what;
    EXPECT_NE(fast.randomState, state) << what;
    state = fast.randomState;
  }
}

TEST(PlayList, FollowsNextProgressionAndStaysSmall) {
  // A long walk of wins and losses played on one block, checked against
  // NextProgression at every step.
  PlayList played;
  ProgressionArray list = {1, 2, 3};
  played.Start(list);
  std::uint32_t state = 7;
  std::size_t longest = list.size();
  for (int trade = 0; trade < 20000; ++trade) {
    if (list.empty()) {
      list = {1, 2, 3};
      played.Start(list);
    }
    // Mostly losses, so that lists grow long and the block must move.
    const char letter = NextRandomValue(state) % 100 < 30 ? 'W' : 'L';
    ASSERT_EQ(played.Stake(), ProgressionStake(list)) << trade;
    const bool usedUp = letter == 'W' ? played.Win() : (played.Lose(), played.Size() == 0);
    list = *NextProgression(letter, list);
    ASSERT_EQ(usedUp, list.empty()) << trade;
    ASSERT_EQ(ProgressionArray(played.slots.begin() + played.begin, played.slots.begin() + played.end), list)
        << trade;
    longest = std::max(longest, list.size());
  }
  EXPECT_LE(played.slots.size(), 2 * longest + 16);
  // A sum past the 32-bit range is held at the largest value, as NextProgression does.
  played.Start({INT32_MAX, 5});
  played.Lose();
  EXPECT_EQ(played.slots[played.end - 1], INT32_MAX);
}

}  // namespace
