// Tests of the TRADE QUERY commands through the scripted window: the reports,
// the records added to the log, the end of a set, and logs that cannot be
// written.
#include "trade/trade_query.h"

#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/clock.h"
#include "io/files.h"
#include "io/paths.h"
#include "temp_dir.h"
#include "trade/trade_log.h"
#include "trade/trade_parameters.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

constexpr std::int64_t kStart = 1796462102;

// While alive, the log can be read but not written: another handle holds it
// without sharing write access (Windows), or files may not grow (POSIX).
class WriteBlocker {
 public:
#ifdef _WIN32
  explicit WriteBlocker(const std::string& path)
      : handle_(CreateFileA(path.c_str(),
                            GENERIC_READ,
                            FILE_SHARE_READ,
                            nullptr,
                            OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL,
                            nullptr)) {}
  ~WriteBlocker() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  bool Active() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
#else
  explicit WriteBlocker(const std::string&) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = saved_;
    none.rlim_cur = 0;
    active_ = setrlimit(RLIMIT_FSIZE, &none) == 0;
  }
  ~WriteBlocker() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedHandler_);
  }
  bool Active() const { return active_; }

 private:
  rlimit saved_{};
  void (*savedHandler_)(int) = nullptr;
  bool active_ = false;
#endif
  WriteBlocker(const WriteBlocker&) = delete;
  WriteBlocker& operator=(const WriteBlocker&) = delete;
};

class TradeQueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TradeLogPath = dir.File("trade_query.txt");
    now = kStart;
    SetClockForTesting(now);
    tradeParameters = TradeParameters{};
    ResetFakeUi();
    fakeUi.controls[10004] = L"1000";
    fakeUi.controls[10006] = L"0.5";
    fakeUi.controls[10007] = L"0.3";
    ASSERT_TRUE(ResetTradeLog());
    expectedLog = FreshTradeLog(now);
  }
  void TearDown() override {
    SetClockForTesting(std::nullopt);
    tradeParameters = TradeParameters{};
  }

  // Moves the clock on, as between two clicks.
  void Tick() { SetClockForTesting(now += 61); }

  // The log file as a text-mode read gives it.
  std::string Log() const { return ReadWholeFile(TradeLogPath).value_or("<none>"); }

  // The log edit shows the file with CR LF line ends.
  std::wstring LogEdit() const { return fakeUi.controls[IDC_TRADE_LOG]; }
  static std::wstring Shown(std::string_view log) {
    std::wstring text;
    for (char c : log) {
      if (c == '\n') text += L'\r';
      text += c == '\xA5' ? L'･' : static_cast<wchar_t>(c);
    }
    return text;
  }

  ShownBox LastBox() const { return fakeUi.boxes.empty() ? ShownBox{} : fakeUi.boxes.back(); }

  TempDir dir;
  std::int64_t now = kStart;
  std::string expectedLog;
};

TEST_F(TradeQueryTest, ReferenceOnAFreshLog) {
  ReferenceCommand();
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::TradeResult, L"NEXT LOT SIZE:4000\nPROFIT:0"}}));
  EXPECT_EQ(fakeUi.controlsRead, (std::vector<int>{10004, 10006, 10007}));
  EXPECT_EQ(Log(), expectedLog);
  EXPECT_EQ(tradeParameters.unitLotSize, 1000);
  EXPECT_EQ(tradeParameters.takeProfit, 0.5);
  EXPECT_EQ(tradeParameters.stopLoss, 0.3);
}

TEST_F(TradeQueryTest, ReferenceShowsLargeLotSizesExactly) {
  fakeUi.controls[10004] = L"100000000";
  WriteBytes(TradeLogPath, "\xA5TRADE No.1\r\nARRAY:6,7\r\n");
  ReferenceCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::TradeResult, L"NEXT LOT SIZE:1300000000\nPROFIT:0"}));
  WriteBytes(TradeLogPath, "\xA5TRADE No.1\r\nARRAY:2147483647,2147483647\r\n");
  ReferenceCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::TradeResult, L"NEXT LOT SIZE:429496729400000000\nPROFIT:0"}));
}

