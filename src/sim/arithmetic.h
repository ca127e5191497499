// The arithmetic simulation: from where the live set stands in the trade log,
// the rest of the set is played samplingCount times with random results, and
// the ruin rate and three expected profits are kept. Also the trade model that
// the Monte Carlo simulation shares: preconditions, lot size, capacity, and a
// progression list played in place.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/progression.h"
#include "trade/trade_log.h"

struct ArithmeticResults {
  double ruinRate = 0;          // share of ruined samples, 0 to 1
  double expectedWinOnly = 0;   // mean profit of the samples that completed the set
  double expectedAll = 0;       // mean profit of all samples
  double expectedLoseOnly = 0;  // mean profit of the ruined samples
  bool operator==(const ArithmeticResults&) const = default;
};

inline ArithmeticResults arithmeticResults;

// Plays the rest of the set samplingCount times from the last list of log,
// with the numbers of tradeParameters. True on failure: a precondition fails,
// two neighbouring lists have equal lengths, a live list of stake 0 would be
// played at a win rate of 0 (no sample could ever end), or memory runs out.
// Seeds the generator at its first call, even one that then fails.
bool RunArithmeticSimulation(const LogData& log);

// The same run with a new list for every simulated trade, made by
// NextProgression: the plain form the fast run must agree with to the last
// bit, kept for tests and benchmarks.
bool RunArithmeticSimulationLiteral(const LogData& log);

// CALCULATE of the ARITHMETIC SIMULATION panel: reads and checks the seven
// inputs, runs the simulation on the trade log and shows the four results.
void ArithmeticCalculateCommand();

// ---- The trade model, shared with the Monte Carlo simulation ----

// True when the numbers of tradeParameters cannot be simulated: margin below
// 0, leverage below 1, rate not above 0, unit lot size below 1, TAKE PROFIT or
// STOP LOSS below 0.000001 (as a float), win rate outside 0 to 1. A number
// that is not finite fails as well.
bool TradeParametersRejected();

// The lot size of a stake in currency units: stake × unit lot size, formed
// exactly in 64 bits, then as a double.
double LotSize(std::int64_t stake);

// The largest lot size that a margin can carry: (margin × leverage) / rate.
double Capacity(double margin);

// A progression list played in place, so that a whole sample runs on one
// block: a loss appends at the right end, a win moves both ends inwards. The
// block is compacted or doubled only when the right end reaches its end, so it
// never holds more than about twice the longest list played. The transitions
// are those of NextProgression.
struct PlayList {
  std::vector<std::int32_t> slots;  // the numbers are slots[begin] to slots[end - 1]
  std::size_t begin = 0;
  std::size_t end = 0;

  // Starts over from a list. Throws std::bad_alloc when memory runs out.
  void Start(const ProgressionArray& list) {
    if (slots.size() <= list.size()) slots.resize(std::max<std::size_t>(2 * list.size() + 2, 16));
    std::copy(list.begin(), list.end(), slots.begin());
    begin = 0;
    end = list.size();
  }

  std::size_t Size() const { return end - begin; }

  std::int64_t Stake() const { return Size() >= 2 ? std::int64_t{slots[begin]} + slots[end - 1] : 0; }

  // A won trade: true when it used the list up (five or fewer numbers).
  bool Win() {
    if (Size() <= 5) {
      begin = end;
      return true;
    }
    begin += 2;
    end -= 2;
    return false;
  }

  // A lost trade: appends the stake, held at the largest 32-bit value; a list
  // of fewer than two numbers is used up instead. Throws std::bad_alloc.
  void Lose() {
    if (Size() < 2) {
      begin = end;
      return;
    }
    const std::int64_t stake = Stake();
    if (end == slots.size()) MakeRoom();
    slots[end++] = stake > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(stake);
  }

  // Moves the list to the front when it fills at most half the block,
  // otherwise doubles the block.
  void MakeRoom();
};
