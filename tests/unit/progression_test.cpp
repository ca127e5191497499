// The progression list: every transition, the stake and the comparison.
#include <gtest/gtest.h>

#include "core/progression.h"

namespace {

using List = ProgressionArray;

TEST(NextProgression, LossAppendsTheStake) {
  EXPECT_EQ(NextProgression('L', {1, 2, 3}), List({1, 2, 3, 4}));
  EXPECT_EQ(NextProgression('L', {3, 4}), List({3, 4, 7}));
  EXPECT_EQ(NextProgression('L', {INT32_MAX, 5}), List({INT32_MAX, 5, INT32_MAX}));
}

TEST(NextProgression, WinStrikesTwoFromEachEnd) {
  EXPECT_EQ(NextProgression('W', {1, 2, 3, 4, 5, 6}), List({3, 4}));
  EXPECT_EQ(NextProgression('W', {2, 3, 5, 8, 13, 21, 34}), List({5, 8, 13}));
  for (const List& finishing : {List{1, 2, 3}, List{1, 2, 3, 4}, List{1, 2, 3, 4, 5}}) {
    EXPECT_EQ(NextProgression('W', finishing), List{}) << finishing.size();
  }
}

TEST(NextProgression, ShortListsFinishAndOtherLettersCopy) {
  for (char letter : {'L', 'W', 'E', 'x'}) {
    EXPECT_EQ(NextProgression(letter, {7}), List{}) << letter;
    EXPECT_EQ(NextProgression(letter, {}), List{}) << letter;
  }
  EXPECT_EQ(NextProgression('E', {1, 2, 3}), List({1, 2, 3}));
  EXPECT_EQ(NextProgression('w', {1, 2, 3}), List({1, 2, 3}));
  EXPECT_EQ(NextProgression('l', {1, 2, 3}), List({1, 2, 3}));
}

TEST(ProgressionFromBlock, EndsAtTheFirstNegativeValue) {
  const std::int32_t withSurplus[] = {1, 2, 3, -1, -1};
  const std::int32_t endedByMinusFive[] = {1, 2, 3, -5, 9};
  EXPECT_EQ(ProgressionFromBlock(withSurplus), List({1, 2, 3}));
  EXPECT_EQ(ProgressionFromBlock(endedByMinusFive), List({1, 2, 3}));
  EXPECT_EQ(NextProgression('L', ProgressionFromBlock(endedByMinusFive)), List({1, 2, 3, 4}));
}

TEST(ProgressionStake, IsFirstPlusLast) {
  EXPECT_EQ(ProgressionStake({}), 0);
  EXPECT_EQ(ProgressionStake({5}), 0);
  EXPECT_EQ(ProgressionStake({4, 9}), 13);
  EXPECT_EQ(ProgressionStake({1, 2, 3}), 4);
  EXPECT_EQ(ProgressionStake({1, 2, 3, 4}), 5);
  EXPECT_EQ(ProgressionStake({INT32_MAX, INT32_MAX}), 2 * std::int64_t{INT32_MAX});
}

TEST(CompareProgressionLengths, TellsTheResultByLength) {
  const List a{1, 2, 3}, grown{1, 2, 3, 4}, six{1, 2, 3, 4, 5, 6}, shrunk{3, 4}, other{7, 8, 9};
  EXPECT_EQ(CompareProgressionLengths(&a, &grown), 'L');
  EXPECT_EQ(CompareProgressionLengths(&six, &shrunk), 'W');
  EXPECT_EQ(CompareProgressionLengths(&a, &other), 'E');
  EXPECT_EQ(CompareProgressionLengths(&a, nullptr), 'F');
  EXPECT_EQ(CompareProgressionLengths(nullptr, &a), 'E');
  EXPECT_EQ(CompareProgressionLengths(nullptr, nullptr), 'E');
}

}  // namespace
