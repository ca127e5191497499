// Decimal text, the field validators, the progression list, text files, the trade log, both trade panels, start-up.
#include <gtest/gtest.h>

#include "core/decimal.h"
#include "core/progression.h"
#include "core/trade_field.h"
#include "fake_ui.h"
#include "sim/arithmetic.h"
#include "startup/saved_data.h"
#include "trade/trade_log.h"
#include "trade/trade_panel.h"
#include "trade/trade_parameters.h"
#include "trade/trade_query.h"

namespace {

constexpr std::int32_t kMax = INT32_MAX;
const std::string kFresh = "\xA5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\n";
const std::wstring kFreshShown = L"\xFF65TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\n";

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

// A read turns CR LF into LF, keeps a lone CR and ends at 0x1A. A write into a folder in the way or missing, or
// onto a full disk (fclose meets what fwrite buffered), writes and leaves nothing: such a folder takes no files.
TEST(Files, ReadInTextModeAndAFailedWriteLeavesNothing) {
  TempDir dir;
  WriteBytes(dir.File("t.txt"), "a\r\r\nb\r\x1A" "c");
  EXPECT_EQ(ReadWholeFile(dir.File("t.txt")).text, "a\r\nb\r");
  MakeDirectory(dir.File("d"));
  for (const std::string& target : {dir.File("d"), dir.File("missing/w.txt")})
    EXPECT_FALSE(WriteTextFile(target, "x") || AppendTextFile(target, "x")) << target;
#ifndef _WIN32
  std::filesystem::create_symlink("/dev/full", dir.File("full.tmp"));
  std::filesystem::create_symlink("/dev/full", dir.File("write_test.tmp"));  // the folder's own write probe
  EXPECT_FALSE(WriteTextFile(dir.File("full"), "x") || AppendTextFile("/dev/full", "x") ||
               FolderAcceptsFiles(dir.path.string()));
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2);
}

class Trade : public testing::Test {
 protected:
  void SetUp() override {
    std::tie(TradeInformationPath, TradeLogPath, fakeUi) =
        std::tuple(dir.File("trade_information.txt"), dir.File("trade_query.txt"), FakeUi{});
  }
  const FixedDates dates;
  const TempDir dir;
};

TEST_F(Trade, LogListsAndLastNumberAreReadByTolerantRules) {
  const struct { std::string text; std::optional<LogData> lists; std::optional<std::int32_t> lastNumber; } cases[] = {
      {"No.3\nARRAY:1,2,3\nNo.12\nARRAY:0,1", LogData{{1, 2, 3}, {0, 1}}, 12}, {"ARRAY:\nSTATUS:LOSE\n", {}, 1},
      {"No.7x ARRAY:12,,5\n", LogData{{12}}, 7}, {"ARRAY:\n\nx 3,4\nARRAY:5\r\n", LogData{{3, 4}, {5}}, 1},
      {"ARRAY:\nARRAY:7,8\n9\n", LogData{{7, 8}}, 1}, {"ARRAY:1Y2\nARRAY:4\n", LogData{{1, 2}, {4}}, 1},
      {"No.123456789012\n", {}, kMax}, {std::string("No.12\0x\nARRAY:1,2,3", 19), {}, 12},
      {"No.\nARRAY:2147483647,2147483648,123456789012,007,2147483646\n", LogData{{kMax, kMax, kMax, 7, kMax - 1}}, 0}};
  for (const auto& c : cases) {
    WriteBytes(TradeLogPath, c.text);
    EXPECT_EQ(std::pair(ParseTradeLog(), ReadLastTradeNumber()), std::pair(c.lists, c.lastNumber)) << c.text;
  }
}

