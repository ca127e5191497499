// The Monte Carlo simulation and its CALCULATE command.
#include "sim/monte_carlo.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string_view>

#include "core/progression.h"
#include "core/trade_field.h"
#include "platform/platform.h"
#include "sim/outputs.h"
#include "sim/random.h"
#include "trade/trade_inputs.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

namespace {

// Adds a point; when there is no memory for it the series is dropped.
bool AppendPoint(double value) {
  try {
    marginSeries.points->push_back(value);
    return true;
  } catch (const std::bad_alloc&) {
    marginSeries.points.reset();
    return false;
  }
}

// Plays the path from the base margin until the set completes or the account
// is ruined, appending the margin after every trade, and sets the status.
// False when memory runs out.
bool PlayPath(const TradeModel& model, const ProgressionArray& live, double base) {
  const int threshold = WinThreshold(tradeParameters.winRate);
  PlayList list;
  try {
    list.Start(live);
  } catch (const std::bad_alloc&) {
    return false;
  }
  double t = 0;
  for (;;) {
    const bool won = DrawWithThreshold(randomDraw.randomState, randomDraw.drawAccumulator, threshold) == 'W';
    TradeEnd end;
    try {
      end = PlayTrade(model, base, list, t, won);
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (!AppendPoint(base + t)) return false;
    if (end == TradeEnd::None) continue;
    // A simulated margin is never shown below zero.
    if (end == TradeEnd::RuinedByMargin) marginSeries.points->back() = 0;
    marginSeries.status = end == TradeEnd::Completed ? 'W' : 'L';
    return true;
  }
}

// Starts a new series at the margin entered. False when there is no memory for it.
bool StartSeries(double margin) {
  marginSeries.highValue = 0;
  marginSeries.lowValue = 0;
  marginSeries.status = '-';
  marginSeries.points.reset();
  try {
    std::vector<double> points;
    points.reserve(64);
    points.push_back(margin);
    marginSeries.points = std::move(points);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

bool RunMonteCarloSimulation(const LogData& log) {
  SeedOnce(randomDraw.monteCarloSeeded);
  if (TradeParametersRejected() || log.empty()) return true;
  const TradeModel model = CurrentTradeModel();
  if (!StartSeries(model.margin)) return true;

  bool appended = true;
  const std::optional<double> realised =
      ReplayLog(model, log, [&](double s) { appended = appended && AppendPoint(model.margin + s); });
  if (!realised || !appended) return true;

  const double base = model.margin + *realised;
  const ProgressionArray& live = log.back();
  if (base <= 0 || OverCapacity(model, base, ProgressionStake(live))) {
    // Ruined before any trade is played; a logged point below zero stays.
    marginSeries.status = 'L';
  } else if (SampleNeverEnds(WinThreshold(tradeParameters.winRate), live) || !PlayPath(model, live, base)) {
    return true;
  }

  marginSeries.highValue = SeriesMaximum();
  marginSeries.lowValue = SeriesMinimum();
  constexpr std::size_t kLargestCount = std::numeric_limits<std::int32_t>::max();
  marginSeries.loggedStateCount = static_cast<std::int32_t>(std::min(log.size(), kLargestCount));
  return false;
}

double SeriesMaximum() {
  if (!marginSeries.points || marginSeries.points->empty()) return 0;
  double largest = marginSeries.points->front();
  for (double point : *marginSeries.points) {
    if (point > largest) largest = point;
  }
  return largest;
}

double SeriesMinimum() {
  if (!marginSeries.points || marginSeries.points->empty()) return 0;
  double smallest = marginSeries.points->front();
  for (double point : *marginSeries.points) {
    if (point < smallest) smallest = point;
  }
  return smallest;
}

void ReleaseMarginSeries() { marginSeries.points.reset(); }

bool MonteCarloCalculateCommand() {
  static constexpr std::wstring_view kMemoryCodes[] = {L"02-54", L"02-55", L"02-56", L"02-57",
                                                       L"02-58", L"02-59", L"02-60"};
  if (!ReadTradeInputs(kTradeFields, kMemoryCodes)) return false;
  ParseTradeParameters();
  ReleaseTradeTexts();

  std::optional<LogData> log = ParseTradeLog();
  if (!log) {
    ShowError(L"02-61", kReasonNoMemory);
    return false;
  }
  const bool failed = RunMonteCarloSimulation(*log);
  log.reset();
  if (failed) {
    ShowError(L"02-62", L"MONTE CARLO SIMULATION実行時にエラーが発生しました。");
    return false;
  }

  const std::vector<double>& points = *marginSeries.points;
  const double profit = points.back() - points.front();
  if (!ShowDecimalOutput(IDC_PROFIT, profit, L"02-63", L"02-64")) return false;
  if (!ShowDecimalOutput(IDC_HIGH_VALUE, marginSeries.highValue, L"02-65", L"02-66")) return false;
  if (!ShowDecimalOutput(IDC_LOW_VALUE, marginSeries.lowValue, L"02-67", L"02-68")) return false;
  SetControlText(IDC_STATUS, marginSeries.status == 'W' ? L"WIN" : L"LOSE");
  const double tradeCount = static_cast<double>(points.size() - 1);
  return ShowDecimalOutput(IDC_TRADE_COUNT, tradeCount, L"02-69", L"02-70");
}
