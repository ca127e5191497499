// Tests of the TRADE INFORMATION panel commands through the scripted window:
// CLEAR, SAVE (questions, the first bad field, the file written) and LOAD.
#include "trade/trade_panel.h"

#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/paths.h"
#include "temp_dir.h"
#include "trade/trade_parameters.h"

namespace {

constexpr std::wstring_view kSaveQuestion = L"TRADE INFORMATION をファイルにセーブしますか?";
constexpr std::wstring_view kLoadQuestion = L"TRADE INFORMATION をファイルからロードしますか?";

class TradePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeInformationPath = dir.File("trade_information.txt");
    tradeParameters = TradeParameters{};
    ResetFakeUi();
    SetTradeInputs({L"100000", L"25", L"150.5", L"10000", L"50", L"0.5", L"0.25"});
  }
  void TearDown() override { tradeParameters = TradeParameters{}; }

  static bool NoTextHeld() {
    for (const auto& text : tradeParameters.texts) {
      if (text) return false;
    }
    return true;
  }

  TempDir dir;
};

TEST_F(TradePanelTest, ClearEmptiesOnlyItsInput) {
  const auto before = TradeInputTexts();
  tradeParameters.rate = 150.5;
  ClearTradeInput(TradeField::Rate);
  auto expected = before;
  expected[2] = L"";
  EXPECT_EQ(TradeInputTexts(), expected);
  EXPECT_TRUE(fakeUi.boxes.empty());
  EXPECT_EQ(tradeParameters.rate, 150.5);
  EXPECT_FALSE(std::filesystem::exists(TradeInformationPath));
}

TEST_F(TradePanelTest, SaveWritesNormalisedTextsAndKeepsInputs) {
  WriteBytes(TradeInformationPath, "A1\nB2\nC3\nD4\nE5\nF6\nG7\nextra line\n");
  SetTradeInputs({L"00100000.00", L"0100", L"150.500", L"010000", L"050", L"0.50", L"0.250"});
  const auto typed = TradeInputTexts();
  SaveTradeInformationCommand();
  EXPECT_EQ(ReadBytes(TradeInformationPath), "A100000\r\nB100\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25");
  EXPECT_EQ(TradeInputTexts(), typed);
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Question, std::wstring(kSaveQuestion)},
                                                 {BoxKind::Completion, L"セーブが完了しました｡"}}));
  EXPECT_EQ(fakeUi.controlsRead, (std::vector<int>{10001, 10002, 10003, 10004, 10005, 10006, 10007}));
  EXPECT_TRUE(NoTextHeld());
  EXPECT_EQ(tradeParameters.leverage, 0);  // SAVE changes no number
}

TEST_F(TradePanelTest, SaveAnsweredNoChangesNothing) {
  fakeUi.answers = {false};
  SaveTradeInformationCommand();
  EXPECT_FALSE(std::filesystem::exists(TradeInformationPath));
  EXPECT_TRUE(fakeUi.controlsRead.empty());
  EXPECT_EQ(fakeUi.boxes.size(), 1u);
}

TEST_F(TradePanelTest, SaveReportsTheFirstBadFieldOnly) {
  struct Case {
    TradeInputs inputs;
    TradeField reported;
  };
  const Case cases[] = {
      {{L"", L"", L"", L"", L"", L"", L""}, TradeField::Margin},
      {{L"0.001", L"25", L"150.5", L"10000", L"50", L"0.5", L"0.25"}, TradeField::Margin},
      {{L"100", L"1.0", L"x", L"10000", L"50", L"0.5", L"0.25"}, TradeField::Leverage},
      {{L"100", L"25", L"0.0000001", L"0", L"50", L"0.5", L"0.25"}, TradeField::Rate},
      {{L"100", L"25", L"1", L"100000001", L"50", L"0.5", L"0.25"}, TradeField::UnitLotSize},
      {{L"100", L"25", L"1", L"1", L"101", L"0.5", L"0.25"}, TradeField::WinRate},
      {{L"100", L"25", L"1", L"1", L"0", L"1000.1", L""}, TradeField::TakeProfit},
      {{L"100", L"25", L"1", L"1", L"100", L"1000", L"１"}, TradeField::StopLoss},
  };
  WriteBytes(TradeInformationPath, "A5\r\nB6");
  for (const Case& c : cases) {
    SCOPED_TRACE(FieldIndex(c.reported));
    ResetFakeUi();
    SetTradeInputs(c.inputs);
    SaveTradeInformationCommand();
    EXPECT_EQ(fakeUi.boxes,
              (std::vector<ShownBox>{{BoxKind::Question, std::wstring(kSaveQuestion)},
                                     {BoxKind::FieldWarning, std::wstring(RangeMessage(c.reported))}}));
    std::vector<int> read;
    for (int i = 0; i <= FieldIndex(c.reported); ++i)
      read.push_back(IDC_MARGIN + i);
    EXPECT_EQ(fakeUi.controlsRead, read);
    EXPECT_TRUE(NoTextHeld());
    EXPECT_EQ(ReadBytes(TradeInformationPath), "A5\r\nB6");
  }
}

TEST_F(TradePanelTest, SaveThatCannotWriteReportsIt) {
  std::filesystem::create_directory(TradeInformationPath);
  SaveTradeInformationCommand();
  EXPECT_EQ(fakeUi.boxes.back(),
            (ShownBox{BoxKind::Error, ErrorText(L"02-71", L"ファイルのセーブに失敗しました。")}));
  EXPECT_TRUE(std::filesystem::is_directory(TradeInformationPath));
  EXPECT_TRUE(NoTextHeld());
}

TEST_F(TradePanelTest, LoadSetsTheFieldsTheFileHolds) {
  WriteBytes(TradeInformationPath, "A5000\r\nG0.3");
  LoadTradeInformationCommand();
  EXPECT_EQ(TradeInputTexts(),
            (TradeInputs{L"5000", L"25", L"150.5", L"10000", L"50", L"0.5", L"0.3"}));
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Question, std::wstring(kLoadQuestion)},
                                                 {BoxKind::Completion, L"ロードが完了しました｡"}}));
  EXPECT_TRUE(NoTextHeld());
}

TEST_F(TradePanelTest, LoadWithoutFileOrAnsweredNoKeepsInputs) {
  const auto before = TradeInputTexts();
  LoadTradeInformationCommand();
  EXPECT_EQ(TradeInputTexts(), before);
  EXPECT_EQ(fakeUi.boxes.back(),
            (ShownBox{BoxKind::FieldWarning, L"ファイルが存在しないため、ロード出来ませんでした。"}));

  WriteBytes(TradeInformationPath, "A5000");
  ResetFakeUi();
  SetTradeInputs(before);
  fakeUi.answers = {false};
  LoadTradeInformationCommand();
  EXPECT_EQ(TradeInputTexts(), before);
  EXPECT_EQ(fakeUi.boxes.size(), 1u);
}

TEST_F(TradePanelTest, LoadedTextIsJudgedAtTheNextSave) {
  WriteBytes(TradeInformationPath, "Aabc\nB25");
  LoadTradeInformationCommand();
  EXPECT_EQ(fakeUi.controls[IDC_MARGIN], L"abc");
  SaveTradeInformationCommand();
  EXPECT_EQ(fakeUi.boxes.back(),
            (ShownBox{BoxKind::FieldWarning, std::wstring(RangeMessage(TradeField::Margin))}));
  EXPECT_EQ(ReadBytes(TradeInformationPath), "Aabc\nB25");
}

}  // namespace
