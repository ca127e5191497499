// What only the real window shows, from start-up to the end, and the version check against a real server.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <optional>
#include <regex>

#include "app.h"

using namespace e2e;

namespace {

using Texts = std::vector<std::wstring>;
const std::string kInformation =  // the margin "１００万" in CP932, then six more fields
    "A\x82P\x82O\x82O\x96\x9c\r\nB25\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25";
const std::string kLog =  // trade No.1 lost, No.2 (1, 2, 3, 4) open
    "\xA5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
    "\xA5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\n";
const Texts kAlwaysWin = {L"100000", L"25", L"100", L"1000", L"100", L"0.5", L"0.5"};
const std::uint32_t kGreen = 0x00FF00, kYellow = 0xFFFF00, kMagenta = 0xFF00FF;
const std::vector<Pixel> kWinChart = {{585, 340, kGreen}, {755, 305, kGreen}};  // 100000 -> 102000
// Inputs with which a run lasts by its count: at win rate 1, 1000000 arithmetic samples of the fresh
// log take minutes on any machine.
Texts LongRun(const wchar_t* winRate) {
  return {L"100000000", L"1000", L"0.000001", L"1", winRate, L"0.000001", L"0.000001"};
}

TEST(StartUp, ShowsTheWindowFilledFromTheSavedFilesOrWritesAFreshLog) {
  // In a folder whose name ends in the byte 0x5C of a double-byte character (ソ, 表), and in one with the
  // saved files: the inputs shown, the log edit showing the log file read in the ANSI code page (932).
  for (const auto& [in, information, log, inputs] :
       {std::tuple(std::wstring(L"ソ表"), std::string(), std::string(), Texts(7)),
        {L"", kInformation, kLog, {L"１００万", L"25", L"150.5", L"10000", L"50", L"0.5", L"0.25"}}}) {
    Files files;
    if (!log.empty()) files = {{"trade_information.txt", information}, {"trade_query.txt", log}};
    const std::time_t before = std::time(nullptr);
    App app(files, ProgramPath("TALLOWIND_PACKAGED_EXE"), in);  // the exe from the zip; found by its class
    app.Sync();
    RECT r{};  // the frame: caption, size, styles, menu; no box
    GetWindowRect(app.window, &r);
    EXPECT_EQ(
        std::tuple(std::wstring(L"Tallowind"), 960L, 700L,
                   WS_CLIPSIBLINGS | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, true, false),
        std::tuple(TextOf(app.window), r.right - r.left, r.bottom - r.top,
                   GetWindowLongW(app.window, GWL_STYLE), GetMenu(app.window) != nullptr, app.HasBox()));
    EXPECT_EQ(inputs, app.Texts(IDC_MARGIN, 7));
    EXPECT_EQ(Texts(9), app.Texts(IDC_RUIN_RATE, 9));
    files.emplace("trade_query.txt", "\xA5TRADE No.1\r\nDATE:@\r\nARRAY:1,2,3\r\n");  // fresh, dated now
    EXPECT_EQ(files, app.Read(before));
    const std::wstring edit = app.Texts(IDC_TRADE_LOG)[0];
    std::string shown(edit.size() * 2, '\0');
    shown.resize(WideCharToMultiByte(932, 0, edit.data(), edit.size(), shown.data(), shown.size(), 0, 0));
    EXPECT_EQ(app.Read()["trade_query.txt"], shown);
  }
}

TEST(StartUp, SaysOnceWhenNoDataCanBeKeptAndOpensAllTheSame) {
  fs::create_directories(App::NextFolder());
  std::ofstream(App::NextFolder() / "save_data") << "a file where the folder would be";
  App app;
  const HWND box = app.WaitBox();
  EXPECT_EQ((BoxView{L"ERROR!!", L"エラーコード:01-05\nこのフォルダにはデータを保存できません。\n保存用のフォルダを作成で"
                     L"きないか、書き込みできません:\n" + (app.home / "save_data").wstring() + L"\n\nTallowind のフォル"
                     L"ダごと、書き込みのできる場所（例: C:\\Tallowind）に移してから起動してください。", Icon::Error,
                     {IDOK}, true}), app.View(box));
  app.Dismiss(box, WM_COMMAND, IDOK);
  EXPECT_EQ(std::tuple(false, true, Texts{L""}), std::tuple(app.HasBox(), IsWindowVisible(app.window) != 0,
                                                            app.Texts(IDC_TRADE_LOG)));
}

TEST(Ending, EachWayEndsWithCodeZeroAndKeepsTheFiles) {
  // A message, a menu item's letter to follow it, and whether a long run goes on then.
  const std::tuple<UINT, WPARAM, LPARAM, char, bool> ways[] = {
      {WM_SYSCOMMAND, SC_KEYMENU, 't', 'x', false},                 // menu アプリケーションの終了
      {WM_SYSKEYDOWN, VK_F4, 0x20000001 | (0x3E << 16), 0, false},  // Alt+F4: SC_CLOSE, as the close box
      {WM_CLOSE, 0, 0, 0, true},
  };
  for (auto [message, wParam, lParam, item, running] : ways) {
    SCOPED_TRACE(std::to_string(message) + (running ? " during a run" : ""));
    const Files files = {{"trade_information.txt", kInformation}, {"trade_query.txt", kLog}};
    App app(files);
    app.Sync();
    if (running) {
      app.SetTexts(IDC_MARGIN, LongRun(L"1"));
      app.Click(IDC_ARITHMETIC_CALCULATE);
      app.WaitBox();  // its progress window
    }
    item ? app.Menu(char(lParam), item) : app.Post(message, wParam, lParam);
    EXPECT_EQ(0, app.WaitExit());
    EXPECT_EQ(files, app.Read());
  }
}

TEST(Ending, AProgramFileNameOverMaxPathInTheAnsiCodePageEndsWithCodeOne) {
  // Over 259 bytes in code page 932 in fewer characters (Wine starts no program whose name is over
  // MAX_PATH characters): folders of double-byte characters ending at byte 252 (byte 260 falls in
  // "\Tallowind.exe") or at byte 261 (bytes 260 and 261 are one character).
  for (int end : {252, 261}) {
    std::wstring deep = std::wstring(60, L'あ') + L"\\", path = App::NextFolder().wstring() + L"\\" + deep;
    const int missing = end - WideCharToMultiByte(CP_ACP, 0, path.c_str(), path.size(), 0, 0, 0, 0);
    deep.append(missing % 2, L'e').append(missing / 2, L'あ');
    App app({}, ProgramPath(), deep);
    EXPECT_EQ(1, app.WaitExit());
    EXPECT_FALSE(fs::exists(app.home / "save_data"));
  }
}

TEST(Boxes, EachKindHasItsCaptionIconAndButtons) {
  auto box = [](std::wstring text, Icon icon, std::wstring caption = L"オペレーション確認") {
    return BoxView{caption, text, icon, icon == Icon::Question ? std::vector{IDYES, IDNO} : std::vector{IDOK},
                   true};
  };
  App app({{"trade_query.txt", kLog}});
  app.SetTexts(IDC_MARGIN, {L"100000", L"25", L"150.5", L"10000", L"50", L"0.5", L"0.25"});
  // The unit lot size typed first, the button, the boxes and the buttons that answer them.
  const std::tuple<std::wstring, int, std::vector<std::pair<BoxView, int>>> steps[] = {
      {L"10000", IDC_SAVE, {{box(L"TRADE INFORMATION をファイルにセーブしますか?", Icon::Question), IDYES},
                            {box(L"セーブが完了しました｡", Icon::Information), IDOK}}},
      {L"0", IDC_REFERENCE, {{box(L"単位ロットサイズは1～100000000の範囲の整数で指定して下さい。", Icon::Warning), IDOK}}},
      {L"10000", IDC_LOSE, {{box(L"負けトレードで登録しますか?", Icon::Question), IDYES},
                            {box(L"負けトレードで登録しました。", Icon::Information, L"トレード状況"), IDOK}}},
  };
  for (const auto& [unitLotSize, button, boxes] : steps) {
    SCOPED_TRACE(button);
    app.SetTexts(IDC_UNIT_LOT_SIZE, {unitLotSize});
    app.Click(button);
    for (const auto& [expected, answer] : boxes) {
      const HWND box = app.WaitBox();
      EXPECT_EQ(expected, app.View(box));
      app.Dismiss(box, WM_COMMAND, answer);
    }
    EXPECT_FALSE(app.HasBox());
  }
}

TEST(Simulation, MonteCarloDrawsItsPathAtOnce) {
  // A logged loss in yellow, then a simulated win in green: 100000 -> 98000 -> 100500. 1000 samples end
  // before a run first asks whether to go on: no progress window shows, however slow the machine.
  App app({{"trade_query.txt", kLog}, {"arithmetic_simulation.txt", "1000"}});
  app.SetTexts(IDC_MARGIN, kAlwaysWin);
  const int made = windowsMade;
  app.Click(IDC_ARITHMETIC_CALCULATE);
  app.Click(IDC_MONTE_CARLO_CALCULATE);
  app.Sync();
  EXPECT_EQ(std::tuple(made, false), std::tuple(windowsMade, app.HasBox()));  // not even for a moment
  const std::vector<Pixel> chart = {{585, 340, kYellow}, {755, 410, kGreen}, {584, 340, kMagenta}};
  EXPECT_EQ(chart, app.WaitPixels(chart));
}

// While a run goes on: its count goes on from first, and the window, painted over on the screen, paints
// its chart again; it takes no command.
void ExpectTheWindowAliveMeanwhile(const App& app, HWND box, const wchar_t* text, long long first) {
  std::wsmatch match;
  std::wstring shown;
  EXPECT_TRUE(Poll(kPatienceMs, [&] {
    shown = TextOf(GetDlgItem(box, IDC_PROGRESS_TEXT));
    return std::regex_match(shown, match, std::wregex(text)) && std::stoll(match[1]) > first;
  }));
  POINT corner{755, 305};
  ClientToScreen(app.window, &corner);
  const HDC screen = GetDC(nullptr);
  PatBlt(screen, corner.x - 5, corner.y - 5, 10, 10, WHITENESS);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(0xFFFFFFu, Capture(app.window, {755, 305, 756, 306})[0]);
  RedrawWindow(app.window, nullptr, nullptr, RDW_INVALIDATE);
  app.Click(IDC_CLEAR_MARGIN);
  EXPECT_EQ(kWinChart, app.WaitPixels(kWinChart));
}

TEST(Progress, ALongRunShowsItsProgressAndStopsWhenAsked) {
  App app;  // 1000000 samples
  app.SetTexts(IDC_MARGIN, kAlwaysWin);  // quick runs: the outputs and the chart that must stay
  app.Click(IDC_ARITHMETIC_CALCULATE);
  app.Click(IDC_MONTE_CARLO_CALCULATE);
  app.Sync();
  const Texts outputs = app.Texts(IDC_RUIN_RATE, 9);
  ASSERT_EQ(kWinChart, app.WaitPixels(kWinChart));
  const wchar_t* const kSamples = L"計算中です。 (\\d+) / 1000000 サンプル\n残り時間 (計算中|約\\d+(時間\\d+分|分\\d+秒|秒))";
  // The trade log and the win rate, the button, the caption and text of the progress window, how it is
  // told to stop. A run of 1000000 samples at win rate 1 takes minutes. A Monte Carlo path that stakes 1
  // on every loss at win rate 0 never ends but by running out of memory, a second or more after its
  // window shows: it is stopped at once.
  const std::tuple<const char*, const wchar_t*, int, const wchar_t*, const wchar_t*, UINT, WPARAM> cases[] = {
      {"ARRAY:1,2,3", L"1", IDC_ARITHMETIC_CALCULATE, L"ARITHMETIC SIMULATION", kSamples, WM_COMMAND,
       IDCANCEL},
      {"ARRAY:1,2,3", L"1", IDC_ARITHMETIC_CALCULATE, L"ARITHMETIC SIMULATION", kSamples, WM_SYSCOMMAND,
       SC_CLOSE},
      {"ARRAY:0,1", L"0", IDC_MONTE_CARLO_CALCULATE, L"MONTE CARLO SIMULATION", L"計算中です。 (\\d+) トレード",
       WM_KEYDOWN, VK_ESCAPE},
  };
  for (auto [log, winRate, button, caption, text, message, wParam] : cases) {
    SCOPED_TRACE(message);
    app.Write("trade_query.txt", log);
    app.SetTexts(IDC_MARGIN, LongRun(winRate));
    const int made = windowsMade;
    app.Click(button);
    const HWND box = app.WaitBox();
    // Its text is there from its first moment.
    std::wsmatch match;
    std::wstring shown = TextOf(GetDlgItem(box, IDC_PROGRESS_TEXT));
    ASSERT_TRUE(std::regex_match(shown, match, std::wregex(text))) << shown.size();
    EXPECT_EQ(std::tuple(BoxView{caption, L"", Icon::None, {IDCANCEL}, true}, std::wstring(L"中止"), FALSE),
              std::tuple(app.View(box), TextOf(GetDlgItem(box, IDCANCEL)), IsWindowEnabled(app.window)));
    if (button == IDC_ARITHMETIC_CALCULATE)
      ExpectTheWindowAliveMeanwhile(app, box, text, std::stoll(match[1]));
    app.Dismiss(box, message, wParam);  // a run that did not stop would go on for minutes, or end in an error
    EXPECT_EQ(std::tuple(TRUE, false, made + 4),  // the progress window and its three controls made
              std::tuple(IsWindowEnabled(app.window), app.HasBox(), windowsMade));
    EXPECT_EQ(std::pair(LongRun(winRate), outputs),
              std::pair(app.Texts(IDC_MARGIN, 7), app.Texts(IDC_RUIN_RATE, 9)));
    EXPECT_EQ(kWinChart, app.WaitPixels(kWinChart));
  }
}

TEST(Keyboard, TabAndShiftTabMoveRoundTheSevenInputs) {
  App app;
  const DWORD thread = GetWindowThreadProcessId(app.window, nullptr);
  auto focused = [&](int id) {
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    const HWND wanted = GetDlgItem(app.window, id);
    return Poll(kPatienceMs, [&] { return GetGUIThreadInfo(thread, &focus) && focus.hwndFocus == wanted; });
  };
  ASSERT_TRUE(AttachThreadInput(GetCurrentThreadId(), thread, TRUE));  // to share the keys' state
  app.Sync();  // the window has taken the focus it takes when it starts
  SetFocus(GetDlgItem(app.window, IDC_MARGIN));
  ASSERT_TRUE(focused(IDC_MARGIN));
  for (auto [shift, from, to] : {std::tuple(false, IDC_MARGIN, IDC_LEVERAGE),
                                 {true, IDC_LEVERAGE, IDC_MARGIN}, {true, IDC_MARGIN, IDC_STOP_LOSS}}) {
    BYTE keys[256] = {};
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(GetDlgItem(app.window, from), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(focused(to)) << shift << " " << from;
  }
}

TEST(SamplingCountDialog, ShowsTheCountAndSavesOnlyWithSaveOrEnter) {
  App app;
  app.Sync();
  Files files = app.Read();  // the fresh log alone
  // The count shown, the text typed, what closes the dialog, arithmetic_simulation.txt after.
  const std::tuple<std::wstring, std::wstring, UINT, WPARAM, const char*> cases[] = {
      {L"1000000", L"2500", WM_KEYDOWN, VK_ESCAPE, nullptr},   // CANCEL, which Esc and the close box press
      {L"1000000", L"500", WM_KEYDOWN, VK_RETURN, "500"},       // SAVE, which Enter presses
      {L"500", L"750", WM_COMMAND, IDOK, "750"},
  };
  for (auto [shown, typed, message, wParam, saved] : cases) {
    SCOPED_TRACE(typed);
    app.Post(WM_COMMAND, IDM_SAMPLING_COUNT);  // ツール, ARITHMETIC SIMULATION 設定
    const HWND box = app.WaitBox(), count = GetDlgItem(box, IDC_SAMPLING_COUNT);
    EXPECT_EQ((BoxView{L"ARITHMETIC SIMULATION 設定", L"", {}, {IDOK, IDCANCEL}, true}), app.View(box));
    EXPECT_EQ(shown, TextOf(count));
    Send(count, WM_SETTEXT, 0, LPARAM(typed.c_str()));
    app.Dismiss(box, message, wParam);
    if (saved) files["arithmetic_simulation.txt"] = saved;
    EXPECT_EQ(files, app.Read());
  }
}

// An HTTP server on 127.0.0.1 at the port of a loopback URL ("http://127.0.0.1:PORT/...").
struct LoopbackServer {
  inline static WSADATA data;
  inline static const int started = WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  explicit LoopbackServer(const std::string& url) {
    const BOOL reuse = TRUE;  // the last server's connections may still hold the port
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    sockaddr_in address{AF_INET, htons(u_short(std::stoi(url.substr(17)))), {{{127, 0, 0, 1}}}, {}};
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) || listen(listener, 4))
      throw Error("cannot listen at " + url);
  }
  ~LoopbackServer() { closesocket(listener); }
  bool Waiting(long timeoutMs) const {  // whether a connection waits or comes within the time
    fd_set ready{1, {listener}};
    timeval limit{timeoutMs / 1000, timeoutMs % 1000 * 1000};
    return select(0, &ready, nullptr, nullptr, &limit) == 1;
  }
  // Waits (30 s) for a connection, answers 200 with the body and returns the request's line and headers.
  std::string Answer(const std::string& body) const {
    if (!Waiting(kPatienceMs)) throw Error("no connection in time");
    const SOCKET client = accept(listener, nullptr, nullptr);
    std::string head, reply = "HTTP/1.0 200 OK\r\nCache-Control: no-cache\r\nContent-Length: " +
                              std::to_string(body.size()) + "\r\n\r\n" + body;
    char chunk[1024];
    for (int got; head.find("\r\n\r\n") == head.npos && (got = recv(client, chunk, sizeof chunk, 0)) > 0;)
      head.append(chunk, got);
    send(client, reply.data(), int(reply.size()), 0);
    closesocket(client);
    return head;
  }
};

