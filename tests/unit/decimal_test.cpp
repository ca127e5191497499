// Decimal text: formatting, parsing, normalising, the syntax check and the
// seven field validators at their boundaries.
#include <gtest/gtest.h>

#include "core/decimal.h"
#include "core/trade_field.h"

namespace {

struct FormatCase {
  double value;
  const char* precision;
  const char* text;
};

TEST(FormatDecimal, PrintsAsCFixedPointDoes) {
  const FormatCase cases[] = {
      {4000, "1.0", "4000"},
      {2.5, "1.0", "2"},  // round half to even, as printf does
      {3.5, "1.0", "4"},
      {12.5, "1.8", "12.50000000"},
      {-1000, "1.8", "-1000.00000000"},
      {2500, "1.6", "2500.000000"},
      {0.1, "1.10", "0.1000000000"},
      {37.5, "1.10", "37.5000000000"},
      {-1234.5, "1.10", "-1234.5000000000"},
      {1.0 / 3.0, "1.10", "0.3333333333"},
      {0.29 * 100, "1.10", "29.0000000000"},
      {1300000000, "1.0", "1300000000"},
      {1.5, "", "1.500000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDecimal(c.value, c.precision), c.text) << c.value << " at " << c.precision;
  }
}

TEST(FormatDecimal, NeverExceedsThirtyOneCharacters) {
  // 1e20 keeps all 21 integer digits and as many decimals as still fit.
  EXPECT_EQ(FormatDecimal(1e20, "1.10"), "100000000000000000000.000000000");
  // -1e30 has 32 characters before any decimal: only an exponent fits.
  EXPECT_EQ(FormatDecimal(-1e30, "1.10"), "-1.000000000000000019884625e+30");
  EXPECT_EQ(FormatDecimal(123456789012345678901234.0, "1.10"), "123456789012345685803008.000000");
  for (double value : {1e300, -1.7976931348623157e308, 9.999999999e29, 5e-324}) {
    const auto text = FormatDecimal(value, "1.10");
    ASSERT_TRUE(text);
    EXPECT_LE(text->size(), 31u) << *text;
  }
}

TEST(ParseDecimal, ReadsAnyText) {
  const std::pair<const char*, double> cases[] = {
      {"", 0},          {"12.5", 12.5},    {"-0.25", -0.25}, {"1.2.3", 1.23}, {"5-", 5},
      {"--3", -3},      {"abc", 0},        {"1,000", 1000},  {"1a2", 12},     {"+7", 7},
      {"007", 7},       {"0.000001", 1e-6}, {".5", 0.5},     {"1E5", 15},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(ParseDecimal(text), value) << text;
  // Each fraction digit carries its own weight, added one at a time.
  EXPECT_EQ(ParseDecimal("0.3"), 0.3);
  EXPECT_EQ(ParseDecimal("150.5"), 150.5);
  // Full-width digits are bytes above 0x80, never digits.
  EXPECT_EQ(ParseDecimal("\x82\x50"), 0);
}

TEST(NormalizeDecimalText, StripsRedundantZeros) {
  const std::pair<const char*, const char*> cases[] = {
      {"000", "0"},      {"0012", "12"},     {"00.50", "0.5"}, {"10.00", "10"},  {".", ""},
      {"100", "100"},    {"0", "0"},         {"10.500", "10.5"}, {"3.000", "3"}, {"0.0", "0"},
      {".0", ""},        {"007.10", "7.1"},  {"", ""},          {"-0.0000000000", "-0"},
      {"1300000000", "1300000000"},
  };
  for (const auto& [in, out] : cases) {
    std::string text = in;
    NormalizeDecimalText(text);
    EXPECT_EQ(text, out) << in;
  }
}

TEST(CheckDecimalSyntax, TellsMalformedTexts) {
  for (const char* bad : {"", "5.", ".5", "0.0", "00.000", "1.2.3", "1e5", "-1", " 1", "1 ", "+1", "\x82\x50"}) {
    EXPECT_TRUE(CheckDecimalSyntax(bad)) << bad;
  }
  for (const char* good : {"0", "000", "0.5", "1.0", "12", "1.1", "150.500"}) {
    EXPECT_FALSE(CheckDecimalSyntax(good)) << good;
  }
}

struct FieldCase {
  TradeField field;
  std::vector<const char*> valid;
  std::vector<const char*> invalid;
};

TEST(Validators, AcceptTheirRangesOnly) {
  const FieldCase cases[] = {
      {TradeField::Margin, {"0.01", "100000000", "100000000.00", "1.5", "100000"},
       {"0.001", "0", "100000000.01", "", "1e5", "-5", "0.0"}},
      {TradeField::Leverage, {"1", "1000", "025", "0001000"}, {"1.0", "+5", "0", "1001", "", " 5", "99999999999999999999"}},
      {TradeField::Rate, {"1000.000000", "0.000001", "150.5"}, {"0.0000001", "1000.000001", "1000.1", ""}},
      {TradeField::UnitLotSize, {"1", "100000000", "1000"}, {"0", "100000001", "1000.0", "", "-1"}},
      {TradeField::WinRate, {"0", "000", "100", "50"}, {"101", "", "50.0", "-0"}},
      {TradeField::TakeProfit, {"0.000001", "1000", "0.5"}, {"0.0000001", "1000.0000001", "0", ""}},
      {TradeField::StopLoss, {"0.000001", "1000", "0.25"}, {"0.0000009", "1001", ".3", ""}},
  };
  for (const auto& c : cases) {
    for (const char* text : c.valid) {
      EXPECT_FALSE(ValidateField(c.field, std::string(text))) << FieldIndex(c.field) << ": " << text;
    }
    for (const char* text : c.invalid) {
      EXPECT_TRUE(ValidateField(c.field, std::string(text))) << FieldIndex(c.field) << ": " << text;
    }
    EXPECT_TRUE(ValidateField(c.field, std::nullopt)) << "absent text of field " << FieldIndex(c.field);
  }
}

TEST(Validators, RangeMessagesNameTheirFields) {
  EXPECT_EQ(RangeMessage(TradeField::Leverage), L"レバレッジは1～1000の範囲の整数で指定して下さい。");
  EXPECT_EQ(RangeMessage(TradeField::Margin),
            L"対象レート換算証拠金は0.01～100000000.00の範囲で指定して下さい。\n"
            L"小数第2位まで指定可能です。(小数点以下は省略する事も可能です。)");
  for (TradeField field : kTradeFields) EXPECT_FALSE(RangeMessage(field).empty());
}

}  // namespace
