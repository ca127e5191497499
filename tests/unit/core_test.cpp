// Decimal text, the field validators, the progression list and text files in text mode.
#include <gtest/gtest.h>

#include "core/decimal.h"
#include "core/progression.h"
#include "core/trade_field.h"
#include "fake_ui.h"

namespace {

TEST(DecimalText, FormatsNormalizesAndChecks) {
  const struct { double value; const char* precision; const char* text; } formats[] = {
      {1.0 / 3, "1.10", "0.3333333333"}, {1e20, "1.10", "100000000000000000000.000000000"},
      {1e30, "1.1", "1000000000000000019884624838656"}, {-1e30, "1.10", "-1.000000000000000019884625e+30"}};
  for (const auto& c : formats) EXPECT_EQ(FormatDecimal(c.value, c.precision), c.text) << c.value;
  const std::pair<std::string, const char*> normalized[] = {
      {"000", "0"}, {"0012", "12"}, {"00.50", "0.5"}, {"10.00", "10"}, {"100", "100"}, {"0.0000", "0"},
      {"007.10", "7.1"}};
  for (auto [text, out] : normalized) EXPECT_EQ((NormalizeDecimalText(text), text), out);
  for (const char* bad : {"", "5.", ".5", "0.0", "1.2.3", "1e5", "/", ":", "\x82\x50"})
    EXPECT_TRUE(CheckDecimalSyntax(bad)) << bad;
  for (const char* good : {"0", "0.5", "9.90"}) EXPECT_FALSE(CheckDecimalSyntax(good)) << good;
}

TEST(TradeFields, ValidatorsAcceptTheirRangesOnly) {
  using F = TradeField;
  const struct { std::vector<F> fields; std::vector<const char*> valid, invalid; } cases[] = {
      {{F::Margin}, {"0.01", "100000000", "100000000.00", "1.25"}, {"", "0", "100000000.01", "1.255", "1e5"}},
      {{F::Leverage}, {"1", "1000", "0001000"}, {"", "1.0", "0", "1001", "10000", "99999999999999999999"}},
      {{F::UnitLotSize}, {"1", "100000000"}, {"", "0", "100000001", "1000.0"}},
      {{F::WinRate}, {"0", "099", "100"}, {"", "101", "50.0"}},
      {{F::Rate, F::TakeProfit, F::StopLoss}, {"0.000001", "1000.000000", "0.5"},
       {"", "0.0000009", "1000.000001", ".3"}}};
  for (const auto& c : cases)
    for (F field : c.fields) {
      for (const char* text : c.valid) EXPECT_FALSE(ValidateField(field, std::string(text))) << text;
      for (const char* text : c.invalid) EXPECT_TRUE(ValidateField(field, std::string(text))) << text;
    }
}

TEST(Progression, NextListByResultAndLength) {
  constexpr TradeResult W = TradeResult::Win, L = TradeResult::Lose;
  const struct { TradeResult result; ProgressionArray before, after; } cases[] = {
      {L, {3, 4}, {3, 4, 7}}, {L, {INT32_MAX, 5}, {INT32_MAX, 5, INT32_MAX}},
      {L, {INT32_MAX - 1, 1}, {INT32_MAX - 1, 1, INT32_MAX}}, {W, {1, 2, 3, 4, 5, 6}, {3, 4}},
      {W, {1, 2, 3, 4, 5}, {}}, {L, {7}, {}}};
  for (const auto& c : cases) EXPECT_EQ(NextProgression(c.result, c.before), c.after) << c.before.size();
}

// A read turns CR LF into LF, keeps a lone CR and ends at 0x1A. A write into a folder in the way or missing,
// or onto a full disk (fclose meets what fwrite buffered), writes nothing and leaves no file behind.
TEST(Files, ReadInTextModeAndAFailedWriteLeavesNothing) {
  TempDir dir;
  WriteBytes(dir.File("t.txt"), "a\r\r\nb\r\x1A" "c");
  EXPECT_EQ(ReadWholeFile(dir.File("t.txt")).text, "a\r\nb\r");
  MakeDirectory(dir.File("d"));
  for (const std::string& target : {dir.File("d"), dir.File("missing/w.txt")})
    EXPECT_FALSE(WriteTextFile(target, "x") || AppendTextFile(target, "x")) << target;
#ifndef _WIN32
  std::filesystem::create_symlink("/dev/full", dir.File("full.tmp"));
  EXPECT_FALSE(WriteTextFile(dir.File("full"), "x") || AppendTextFile("/dev/full", "x"));
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2);
}

}  // namespace