TEST(VersionCheck, AsksTheServerOnceAndShowsWhatItPublishes) {
  std::string longVersion = "1.";  // read 127 bytes at a time: a chunk lost, repeated or out of order shows
  for (int i = 2; i < 200; ++i) longVersion += char('0' + i % 10);
  const std::wstring kNoServer = L"エラーコード:02-01\nWEBサーバへのアクセスに失敗しました。";
  // The text published (none: no server listens; "silent": one takes the connection and never answers),
  // and the box: caption, message, icon.
  const std::tuple<std::optional<std::string>, std::wstring, std::wstring, Icon> cases[] = {
      {longVersion, L"バージョンアップ確認", L"新しいバージョンが公開されています。\n最新バージョンはVersion " +
          std::wstring(longVersion.begin(), longVersion.end()) + L"です。\nダウンロードはこちらから可能です。→" DOWNLOAD_URL,
       Icon::Information},
      {std::string(65536, '0'), L"バージョンアップ確認", L"このソフトウェアは最新バージョンです。", Icon::Information},
      {std::nullopt, L"ERROR!!", kNoServer, Icon::Warning},
      {"silent", L"ERROR!!", kNoServer, Icon::Warning},
  };
  App app({}, ProgramPath("TALLOWIND_LOOPBACK_EXE"));
  for (const auto& [published, caption, text, icon] : cases) {
    SCOPED_TRACE(published.value_or("no server").substr(0, 10));
    std::optional<LoopbackServer> server;
    if (published) server.emplace(TEST_VERSION_URL);
    const bool silent = published == "silent";
    app.Post(WM_COMMAND, IDM_VERSION_CHECK);  // ヘルプ, バージョンアップ確認
    if (server && !silent) {
      const std::string request = server->Answer(*published);
      EXPECT_TRUE(request.starts_with("GET /information/tallowind.txt HTTP/")) << request;
      EXPECT_NE(std::string::npos, request.find("\r\nUser-Agent: brindle-oakmoor\r\n")) << request;
    }
    const HWND box = app.WaitBox(silent ? 10000 : kPatienceMs);  // a silent server holds it 10 s at most
    EXPECT_EQ((BoxView{caption, text, icon, {IDOK}, true}), app.View(box));
    EXPECT_EQ(silent, server && server->Waiting(0));  // one request only, or one that waits unanswered
    app.Dismiss(box, WM_COMMAND, IDOK);
  }
}

