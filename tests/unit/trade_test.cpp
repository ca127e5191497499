// The trade conditions and their file, the trade log, the set profit, and the
// TRADE INFORMATION and TRADE QUERY commands through the scripted window.
#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/clock.h"
#include "io/codepage.h"
#include "io/paths.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_panel.h"
#include "trade/trade_parameters.h"
#include "trade/trade_query.h"

namespace {

constexpr std::int32_t kMax = INT32_MAX;
#define DATE_LINE "DATE:Sat Dec 05 09:15:02 2026\r\n"
const std::string kFresh = "\xA5TRADE No.1\r\n" DATE_LINE "ARRAY:1,2,3\r\n";
const std::wstring kIn = L"の範囲で指定して下さい。", kInt = L"の範囲の整数で指定して下さい。",
                   kPlaces = L"位まで指定可能です。(小数点以下は省略する事も可能です。)", kSix = kIn + L"\n小数第6" + kPlaces;
const std::wstring kRangeMessages[] = {
    L"対象レート換算証拠金は0.01～100000000.00" + kIn + L"\n小数第2" + kPlaces, L"レバレッジは1～1000" + kInt,
    L"対象通貨ペアレートは0.000001～1000.000000" + kSix, L"単位ロットサイズは1～100000000" + kInt, L"勝率は0～100" + kInt,
    L"TAKE PROFITは0.000001～1000.000000" + kSix, L"STOP LOSSは0.000001～1000.000000" + kSix};

// The log edit's text as the file's bytes, the marker '･' as 0xA5.
std::optional<std::string> LogEdit() { return WideToAnsi(fakeUi.controls[IDC_TRADE_LOG]); }

class Trade : public testing::Test {
 protected:
  void SetUp() override {
    TradeInformationPath = dir.File("trade_information.txt");
    TradeLogPath = dir.File("trade_query.txt");
    SetClockForTesting(1796462102);
    ResetFakeUi();
  }
  TempDir dir;
};

TEST_F(Trade, LogListsAndLastNumberAreReadByTolerantRules) {
  EXPECT_EQ(std::tuple(LoadTradeLogText().status, ParseTradeLog(), ReadLastTradeNumber()),
            std::tuple(ReadStatus::Missing, std::nullopt, 1));
  const struct { std::string text; std::optional<LogData> lists; std::int32_t lastNumber; } cases[] = {
      {"No.3\nARRAY:1,2,3\nNo.12\nARRAY:1,2,3,4", LogData{{1, 2, 3}, {1, 2, 3, 4}}, 12},
      {"ARRA:1,2,3\n", std::nullopt, 1},               {"ARRAY:\nSTATUS:LOSE\n", std::nullopt, 1},
      {"", std::nullopt, 1},                           {"No.7x ARRAY:12,,5\n", LogData{{12}}, 7},
      {"ARRAY:\n\nx 3,4\nARRAY:5\r\n", LogData{{3, 4}, {5}}, 1},
      {"ARRAY:\nARRAY:7,8\n", LogData{{7, 8}}, 1},    {"ARRAY:1Y2\nARRAY:4\n", LogData{{1, 2}, {4}}, 1},
      {"No.\nARRAY:2147483647,2147483648,123456789012,007\n", LogData{{kMax, kMax, kMax, 7}}, 0},
      {"No.2 and 1.25\n", std::nullopt, 25},          {"No.123456789012\n", std::nullopt, kMax},
      {std::string("No.12\0x\nARRAY:1,2,3", 19), std::nullopt, 12}};
  for (const auto& c : cases) {
    WriteBytes(TradeLogPath, c.text);
    EXPECT_EQ(ParseTradeLog(), c.lists) << c.text;
    EXPECT_EQ(ReadLastTradeNumber(), c.lastNumber) << c.text;
  }
}

TEST_F(Trade, SaveWritesTheNormalisedInputsAndKeepsThemTyped) {
  WriteBytes(TradeInformationPath, "A5\nextra line\n");
  const std::wstring_view typed = L"00100000.00|0100|150.500|010000|050|0.50|0.250";
  SetInputs(typed);
  SaveTradeInformationCommand();
  EXPECT_EQ(ReadBytes(TradeInformationPath), "A100000\r\nB100\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25");
  EXPECT_EQ(fakeUi.boxes, (Boxes{{BoxKind::Question, L"TRADE INFORMATION をファイルにセーブしますか?"},
                                 {BoxKind::Completion, L"セーブが完了しました｡"}}));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(fakeUi.controls[IDC_MARGIN + i], Fields(typed)[i]);
}

// Fields are read and checked one at a time in panel order; the first bad
// one is reported and nothing is written. Here the fields before `field` are
// good and the others bad; REFERENCE and WIN read three of them.
TEST_F(Trade, TheFirstBadFieldIsReportedAndNothingChanges) {
  WriteBytes(TradeInformationPath, "A5");
  WriteBytes(TradeLogPath, kFresh);
  const std::vector<std::wstring> good = Fields(L"100|25|1|1|100|1000|0.5"),
                                  bad = Fields(L"|1.0|0.0000001|100000001|101|1000.1|１");
  const struct { void (*command)(); int field; std::size_t reads; } cases[] = {
      {SaveTradeInformationCommand, 0, 1}, {SaveTradeInformationCommand, 1, 2}, {SaveTradeInformationCommand, 2, 3},
      {SaveTradeInformationCommand, 3, 4}, {SaveTradeInformationCommand, 4, 5}, {SaveTradeInformationCommand, 5, 6},
      {SaveTradeInformationCommand, 6, 7}, {ReferenceCommand, 5, 2},            {WinCommand, 6, 3}};
  for (const auto& c : cases) {
    ResetFakeUi();
    for (int i = 0; i < 7; ++i) fakeUi.controls[IDC_MARGIN + i] = i < c.field ? good[i] : bad[i];
    c.command();
    EXPECT_EQ(std::tuple(fakeUi.boxes.back(), fakeUi.boxes.size(), fakeUi.controlsRead.back(), fakeUi.controlsRead.size()),
              std::tuple(ShownBox{BoxKind::FieldWarning, kRangeMessages[c.field]},
                         c.command == SaveTradeInformationCommand ? 2u : 1u, IDC_MARGIN + c.field, c.reads));
    EXPECT_EQ(tradeParameters.texts, decltype(tradeParameters.texts){}) << c.field;
  }
  EXPECT_EQ(std::pair(ReadBytes(TradeInformationPath), ReadBytes(TradeLogPath)), std::pair(std::string("A5"), kFresh));
}

// Each tag's value is the rest of the line after its first occurrence
// anywhere; a field whose tag is missing or empty keeps its input.
TEST_F(Trade, LoadAndClearSetOnlyTheirInputs) {
  const ShownBox question{BoxKind::Question, L"TRADE INFORMATION をファイルからロードしますか?"};
  LoadTradeInformationCommand();
  EXPECT_EQ(fakeUi.boxes, (Boxes{question, {BoxKind::FieldWarning, L"ファイルが存在しないため、ロード出来ませんでした。"}}));
  WriteBytes(TradeInformationPath, std::string("G\x82\xA0\r\nC\r\nD1E5\r\nA5000\nE60\r\nD7\0F8", 30));
  ResetFakeUi();
  SetInputs(L"1|2|3|4|5|6|7");
  LoadTradeInformationCommand();
  ClearTradeInput(TradeField::Leverage);
  EXPECT_EQ(fakeUi.boxes, (Boxes{question, {BoxKind::Completion, L"ロードが完了しました｡"}}));
  EXPECT_EQ(fakeUi.controls, (std::map<int, std::wstring>{{10001, L"5000"}, {10002, L""}, {10003, L"3"},
                                                          {10004, L"1E5"}, {10005, L"5"}, {10006, L"6"}, {10007, L"あ"}}));
}

// Three losses, a win and REFERENCE from a fresh log, then a win that ends the
// set with other conditions, and REFERENCE on the largest stake, exact in 64 bits.
TEST_F(Trade, AWholeSetOfTradeQueries) {
  WriteBytes(TradeLogPath, kFresh);
  SetInputs(L"|||1000||0.5|0.3");
  for (void (*command)() : {LoseCommand, LoseCommand, LoseCommand, WinCommand, ReferenceCommand}) command();
  const std::string log = kFresh +
      "STATUS:LOSE\r\n\r\n\xA5TRADE No.2\r\n" DATE_LINE "ARRAY:1,2,3,4\r\n"
      "STATUS:LOSE\r\n\r\n\xA5TRADE No.3\r\n" DATE_LINE "ARRAY:1,2,3,4,5\r\n"
      "STATUS:LOSE\r\n\r\n\xA5TRADE No.4\r\n" DATE_LINE "ARRAY:1,2,3,4,5,6\r\n"
      "STATUS:WIN\r\n\r\n\xA5TRADE No.5\r\n" DATE_LINE "ARRAY:3,4\r\n";
  EXPECT_EQ(std::tuple(ReadBytes(TradeLogPath), LogEdit()), std::tuple(log, log));
  const ShownBox lose{BoxKind::Question, L"負けトレードで登録しますか?"}, lost{BoxKind::TradeResult, L"負けトレードで登録しました。"};
  EXPECT_EQ(fakeUi.boxes, (Boxes{lose, lost, lose, lost, lose, lost, {BoxKind::Question, L"勝ちトレードで登録しますか?"},
                                 {BoxKind::TradeResult, L"勝ちトレードで登録しました。"},
                                 {BoxKind::TradeResult, L"NEXT LOT SIZE:7000\nPROFIT:-1000"}}));
  SetInputs(L"|||2000||0.5|0.3");
  WinCommand();
  EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は5000です。"}));
  EXPECT_EQ(std::tuple(ReadBytes(TradeLogPath), LogEdit()), std::tuple(kFresh, kFresh));
  SetInputs(L"|||100000000||0.5|0.3");
  WriteBytes(TradeLogPath, "ARRAY:1,2\r\nARRAY:2147483647,2147483647\r\n");  // lists of equal length: no profit
  ReferenceCommand();
  EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::TradeResult, L"NEXT LOT SIZE:429496729400000000\nPROFIT:0"}));
}

