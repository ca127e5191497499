// The rules of one trade, written once: the lot size, the profit of a won and
// of a lost trade, the margin and capacity tests that follow a loss, how a
// sample of the rest of the set ends, and the replay of the trades the log has
// registered. REFERENCE, WIN, the set profit and both simulations use them.
#pragma once

#include <cstdint>
#include <optional>

#include "core/progression.h"
#include "trade/trade_log.h"

// The numbers of the trade conditions as one calculation reads them.
struct TradeModel {
  double margin;
  double leverage;
  double rate;
  std::int64_t unitLotSize;
  double takeProfit;
  double stopLoss;
};

// The numbers of tradeParameters now.
TradeModel CurrentTradeModel();

// True when the numbers of tradeParameters cannot be simulated: margin below
// 0, leverage below 1, rate not above 0, unit lot size below 1, TAKE PROFIT or
// STOP LOSS below the float nearest 0.000001, win rate outside 0 to 1. A
// number that is not finite fails as well. Every set of numbers the inputs'
// validators accept passes.
bool TradeParametersRejected();

// The lot size of a trade in currency units: its stake times the unit lot
// size, exact in 64 bits.
inline std::int64_t LotSize(const TradeModel& model, std::int64_t stake) { return stake * model.unitLotSize; }

// Adds the result of a trade of the stake to a running profit: lot size times
// TAKE PROFIT when won, minus lot size times STOP LOSS when lost.
inline void AddTrade(double& profit, const TradeModel& model, std::int64_t stake, bool won) {
  const auto lot = static_cast<double>(LotSize(model, stake));
  profit = won ? profit + lot * model.takeProfit : profit - lot * model.stopLoss;
}

// Whether a trade of the stake is more than a margin can carry: its lot size
// above (margin × leverage) / rate. A lot equal to that can be opened.
inline bool OverCapacity(const TradeModel& model, double margin, std::int64_t stake) {
  return static_cast<double>(LotSize(model, stake)) > (margin * model.leverage) / model.rate;
}

// How a trade leaves the set it belongs to.
enum class TradeEnd { None, Completed, RuinedByMargin, RuinedByCapacity };

// Plays one trade of list, adding its result to t, the profit since the base
// margin. A win that uses the list up completes the set. Only a loss is
// followed by the tests: the set is ruined when base + t is no longer above
// zero, or when the next trade is more than base + t can carry. Throws
// std::bad_alloc when the list cannot grow.
inline TradeEnd PlayTrade(const TradeModel& model, double base, PlayList& list, double& t, bool won) {
  AddTrade(t, model, list.Stake(), won);
  if (won) return list.Win() ? TradeEnd::Completed : TradeEnd::None;
  list.Lose();
  const double margin = base + t;
  if (margin <= 0) return TradeEnd::RuinedByMargin;
  if (OverCapacity(model, margin, list.Stake())) return TradeEnd::RuinedByCapacity;
  return TradeEnd::None;
}

// What an ended sample counts: its profit, the realised profit of the log
// plus t, or minus the margin entered when the margin is gone (a loss never
// exceeds the margin entered).
inline double SampleProfit(const TradeModel& model, double realised, TradeEnd end, double t) {
  return end == TradeEnd::RuinedByMargin ? -model.margin : realised + t;
}

// Whether no sample from the live list can ever end: with every trade lost
// (a threshold of 0) a list of stake 0 keeps the stake 0 for ever.
inline bool SampleNeverEnds(int winThreshold, const ProgressionArray& live) {
  return winThreshold == 0 && ProgressionStake(live) == 0;
}

// Replays the trades the log has registered, each list against the next:
// a shorter next list means a won trade, a longer one a lost trade. Calls
// onTrade with the profit so far after each trade. The realised profit of
// them all, or nothing when two neighbouring lists have the same length.
template <typename OnTrade>
std::optional<double> ReplayLog(const TradeModel& model, const LogData& log, OnTrade onTrade) {
  double realised = 0;
  for (std::size_t i = 0; i + 1 < log.size(); ++i) {
    const std::optional<TradeResult> result = CompareProgressionLengths(log[i], log[i + 1]);
    if (!result) return std::nullopt;
    AddTrade(realised, model, ProgressionStake(log[i]), result == TradeResult::Win);
    onTrade(realised);
  }
  return realised;
}

// The profit of the registered trades with the numbers of tradeParameters;
// 0 when two neighbouring lists have the same length.
double ComputeSetProfit(const LogData& log);