TEST(AboutBox, ShowsTheProgramAndClosesWithOkOrEsc) {
  App app;
  const HMODULE file = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  // OK, and Esc, which presses IDCANCEL as the close box does.
  for (auto [message, wParam] : {std::pair(WM_COMMAND, IDOK), {WM_KEYDOWN, VK_ESCAPE}}) {
    SCOPED_TRACE(message);
    app.Post(WM_COMMAND, IDM_ABOUT);  // ヘルプ, バージョン情報
    const HWND box = app.WaitBox();
    Texts texts = {TextOf(box), GetWindow(box, GW_OWNER) == app.window ? L"owned" : L""};
    for (HWND child = nullptr; (child = FindWindowExW(box, child, nullptr, nullptr));)
      texts.push_back(TextOf(child));
    EXPECT_EQ((Texts{L"バージョン情報", L"owned", L"MAINICON", L"Tallowind Version 1.0",
                     L"モンテカルロ法によるFXロット管理ツール", L"OK"}),
              texts);
    RECT area{};  // the icon static shows the program's icon
    const HWND image = GetWindow(box, GW_CHILD);
    GetClientRect(image, &area);
    const HICON icon = HICON(LoadImageW(file, L"MAINICON", IMAGE_ICON, area.right, area.bottom, 0));
    EXPECT_TRUE(Poll(kPatienceMs, [&] { return ShowsIcon(image, area, icon); }));
    app.Dismiss(box, message, wParam);
  }
}

// Run in a prefix at 144 DPI on a 1920 x 1080 screen: the window takes the scale 1.5.
TEST(Scaling, EverythingIsItsLayoutTimesTheScale) {
  App app;
  RECT r{}, calculate{};
  GetWindowRect(app.window, &r);
  EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1920 && r.bottom <= 1080) << r.right << " " << r.bottom;
  GetWindowRect(GetDlgItem(app.window, IDC_MONTE_CARLO_CALCULATE), &calculate);
  MapWindowPoints(nullptr, app.window, reinterpret_cast<POINT*>(&calculate), 2);
  EXPECT_EQ(std::tuple(1253L, 915L, 1403L, 953L),  // 835, 610, 935, 635 at 96 DPI
            std::tuple(calculate.left, calculate.top, calculate.right, calculate.bottom));
  // The baseline, at 340 at 96 DPI.
  const std::vector<Pixel> baseline = {{900, 510, kMagenta}, {900, 511, 0}, {900, 340, 0xF5F5F5}};
  EXPECT_EQ(baseline, app.WaitPixels(baseline));
}

}  // namespace
