// The progression list and its operations.
#include "core/progression.h"

#include <algorithm>
#include <cstring>
#include <new>

void PlayList::Start(const ProgressionArray& list) {
  // The block keeps the room it has grown to, so a run of samples grows it once.
  slots.resize(std::max(slots.size(), list.size()));
  std::copy(list.begin(), list.end(), slots.begin());
  begin = 0;
  end = list.size();
}

void PlayList::MakeRoom() {
  const std::size_t size = Size();
  if (size <= slots.size() / 2) {
    std::memmove(slots.data(), slots.data() + begin, size * sizeof(std::int32_t));
    begin = 0;
    end = size;
  } else {
    slots.resize(2 * slots.size());
  }
}

ProgressionArray ProgressionFromBlock(std::span<const std::int32_t> block) {
  ProgressionArray list;
  for (std::int32_t number : block) {
    if (number < 0) break;
    list.push_back(number);
  }
  return list;
}

std::optional<ProgressionArray> NextProgression(TradeResult result, const ProgressionArray& list) {
  try {
    if (list.size() < 2) return ProgressionArray{};
    PlayList played;
    played.Start(list);
    if (result == TradeResult::Win) {
      played.Win();
    } else {
      played.Lose();
    }
    return played.Numbers();
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<TradeResult> CompareProgressionLengths(const ProgressionArray& before,
                                                     const ProgressionArray& after) {
  if (before.size() > after.size()) return TradeResult::Win;
  if (before.size() < after.size()) return TradeResult::Lose;
  return std::nullopt;
}
