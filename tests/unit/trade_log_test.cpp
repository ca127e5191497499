// Tests of the trade log: the exact bytes of the fresh log and of a record,
// the display text, and the tolerant reading of sound and damaged logs.
#include "trade/trade_log.h"
#include "trade/trade_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "io/clock.h"
#include "io/files.h"
#include "io/paths.h"
#include "temp_dir.h"
#include "trade/trade_parameters.h"

namespace {

constexpr std::int64_t kSomeTime = 1796462102;  // a fixed moment in December 2026
constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();

// The text as stored on disk: every LF as CR LF.
std::string WithCrLf(std::string_view text) {
  std::string bytes;
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

class TradeLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeLogPath = dir.File("trade_query.txt");
    SetClockForTesting(kSomeTime);
    tradeParameters = TradeParameters{};
  }
  void TearDown() override {
    SetClockForTesting(std::nullopt);
    tradeParameters = TradeParameters{};
  }

  TempDir dir;
};

TEST_F(TradeLogTest, FreshLogBytesOnDiskAndDisplayText) {
  const std::string date = DateText(kSomeTime);
  ASSERT_EQ(date.size(), 25u);
  ASSERT_EQ(date.back(), '\n');
  EXPECT_EQ(FreshTradeLog(kSomeTime), "\xA5TRADE No.1\nDATE:" + date + "ARRAY:1,2,3\n");

  WriteBytes(TradeLogPath, "old content that must go\n");
  ASSERT_TRUE(ResetTradeLog());
  const std::string dateLine = date.substr(0, 24);
  const std::string expected = "\xA5TRADE No.1\r\nDATE:" + dateLine + "\r\nARRAY:1,2,3\r\n";
  EXPECT_EQ(ReadBytes(TradeLogPath), expected);

  std::optional<std::string> text;
  ASSERT_EQ(LoadTradeLogText(text), 0);
  EXPECT_EQ(text, expected);  // three lines, each ended by CR LF

  const std::optional<LogData> log = ParseTradeLog();
  ASSERT_TRUE(log);
  EXPECT_EQ(*log, (LogData{{1, 2, 3}}));
  EXPECT_EQ(ReadLastTradeNumber(), 1);
  EXPECT_EQ(ComputeSetProfit(*log), 0.0);
}

TEST_F(TradeLogTest, ResetReportsAFileThatCannotBeWritten) {
  std::filesystem::create_directory(TradeLogPath);
  EXPECT_FALSE(ResetTradeLog());
  EXPECT_TRUE(std::filesystem::is_directory(TradeLogPath));
}

TEST_F(TradeLogTest, MissingFile) {
  std::optional<std::string> text = "stale";
  EXPECT_EQ(LoadTradeLogText(text), 255);
  EXPECT_FALSE(text);
  EXPECT_FALSE(ParseTradeLog());
  EXPECT_EQ(ReadLastTradeNumber(), 1);
}

TEST_F(TradeLogTest, RecordBytes) {
  const std::string date = DateText(kSomeTime);
  EXPECT_EQ(ComposeTradeRecord('L', 2, {1, 2, 3, 4}, kSomeTime),
            "STATUS:LOSE\n\n\xA5TRADE No.2\nDATE:" + date + "ARRAY:1,2,3,4\n");
  EXPECT_EQ(ComposeTradeRecord('W', 5, {3, 4}, kSomeTime),
            "STATUS:WIN\n\n\xA5TRADE No.5\nDATE:" + date + "ARRAY:3,4\n");
  EXPECT_EQ(ComposeTradeRecord('L', 2147483648, {kLargest}, kSomeTime),
            "STATUS:LOSE\n\n\xA5TRADE No.2147483648\nDATE:" + date + "ARRAY:2147483647\n");
}