// Each command checks the fields it reads in panel order and reports the first bad one; answered No, a question
// ends its command. Neither changes a file or touches an edit but the inputs, and only WIN has read its three
// inputs before its question.
TEST_F(Trade, AFirstBadFieldOrANoEndsTheCommandWithNothingChanged) {
  WriteBytes(TradeInformationPath, "A5");
  WriteBytes(TradeLogPath, kFresh);
  const struct { void (*command)(); std::wstring_view inputs, message; } cases[] = {
      {SaveTradeInformationCommand, L"1|1.0|0|0|101|0|１", L"レバレッジは1～1000の範囲の整数で指定して下さい。"},
      {ArithmeticCalculateCommand, L"1|1|1|1|101|0|１", L"勝率は0～100の範囲の整数で指定して下さい。"},
      {ReferenceCommand, L"|||0|1|1|1", L"単位ロットサイズは1～100000000の範囲の整数で指定して下さい。"}};
  for (const auto& c : cases) {
    SetInputs(c.inputs);
    c.command();
    EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::FieldWarning, std::wstring(c.message)}));
  }
  SetInputs(L"1|2|3|2000|5|0.75|0.3");
  fakeUi.answerNo = true;
  for (void (*command)() : {SaveTradeInformationCommand, LoadTradeInformationCommand, WinCommand, LoseCommand,
                            DropOutCommand})
    command();
  EXPECT_EQ(std::pair(ReadBytes(TradeInformationPath), ReadBytes(TradeLogPath)), std::pair(std::string("A5"), kFresh));
  EXPECT_EQ(std::tuple(fakeUi.boxes.size(), fakeUi.controls.size(), tradeParameters.unitLotSize),
            std::tuple(9u, 7u, 2000));
}

// SAVE writes the texts normalised, the inputs keep them as typed. LOAD takes a tag's value as the rest of the
// line after its first occurrence; a field whose tag is missing or empty keeps its input.
TEST_F(Trade, SaveWritesTheTextsNormalisedAndLoadAndClearSetOnlyTheirInputs) {
  LoadTradeInformationCommand();
  const std::wstring typed = L"00100000.00|0100|150.500|010000|050|0.50|0.250";
  SetInputs(typed);
  SaveTradeInformationCommand();
  EXPECT_EQ(std::pair(ReadBytes(TradeInformationPath), Shown(IDC_MARGIN, IDC_STOP_LOSS)),
            std::pair(std::string("A100000\r\nB100\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25"), typed));
  WriteBytes(TradeInformationPath, std::string("G\x82\xA0\r\nC\r\nD1E5\r\nA5000\nE60\r\nD7\0F8", 30));
  SetInputs(L"1|2|3|4|5|6|7");
  LoadTradeInformationCommand();
  ClearTradeInput(TradeField::Leverage);
  EXPECT_EQ(Shown(IDC_MARGIN, IDC_STOP_LOSS), L"5000||3|1E5|5|6|あ");
  const ShownBox load{BoxKind::Question, L"TRADE INFORMATION をファイルからロードしますか?"};
  EXPECT_EQ(fakeUi.boxes, (Boxes{load, {BoxKind::FieldWarning, L"ファイルが存在しないため、ロード出来ませんでした。"},
                                 {BoxKind::Question, L"TRADE INFORMATION をファイルにセーブしますか?"},
                                 {BoxKind::Completion, L"セーブが完了しました｡"}, load,
                                 {BoxKind::Completion, L"ロードが完了しました｡"}}));
}

