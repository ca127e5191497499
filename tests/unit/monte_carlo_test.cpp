// The Monte Carlo simulation through its CALCULATE command: the path it keeps
// for the chart and the five outputs, what survives a failure or a stop, and
// how a long path asks whether to go on and is drawn.
#include <optional>

#include "layout/chart.h"
#include "simulation_test.h"

namespace {

using MonteCarloTest = SimulationTest;
using Points = std::vector<double>;

const ShownBox kRunError = {BoxKind::Error,
                            L"エラーコード:02-62\nMONTE CARLO SIMULATION実行時にエラーが発生しました。"};

TEST_F(MonteCarloTest, CalculateKeepsThePathAndShowsItOrOneBox) {
  const MarginSeries earlier = {Points{1, 2}, 9, 2, 1, PathStatus::Won};
  struct Case {
    std::initializer_list<std::string> log;
    std::wstring_view inputs, shown;  // shown: profit, HIGH VALUE, LOW VALUE, STATUS, trade count
    Points points;
    std::tuple<std::int32_t, double, double, PathStatus> series;  // logged states, high, low, status
    std::optional<ShownBox> box = {};
  } cases[] = {
      // clang-format off
      {{"1,2,3"}, L"100000|25|100|1000|100|0.5|0.5", L"2000|102000|100000|WIN|1",
       {100000, 102000}, {1, 102000, 100000, PathStatus::Won}},
      // The next lot, 6000, exceeds the capacity 1000.
      {{"1,2,3"}, L"10000|1|1|1000|0|0.5|1", L"-9000|10000|1000|LOSE|2",
       {10000, 6000, 1000}, {1, 10000, 1000, PathStatus::Lost}},
      // A simulated margin of -3000 is kept as 0.
      {{"1,2,3"}, L"5000|1|1|1000|0|0.5|2", L"-5000|5000|0|LOSE|1", {5000, 0}, {1, 5000, 0, PathStatus::Lost}},
      // Logged 96000 and 91000, then from state 1 at 40 %: L W L L L; the lot of
      // 16000 exceeds the capacity of 58500 × 25 / 100.
      {{"1,2,3", "1,2,3,4", "1,2,3,4,5"}, L"100000|25|100|1000|40|0.5|1", L"-41500|100000|58500|LOSE|7",
       {100000, 96000, 91000, 85000, 88500, 81500, 71500, 58500}, {3, 100000, 58500, PathStatus::Lost}},
      // Logged losses beyond the margin stay below zero; nothing is simulated.
      {{"1,2,3", "1,2,3,4", "1,2,3,4,5"}, L"5000|1|1|1000|50|0.5|1", L"-9000|5000|-4000|LOSE|2",
       {5000, 1000, -4000}, {3, 5000, -4000, PathStatus::Lost}},
      {{"1,2,3"}, L"1|1000|1|1|100|0.5|0.5", L"2|3|1|WIN|1", {1, 3}, {1, 3, 1, PathStatus::Won}},
      // The live lot exceeds the capacity: a path of one point.
      {{"1,2,3"}, L"1000|1|1|1000|50|0.5|1", L"0|1000|1000|LOSE|0", {1000}, {1, 1000, 1000, PathStatus::Lost}},
      // A live list of one number ends at its first win (the first draw, at 42 %);
      // at 0 % a list of stake 0 could never end.
      {{"7"}, L"100000|25|100|1000|42|0.5|1", L"0|100000|100000|WIN|1",
       {100000, 100000}, {1, 100000, 100000, PathStatus::Won}},
      {{"1,2,3", "1,2,3,4", "0,0"}, L"100000|25|100|1000|0|0.5|1", L"a|b|c|d|e",
       {100000, 96000, 98500}, {9, 0, 0, PathStatus::Unfinished}, kRunError},
      {{}, L"100000|25|100|1000|50|0.5|0.5", L"a|b|c|d|e", {1, 2}, {9, 2, 1, PathStatus::Won},
       ShownBox{BoxKind::Error, L"エラーコード:02-61\nメモリの確保に失敗しました。"}},
      // Lists of equal length: the points so far stay, unfinished.
      {{"1,2,3", "1,2,3,4", "1,2,3,5"}, L"100000|25|100|1000|50|0.5|1", L"a|b|c|d|e",
       {100000, 96000}, {9, 0, 0, PathStatus::Unfinished}, kRunError},
      // clang-format on
  };
  for (const Case& c : cases) {
    ResetFakeUi();
    randomDraw = {1, 0, true, true};
    marginSeries = earlier;
    for (int i = 0; i < 5; ++i)
      fakeUi.controls[IDC_PROFIT + i] = Fields(L"a|b|c|d|e")[i];
    WriteLog(c.log);
    SetInputs(c.inputs);
    const std::wstring shown(c.inputs);
    EXPECT_EQ(MonteCarloCalculateCommand(), !c.box) << shown;
    EXPECT_EQ(Shown(IDC_PROFIT, IDC_TRADE_COUNT), Fields(c.shown)) << shown;
    EXPECT_EQ(fakeUi.boxes, c.box ? std::vector<ShownBox>{*c.box} : std::vector<ShownBox>{}) << shown;
    EXPECT_EQ(marginSeries.points, c.points) << shown;
    const MarginSeries& m = marginSeries;
    EXPECT_EQ(std::tuple(m.loggedStateCount, m.highValue, m.lowValue, m.status), c.series) << shown;
  }
}

TEST_F(MonteCarloTest, ConditionsThatCannotBeSimulatedLeaveTheLastPath) {
  const MarginSeries earlier = {Points{1, 3, 2}, 2, 3, 1, PathStatus::Won};
  marginSeries = earlier;
  tradeParameters = {{}, 100000, 25, 100, 1000, 1.5, 0.5, 0.5};  // a win rate above 1
  EXPECT_EQ(RunMonteCarloSimulation({{1, 2, 3}}), RunOutcome::Failed);
  const MarginSeries& m = marginSeries;
  EXPECT_EQ(std::tuple(m.points, m.loggedStateCount, m.highValue, m.lowValue, m.status),
            std::tuple(earlier.points, 2, 3.0, 1.0, PathStatus::Won));
}

TEST_F(MonteCarloTest, EachRunGoesOnWithTheSequence) {
  // From state 1 at 40 %: L W, then L L L L L W L W.
  SetInputs(L"100000|25|100|1000|40|0.5|0.5");
  ASSERT_TRUE(MonteCarloCalculateCommand());
  EXPECT_EQ(marginSeries.points, (Points{100000, 98000, 100500}));
  ASSERT_TRUE(MonteCarloCalculateCommand());
  EXPECT_EQ(marginSeries.points, (Points{100000, 98000, 95500, 92500, 89000, 85000, 89500, 85000, 91000}));
}

TEST_F(MonteCarloTest, ALongPathAsksEvery65536TradesAndAStopKeepsTheLastPath) {
  // At win rate 0 the path loses 1,414,211 times before the margin is gone.
  const std::wstring_view extreme = L"1000000|1000|0.000001|1|0|0.000001|0.000001";
  SetInputs(extreme);
  ASSERT_TRUE(MonteCarloCalculateCommand());
  EXPECT_EQ(Shown(IDC_PROFIT, IDC_TRADE_COUNT), Fields(L"-1000000|1000000|0|LOSE|1414211"));
  ASSERT_EQ(fakeUi.asked.size(), 21u);
  EXPECT_EQ(fakeUi.asked[20], (std::pair<std::int64_t, std::int64_t>{21 * 65536, 0}));
  // Drawn, the path has one corner per place it reaches, not one per trade.
  const std::optional<ChartLine> line = ComputeChartLine(marginSeries.points, 1, 1000000, 0, {});
  EXPECT_LT(line->points.size(), 500u);
  EXPECT_EQ(line->points.back(), (ChartPoint{925, 410}));

  const MarginSeries last = marginSeries;
  ResetFakeUi();
  fakeUi.stopAt = 2;
  for (int i = 0; i < 5; ++i)
    fakeUi.controls[IDC_PROFIT + i] = Fields(L"a|b|c|d|e")[i];
  SetInputs(extreme);
  EXPECT_FALSE(MonteCarloCalculateCommand());
  EXPECT_EQ(fakeUi.asked.size(), 2u);
  EXPECT_EQ(fakeUi.runs, std::vector<RunKind>{RunKind::MonteCarlo});
  EXPECT_FALSE(fakeUi.runOpen);
  EXPECT_TRUE(fakeUi.boxes.empty());
  EXPECT_EQ(Shown(IDC_PROFIT, IDC_TRADE_COUNT), Fields(L"a|b|c|d|e"));
  EXPECT_EQ(marginSeries.points, last.points);
}

}  // namespace
