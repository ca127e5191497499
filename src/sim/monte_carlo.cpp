// The Monte Carlo simulation and its CALCULATE command.
#include "sim/monte_carlo.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string_view>

#include "platform/platform.h"
#include "core/progression.h"
#include "core/trade_field.h"
#include "sim/arithmetic.h"
#include "sim/outputs.h"
#include "sim/random.h"
#include "trade/trade_inputs.h"
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
// is ruined, and sets the status. False when memory runs out.
bool PlayPath(const ProgressionArray& last, double base) {
  const double takeProfit = tradeParameters.takeProfit;
  const double stopLoss = tradeParameters.stopLoss;
  const int threshold = WinThreshold(tradeParameters.winRate);
  PlayList list;
  try {
    list.Start(last);
  } catch (const std::bad_alloc&) {
    return false;
  }
  double t = 0;
  for (;;) {
    const char letter = DrawWithThreshold(randomDraw.randomState, randomDraw.drawAccumulator, threshold);
    const double lot = LotSize(list.Stake());
    if (letter == 'W') {
      t = t + lot * takeProfit;
      const bool completed = list.Win();
      if (!AppendPoint(base + t)) return false;
      if (completed) {
        marginSeries.status = 'W';
        return true;
      }
      continue;
    }
    t = t - lot * stopLoss;
    try {
      list.Lose();
    } catch (const std::bad_alloc&) {
      return false;
    }
    if (!AppendPoint(base + t)) return false;
    const double margin = base + t;
    if (margin <= 0) {
      // A simulated margin is never shown below zero.
      marginSeries.points->back() = 0;
      marginSeries.status = 'L';
      return true;
    }
    if (LotSize(list.Stake()) > Capacity(margin)) {
      marginSeries.status = 'L';
      return true;
    }
  }
}

}  // namespace

bool RunMonteCarloSimulation(const LogData& log) {
  SeedOnce(randomDraw.monteCarloSeeded);
  if (TradeParametersRejected() || log.empty()) return true;

  const double margin = tradeParameters.margin;
  marginSeries.highValue = 0;
  marginSeries.lowValue = 0;
  marginSeries.status = '-';
  marginSeries.points.reset();
  try {
    std::vector<double> points;
    points.reserve(64);
    points.push_back(margin);
    marginSeries.points = std::move(points);
  } catch (const std::bad_alloc&) {
    return true;
  }

  double realised = 0;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const ProgressionArray* next = i + 1 < log.size() ? &log[i + 1] : nullptr;
    const char letter = CompareProgressionLengths(&log[i], next);
    if (letter == 'E') return true;
    if (letter == 'F') continue;
    if (letter == 'W') realised = realised + LotSize(ProgressionStake(log[i])) * tradeParameters.takeProfit;
    if (letter == 'L') realised = realised - LotSize(ProgressionStake(log[i])) * tradeParameters.stopLoss;
    if (!AppendPoint(margin + realised)) return true;
  }

  const double base = margin + realised;
  const ProgressionArray& last = log.back();
  if (base <= 0 || LotSize(ProgressionStake(last)) > Capacity(base)) {
    // Ruined before any trade is played; a logged point below zero stays.
    marginSeries.status = 'L';
  } else {
    // Numbers are never negative, so with every trade lost a list of stake 0
    // keeps the stake 0 for ever: the path would never end.
    if (WinThreshold(tradeParameters.winRate) == 0 && ProgressionStake(last) == 0) return true;
    if (!PlayPath(last, base)) return true;
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