// No to a question changes nothing; only WIN has read its inputs by then.
TEST_F(Trade, NoChangesNothingAndDropOutStartsAFreshSet) {
  WriteBytes(TradeInformationPath, "A5");
  WriteBytes(TradeLogPath, kFresh);
  SetInputs(L"|||2000||0.75|0.3");
  fakeUi.answers = {false, false, false, false};
  for (void (*command)() : {SaveTradeInformationCommand, WinCommand, LoseCommand, DropOutCommand}) command();
  EXPECT_EQ(std::tuple(fakeUi.boxes.size(), fakeUi.controlsRead.size(), ReadBytes(TradeInformationPath),
                       ReadBytes(TradeLogPath)), std::tuple(4u, 3u, "A5", kFresh));
  WriteBytes(TradeLogPath, "ARRAY:1,2,3,4,5\r\n");
  ResetFakeUi();
  DropOutCommand();
  EXPECT_EQ(fakeUi.boxes, (Boxes{{BoxKind::Question, L"今回のセットをドロップアウトしますか?"},
                                 {BoxKind::Completion, L"ドロップアウトが完了しました。"}}));
  EXPECT_EQ(std::tuple(ReadBytes(TradeLogPath), LogEdit(), fakeUi.controls.size()), std::tuple(kFresh, kFresh, 1u));
}

}  // namespace
