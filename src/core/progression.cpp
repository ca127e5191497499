// The progression list and its operations.
#include "core/progression.h"

#include <new>

ProgressionArray ProgressionFromBlock(std::span<const std::int32_t> block) {
  ProgressionArray list;
  for (std::int32_t number : block) {
    if (number < 0) break;
    list.push_back(number);
  }
  return list;
}

std::optional<ProgressionArray> NextProgression(char letter, const ProgressionArray& list) {
  const std::size_t n = list.size();
  try {
    if (n < 2) return ProgressionArray{};
    if (letter == 'L') {
      ProgressionArray next;
      next.reserve(n + 1);
      next.assign(list.begin(), list.end());
      // Numbers stay far below the 32-bit range in use; a sum beyond it is
      // held at the largest value instead of overflowing.
      const std::int64_t sum = std::int64_t{list.front()} + list.back();
      next.push_back(sum > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(sum));
      return next;
    }
    if (letter == 'W') {
      if (n <= 5) return ProgressionArray{};
      return ProgressionArray(list.begin() + 2, list.end() - 2);
    }
    return list;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::int64_t ProgressionStake(const ProgressionArray& list) {
  if (list.size() < 2) return 0;
  return std::int64_t{list.front()} + list.back();
}

char CompareProgressionLengths(const ProgressionArray* before, const ProgressionArray* after) {
  if (!before) return 'E';
  if (!after) return 'F';
  if (before->size() > after->size()) return 'W';
  if (before->size() < after->size()) return 'L';
  return 'E';
}
