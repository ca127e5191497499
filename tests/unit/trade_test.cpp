// The trade conditions and their file, the trade log, the set profit, and the
// TRADE INFORMATION and TRADE QUERY commands through the scripted window.
#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/clock.h"
#include "io/paths.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_panel.h"
#include "trade/trade_parameters.h"
#include "trade/trade_query.h"

namespace {

using Texts = std::array<std::optional<std::string>, 7>;
constexpr std::int32_t kMax = INT32_MAX;
#define DATE_LINE "DATE:Sat Dec 05 09:15:02 2026\r\n"
const std::string kFresh = "\xA5TRADE No.1\r\n" DATE_LINE "ARRAY:1,2,3\r\n";
const std::wstring kSixDecimals = L"の範囲で指定して下さい。\n小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)";
const std::wstring kRangeMessages[] = {
    L"対象レート換算証拠金は0.01～100000000.00の範囲で指定して下さい。\n小数第2位まで指定可能です。(小数点以下は省略する事も可能です。)",
    L"レバレッジは1～1000の範囲の整数で指定して下さい。", L"対象通貨ペアレートは0.000001～1000.000000" + kSixDecimals,
    L"単位ロットサイズは1～100000000の範囲の整数で指定して下さい。", L"勝率は0～100の範囲の整数で指定して下さい。",
    L"TAKE PROFITは0.000001～1000.000000" + kSixDecimals, L"STOP LOSSは0.000001～1000.000000" + kSixDecimals};

class Trade : public testing::Test {
 protected:
  void SetUp() override {
    TradeInformationPath = dir.File("trade_information.txt");
    TradeLogPath = dir.File("trade_query.txt");
    SetClockForTesting(1796462102);
    tradeParameters = TradeParameters{};
    ResetFakeUi();
    SetTradeInputs({L"100000", L"25", L"150.5", L"1000", L"50", L"0.5", L"0.3"});
  }
  void TearDown() override { tradeParameters = TradeParameters{}; }
  // The log edit shows the file's bytes, the marker 0xA5 as '･'.
  static std::wstring Shown(const std::string& bytes) {
    std::wstring text;
    for (char c : bytes) text += c == '\xA5' ? L'\xFF65' : static_cast<wchar_t>(c);
    return text;
  }
  TempDir dir;
};

TEST_F(Trade, InformationFileGivesTheValueOfEachTagFoundFirst) {
  EXPECT_EQ(LoadTradeInformation(), 255);
  const std::pair<std::string, Texts> cases[] = {
      {"A100000\r\nB25\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25",
       {"100000", "25", "150.5", "10000", "50", "0.5", "0.25"}},
      {"G7\nF6\nE5\nD4\nC3\nB2\nA1\n", {"1", "2", "3", "4", "5", "6", "7"}},
      {"A\nB25\r\nB26", {std::nullopt, "25"}},
      {"A1E5\nE60\n", {"1E5", std::nullopt, std::nullopt, std::nullopt, "5"}},
      {"", {}},
      {std::string("A12\0\nB5", 7), {"12"}},
  };
  for (const auto& [bytes, texts] : cases) {
    WriteBytes(TradeInformationPath, bytes);
    EXPECT_EQ(LoadTradeInformation(), 0);
    EXPECT_EQ(tradeParameters.texts, texts) << bytes;
  }
}

// A hand-edited file may hold any number: integers are truncated and held in
// their types' ranges; a field without text keeps its number.
TEST_F(Trade, TextsBecomeNumbersTruncatedAndHeldInRange) {
  const struct { std::string leverage, unitLotSize; std::int16_t leverageValue; std::int32_t unitValue; } cases[] = {
      {"25.99", "1000.5", 25, 1000}, {"-7.9", "-12.9", -7, -12}, {"abc", "", 0, 0},
      {"-99999", "-99999999999", INT16_MIN, INT32_MIN}, {"1" + std::string(400, '0'), "99999999999", INT16_MAX, kMax}};
  for (const auto& c : cases) {
    tradeParameters.texts = {"100000.5", c.leverage, std::nullopt, c.unitLotSize, "50"};
    ParseTradeParameters();
    const TradeParameters& p = tradeParameters;
    EXPECT_EQ(std::tuple(p.margin, p.leverage, p.rate, p.unitLotSize, p.winRate, p.takeProfit),
              std::tuple(100000.5, c.leverageValue, 0.0, c.unitValue, 0.5, 0.0)) << c.leverage;
  }
}

TEST_F(Trade, LogListsAndLastNumberAreReadByTolerantRules) {
  std::optional<std::string> text = "stale";
  EXPECT_EQ(std::tuple(LoadTradeLogText(text), text, ParseTradeLog(), ReadLastTradeNumber()),
            std::tuple(255, std::nullopt, std::nullopt, 1));
  const struct { std::string text; std::optional<LogData> lists; std::int32_t lastNumber; } cases[] = {
      {kFresh, LogData{{1, 2, 3}}, 1},
      {"No.3\nARRAY:1,2,3\nNo.12\nARRAY:1,2,3,4", LogData{{1, 2, 3}, {1, 2, 3, 4}}, 12},
      {"ARRA:1,2,3\n", std::nullopt, 1},               {"ARRAY:\nSTATUS:LOSE\n", std::nullopt, 1},
      {"", std::nullopt, 1},                           {"No.7x ARRAY:12,,5\n", LogData{{12}}, 7},
      {"ARRAY:\n\nx 3,4\nARRAY:5\r\n", LogData{{3, 4}, {5}}, 1},
      {"ARRAY:\nARRAY:7,8\n", LogData{{7, 8}}, 1},    {"ARRAY:1Y2\nARRAY:4\n", LogData{{1, 2}, {4}}, 1},
      {"No.\nARRAY:2147483647,2147483648,123456789012,007\n", LogData{{kMax, kMax, kMax, 7}}, 0},
      {"No.2 and 1.25\n", std::nullopt, 25},          {"No.123456789012\n", std::nullopt, kMax},
      {std::string("No.12\0x\nARRAY:1,2,3", 19), std::nullopt, 12},
  };
  for (const auto& c : cases) {
    WriteBytes(TradeLogPath, c.text);
    EXPECT_EQ(ParseTradeLog(), c.lists) << c.text;
    EXPECT_EQ(ReadLastTradeNumber(), c.lastNumber) << c.text;
  }
}

TEST_F(Trade, SetProfitIsExactInSixtyFourBitsAndZeroForListsOfEqualLength) {
  tradeParameters.unitLotSize = 100000000;
  tradeParameters.stopLoss = 1;
  EXPECT_EQ(ComputeSetProfit({{kMax, kMax}, {kMax, kMax, kMax}}), -429496729400000000.0);
  EXPECT_EQ(ComputeSetProfit({{1, 2, 3}, {1, 2, 3, 4}, {5, 6, 7, 8}}), 0);
}

TEST_F(Trade, SaveWritesTheNormalisedInputsAndKeepsThemTyped) {
  WriteBytes(TradeInformationPath, "A5\nextra line\n");
  const TradeInputs typed = {L"00100000.00", L"0100", L"150.500", L"010000", L"050", L"0.50", L"0.250"};
  SetTradeInputs(typed);
  SaveTradeInformationCommand();
  EXPECT_EQ(ReadBytes(TradeInformationPath), "A100000\r\nB100\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25");
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Question, L"TRADE INFORMATION をファイルにセーブしますか?"},
                                                 {BoxKind::Completion, L"セーブが完了しました｡"}}));
  EXPECT_EQ(fakeUi.controlsRead, (std::vector<int>{10001, 10002, 10003, 10004, 10005, 10006, 10007}));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(fakeUi.controls[IDC_MARGIN + i], typed[i]);
  EXPECT_EQ(std::tuple(tradeParameters.texts, tradeParameters.leverage), std::tuple(Texts{}, 0));
}

