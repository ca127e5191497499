// The Monte Carlo simulation: one random continuation of the live set, with
// the margin after every logged and simulated trade kept for the chart.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/run_progress.h"
#include "trade/trade_log.h"

// How the path of the last run ended: the set completed (WIN) or the account
// ruined (LOSE); unfinished before the first run and after a failed one.
enum class PathStatus { Unfinished, Won, Lost };

struct MarginSeries {
  // The path of the margin: the margin entered, one point per logged trade,
  // then one per simulated trade. Absent before the first run and after a run
  // that ran out of memory for it.
  std::optional<std::vector<double>> points;
  // The index of the first simulated point: the number of lists of the log of
  // the last successful run.
  std::int32_t loggedStateCount;
  double highValue;  // the largest and the smallest point of a completed path,
  double lowValue;   // 0 after a failed run
  PathStatus status = PathStatus::Unfinished;
  bool operator==(const MarginSeries&) const = default;
};

inline MarginSeries marginSeries;

// Plays one path from the last list of log with the numbers of
// tradeParameters, asking now and then whether to go on, and puts it into
// marginSeries when it ends. Failed when a precondition fails (marginSeries is
// then unchanged), two neighbouring lists have equal lengths, a live list of
// stake 0 would be played at a win rate of 0 (the path could never end), or
// memory runs out (marginSeries then holds what was played, unfinished);
// Stopped, with marginSeries unchanged, when the run was stopped. Seeds the
// generator at its first call, even one that then fails.
RunOutcome RunMonteCarloSimulation(const LogData& log);

// Drops the points of marginSeries.
void ReleaseMarginSeries();

// CALCULATE of the MONTE CARLO SIMULATION panel: reads and checks the seven
// inputs, runs the simulation on the trade log and shows the five results.
// True on success: the caller repaints at once.
bool MonteCarloCalculateCommand();
