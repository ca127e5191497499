// The arithmetic simulation's sampling as plainly written (a new list per trade from NextProgression, the draws
// from DrawTradeResult, the rules spelled out again): the fast run must match it to the last bit; bench/ times it.
#pragma once

#include <cstdint>

#include "core/progression.h"
#include "sim/random.h"
#include "sim/sample_tree.h"
#include "trade/trade_log.h"
#include "trade/trade_parameters.h"

// Plays samples from the last list of a consistent log with the numbers of tradeParameters and the shared generator.
inline SampleSums PlayLiteralSamples(const LogData& log, std::int64_t samples) {
  const TradeParameters& p = tradeParameters;
  const auto lot = [&](const ProgressionArray& list) {
    return static_cast<double>(ProgressionStake(list) * std::int64_t{p.unitLotSize});
  };
  double s = 0;
  for (std::size_t i = 0; i + 1 < log.size(); ++i)
    s = log[i].size() > log[i + 1].size() ? s + lot(log[i]) * p.takeProfit : s - lot(log[i]) * p.stopLoss;
  const double base = p.margin + s;
  SampleSums sums;
  for (std::int64_t sample = 0; sample < samples; ++sample) {
    ProgressionArray list = log.back();
    for (double t = 0;;) {
      const TradeResult result = DrawTradeResult(p.winRate);
      const bool won = result == TradeResult::Win;
      const ProgressionArray next = *NextProgression(result, list);
      t = won ? t + lot(list) * p.takeProfit : t - lot(list) * p.stopLoss;
      const bool completed = won && next.empty(), gone = !won && base + t <= 0;
      const bool tooBig = !won && !gone && lot(next) > ((base + t) * p.leverage) / p.rate;
      if (completed || gone || tooBig) {
        const double profit = gone ? -p.margin : s + t;
        sums.all = sums.all + profit;
        (completed ? sums.winOnly : sums.loseOnly) += profit;
        ++(completed ? sums.completed : sums.ruined);
        break;
      }
      list = next;
    }
  }
  return sums;
}
