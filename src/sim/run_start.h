// The start of a run of either simulation, written once: from the trade log
// to where the first simulated trade is played.
#pragma once

#include <optional>

#include "sim/random.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

// Everything the simulated trades read, worked out once per run.
struct SamplingRun {
  TradeModel model;
  double realised;               // s, the profit of the logged trades
  double base;                   // B = margin + s
  int threshold;                 // the win rate in whole percent
  const ProgressionArray* live;  // the list every simulated set starts from
};

// Where a run stands before its first simulated trade.
struct RunStart {
  enum Kind {
    Rejected,  // conditions that cannot be simulated, or an empty log
    Failed,    // lists of equal length, a margin not kept, or a set that never ends
    Ruined,    // the logged trades leave the base margin gone or too small
    Play,      // the simulated trades can begin
  } kind;
  SamplingRun run{};              // from Ruined on
  TradeEnd end = TradeEnd::None;  // how a Ruined start ended
};

// Seeds the generator at the simulation's first run (seeded is its flag),
// even one that then fails, and rejects conditions that cannot be simulated
// and an empty log. Then replays the logged trades, calling onMargin with the
// margin entered and the margin after each logged trade; false from onMargin
// fails the run. The live list is ruined at once when the base margin is
// gone or cannot carry its lot; a live list of stake 0 at a win rate of 0
// could never end, which fails the run.
template <typename OnMargin>
RunStart StartRun(const LogData& log, bool& seeded, OnMargin onMargin) {
  SeedOnce(seeded);
  if (TradeParametersRejected() || log.empty()) return {RunStart::Rejected};
  const TradeModel model = CurrentTradeModel();
  bool kept = onMargin(model.margin);
  const std::optional<double> realised =
      ReplayLog(model, log, [&](double s) { kept = kept && onMargin(model.margin + s); });
  if (!realised || !kept) return {RunStart::Failed};
  const SamplingRun run{model, *realised, model.margin + *realised, WinThreshold(tradeParameters.winRate),
                        &log.back()};
  if (run.base <= 0) return {RunStart::Ruined, run, TradeEnd::RuinedByMargin};
  if (OverCapacity(model, run.base, ProgressionStake(*run.live))) {
    return {RunStart::Ruined, run, TradeEnd::RuinedByCapacity};
  }
  if (SampleNeverEnds(run.threshold, *run.live)) return {RunStart::Failed, run};
  return {RunStart::Play, run};
}
