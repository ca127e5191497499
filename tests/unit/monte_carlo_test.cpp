// Tests of the Monte Carlo simulation: the worked examples through the
// CALCULATE command with the texts it shows, the margin series each run
// leaves, and what survives each failure.
#include "sim/monte_carlo.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_ui.h"
#include "io/files.h"
#include "io/paths.h"
#include "sim/random.h"
#include "trade/trade_parameters.h"

namespace {

using Inputs = TradeInputs;

// The five outputs: profit, HIGH VALUE, LOW VALUE, STATUS, trade count.
using Outputs = std::array<std::wstring, 5>;

using Points = std::vector<double>;

constexpr std::wstring_view kRunError = L"MONTE CARLO SIMULATION実行時にエラーが発生しました。";

class MonteCarloTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeLogPath = dir.File("trade_query.txt");
    ResetFakeUi();
    randomDraw = RandomDraw{};
    randomDraw.randomState = 1;
    randomDraw.monteCarloSeeded = true;
    marginSeries = MarginSeries{};
    tradeParameters = TradeParameters{};
    WriteLog({"1,2,3"});
  }
  void TearDown() override {
    ResetFakeUi();
    randomDraw = RandomDraw{};
    marginSeries = MarginSeries{};
    tradeParameters = TradeParameters{};
    TradeLogPath.clear();
  }

  void WriteLog(std::initializer_list<std::string> lists) {
    ASSERT_TRUE(WriteTextFile(TradeLogPath, LogText(lists)));
  }

  Outputs ShownOutputs() {
    return {fakeUi.controls[IDC_PROFIT], fakeUi.controls[IDC_HIGH_VALUE],
            fakeUi.controls[IDC_LOW_VALUE], fakeUi.controls[IDC_STATUS],
            fakeUi.controls[IDC_TRADE_COUNT]};
  }

  // Runs CALCULATE, expects success without a box, the five outputs and the
  // path.
  void ExpectPath(const Inputs& inputs, const Outputs& outputs, const Points& points) {
    SetTradeInputs(inputs);
    EXPECT_TRUE(MonteCarloCalculateCommand());
    EXPECT_TRUE(fakeUi.boxes.empty());
    EXPECT_EQ(ShownOutputs(), outputs);
    ASSERT_TRUE(marginSeries.points);
    EXPECT_EQ(*marginSeries.points, points);
  }

  TempDir dir;
};

TEST_F(MonteCarloTest, WinRate100CompletesTheSetAtOnce) {
  ExpectPath({L"100000", L"25", L"100", L"1000", L"100", L"0.5", L"0.5"},
             {L"2000", L"102000", L"100000", L"WIN", L"1"}, {100000, 102000});
  EXPECT_EQ(marginSeries.status, 'W');
  EXPECT_EQ(marginSeries.loggedStateCount, 1);
  EXPECT_EQ(marginSeries.highValue, 102000);
  EXPECT_EQ(marginSeries.lowValue, 100000);
}

TEST_F(MonteCarloTest, WinRate0EndsWhenTheNextLotDoesNotFit) {
  ExpectPath({L"10000", L"1", L"1", L"1000", L"0", L"0.5", L"1"},
             {L"-9000", L"10000", L"1000", L"LOSE", L"2"}, {10000, 6000, 1000});
  EXPECT_EQ(marginSeries.status, 'L');
}

TEST_F(MonteCarloTest, ASimulatedMarginBelowZeroIsStoredAsZero) {
  ExpectPath({L"5000", L"1", L"1", L"1000", L"0", L"0.5", L"2"}, {L"-5000", L"5000", L"0", L"LOSE", L"1"},
             {5000, 0});
}

TEST_F(MonteCarloTest, TwoLoggedLossesThenARandomPath) {
  // Logged points 96000 and 91000; the path goes on from 1, 2, 3, 4, 5. From
  // state 1 the draws modulo 100 are 41, 8, 42, 42, 75: at 40 % L W L L L.
  // Lots 6000 (L), 7000 (W, list 3, 4), 7000 (L), 10000 (L), 13000 (L); then
  // the lot of 16000 exceeds the capacity of 58500 × 25 / 100 = 14625.
  WriteLog({"1,2,3", "1,2,3,4", "1,2,3,4,5"});
  ExpectPath({L"100000", L"25", L"100", L"1000", L"40", L"0.5", L"1"},
             {L"-41500", L"100000", L"58500", L"LOSE", L"7"},
             {100000, 96000, 91000, 85000, 88500, 81500, 71500, 58500});
  EXPECT_EQ(marginSeries.loggedStateCount, 3);
}

TEST_F(MonteCarloTest, LoggedLossesBeyondTheMarginStayBelowZero) {
  WriteLog({"1,2,3", "1,2,3,4", "1,2,3,4,5"});
  const std::uint32_t state = randomDraw.randomState;
  ExpectPath({L"5000", L"1", L"1", L"1000", L"50", L"0.5", L"1"},
             {L"-9000", L"5000", L"-4000", L"LOSE", L"2"}, {5000, 1000, -4000});
  EXPECT_EQ(marginSeries.loggedStateCount, 3);
  EXPECT_EQ(marginSeries.points->size(), 3u);
  EXPECT_EQ(randomDraw.randomState, state);  // nothing simulated
}

TEST_F(MonteCarloTest, ALiveLotOverTheCapacityPlaysNothing) {
  ExpectPath({L"1000", L"1", L"1", L"1000", L"50", L"0.5", L"1"}, {L"0", L"1000", L"1000", L"LOSE", L"0"},
             {1000});
}

