// The arithmetic simulation: from where the live set stands in the trade log,
// the rest of the set is played samplingCount times with random results, and
// the ruin rate and three expected profits are kept.
#pragma once

#include "sim/run_progress.h"
#include "trade/trade_log.h"

struct ArithmeticResults {
  double ruinRate;          // share of ruined samples, 0 to 1
  double expectedWinOnly;   // mean profit of the samples that completed the set
  double expectedAll;       // mean profit of all samples
  double expectedLoseOnly;  // mean profit of the ruined samples
  bool operator==(const ArithmeticResults&) const = default;
};

inline ArithmeticResults arithmeticResults;

// Plays the rest of the set samplingCount times from the last list of log,
// with the numbers of tradeParameters, asking now and then whether to go on.
// Failed when a precondition fails, two neighbouring lists have equal
// lengths, a live list of stake 0 would be played at a win rate of 0 (no
// sample could ever end), or memory runs out; Stopped when the run was
// stopped. Either way arithmeticResults then holds the sums played so far.
// Seeds the generator at its first call, even one that then fails.
RunOutcome RunArithmeticSimulation(const LogData& log);

// CALCULATE of the ARITHMETIC SIMULATION panel: reads and checks the seven
// inputs, runs the simulation on the trade log and shows the four results.
void ArithmeticCalculateCommand();