// Fields are read and checked one at a time in panel order; the first bad
// one is reported and nothing is written. REFERENCE and WIN read three.
TEST_F(Trade, TheFirstBadFieldIsReportedAndNothingChanges) {
  WriteBytes(TradeInformationPath, "A5");
  WriteBytes(TradeLogPath, kFresh);
  const struct { TradeInputs inputs; int field; std::size_t reads; void (*command)(); } cases[] = {
      {{L"", L"", L"", L"", L"", L"", L""}, 0, 1, SaveTradeInformationCommand},
      {{L"100", L"1.0", L"x", L"", L"", L"", L""}, 1, 2, SaveTradeInformationCommand},
      {{L"100", L"25", L"0.0000001", L"0"}, 2, 3, SaveTradeInformationCommand},
      {{L"100", L"25", L"1", L"100000001", L"50", L"0.5", L"0.25"}, 3, 4, SaveTradeInformationCommand},
      {{L"100", L"25", L"1", L"1", L"101"}, 4, 5, SaveTradeInformationCommand},
      {{L"100", L"25", L"1", L"1", L"0", L"1000.1", L""}, 5, 6, SaveTradeInformationCommand},
      {{L"100", L"25", L"1", L"1", L"100", L"1000", L"１"}, 6, 7, SaveTradeInformationCommand},
      {{L"", L"", L"", L"1000.0"}, 3, 1, ReferenceCommand},
      {{L"x", L"", L"", L"1000", L"", L"0", L"x"}, 5, 2, ReferenceCommand},
      {{L"", L"", L"", L"1000", L"", L"0.5", L"0.0000001"}, 6, 3, WinCommand},
  };
  for (const auto& c : cases) {
    ResetFakeUi();
    SetTradeInputs(c.inputs);
    c.command();
    EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::FieldWarning, kRangeMessages[c.field]})) << c.field;
    EXPECT_EQ(fakeUi.boxes.size(), c.command == SaveTradeInformationCommand ? 2u : 1u);
    EXPECT_EQ(fakeUi.controlsRead.back(), IDC_MARGIN + c.field);
    EXPECT_EQ(fakeUi.controlsRead.size(), c.reads);
    EXPECT_EQ(tradeParameters.texts, Texts{});
  }
  fakeUi.answers = {false};
  SaveTradeInformationCommand();
  EXPECT_EQ(fakeUi.controlsRead.size(), 3u);  // nothing read after No
  EXPECT_EQ(std::pair(ReadBytes(TradeInformationPath), ReadBytes(TradeLogPath)), std::pair(std::string("A5"), kFresh));
}

