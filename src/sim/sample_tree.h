// The sampling loop of the arithmetic simulation, made fast.
//
// What it promises: the same sums, counts and generator state, to the last
// bit, as the plain loop that plays every sample trade by trade with a new
// list per trade (PlayTrade's rules, DrawTradeResult's draws, the sums added
// in sample order).
//
// How: every sample starts from the same list, so the first trades of all
// samples walk one tree. A node is where a sequence of results leads (its list
// and its running profit t), with an edge for a lost and one for a won trade.
// The likeliest 1024 nodes are worked out once per run with PlayTrade, so each
// edge holds exactly what the plain loop computes, and a sample that stays in
// the tree costs one draw and one table step per trade. A sample that leaves
// the tree goes on from its node on one reusable PlayList. No trade allocates.
//
// What it buys: bench/sim_bench times it on the standard case (1,000,000
// samples, native Release) against the plain loop with a new list per trade
// and against the draws alone; measure there before and after a change. A
// plain reusable buffer alone stays well behind, held back by mispredicted
// branches, which the table steps avoid.
#pragma once

#include <cstdint>

#include "core/progression.h"
#include "sim/run_progress.h"
#include "sim/run_start.h"
#include "trade/trade_model.h"

// The sums and counts of the samples played so far: the profits of all
// samples, of the completed and of the ruined ones.
struct SampleSums {
  double all = 0;
  double winOnly = 0;
  double loseOnly = 0;
  std::int64_t completed = 0;
  std::int64_t ruined = 0;
};

// Plays the given number of samples with the shared generator and adds them
// to sums, asking now and then whether to go on (ContinueRun with the samples
// ended of all). Failed when memory runs out, Stopped when the run is
// stopped; sums and the generator then hold what was played, the generator
// also the draws of a sample stopped midway.
RunOutcome PlaySamples(const SamplingRun& run, std::int32_t samples, SampleSums& sums);
