// The Monte Carlo progression list and its operations. The stake of the next
// trade is the sum of the first and the last number; a loss appends that sum,
// a win strikes two numbers from each end, and an empty list ends the set.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The numbers of the list in order, the left end first. Empty means finished.
using ProgressionArray = std::vector<std::int32_t>;

enum class TradeResult { Win, Lose };

// First plus last for two or more numbers, otherwise 0. Formed in 64 bits.
inline std::int64_t StakeOf(std::span<const std::int32_t> numbers) {
  return numbers.size() < 2 ? 0 : std::int64_t{numbers.front()} + numbers.back();
}

inline std::int64_t ProgressionStake(const ProgressionArray& list) { return StakeOf(list); }

// A progression list played in place, so that a whole set of trades runs on
// one block: a loss appends at the right end, a win moves both ends inwards.
// The block is compacted or doubled only when the right end reaches its end,
// so it never holds more than about twice the longest list played. Every
// change of a list is made here.
struct PlayList {
  std::vector<std::int32_t> slots;  // the numbers are slots[begin] to slots[end - 1]
  std::size_t begin{};
  std::size_t end{};

  // Starts over from a list. Throws std::bad_alloc when memory runs out.
  void Start(const ProgressionArray& list);

  std::size_t Size() const { return end - begin; }
  std::int64_t Stake() const { return StakeOf(std::span(slots.data() + begin, Size())); }
  ProgressionArray Numbers() const { return ProgressionArray(slots.begin() + begin, slots.begin() + end); }

  // A won trade strikes two numbers from each end. True when it used the list
  // up: a list of five or fewer numbers is finished by a win.
  bool Win() {
    if (Size() <= 5) {
      begin = end;
      return true;
    }
    begin += 2;
    end -= 2;
    return false;
  }

  // A lost trade appends the stake, held at the largest 32-bit value; a list
  // of fewer than two numbers is used up instead. Throws std::bad_alloc.
  void Lose() {
    if (Size() < 2) {
      begin = end;
      return;
    }
    const std::int64_t stake = Stake();
    if (end == slots.size()) MakeRoom();
    slots[end++] = static_cast<std::int32_t>(std::min<std::int64_t>(stake, INT32_MAX));
  }

  // Moves the list to the front when it fills at most half the block,
  // otherwise doubles the block.
  void MakeRoom();
};

// The list stored in a block that ends at its first negative value.
ProgressionArray ProgressionFromBlock(std::span<const std::int32_t> block);

// The list after a trade with the result. A list of fewer than two numbers
// gives the empty list, and so does a win on five or fewer. Nothing when
// memory runs out.
std::optional<ProgressionArray> NextProgression(TradeResult result, const ProgressionArray& list);

// The result that leads from one list of a log to the next by their lengths
// alone: a win for a shorter next list, a loss for a longer one; nothing for
// equal lengths, which no trade leads to.
std::optional<TradeResult> CompareProgressionLengths(const ProgressionArray& before,
                                                     const ProgressionArray& after);
