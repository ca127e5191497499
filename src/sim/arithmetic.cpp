// The arithmetic simulation and its CALCULATE command.
#include "sim/arithmetic.h"

#include <string_view>

#include "platform/platform.h"
#include "res/resource.h"
#include "sim/outputs.h"
#include "sim/run_start.h"
#include "sim/sample_tree.h"
#include "sim/sampling_count.h"
#include "trade/trade_model.h"

namespace {

// The results of a run whose outcome is known without sampling: ruined at
// once, with the given profit.
void RuinedAtOnce(double profit) {
  arithmeticResults.ruinRate = 1;
  arithmeticResults.expectedAll = profit;
  arithmeticResults.expectedLoseOnly = profit;
}

// The sums of the samples as the results: the share of ruined samples and
// the mean profit of every group (0 for an empty one).
void StoreMeans(const SampleSums& sums, std::int32_t samples) {
  ArithmeticResults& results = arithmeticResults;
  results.ruinRate = static_cast<double>(sums.ruined) / samples;
  results.expectedAll = sums.all / samples;
  if (sums.completed > 0) results.expectedWinOnly = sums.winOnly / static_cast<double>(sums.completed);
  if (sums.ruined > 0) results.expectedLoseOnly = sums.loseOnly / static_cast<double>(sums.ruined);
}

}  // namespace

RunOutcome RunArithmeticSimulation(const LogData& log) {
  const RunStart start = StartRun(log, randomDraw.arithmeticSeeded, [](double) { return true; });
  if (start.kind == RunStart::Rejected) return RunOutcome::Failed;
  arithmeticResults = ArithmeticResults{};
  if (start.kind == RunStart::Failed) return RunOutcome::Failed;
  if (start.kind == RunStart::Ruined) {
    RuinedAtOnce(SampleProfit(start.run.model, start.run.realised, start.end, 0));
    return RunOutcome::Done;
  }

  SampleSums sums;
  const RunOutcome outcome = PlaySamples(start.run, samplingCount, sums);
  if (outcome == RunOutcome::Done) {
    StoreMeans(sums, samplingCount);
  } else {
    // What was played stays behind, unshown.
    arithmeticResults = {static_cast<double>(sums.ruined), sums.winOnly, sums.all, sums.loseOnly};
  }
  return outcome;
}

void ArithmeticCalculateCommand() {
  static constexpr std::wstring_view kMemoryCodes[] = {L"02-37", L"02-38", L"02-39", L"02-40",
                                                       L"02-41", L"02-42", L"02-43"};
  // A stopped run leaves the outputs as they were.
  if (!RunSimulationCommand({kMemoryCodes, L"02-44", L"02-45",
                             L"ARITHMETIC SIMULATION実行時にエラーが発生しました。", RunKind::Arithmetic,
                             RunArithmeticSimulation})) {
    return;
  }

  const ArithmeticResults& results = arithmeticResults;
  if (!ShowDecimalOutput(IDC_RUIN_RATE, results.ruinRate * 100, L"02-46", L"02-47")) return;
  if (!ShowDecimalOutput(IDC_EXPECTED_WIN_ONLY, results.expectedWinOnly, L"02-48", L"02-49")) return;
  if (!ShowDecimalOutput(IDC_EXPECTED_ALL, results.expectedAll, L"02-50", L"02-51")) return;
  ShowDecimalOutput(IDC_EXPECTED_LOSE_ONLY, results.expectedLoseOnly, L"02-52", L"02-53");
}