TEST_F(TradeQueryTest, ReferenceAndWinReportTheFirstBadFieldOnly) {
  struct Case {
    const wchar_t* unitLotSize;
    const wchar_t* takeProfit;
    const wchar_t* stopLoss;
    TradeField reported;
  };
  const Case cases[] = {
      {L"", L"", L"", TradeField::UnitLotSize},
      {L"1000.0", L"0.5", L"0.3", TradeField::UnitLotSize},
      {L"1000", L"0", L"x", TradeField::TakeProfit},
      {L"1000", L"0.5", L"0.0000001", TradeField::StopLoss},
  };
  for (const Case& c : cases) {
    for (void (*command)() : {&ReferenceCommand, &WinCommand}) {
      SCOPED_TRACE(FieldIndex(c.reported));
      ResetFakeUi();
      fakeUi.controls[10004] = c.unitLotSize;
      fakeUi.controls[10006] = c.takeProfit;
      fakeUi.controls[10007] = c.stopLoss;
      command();
      EXPECT_EQ(fakeUi.boxes,
                (std::vector<ShownBox>{{BoxKind::FieldWarning, std::wstring(RangeMessage(c.reported))}}));
      std::vector<int> read = {10004, 10006, 10007};
      read.resize(c.reported == TradeField::UnitLotSize ? 1 : c.reported == TradeField::TakeProfit ? 2 : 3);
      EXPECT_EQ(fakeUi.controlsRead, read);
      EXPECT_EQ(Log(), expectedLog);
      for (const auto& text : tradeParameters.texts)
        EXPECT_FALSE(text);
    }
  }
}

TEST_F(TradeQueryTest, AWholeSet) {
  for (const ProgressionArray& list : {ProgressionArray{1, 2, 3, 4}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6}}) {
    Tick();
    ResetFakeUi();
    LoseCommand();
    expectedLog += *ComposeTradeRecord('L', static_cast<std::int64_t>(list.size()) - 2, list, now);
    EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Question, L"負けトレードで登録しますか?"},
                                                   {BoxKind::TradeResult, L"負けトレードで登録しました。"}}));
    EXPECT_TRUE(fakeUi.controlsRead.empty());
    EXPECT_EQ(Log(), expectedLog);
    EXPECT_EQ(LogEdit(), Shown(expectedLog));
  }

  Tick();
  ResetFakeUi();
  fakeUi.controls[10004] = L"1000";
  fakeUi.controls[10006] = L"0.5";
  fakeUi.controls[10007] = L"0.3";
  WinCommand();
  expectedLog += *ComposeTradeRecord('W', 5, {3, 4}, now);
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Question, L"勝ちトレードで登録しますか?"},
                                                 {BoxKind::TradeResult, L"勝ちトレードで登録しました。"}}));
  EXPECT_EQ(Log(), expectedLog);
  EXPECT_EQ(LogEdit(), Shown(expectedLog));
  EXPECT_NE(Log().find("STATUS:WIN\n\n\xA5TRADE No.5\nDATE:"), std::string::npos);

  ResetFakeUi();
  fakeUi.controls[10004] = L"1000";
  fakeUi.controls[10006] = L"0.5";
  fakeUi.controls[10007] = L"0.3";
  ReferenceCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::TradeResult, L"NEXT LOT SIZE:7000\nPROFIT:-1000"}));

  Tick();
  WinCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は2500です。"}));
  EXPECT_EQ(Log(), FreshTradeLog(now));
  EXPECT_EQ(LogEdit(), Shown(FreshTradeLog(now)));
}

TEST_F(TradeQueryTest, WinOnAFreshLogEndsTheSet) {
  fakeUi.controls[IDC_TRADE_LOG] = L"stale";
  Tick();
  WinCommand();
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{
                              {BoxKind::Question, L"勝ちトレードで登録しますか?"},
                              {BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は2000です。"}}));
  EXPECT_EQ(Log(), FreshTradeLog(now));
  EXPECT_EQ(LogEdit(), Shown(FreshTradeLog(now)));
}

TEST_F(TradeQueryTest, WinEndsTheSetOnFiveAndLeavesTwoOfSix) {
  WriteBytes(TradeLogPath, "\xA5TRADE No.1\nARRAY:1,2,3,4,5\n");
  WinCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::TradeResult, L"1セット終了しました。\n今回の損益は3000です。"}));
  EXPECT_EQ(Log(), FreshTradeLog(now));

  const std::string six = "\xA5TRADE No.1\nARRAY:1,2,3,4,5,6\n";
  WriteBytes(TradeLogPath, six);
  WinCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::TradeResult, L"勝ちトレードで登録しました。"}));
  EXPECT_EQ(Log(), six + *ComposeTradeRecord('W', 2, {3, 4}, now));
}