// Three losses, a win and REFERENCE from a fresh log, a win that ends the set with other conditions,
// REFERENCE on the largest stake (exact in 64 bits) and DROP OUT, which starts a fresh set.
TEST_F(Trade, AWholeSetOfTradeQueries) {
  WriteBytes(TradeLogPath, kFresh);
  SetInputs(L"|||1000||0.5|0.3");
  for (void (*command)() : {LoseCommand, LoseCommand, LoseCommand, WinCommand, ReferenceCommand}) command();
  const std::string log =
      "\xA5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
      "\xA5TRADE No.2\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3,4\r\nSTATUS:LOSE\r\n\r\n"
      "\xA5TRADE No.3\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3,4,5\r\nSTATUS:LOSE\r\n\r\n"
      "\xA5TRADE No.4\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3,4,5,6\r\nSTATUS:WIN\r\n\r\n"
      "\xA5TRADE No.5\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:3,4\r\n";
  const ShownBox lose{BoxKind::Question, L"負けトレードで登録しますか?"};
  const ShownBox lost{BoxKind::TradeResult, L"負けトレードで登録しました。"};
  EXPECT_EQ(std::tuple(ReadBytes(TradeLogPath), WideToAnsi(fakeUi.controls[IDC_TRADE_LOG])), std::tuple(log, log));
  EXPECT_EQ(fakeUi.boxes, (Boxes{lose, lost, lose, lost, lose, lost,
                                 {BoxKind::Question, L"勝ちトレードで登録しますか?"},
                                 {BoxKind::TradeResult, L"勝ちトレードで登録しました。"},
                                 {BoxKind::TradeResult, L"NEXT LOT SIZE:7000\nPROFIT:-1000"}}));
  SetInputs(L"|||2000||0.5|0.3");
  WinCommand();
  EXPECT_EQ(fakeUi.boxes.back(), (ShownBox{BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は5000です。"}));
  EXPECT_EQ(std::pair(ReadBytes(TradeLogPath), fakeUi.controls[IDC_TRADE_LOG]), std::pair(kFresh, kFreshShown));
  fakeUi = {};
  SetInputs(L"|||100000000||0.5|0.3");
  WriteBytes(TradeLogPath, "ARRAY:1,2\r\nARRAY:2147483647,2147483647\r\n");  // lists of equal length: no profit
  ReferenceCommand();
  DropOutCommand();
  EXPECT_EQ(fakeUi.boxes, (Boxes{{BoxKind::TradeResult, L"NEXT LOT SIZE:429496729400000000\nPROFIT:0"},
                                 {BoxKind::Question, L"今回のセットをドロップアウトしますか?"},
                                 {BoxKind::Completion, L"ドロップアウトが完了しました。"}}));
  EXPECT_EQ(std::pair(ReadBytes(TradeLogPath), fakeUi.controls[IDC_TRADE_LOG]), std::pair(kFresh, kFreshShown));
}

// The program's folder (表∴汕煦: 表 ends in the byte 0x5C; the others pair wrongly, up to a lead byte before the
// separator, if 0x81, 0x9F or 0xE0 were taken for a single byte) holds the trade conditions and no log, which
// start-up writes fresh, or a file in the place of save_data: then one box says so and start-up goes on.
TEST_F(Trade, StartUpMakesSaveDataAndLoadsItOrSaysOnceThatItCannot) {
  const struct { std::string folder; bool blocked; const char* information; std::wstring shown; } cases[] = {
      {"\x95\x5C\x81\x88\x9F\x88\xE0\x88", false, "A5\nG0.3", L"5||||||0.3|" + kFreshShown},
      {"blocked", true, nullptr, L"|||||||"}};
  const std::string sep(1, kPathSeparator);
  for (const auto& c : cases) {
    fakeUi = {};
    const std::string folder = dir.path.string() + sep + c.folder, saveData = folder + sep + "save_data";
    MakeDirectory(folder);
    if (c.blocked) WriteBytes(saveData, "");
    if (c.information) MakeDirectory(saveData), WriteBytes(saveData + sep + "trade_information.txt", c.information);
    ExeDirectory = DirectoryOf(folder + sep + "Tallowind.exe");
    EXPECT_TRUE(LoadSavedData());
    EXPECT_EQ(Shown(IDC_MARGIN, IDC_TRADE_LOG), c.shown);
    EXPECT_EQ(AnsiToWide(ReadBytes(saveData + sep + "trade_query.txt")), c.shown.substr(c.shown.rfind(L'|') + 1));
    const std::wstring unusable =
        L"エラーコード:01-05\nこのフォルダにはデータを保存できません。\n保存用のフォルダを作成できないか、書き込み"
        L"できません:\n" + std::wstring(saveData.begin(), saveData.end()) +
        L"\n\nTallowind のフォルダごと、書き込みのできる場所（例: C:\\Tallowind）に移してから起動してください。";
    EXPECT_EQ(fakeUi.boxes, (c.blocked ? Boxes{{BoxKind::SevereError, unusable}} : Boxes{}));
  }
}

}  // namespace