TEST_F(TradeLogTest, ThreeLossesAndAWin) {
  std::string log = FreshTradeLog(kSomeTime);
  log += *ComposeTradeRecord('L', 2, {1, 2, 3, 4}, kSomeTime + 60);
  log += *ComposeTradeRecord('L', 3, {1, 2, 3, 4, 5}, kSomeTime + 120);
  log += *ComposeTradeRecord('L', 4, {1, 2, 3, 4, 5, 6}, kSomeTime + 180);
  log += *ComposeTradeRecord('W', 5, {3, 4}, kSomeTime + 240);
  ASSERT_TRUE(WriteTextFile(TradeLogPath, log));
  EXPECT_EQ(ReadBytes(TradeLogPath), WithCrLf(log));

  tradeParameters.unitLotSize = 1000;
  tradeParameters.takeProfit = 0.5;
  tradeParameters.stopLoss = 0.3;
  const std::optional<LogData> parsed = ParseTradeLog();
  ASSERT_TRUE(parsed);
  EXPECT_EQ(*parsed, (LogData{{1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}, {3, 4}}));
  // -(4 + 5 + 6) x 1000 x 0.3 + 7 x 1000 x 0.5
  EXPECT_NEAR(ComputeSetProfit(*parsed), -1000.0, 1e-9);
  EXPECT_EQ(ReadLastTradeNumber(), 5);

  std::optional<std::string> text;
  ASSERT_EQ(LoadTradeLogText(text), 0);
  EXPECT_EQ(text, WithCrLf(log));
}

TEST_F(TradeLogTest, ProfitIsZeroForNeighbouringListsOfEqualLength) {
  tradeParameters.unitLotSize = 1000;
  tradeParameters.takeProfit = 0.5;
  tradeParameters.stopLoss = 0.3;
  EXPECT_EQ(ComputeSetProfit(LogData{}), 0.0);
  EXPECT_EQ(ComputeSetProfit(LogData{{1, 2, 3}, {1, 2, 3, 4}, {5, 6, 7, 8}}), 0.0);
  // A large unit lot size and a long list stay exact in 64 bits.
  tradeParameters.unitLotSize = 100000000;
  tradeParameters.stopLoss = 1;
  EXPECT_EQ(ComputeSetProfit(LogData{{kLargest, kLargest}, {kLargest, kLargest, kLargest}}),
            -2.0 * kLargest * 100000000);
}

TEST_F(TradeLogTest, DamagedLogsAreReadByTheTolerantRules) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<LogData> lists;
  };
  const Case cases[] = {
      {"no 'Y'", "\xA5TRADE No.1\nDATE:x\nARRA:1,2,3\n", std::nullopt},
      {"a 'Y' with no digit after it", "ARRAY:\nSTATUS:LOSE\n\n", std::nullopt},
      {"empty file", "", std::nullopt},
      {"no final line end", "ARRAY:1,2,3", LogData{{1, 2, 3}}},
      {"doubled separator", "ARRAY:12,,5\n", LogData{{12}}},
      {"trailing separator", "ARRAY:1,2,\n", LogData{{1, 2}}},
      {"digits on a later line", "ARRAY:\n\nx 3,4\nARRAY:5\n", LogData{{3, 4}, {5}}},
      {"a 'Y' skipped while seeking digits", "ARRAY:\nARRAY:7,8\n", LogData{{7, 8}}},
      {"'Y' inside a list line", "ARRAY:1Y2\nARRAY:4\n", LogData{{1, 2}, {4}}},
      {"CR LF on disk", "ARRAY:1,2\r\nARRAY:1,2,3\r\n", LogData{{1, 2}, {1, 2, 3}}},
      {"a 12-digit number", "ARRAY:123456789012,3\n", LogData{{kLargest, 3}}},
      {"just past 32 bits", "ARRAY:2147483647,2147483648,5\n", LogData{{kLargest, kLargest, 5}}},
      {"leading zeros", "ARRAY:007,0\n", LogData{{7, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(TradeLogPath, c.text);
    EXPECT_EQ(ParseTradeLog(), c.lists);
  }
}

TEST_F(TradeLogTest, LastTradeNumberIsTheDigitRunAfterTheLastPoint) {
  struct Case {
    const char* name;
    std::string text;
    std::int32_t number;
  };
  const Case cases[] = {
      {"sound log", "\xA5TRADE No.3\nARRAY:1\n\xA5TRADE No.12\nARRAY:2\n", 12},
      {"digits then letters", "TRADE No.7x\n", 7},
      {"point before a line end", "TRADE No.\nDATE:x\n", 0},
      {"no point", "TRADE No 4\n", 1},
      {"empty file", "", 1},
      {"the last point counts", "No.2 and 1.25\n", 25},
      {"a 12-digit number", "No.123456789012\n", kLargest},
      {"CR LF on disk", "No.9\r\n", 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(TradeLogPath, c.text);
    EXPECT_EQ(ReadLastTradeNumber(), c.number);
  }
}

}  // namespace
