// The trade commands' boxes as the window shows them, with the files each
// answer leaves, and both simulations: their outputs and the chart.
#include <gtest/gtest.h>

#include "app.h"
#include "res/resource.h"

using namespace e2e;

namespace {

const std::wstring kOperation = L"オペレーション確認", kTradeStatus = L"トレード状況";
BoxView Question(const std::wstring& text) { return {kOperation, text, Icon::Question, {IDYES, IDNO}, true}; }
BoxView Information(const std::wstring& caption, const std::wstring& text) {
  return {caption, text, Icon::Information, {IDOK}, true};
}
BoxView Warning(const std::wstring& text) { return {kOperation, text, Icon::Warning, {IDOK}, true}; }

TEST(Boxes, TradeCommandsAskInformAndWrite) {
  // Trade No.1 lost, No.2 (1, 2, 3, 4) open.
  const std::string kMiddleOfSet =
      "\xA5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
      "\xA5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\n";
  const std::string kAfterLose =
      kMiddleOfSet + "STATUS:LOSE\r\n\r\n\xA5TRADE No.3\r\nDATE:@\r\nARRAY:1,2,3,4,5\r\n";
  const std::string kFresh = "\xA5TRADE No.1\r\nDATE:@\r\nARRAY:1,2,3\r\n";
  const char* const kSaved = "A100000.5\r\nB100\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25";
  const BoxView kSaveQuestion = Question(L"TRADE INFORMATION をファイルにセーブしますか?"), kNone{};
  Folder folder;
  folder.Write("trade_query.txt", kMiddleOfSet);
  const std::time_t start = std::time(nullptr);
  App app(folder, ProgramPath());
  app.SetTexts(IDC_MARGIN, {L"0100000.50", L"0100", L"150.500", L"10000", L"50", L"0.500000", L"0.25"});
  struct Step {
    const char* name;
    std::wstring takeProfit;  // typed first, if any
    int command;
    BoxView question;  // no caption: none is asked
    int answer;
    BoxView result;           // no caption: none is shown
    const char* information;  // trade_information.txt afterwards, or none
    std::string log;          // trade_query.txt afterwards, "@" a date written in the test
  } const steps[] = {
      // clang-format off
      {"SAVE, No", L"", IDC_SAVE, kSaveQuestion, IDNO, kNone, nullptr, kMiddleOfSet},
      {"SAVE, Yes", L"", IDC_SAVE, kSaveQuestion, IDYES, Information(kOperation, L"セーブが完了しました｡"),
       kSaved, kMiddleOfSet},
      {"REFERENCE, TAKE PROFIT out of range", L"1000.000001", IDC_REFERENCE, kNone, 0,
       Warning(L"TAKE PROFITは0.000001～1000.000000の範囲で指定して下さい。\n"
               L"小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)"), kSaved, kMiddleOfSet},
      {"LOSE", L"0.5", IDC_LOSE, Question(L"負けトレードで登録しますか?"), IDYES,
       Information(kTradeStatus, L"負けトレードで登録しました。"), kSaved, kAfterLose},
      {"DROP OUT", L"", IDC_DROP_OUT, Question(L"今回のセットをドロップアウトしますか?"), IDYES,
       Information(kOperation, L"ドロップアウトが完了しました。"), kSaved, kFresh},
      // Stake 4 won at 10000 x 0.5 ends the set of one trade.
      {"WIN ending the set", L"", IDC_WIN, Question(L"勝ちトレードで登録しますか?"), IDYES,
       Information(kTradeStatus, L"1セット終了しました。\n今回の損益は20000です。"), kSaved, kFresh},
      // clang-format on
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    if (!step.takeProfit.empty()) app.SetTexts(IDC_TAKE_PROFIT, {step.takeProfit});
    app.Command(step.command);
    for (auto [expected, button] : {std::pair(step.question, step.answer), std::pair(step.result, IDOK)}) {
      if (expected.caption.empty()) continue;
      const HWND box = app.WaitBox();
      EXPECT_EQ(expected, app.View(box));
      app.Dismiss(box, WM_COMMAND, button);
    }
    app.Sync();
    EXPECT_FALSE(app.HasBox());
    std::map<std::string, std::string> files{{"trade_query.txt", step.log}};
    if (step.information) files["trade_information.txt"] = step.information;
    EXPECT_EQ(files, folder.Files(start));
  }
}

TEST(Simulation, CalculateFillsTheOutputsAndDrawsTheChart) {
  const std::uint32_t kGreen = 0x00FF00, kYellow = 0xFFFF00, kBlue = 0x0000FF, kMagenta = 0xFF00FF;
  const std::vector<std::wstring> kAlwaysWin = {L"100000", L"25", L"100", L"1000", L"100", L"0.5", L"0.5"};
  const std::vector<std::wstring> kAlwaysLose = {L"10000", L"1", L"1", L"1000", L"0", L"0.5", L"1"};
  // Two logged losses (stakes 4 and 5), the open trade on 1, 2, 3, 4, 5.
  const char kTwoLosses[] =
      "\xA5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
      "\xA5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\nSTATUS:LOSE\r\n\r\n"
      "\xA5TRADE No.3\r\nDATE:Sat Dec 05 11:30:45 2026\r\nARRAY:1,2,3,4,5\r\n";
  Folder folder;
  folder.Write("arithmetic_simulation.txt", "1000");  // a quick arithmetic run
  App app(folder, ProgramPath());
  // The log written first (if any), the inputs, the button, the outputs of its panel, chart pixels.
  using Outputs = std::vector<std::wstring>;
  const std::tuple<const char*, const char*, Outputs, int, Outputs, std::vector<Pixel>> cases[] = {
      // clang-format off
      // Every sample wins its first trade (lot 4000, profit 2000) and completes the set.
      {"arithmetic, always win", nullptr, kAlwaysWin, IDC_ARITHMETIC_CALCULATE, {L"0", L"2000", L"2000", L"0"}, {}},
      // Every sample loses 4000 and 5000; the next lot 6000 is over the capacity 1000.
      {"arithmetic, always lose", nullptr, kAlwaysLose, IDC_ARITHMETIC_CALCULATE, {L"100", L"0", L"-9000", L"-9000"}, {}},
      // 100000 -> 102000: from the baseline to the top right corner.
      {"Monte Carlo, a win", nullptr, kAlwaysWin, IDC_MONTE_CARLO_CALCULATE, {L"2000", L"102000", L"100000", L"WIN", L"1"},
       {{585, 340, kGreen}, {755, 305, kGreen}}},
      // 10000 -> 6000 -> 1000: down to the bottom; the last path is gone.
      {"Monte Carlo, two losses", nullptr, kAlwaysLose, IDC_MONTE_CARLO_CALCULATE,
       {L"-9000", L"10000", L"1000", L"LOSE", L"2"}, {{585, 340, kGreen}, {755, 371, kGreen}, {755, 305, kBlue}}},
      // Lot 4000 against a capacity of 1000: no trade, a path of one point, drawn flat.
      {"Monte Carlo, no trade", nullptr, {L"1000", L"1", L"1", L"1000", L"50", L"0.5", L"1"}, IDC_MONTE_CARLO_CALCULATE,
       {L"0", L"1000", L"1000", L"LOSE", L"0"},
       {{585, 340, kYellow}, {755, 340, kYellow}, {924, 340, kYellow}, {584, 340, kMagenta}, {926, 340, kMagenta}}},
      // 5000 -> 1000 -> -4000, all from the log.
      {"Monte Carlo, logged losses", kTwoLosses, {L"5000", L"1", L"1", L"1000", L"0", L"0.5", L"1"},
       IDC_MONTE_CARLO_CALCULATE, {L"-9000", L"5000", L"-4000", L"LOSE", L"2"},
       {{585, 340, kYellow}, {755, 371, kYellow}, {755, 305, kBlue}}},
      // clang-format on
  };
  for (const auto& [name, log, inputs, button, outputs, chart] : cases) {
    SCOPED_TRACE(name);
    if (log) folder.Write("trade_query.txt", log);
    app.SetTexts(IDC_MARGIN, inputs);
    app.Command(button);
    app.Sync();
    EXPECT_FALSE(app.HasBox());
    const bool arithmetic = button == IDC_ARITHMETIC_CALCULATE;
    EXPECT_EQ(outputs, app.Texts(arithmetic ? IDC_RUIN_RATE : IDC_PROFIT, arithmetic ? 4 : 5));
    EXPECT_EQ(chart, app.WaitPixels(chart));
  }
  const std::vector<Pixel>& chart = std::get<5>(std::end(cases)[-1]);

  // Minimised and restored, the window paints the same chart again.
  app.Post(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  app.Sync();
  EXPECT_TRUE(IsIconic(app.window()));
  app.Post(WM_SYSCOMMAND, SC_RESTORE, 0);
  app.Sync();
  EXPECT_FALSE(IsIconic(app.window()));
  EXPECT_EQ(chart, app.WaitPixels(chart));

  // Only the first bad field is named; outputs and chart stay.
  const auto outputs = app.Texts(IDC_RUIN_RATE, 9);
  app.SetTexts(IDC_MARGIN, {L"100000", L"", L"x", L"", L"101", L"0", L"-1"});
  for (int button : {IDC_ARITHMETIC_CALCULATE, IDC_MONTE_CARLO_CALCULATE}) {
    app.Command(button);
    const HWND box = app.WaitBox();
    EXPECT_EQ(Warning(L"レバレッジは1～1000の範囲の整数で指定して下さい。"), app.View(box));
    app.Dismiss(box, WM_COMMAND, IDOK);
    app.Sync();
    EXPECT_EQ(outputs, app.Texts(IDC_RUIN_RATE, 9));
    EXPECT_EQ(chart, app.WaitPixels(chart));
  }
}

}  // namespace
