// Tests of the trade parameters: the tolerant reading of the trade-information
// file, the texts-to-numbers conversion and the file's composed text.
#include "trade/trade_parameters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "fake_ui.h"
#include "io/files.h"
#include "io/paths.h"
#include "temp_dir.h"

namespace {

using Texts = std::array<std::optional<std::string>, 7>;

class TradeParametersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeInformationPath = dir.File("trade_information.txt");
    tradeParameters = TradeParameters{};
    ResetFakeUi();
  }
  void TearDown() override { tradeParameters = TradeParameters{}; }

  TempDir dir;
};

struct LoadCase {
  const char* name;
  std::string bytes;
  Texts texts;
};

TEST_F(TradeParametersTest, LoadFindsEachTagAnywhere) {
  const LoadCase cases[] = {
      {"all in order, CR LF",
       "A100000\r\nB25\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25",
       {"100000", "25", "150.5", "10000", "50", "0.5", "0.25"}},
      {"reversed order, LF", "G7\nF6\nE5\nD4\nC3\nB2\nA1\n", {"1", "2", "3", "4", "5", "6", "7"}},
      {"only the leverage", "B25", {std::nullopt, "25"}},
      {"an empty value is absent", "A\nB25\r\n", {std::nullopt, "25"}},
      {"a tag inside a value counts", "A1E5\nE60\n", {"1E5", std::nullopt, std::nullopt, std::nullopt, "5"}},
      {"the first of a repeated tag", "B10\nB20\n", {std::nullopt, "10"}},
      {"text without tags", "hello\nworld\n", {}},
      {"empty file", "", {}},
      {"values keep other bytes",
       "A 1,000 \nD\x82\x50\n",
       {" 1,000 ", std::nullopt, std::nullopt, "\x82\x50"}},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    tradeParameters = TradeParameters{};
    WriteBytes(TradeInformationPath, c.bytes);
    EXPECT_EQ(LoadTradeInformation(), 0);
    EXPECT_EQ(tradeParameters.texts, c.texts);
  }
}

TEST_F(TradeParametersTest, LoadWithoutFileIs255AndLoadsNothing) {
  EXPECT_EQ(LoadTradeInformation(), 255);
  EXPECT_EQ(tradeParameters.texts, Texts{});
}

TEST_F(TradeParametersTest, MoveSetsOnlyPresentFieldsAndEmptiesTexts) {
  for (int id = 10001; id <= 10007; ++id)
    fakeUi.controls[id] = L"old";
  WriteBytes(TradeInformationPath, "B25\nG\x82\xA0\n");  // G holds "あ" in code page 932
  ASSERT_EQ(LoadTradeInformation(), 0);
  MoveTradeTextsToInputs();
  EXPECT_EQ(fakeUi.controls[10001], L"old");
  EXPECT_EQ(fakeUi.controls[10002], L"25");
  EXPECT_EQ(fakeUi.controls[10006], L"old");
  EXPECT_EQ(fakeUi.controls[10007], L"あ");
  EXPECT_EQ(tradeParameters.texts, Texts{});
}

TEST_F(TradeParametersTest, ParseConvertsPresentTextsOnly) {
  tradeParameters.margin = 1.5;
  tradeParameters.leverage = 3;
  tradeParameters.rate = 2.5;
  tradeParameters.winRate = 0.25;
  tradeParameters.texts[FieldIndex(TradeField::UnitLotSize)] = "12.9";
  tradeParameters.texts[FieldIndex(TradeField::TakeProfit)] = "0.5";
  tradeParameters.texts[FieldIndex(TradeField::StopLoss)] = "0.25";
  ParseTradeParameters();
  EXPECT_EQ(tradeParameters.unitLotSize, 12);
  EXPECT_EQ(tradeParameters.takeProfit, 0.5);
  EXPECT_EQ(tradeParameters.stopLoss, 0.25);
  EXPECT_EQ(tradeParameters.margin, 1.5);
  EXPECT_EQ(tradeParameters.leverage, 3);
  EXPECT_EQ(tradeParameters.rate, 2.5);
  EXPECT_EQ(tradeParameters.winRate, 0.25);
  // The texts stay for the caller to release.
  EXPECT_EQ(tradeParameters.texts[FieldIndex(TradeField::UnitLotSize)], "12.9");
  ReleaseTradeTexts();
  EXPECT_EQ(tradeParameters.texts, Texts{});
}

TEST_F(TradeParametersTest, ParseTruncatesAndHoldsIntegersInRange) {
  struct Case {
    std::string leverage;
    std::string unitLotSize;
    std::int16_t expectedLeverage;
    std::int32_t expectedUnitLotSize;
  };
  const Case cases[] = {
      {"0100", "100000000", 100, 100000000},
      {"25.99", "1000.5", 25, 1000},
      {"-7.9", "-12.9", -7, -12},
      {"99999", "99999999999", INT16_MAX, INT32_MAX},
      {"-99999", "-99999999999", INT16_MIN, INT32_MIN},
      {std::string(400, '9'), std::string(400, '9'), INT16_MAX, INT32_MAX},
      {"abc", "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.leverage);
    tradeParameters.texts[FieldIndex(TradeField::Leverage)] = c.leverage;
    tradeParameters.texts[FieldIndex(TradeField::UnitLotSize)] = c.unitLotSize;
    ParseTradeParameters();
    EXPECT_EQ(tradeParameters.leverage, c.expectedLeverage);
    EXPECT_EQ(tradeParameters.unitLotSize, c.expectedUnitLotSize);
  }
}

TEST_F(TradeParametersTest, ParseTurnsWinRatePercentIntoProbability) {
  auto& winRateText = tradeParameters.texts[FieldIndex(TradeField::WinRate)];
  winRateText = "50";
  ParseTradeParameters();
  EXPECT_EQ(tradeParameters.winRate, 0.5);
  winRateText = "0";
  ParseTradeParameters();
  EXPECT_EQ(tradeParameters.winRate, 0.0);
  winRateText = "100";
  ParseTradeParameters();
  EXPECT_EQ(tradeParameters.winRate, 1.0);
}

TEST_F(TradeParametersTest, ComposeWritesSevenTaggedLinesWithoutFinalLineEnd) {
  tradeParameters.texts = {"100000", "25", "150.5", "10000", "50", "0.5", "0.25"};
  EXPECT_EQ(ComposeTradeInformation(), "A100000\nB25\nC150.5\nD10000\nE50\nF0.5\nG0.25");
  // What is composed loads back as the same texts.
  const Texts saved = tradeParameters.texts;
  ASSERT_TRUE(WriteTextFile(TradeInformationPath, ComposeTradeInformation()));
  ReleaseTradeTexts();
  ASSERT_EQ(LoadTradeInformation(), 0);
  EXPECT_EQ(tradeParameters.texts, saved);
}

}  // namespace
