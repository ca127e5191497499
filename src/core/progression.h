// The Monte Carlo progression list and its operations. The stake of the next
// trade is the sum of the first and the last number; a loss appends that sum,
// a win strikes two numbers from each end, and an empty list ends the set.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The numbers of the list in order, the left end first. Empty means finished.
using ProgressionArray = std::vector<std::int32_t>;

// The list stored in a block that ends at its first negative value.
ProgressionArray ProgressionFromBlock(std::span<const std::int32_t> block);

// The list after a trade with result letter 'W' or 'L'; any other letter
// copies it. A list of fewer than two numbers gives the empty list, and so
// does a win on five or fewer. Nothing when memory runs out.
std::optional<ProgressionArray> NextProgression(char letter, const ProgressionArray& list);

// First plus last for two or more numbers, otherwise 0. Formed in 64 bits.
std::int64_t ProgressionStake(const ProgressionArray& list);

// The result letter that leads from before to after by their lengths alone:
// 'E' when before is missing, 'F' when after is missing, then 'W' for a
// shorter after, 'L' for a longer one and 'E' for equal lengths.
char CompareProgressionLengths(const ProgressionArray* before, const ProgressionArray* after);
