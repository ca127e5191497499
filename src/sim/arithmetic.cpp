// The arithmetic simulation and its CALCULATE command.
#include "sim/arithmetic.h"

#include <optional>
#include <string_view>

#include "platform/platform.h"
#include "res/resource.h"
#include "sim/outputs.h"
#include "sim/random.h"
#include "sim/sample_tree.h"
#include "sim/sampling_count.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

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
  SeedOnce(randomDraw.arithmeticSeeded);
  if (TradeParametersRejected() || log.empty()) return RunOutcome::Failed;
  const TradeModel model = CurrentTradeModel();
  const std::optional<double> realised = ReplayLog(model, log, [](double) {});
  arithmeticResults = ArithmeticResults{};
  if (!realised) return RunOutcome::Failed;
  const SamplingRun run{model, *realised, model.margin + *realised, WinThreshold(tradeParameters.winRate),
                        &log.back()};
  if (run.base <= 0) {
    RuinedAtOnce(-model.margin);  // the logged trades have used the margin up
    return RunOutcome::Done;
  }
  if (OverCapacity(model, run.base, ProgressionStake(*run.live))) {
    RuinedAtOnce(run.realised);
    return RunOutcome::Done;
  }
  if (SampleNeverEnds(run.threshold, *run.live)) return RunOutcome::Failed;

  SampleSums sums;
  const RunOutcome outcome = PlaySamples(run, samplingCount, sums);
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