TEST_F(Trade, LoadAndClearSetOnlyTheirInputs) {
  const ShownBox question{BoxKind::Question, L"TRADE INFORMATION をファイルからロードしますか?"};
  LoadTradeInformationCommand();
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{
                              question, {BoxKind::FieldWarning, L"ファイルが存在しないため、ロード出来ませんでした。"}}));
  WriteBytes(TradeInformationPath, "A5000\r\nG\x82\xA0\r\n");
  fakeUi.answers = {false};
  LoadTradeInformationCommand();
  EXPECT_EQ(fakeUi.controls[IDC_MARGIN], L"100000");
  ResetFakeUi();
  SetTradeInputs({L"1", L"2", L"3", L"4", L"5", L"6", L"7"});
  LoadTradeInformationCommand();
  ClearTradeInput(TradeField::Rate);
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{question, {BoxKind::Completion, L"ロードが完了しました｡"}}));
  EXPECT_EQ(fakeUi.controls, (std::map<int, std::wstring>{{10001, L"5000"}, {10002, L"2"}, {10003, L""}, {10004, L"4"},
                                                          {10005, L"5"}, {10006, L"6"}, {10007, L"あ"}}));
  EXPECT_EQ(tradeParameters.texts, Texts{});
}

// Three losses and a win from a fresh log, the profit so far, and a win that
// ends the set with other conditions.
TEST_F(Trade, AWholeSetOfTradeQueries) {
  ASSERT_TRUE(ResetTradeLog());
  EXPECT_EQ(ReadBytes(TradeLogPath), kFresh);
  for (void (*command)() : {LoseCommand, LoseCommand, LoseCommand, WinCommand, ReferenceCommand}) command();
  const std::string log = kFresh +
      "STATUS:LOSE\r\n\r\n\xA5TRADE No.2\r\n" DATE_LINE "ARRAY:1,2,3,4\r\n"
      "STATUS:LOSE\r\n\r\n\xA5TRADE No.3\r\n" DATE_LINE "ARRAY:1,2,3,4,5\r\n"
      "STATUS:LOSE\r\n\r\n\xA5TRADE No.4\r\n" DATE_LINE "ARRAY:1,2,3,4,5,6\r\n"
      "STATUS:WIN\r\n\r\n\xA5TRADE No.5\r\n" DATE_LINE "ARRAY:3,4\r\n";
  EXPECT_EQ(std::pair(ReadBytes(TradeLogPath), fakeUi.controls[IDC_TRADE_LOG]), std::pair(log, Shown(log)));
  const ShownBox lose{BoxKind::Question, L"負けトレードで登録しますか?"}, lost{BoxKind::TradeResult, L"負けトレードで登録しました。"};
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{lose, lost, lose, lost, lose, lost,
                                                 {BoxKind::Question, L"勝ちトレードで登録しますか?"},
                                                 {BoxKind::TradeResult, L"勝ちトレードで登録しました。"},
                                                 {BoxKind::TradeResult, L"NEXT LOT SIZE:7000\nPROFIT:-1000"}}));
  EXPECT_EQ(fakeUi.controlsRead, (std::vector<int>{10004, 10006, 10007, 10004, 10006, 10007}));
  SetTradeInputs({L"", L"", L"", L"2000", L"", L"0.5", L"0.3"});
  WinCommand();
  EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は5000です。"}));
  EXPECT_EQ(std::pair(ReadBytes(TradeLogPath), fakeUi.controls[IDC_TRADE_LOG]), std::pair(kFresh, Shown(kFresh)));
  SetTradeInputs({L"", L"", L"", L"100000000", L"", L"0.5", L"0.3"});
  WriteBytes(TradeLogPath, "ARRAY:2147483647,2147483647\r\n");
  ReferenceCommand();
  EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::TradeResult, L"NEXT LOT SIZE:429496729400000000\nPROFIT:0"}));
}

