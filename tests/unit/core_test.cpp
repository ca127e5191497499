// Decimal text, the field validators and the progression list.
#include <gtest/gtest.h>

#include "core/decimal.h"
#include "core/progression.h"
#include "core/trade_field.h"

namespace {

using List = ProgressionArray;

TEST(DecimalText, FormatsAsFixedPointWithinThirtyOneCharacters) {
  const struct { double value; const char* precision; const char* text; } cases[] = {
      {4000, "1.0", "4000"}, {2.5, "1.0", "2"}, {3.5, "1.0", "4"}, {-1000, "1.8", "-1000.00000000"},
      {2500, "1.6", "2500.000000"}, {1.0 / 3, "1.10", "0.3333333333"}, {0.29 * 100, "1.10", "29.0000000000"},
      {1.5, "", "1.500000"}, {1.5, "1.2x", "1.50"}, {1.5, "1.500", "1.50000000000000000000000000000"},
      {1e20, "1.10", "100000000000000000000.000000000"}, {1e30, "1.1", "1000000000000000019884624838656"},
      {-1e30, "1.10", "-1.000000000000000019884625e+30"}, {5e-324, "1.10", "0.0000000000"},
      {-1.7976931348623157e308, "1.0", "-1.79769313486231570814527e+308"}};
  for (const auto& c : cases) EXPECT_EQ(FormatDecimal(c.value, c.precision), c.text) << c.value;
}

TEST(DecimalText, ParsesAnyText) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},     {"12.5", 12.5}, {"-0.25", -0.25}, {"1.2.3", 1.23}, {"5-", 5},     {"--3", -3},  {"abc", 0},
      {"1,000", 1000}, {"1a2", 12}, {"+7", 7},       {".5", 0.5},     {"0.3", 0.3}, {"\x82\x50", 0},
      {"150.5", 150.5}, {"0.000001", 0.000001}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseDecimal(text), value) << text;
}

TEST(DecimalText, NormalizesAndChecks) {
  const std::pair<const char*, const char*> normalized[] = {
      {"000", "0"}, {"0012", "12"}, {"00.50", "0.5"}, {"10.00", "10"}, {".", ""}, {"100", "100"},
      {"0", "0"},   {"3.000", "3"}, {"0.0", "0"},     {".0", ""},      {"007.10", "7.1"}, {"", ""}};
  for (const auto& [in, out] : normalized) {
    std::string text = in;
    NormalizeDecimalText(text);
    EXPECT_EQ(text, out) << in;
  }
  for (const char* bad : {"", "5.", ".5", "0.0", "00.000", "1.2.3", "1e5", "-1", " 1", "+1", "\x82\x50"}) {
    EXPECT_TRUE(CheckDecimalSyntax(bad)) << bad;
  }
  for (const char* good : {"0", "000", "0.5", "1.0", "150.500"}) EXPECT_FALSE(CheckDecimalSyntax(good)) << good;
}

TEST(TradeFields, ValidatorsAcceptTheirRangesOnly) {
  using F = TradeField;
  const struct { F field; std::vector<const char*> valid, invalid; } cases[] = {
      {F::Margin, {"0.01", "100000000", "100000000.00", "1.25"}, {"0.001", "0", "100000000.01", "1.255", "1e5"}},
      {F::Leverage, {"1", "1000", "0001000"}, {"1.0", "+5", "0", "1001", "10000", "99999999999999999999"}},
      {F::Rate, {"1000.000000", "0.000001"}, {"0.0000001", "1000.000001"}},
      {F::UnitLotSize, {"1", "100000000"}, {"0", "100000001", "1000.0", "-1"}},
      {F::WinRate, {"0", "099", "100"}, {"101", "50.0", "-0"}},
      {F::TakeProfit, {"0.000001", "1000", "0.5"}, {"0.0000009", "1000.0000001", "0"}},
      {F::StopLoss, {"0.000001", "1000"}, {"0.0000009", "1001", ".3"}}};
  for (const auto& c : cases) {
    for (const char* text : c.valid) EXPECT_FALSE(ValidateField(c.field, std::string(text))) << text;
    for (const char* text : c.invalid) EXPECT_TRUE(ValidateField(c.field, std::string(text))) << text;
    EXPECT_TRUE(ValidateField(c.field, std::string()));
    EXPECT_TRUE(ValidateField(c.field, std::nullopt));
  }
}

TEST(Progression, NextListStakeAndResultByLengths) {
  const struct { char letter; List before, after; } cases[] = {
      {'L', {1, 2, 3}, {1, 2, 3, 4}}, {'L', {3, 4}, {3, 4, 7}}, {'L', {INT32_MAX, 5}, {INT32_MAX, 5, INT32_MAX}},
      {'L', {INT32_MAX - 1, 1}, {INT32_MAX - 1, 1, INT32_MAX}}, {'W', {1, 2, 3, 4, 5, 6}, {3, 4}},
      {'W', {2, 3, 5, 8, 13, 21, 34}, {5, 8, 13}}, {'W', {1, 2, 3}, {}}, {'W', {1, 2, 3, 4, 5}, {}},
      {'W', {7}, {}}, {'L', {7}, {}}, {'E', {7}, {}}, {'L', {}, {}}, {'E', {1, 2, 3}, {1, 2, 3}},
      {'w', {1, 2, 3}, {1, 2, 3}}};
  for (const auto& c : cases) EXPECT_EQ(NextProgression(c.letter, c.before), c.after) << c.letter;
  const std::int32_t block[] = {1, 2, 3, -5, 9};
  EXPECT_EQ(ProgressionFromBlock(block), List({1, 2, 3}));
  EXPECT_EQ(ProgressionStake({5}), 0);
  EXPECT_EQ(ProgressionStake({INT32_MAX, 9, INT32_MAX}), 4294967294);
  const List three{1, 2, 3}, four{1, 2, 3, 4}, other{7, 8, 9};
  EXPECT_EQ(std::string({CompareProgressionLengths(&three, &four), CompareProgressionLengths(&four, &three),
                         CompareProgressionLengths(&three, &other), CompareProgressionLengths(&three, nullptr),
                         CompareProgressionLengths(nullptr, nullptr)}),
            "LWEFE");
}

// A played list's block holds about twice the longest list: sized at the
// start, compacted or doubled only when a loss reaches its end.
TEST(Progression, PlayListKeepsItsBlockSmall) {
  for (auto [before, numbers, after] : {std::array<std::size_t, 3>{0, 3, 16}, {0, 10, 22}, {16, 16, 34}, {22, 3, 22}}) {
    PlayList list{std::vector<std::int32_t>(before)};
    list.Start(List(numbers, 1));
    EXPECT_EQ(list.slots.size(), after);
  }
  for (auto [begin, slots, beginAfter] : {std::array<std::size_t, 3>{8, 16, 0}, {7, 32, 7}, {4, 32, 4}}) {
    PlayList list{std::vector<std::int32_t>(16, 1), begin, 16};
    list.Lose();
    List numbers(16 - begin, 1);
    numbers.push_back(2);
    EXPECT_EQ(std::tuple(list.Numbers(), list.slots.size(), list.begin), std::tuple(numbers, slots, beginAfter));
  }
  PlayList list;
  list.Start({1, 2, 3, 4, 5, 6});
  EXPECT_FALSE(list.Win());
  list.Lose();
  EXPECT_EQ(std::tuple(list.Numbers(), list.begin), std::tuple(List{3, 4, 7}, 2u));
  list.Start({7});
  list.Lose();
  EXPECT_EQ(list.Size(), 0u);
}

}  // namespace