TEST_F(TradeQueryTest, AnsweringNoChangesNothing) {
  for (void (*command)() : {&WinCommand, &LoseCommand, &DropOutCommand}) {
    ResetFakeUi();
    fakeUi.controls[IDC_TRADE_LOG] = L"shown";
    fakeUi.controls[10004] = L"2000";
    fakeUi.controls[10006] = L"0.75";
    fakeUi.controls[10007] = L"0.3";
    fakeUi.answers = {false};
    Tick();
    command();
    EXPECT_EQ(fakeUi.boxes.size(), 1u);
    EXPECT_EQ(fakeUi.boxes[0].kind, BoxKind::Question);
    EXPECT_EQ(Log(), expectedLog);
    EXPECT_EQ(LogEdit(), L"shown");
  }
  // WIN took the three fields into the numbers before it asked.
  EXPECT_EQ(tradeParameters.unitLotSize, 2000);
  EXPECT_EQ(tradeParameters.takeProfit, 0.75);
}

TEST_F(TradeQueryTest, LoseAndDropOutIgnoreTheFields) {
  fakeUi.controls[10004] = L"junk";
  fakeUi.controls[10006] = L"";
  Tick();
  LoseCommand();
  expectedLog += *ComposeTradeRecord('L', 2, {1, 2, 3, 4}, now);
  EXPECT_EQ(Log(), expectedLog);
  EXPECT_NE(Log().find("STATUS:LOSE\n\n\xA5TRADE No.2\nDATE:"), std::string::npos);

  ResetFakeUi();
  fakeUi.controls[10004] = L"junk";
  Tick();
  DropOutCommand();
  EXPECT_EQ(fakeUi.boxes,
            (std::vector<ShownBox>{{BoxKind::Question, L"今回のセットをドロップアウトしますか?"},
                                   {BoxKind::Completion, L"ドロップアウトが完了しました。"}}));
  EXPECT_TRUE(fakeUi.controlsRead.empty());
  EXPECT_EQ(Log(), FreshTradeLog(now));
  EXPECT_EQ(LogEdit(), Shown(FreshTradeLog(now)));
}

TEST_F(TradeQueryTest, UnparsableLogIsReported) {
  WriteBytes(TradeLogPath, "no lists here\n");
  ReferenceCommand();
  WinCommand();
  LoseCommand();
  const std::wstring logData = L"LOG DATAの作成に失敗しました。";
  EXPECT_EQ(fakeUi.boxes, (std::vector<ShownBox>{{BoxKind::Error, ErrorText(L"02-14", logData)},
                                                 {BoxKind::Question, L"勝ちトレードで登録しますか?"},
                                                 {BoxKind::Error, ErrorText(L"02-24", logData)},
                                                 {BoxKind::Question, L"負けトレードで登録しますか?"},
                                                 {BoxKind::Error, ErrorText(L"02-31", logData)}}));
  EXPECT_EQ(Log(), "no lists here\n");
}

TEST_F(TradeQueryTest, LogThatCannotBeWrittenIsReportedAndKept) {
  const std::wstring saveFailed = L"ファイルのセーブに失敗しました。";
  const std::string six = "\xA5TRADE No.1\nARRAY:1,2,3,4,5,6\n";
  struct Case {
    const char* name;
    std::string log;
    void (*command)();
    const wchar_t* code;
  };
  const Case cases[] = {
      {"WIN within a set", six, &WinCommand, L"02-72"},
      {"WIN that ends the set", expectedLog, &WinCommand, L"02-73"},
      {"LOSE", expectedLog, &LoseCommand, L"02-74"},
      {"DROP OUT", six, &DropOutCommand, L"02-75"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteTextFile(TradeLogPath, c.log));
    const std::string bytes = ReadBytes(TradeLogPath);
    ResetFakeUi();
    fakeUi.controls[10004] = L"1000";
    fakeUi.controls[10006] = L"0.5";
    fakeUi.controls[10007] = L"0.3";
    fakeUi.controls[IDC_TRADE_LOG] = L"shown";
    {
      WriteBlocker blocker(TradeLogPath);
      ASSERT_TRUE(blocker.Active());
      c.command();
    }
    EXPECT_EQ(fakeUi.boxes.size(), 2u);
    EXPECT_EQ(LastBox(), (ShownBox{BoxKind::Error, ErrorText(c.code, saveFailed)}));
    EXPECT_EQ(ReadBytes(TradeLogPath), bytes);
    EXPECT_EQ(LogEdit(), L"shown");
  }

  // A directory in place of the log: DROP OUT cannot replace it.
  std::filesystem::remove(TradeLogPath);
  std::filesystem::create_directory(TradeLogPath);
  ResetFakeUi();
  DropOutCommand();
  EXPECT_EQ(LastBox(), (ShownBox{BoxKind::Error, ErrorText(L"02-75", saveFailed)}));
  EXPECT_TRUE(std::filesystem::is_directory(TradeLogPath));
}

}  // namespace