TEST_F(MonteCarloTest, RunsContinueTheSequence) {
  SetTradeInputs({L"100000", L"25", L"100", L"1000", L"50", L"0.5", L"0.5"});
  std::uint32_t state = randomDraw.randomState;
  for (int run = 0; run < 5; ++run) {
    ASSERT_TRUE(MonteCarloCalculateCommand());
    EXPECT_NE(randomDraw.randomState, state);
    state = randomDraw.randomState;
    const Points& points = *marginSeries.points;
    EXPECT_EQ(ShownOutputs()[4], std::to_wstring(points.size() - 1));
  }
}

TEST_F(MonteCarloTest, NeighbouringListsOfEqualLengthKeepThePointsSoFar) {
  marginSeries.loggedStateCount = 9;
  fakeUi.controls[IDC_PROFIT] = L"old";
  WriteLog({"1,2,3", "1,2,3,4", "1,2,3,5"});
  SetTradeInputs({L"100000", L"25", L"100", L"1000", L"50", L"0.5", L"1"});
  EXPECT_FALSE(MonteCarloCalculateCommand());
  ASSERT_EQ(fakeUi.boxes.size(), 1u);
  EXPECT_EQ(fakeUi.boxes[0], (ShownBox{BoxKind::Error, ErrorText(L"02-62", kRunError)}));
  EXPECT_EQ(fakeUi.controls[IDC_PROFIT], L"old");
  ASSERT_TRUE(marginSeries.points);
  EXPECT_EQ(*marginSeries.points, (Points{100000, 96000}));
  EXPECT_EQ(marginSeries.status, '-');
  EXPECT_EQ(marginSeries.highValue, 0);
  EXPECT_EQ(marginSeries.lowValue, 0);
  EXPECT_EQ(marginSeries.loggedStateCount, 9);
}

TEST_F(MonteCarloTest, FailedPreconditionsLeaveTheSeriesUnchanged) {
  marginSeries = {Points{1, 2, 3}, 2, 3, 1, 'W'};
  tradeParameters = {{}, 100000, 25, 100, 1000, 1.5, 0.5, 0.5};  // win rate above 1
  EXPECT_TRUE(RunMonteCarloSimulation({{1, 2, 3}}));
  EXPECT_EQ(*marginSeries.points, (Points{1, 2, 3}));
  EXPECT_EQ(marginSeries.status, 'W');
  EXPECT_EQ(marginSeries.loggedStateCount, 2);
  EXPECT_EQ(marginSeries.highValue, 3);
}

TEST_F(MonteCarloTest, AMissingLogLeavesEverythingAsItWas) {
  marginSeries = {Points{1, 2, 3}, 2, 3, 1, 'W'};
  std::filesystem::remove(TradeLogPath);
  SetTradeInputs({L"100000", L"25", L"100", L"1000", L"50", L"0.5", L"0.5"});
  EXPECT_FALSE(MonteCarloCalculateCommand());
  ASSERT_EQ(fakeUi.boxes.size(), 1u);
  EXPECT_EQ(fakeUi.boxes[0], (ShownBox{BoxKind::Error, ErrorText(L"02-61", kReasonNoMemory)}));
  EXPECT_EQ(*marginSeries.points, (Points{1, 2, 3}));
  EXPECT_EQ(marginSeries.status, 'W');
}

// A live list of stake 0 at a win rate of 0 would add unchanged points for
// ever.
TEST_F(MonteCarloTest, AStakeOfZeroAtWinRate0FailsInsteadOfGrowingForEver) {
  for (const char* live : {"7", "0,0"}) {
    WriteLog({"1,2,3", "1,2,3,4", live});
    ResetFakeUi();
    SetTradeInputs({L"100000", L"25", L"100", L"1000", L"0", L"0.5", L"1"});
    EXPECT_FALSE(MonteCarloCalculateCommand()) << live;
    ASSERT_EQ(fakeUi.boxes.size(), 1u) << live;
    EXPECT_EQ(fakeUi.boxes[0], (ShownBox{BoxKind::Error, ErrorText(L"02-62", kRunError)}));
    ASSERT_TRUE(marginSeries.points);
    EXPECT_EQ(*marginSeries.points, (Points{100000, 96000, 98500})) << live;
    EXPECT_EQ(marginSeries.status, '-');
  }
  // At another win rate the path ends at its first win, which changes nothing.
  WriteLog({"7"});
  ResetFakeUi();
  SetTradeInputs({L"100000", L"25", L"100", L"1000", L"1", L"0.5", L"1"});
  EXPECT_TRUE(MonteCarloCalculateCommand());
  EXPECT_EQ(marginSeries.status, 'W');
  EXPECT_EQ(ShownOutputs()[0], L"0");
  EXPECT_EQ(marginSeries.points->back(), 100000);
}

TEST_F(MonteCarloTest, SeriesExtremesOfThePoints) {
  EXPECT_EQ(SeriesMaximum(), 0);
  EXPECT_EQ(SeriesMinimum(), 0);
  marginSeries.points = Points{5, 9, -2, 9, -2, 4};
  EXPECT_EQ(SeriesMaximum(), 9);
  EXPECT_EQ(SeriesMinimum(), -2);
  marginSeries.points = Points{-7};
  EXPECT_EQ(SeriesMaximum(), -7);
  EXPECT_EQ(SeriesMinimum(), -7);
  ReleaseMarginSeries();
  EXPECT_FALSE(marginSeries.points);
}

}  // namespace
