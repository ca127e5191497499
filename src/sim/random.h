// The random trade draw shared by both simulations: a linear congruential
// generator, its seeding from the clock, and the draw of a won or lost trade
// from the win rate.
#pragma once

#include <cstdint>

#include "core/progression.h"

struct RandomDraw {
  std::uint32_t randomState;
  std::uint16_t drawAccumulator;  // running sum of drawn values, never reset
  bool arithmeticSeeded;
  bool monteCarloSeeded;
};

inline RandomDraw randomDraw;

// Advances the state and gives bits 16 to 30 of the new state, 0 to 32767.
inline std::uint32_t NextRandomValue(std::uint32_t& state) {
  state = state * 214013u + 2531011u;
  return (state >> 16) & 0x7FFFu;
}

// Seeds randomState from the low 32 bits of the clock and throws the first
// 500 values away; drawAccumulator is left as it is.
void SeedRandomFromClock();

// Seeds once per simulation: when seeded is false, seeds and sets it.
void SeedOnce(bool& seeded);

// The win rate (0 to 1) in whole percent, rounded to the nearest: 0 to 100.
int WinThreshold(double winRate);

// One draw with the threshold worked out beforehand, on a state and
// accumulator held wherever the caller keeps them.
inline TradeResult DrawWithThreshold(std::uint32_t& state, std::uint16_t& accumulator, int threshold) {
  accumulator = static_cast<std::uint16_t>(accumulator + NextRandomValue(state));
  return accumulator % 100 < threshold ? TradeResult::Win : TradeResult::Lose;
}

// A result at the given win rate; advances randomState and drawAccumulator.
TradeResult DrawTradeResult(double winRate);