// No to a question changes nothing (WIN has taken the numbers by then); LOSE
// and DROP OUT read no input; a win on five numbers ends the set.
TEST_F(Trade, QuestionsDropOutAndTheEndOfASet) {
  const std::string five = "No.3\r\nARRAY:1,2,3,4,5\r\n";
  WriteBytes(TradeLogPath, five);
  SetTradeInputs({L"", L"", L"", L"2000", L"", L"0.75", L"0.3"});
  fakeUi.answers = {false, false, false};
  for (void (*command)() : {WinCommand, LoseCommand, DropOutCommand}) command();
  EXPECT_EQ(std::pair(fakeUi.boxes.size(), ReadBytes(TradeLogPath)), std::pair(std::size_t{3}, five));
  EXPECT_EQ(std::tuple(tradeParameters.unitLotSize, tradeParameters.takeProfit), std::tuple(2000, 0.75));
  WinCommand();
  EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は9000です。"}));
  WriteBytes(TradeLogPath, five);
  ResetFakeUi();
  DropOutCommand();
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Question, L"今回のセットをドロップアウトしますか?"},
                                                 {BoxKind::Completion, L"ドロップアウトが完了しました。"}}));
  EXPECT_EQ(ReadBytes(TradeLogPath), kFresh);
  EXPECT_EQ(fakeUi.controls, (std::map<int, std::wstring>{{IDC_TRADE_LOG, Shown(kFresh)}}));
}

}  // namespace
