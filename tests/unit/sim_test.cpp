// Both simulations, the draw, the fast sampling against the plain loop, the sampling count and the version check.
#include <gtest/gtest.h>

#include "fake_ui.h"
#include "literal_run.h"
#include "net/version_check.h"
#include "res/version.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "sim/run_progress.h"
#include "sim/sampling_count.h"

namespace {

using Asked = std::vector<std::pair<std::int64_t, std::int64_t>>;
using Points = std::vector<double>;

// Start(): a log of the lists ("1,2,3"; none: no log), the generator at state 1, the samples, the inputs.
class Simulation : public testing::Test {
 protected:
  void TearDown() override {
    std::tie(fakeUi, randomDraw, arithmeticResults, marginSeries, tradeParameters, samplingCount) =
        std::tuple(FakeUi{}, RandomDraw{}, ArithmeticResults{}, MarginSeries{}, TradeParameters{}, 1000000);
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

// Both CALCULATEs on one log and the same inputs, each from state 1. ARITHMETIC shows the ruin rate, WIN ONLY,
// WIN & LOSE and LOSE ONLY; MONTE CARLO the profit, HIGH VALUE, LOW VALUE, STATUS and the trade count, and
// keeps the path for the chart. A failed command shows one box, and the outputs keep their texts.
TEST_F(Simulation, BothCalculatesShowTheirResultsOrOneBoxEach) {
  const struct { std::initializer_list<std::string> log; std::wstring_view inputs, arithmetic, monteCarlo;
                 std::optional<MarginSeries> series = {}; Boxes boxes = {}; std::int32_t samples = 1000; } cases[] = {
      {{"1,2,3"}, L"100000|25|100|1000|100|0.5|0.5", L"0|2000|2000|0", L"2000|102000|100000|WIN|1"},
      {{"1,2,3"}, L"0.01|1|1000|1|0|0.000001|0.000001", L"100|0|0|0", L"0|0.01|0.01|LOSE|0"},  // no lot fits
      // A loss beyond the margin counts the margin and leaves the path at 0; a lot equal to what the margin
      // carries is played; a loss may leave 1, which cannot carry the next lot of 5000.
      {{"1,2,3"}, L"5000|1|1|1000|0|0.5|2", L"100|0|-5000|-5000", L"-5000|5000|0|LOSE|1"},
      {{"1,2,3"}, L"9000|1|1|1000|0|0.5|1", L"100|0|-9000|-9000", L"-9000|9000|0|LOSE|2"},
      {{"1,2,3"}, L"10001|1|1|1000|0|0.5|2.5", L"100|0|-10000|-10000", L"-10000|10001|1|LOSE|1"},
      // Logged trades that leave no margin (the path stays below 0) or too little for the lot of 5000: ruined
      // without a draw. A margin of 1 carries the lot of 5.
      {{"1,2,3", "1,2,3,4"}, L"1000|1|1|100|50|0.5|3", L"100|0|-1000|-1000", L"-1200|1000|-200|LOSE|1"},
      {{"1,2,3", "1,2,3,4"}, L"8000|1|1|1000|50|0.5|1", L"100|0|-4000|-4000", L"-4000|8000|4000|LOSE|1"},
      {{"1,2,3", "1,2,3,4"}, L"4001|1000|1|1|100|1|1000", L"0|-3995|-3995|0", L"-3995|4001|1|WIN|2"},
      // From state 1 at 40 %: L W L L L, where the lot of 16000 exceeds 58500 × 25 / 100; then L L W L W.
      {{"1,2,3", "1,2,3,4", "1,2,3,4,5"}, L"100000|25|100|1000|40|0.5|1", L"50|-20500|-31000|-41500",
       L"-41500|100000|58500|LOSE|7", MarginSeries{Points{100000, 96000, 91000, 85000, 88500, 81500, 71500, 58500},
                                                    3, 100000, 58500, PathStatus::Lost}, {}, 2},
      // A live list of stake 0 could never end at win rate 0; at 1 % it ends at its first win, here the 18th.
      {{"1,2,3", "1,2,3,4", "7"}, L"100000|25|100|1000|1|0.5|0.5", L"0|500|500|0", L"500|100500|98000|WIN|20"},
      {{"7"}, L"100000|25|100|1000|0|0.5|0.5", L"a|b|c|d", L"e|f|g|h|i", {}, {kArithmeticFailed, kPathFailed}},
      {{}, L"100000|25|100|1000|50|0.5|0.5", L"a|b|c|d", L"e|f|g|h|i", {}, {kNoLog, kNoPathLog}},
      // Lists of equal length: the points so far stay, unfinished.
      {{"1,2,3", "1,2,3,4", "1,2,3,5"}, L"100000|25|100|1000|50|0.5|1", L"a|b|c|d", L"e|f|g|h|i",
       MarginSeries{Points{100000, 96000}, 9, 0, 0, PathStatus::Unfinished}, {kArithmeticFailed, kPathFailed}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.inputs.data());
    Start(c.log, c.samples, c.inputs);
    SetControls(IDC_RUIN_RATE, L"a|b|c|d|e|f|g|h|i");  // the outputs of both panels
    ArithmeticCalculateCommand();
    randomDraw = {1, 0, true, true};
    marginSeries = {Points{1}, 9, 1, 1, PathStatus::Won};
    EXPECT_EQ(MonteCarloCalculateCommand(), c.boxes.empty());
    EXPECT_EQ(std::pair(Shown(IDC_RUIN_RATE, IDC_EXPECTED_LOSE_ONLY), Shown(IDC_PROFIT, IDC_TRADE_COUNT)),
              std::pair(std::wstring(c.arithmetic), std::wstring(c.monteCarlo)));
    EXPECT_EQ(fakeUi.boxes, c.boxes);
    EXPECT_EQ(c.series.value_or(marginSeries), marginSeries);  // where the row gives the path
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
// sample, or the path, loses 1,414,211 times); a run stopped between samples or within one leaves the outputs.
TEST_F(Simulation, ALongRunAsksNowAndThenAndStopsWhenTold) {
  Start({"1,2,3"}, 10000, L"1000000|25|100|1000|37|0.5|0.5");  // long samples leave the tree
  fakeUi.stopAt = 2;
  ArithmeticCalculateCommand();
  EXPECT_EQ(std::tuple(fakeUi.asked, fakeUi.runs, fakeUi.runOpen, fakeUi.boxes),
            std::tuple(Asked{{4096, 10000}, {8192, 10000}}, std::vector{RunKind::Arithmetic}, false, Boxes{}));
  EXPECT_EQ(Shown(IDC_RUIN_RATE, IDC_EXPECTED_LOSE_ONLY), L"|||");
  Start({"1,2,3"}, 1, L"1000000|1000|0.000001|1|0|0.000001|0.000001");
  ArithmeticCalculateCommand();
  MonteCarloCalculateCommand();
  fakeUi.stopAt = 43;  // ARITHMETIC again, stopped within its one sample
  ArithmeticCalculateCommand();
  EXPECT_EQ(Shown(IDC_RUIN_RATE, IDC_TRADE_COUNT), L"100|0|-1000000|-1000000|-1000000|1000000|0|LOSE|1414211");
  EXPECT_EQ(std::tuple(fakeUi.asked.size(), fakeUi.asked[20], fakeUi.asked[41], fakeUi.runs),
            std::tuple(43u, Asked::value_type(0, 1), Asked::value_type(21 * 65536, 0),
                       std::vector{RunKind::Arithmetic, RunKind::MonteCarlo, RunKind::Arithmetic}));
}

// Each simulation seeds from the clock's low 32 bits, 500 values on (1000 gives 942875036, 2000 1047079940),
// at its first run, even a failed one (lists of equal length), and never again; the draws' sum runs on. A draw
// wins below the win rate's nearest whole percent: 0.29 × 100 is 28.999...
TEST_F(Simulation, EachSimulationSeedsFromTheClockAtItsFirstRunAndDrawsByWholePercents) {
  constexpr auto A = RunArithmeticSimulation, M = RunMonteCarloSimulation;
  const LogData fresh = {{1, 2, 3}}, equal = {{1, 2, 3}, {4, 5, 6}};
  const struct { std::int64_t clock; RunOutcome (*run)(const LogData&); const LogData& log; std::uint32_t state; }
  runs[] = {{0x100000000 + 1000, A, equal, 942875036}, {2000, A, fresh, 942875036}, {2000, M, fresh, 1047079940},
            {3000, M, equal, 1047079940}};
  tradeParameters = {{}, 0.01, 1, 1000, 1, 0, 0.000001, 0.000001};  // no lot fits: ruined without a draw
  randomDraw = {0, 777, false, false};
  for (const auto& r : runs) {
    SetClockForTesting(r.clock);
    r.run(r.log);
    EXPECT_EQ(std::tuple(randomDraw.randomState, randomDraw.drawAccumulator), std::tuple(r.state, 777)) << r.clock;
  }
  SetClockForTesting(std::nullopt);
  tradeParameters.stopLoss = 0;  // conditions no input gives: both runs fail before their first trade
  EXPECT_EQ(std::pair(A(fresh), M(fresh)), std::pair(RunOutcome::Failed, RunOutcome::Failed));
  EXPECT_EQ(WinThreshold(0.29), 29);
}

TEST(ProgressText, CountsAndTheTimeStillNeededAtThePaceSoFar) {
  constexpr RunKind A = RunKind::Arithmetic;
  const struct { RunKind kind; std::int64_t done, total, elapsedMs; std::wstring_view text; } cases[] = {
      {A, 123456, 1000000, 1111, L"計算中です。 123456 / 1000000 サンプル\n残り時間 約8秒"},
      {A, 250000, 1000000, 2700000, L"計算中です。 250000 / 1000000 サンプル\n残り時間 約2時間15分"},
      {A, 1, 4, 66499, L"計算中です。 1 / 4 サンプル\n残り時間 約3分19秒"},
      {A, 1, 4, 66500, L"計算中です。 1 / 4 サンプル\n残り時間 約3分20秒"},
      {A, 0, 1000000, 900, L"計算中です。 0 / 1000000 サンプル\n残り時間 計算中"},
      {RunKind::MonteCarlo, 12345678, 0, 5000, L"計算中です。 12345678 トレード"}};
  for (const auto& c : cases) EXPECT_EQ(ProgressText(c.kind, c.done, c.total, c.elapsedMs), c.text);
}

// SAVE writes the first seven characters as typed; the dialog then shows the count the file gives: its
// digits held within 1 to 1000000, or 1000000 for any other text or no file.
TEST(SamplingCount, TheDialogSavesTheTypedTextAndShowsTheCountItGives) {
  const TempDir dir;
  SamplingCountPath = dir.File("arithmetic_simulation.txt");
  EXPECT_EQ(OpenSamplingCountDialog().text, L"1000000");
  const struct { std::optional<std::wstring> typed; std::string stored; std::wstring shown; } cases[] = {
      {L"0500", "0500", L"500"}, {L"12345678", "1234567", L"1000000"}, {L"", "", L"1"},
      {L"１２", "\x82\x50\x82\x51", L"1000000"}, {{}, "100\r\n", L"1000000"}, {{}, std::string(400, '9'), L"1000000"}};
  for (const auto& c : cases) {
    if (!c.typed) WriteBytes(SamplingCountPath, c.stored);
    const SiteError error = c.typed ? SaveSamplingCountText(*c.typed) : SiteError{};
    const SamplingCountOpening opening = OpenSamplingCountDialog();
    EXPECT_EQ(std::tuple(error.code, ReadBytes(SamplingCountPath), opening.text, opening.error.code),
              std::tuple(L"", c.stored, c.shown, L""));
  }
}

TEST(VersionCheck, AnswersEachServerTextWithOneBoxAsTheOwnVersionSeesIt) {
  EXPECT_EQ(std::string_view(TALLOWIND_TITLED(2, 13)), "Tallowind Version 2.13");  // the About box's title
  const std::wstring url = L"" TALLOWIND_DOWNLOAD_URL;
  const auto newer = [&](const std::string& v) {  // the message names the version as sent
    return ShownBox{BoxKind::VersionResult, L"新しいバージョンが公開されています。\n最新バージョンはVersion " +
                    std::wstring(v.begin(), v.end()) + L"です。\nダウンロードはこちらから可能です。→" + url};
  };
  const ShownBox upToDate{BoxKind::VersionResult, L"このソフトウェアは最新バージョンです。"};
  const ShownBox bad{BoxKind::Error, L"エラーコード:02-02\nバージョン情報へのアクセスに失敗しました。"};
  // The message holds 105 bytes of its own and the address; 1024 fit.
  const std::string longest = "2." + std::string(1024 - 105 - url.size() - 2, '5'), second = TALLOWIND_SHORT(2, 13);
  // Own version "": the program's own, 1.0, through the check's command.
  const struct { std::optional<std::string> reply; std::string own; ShownBox box; } cases[] = {
      {"1.0", "", upToDate}, {"010.50", "", newer("010.50")}, {"2.13", second, upToDate},
      {"2.131", second, newer("2.131")}, {longest, "", newer(longest)}, {longest + "5", "", bad},
      {"1.1\r\n", "", bad}, {std::string("1.1\0", 4), "", bad},
      {std::string(65536, '0'), "", upToDate}, {std::string(65537, '0'), "", bad},
      {std::nullopt, "", {BoxKind::Error, L"エラーコード:02-01\nWEBサーバへのアクセスに失敗しました。"}}};
  for (const auto& [reply, own, box] : cases) {
    fakeUi = {};
    fakeUi.reply = reply;
    own.empty() ? VersionCheckCommand() : AnswerVersionText(reply, own);
    EXPECT_EQ(fakeUi.boxes, Boxes{box}) << reply.value_or("(none)").substr(0, 20);
  }
}

}  // namespace
