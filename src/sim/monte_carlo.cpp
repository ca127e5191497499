// The Monte Carlo simulation and its CALCULATE command.
#include "sim/monte_carlo.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string_view>

#include "core/progression.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "sim/outputs.h"
#include "sim/run_start.h"
#include "trade/trade_model.h"

namespace {

// The path of the run under way. It is kept apart from marginSeries, which
// the chart shows until the run ends.
struct Path {
  std::optional<std::vector<double>> points{std::in_place};  // absent once memory ran out for it
  PathStatus status = PathStatus::Unfinished;
};

// Adds a point; when there is no memory for it the path is dropped.
bool AppendPoint(Path& path, double value) {
  try {
    path.points->push_back(value);
    return true;
  } catch (const std::bad_alloc&) {
    path.points.reset();
    return false;
  }
}

// Plays the path from the base margin until the set completes or the account
// is ruined, appending the margin after every trade, and sets the status.
// Asks whether to go on after every kTradesPerAsk trades.
RunOutcome PlayPath(const SamplingRun& run, Path& path) {
  PlayList list;
  try {
    list.Start(*run.live);
  } catch (const std::bad_alloc&) {
    return RunOutcome::Failed;
  }
  double t = 0;
  for (std::int64_t trades = 1;; ++trades) {
    const bool won = DrawWithThreshold(randomDraw.randomState, randomDraw.drawAccumulator, run.threshold) ==
                     TradeResult::Win;
    TradeEnd end;
    try {
      end = PlayTrade(run.model, run.base, list, t, won);
    } catch (const std::bad_alloc&) {
      return RunOutcome::Failed;
    }
    if (!AppendPoint(path, run.base + t)) return RunOutcome::Failed;
    if (end != TradeEnd::None) {
      // A simulated margin is never shown below zero.
      if (end == TradeEnd::RuinedByMargin) path.points->back() = 0;
      path.status = end == TradeEnd::Completed ? PathStatus::Won : PathStatus::Lost;
      return RunOutcome::Done;
    }
    if (trades % kTradesPerAsk == 0 && !ContinueRun(trades, 0)) return RunOutcome::Stopped;
  }
}

// Plays on from the start, whose points (the margin entered, one per logged
// trade) the path holds already: the simulated trades, or nothing when the
// logged trades have ruined the account.
RunOutcome PlayRun(const RunStart& start, Path& path) {
  switch (start.kind) {
    case RunStart::Play: return PlayPath(start.run, path);
    case RunStart::Ruined:
      // Ruined before any trade is played; a logged point below zero stays.
      path.status = PathStatus::Lost;
      return RunOutcome::Done;
    default: return RunOutcome::Failed;
  }
}

}  // namespace

RunOutcome RunMonteCarloSimulation(const LogData& log) {
  Path path;
  const RunStart start =
      StartRun(log, randomDraw.monteCarloSeeded, [&](double margin) { return AppendPoint(path, margin); });
  if (start.kind == RunStart::Rejected) return RunOutcome::Failed;
  const RunOutcome outcome = PlayRun(start, path);
  if (outcome == RunOutcome::Stopped) return outcome;  // the last path stays
  marginSeries.points = std::move(path.points);
  marginSeries.status = path.status;
  const bool done = outcome == RunOutcome::Done;
  marginSeries.highValue = done ? std::ranges::max(*marginSeries.points) : 0;
  marginSeries.lowValue = done ? std::ranges::min(*marginSeries.points) : 0;
  constexpr std::size_t kLargestCount = std::numeric_limits<std::int32_t>::max();
  if (done) marginSeries.loggedStateCount = static_cast<std::int32_t>(std::min(log.size(), kLargestCount));
  return outcome;
}

void ReleaseMarginSeries() { marginSeries.points.reset(); }

bool MonteCarloCalculateCommand() {
  static constexpr std::wstring_view kMemoryCodes[] = {L"02-54", L"02-55", L"02-56", L"02-57",
                                                       L"02-58", L"02-59", L"02-60"};
  // A stopped run leaves the outputs and the chart as they were.
  if (!RunSimulationCommand({kMemoryCodes, L"02-61", L"02-62",
                             L"MONTE CARLO SIMULATION実行時にエラーが発生しました。", RunKind::MonteCarlo,
                             RunMonteCarloSimulation})) {
    return false;
  }

  const std::vector<double>& points = *marginSeries.points;
  const double profit = points.back() - points.front();
  if (!ShowDecimalOutput(IDC_PROFIT, profit, L"02-63", L"02-64")) return false;
  if (!ShowDecimalOutput(IDC_HIGH_VALUE, marginSeries.highValue, L"02-65", L"02-66")) return false;
  if (!ShowDecimalOutput(IDC_LOW_VALUE, marginSeries.lowValue, L"02-67", L"02-68")) return false;
  SetControlText(IDC_STATUS, marginSeries.status == PathStatus::Won ? L"WIN" : L"LOSE");
  const double tradeCount = static_cast<double>(points.size() - 1);
  return ShowDecimalOutput(IDC_TRADE_COUNT, tradeCount, L"02-69", L"02-70");
}
