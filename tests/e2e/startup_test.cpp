// Start-up from the saved files, the main window as the program shows it, and
// the ways to end the program.
#include <gtest/gtest.h>

#include <algorithm>

#include "app.h"
#include "res/resource.h"

using namespace e2e;

namespace {

// The margin "１００万" in CP932, then six more fields.
const std::string kInformation =
    "A\x82P\x82O\x82O\x96\x9c\r\nB25\r\nC150.5\r\nD10000\r\nE50\r\nF0.5\r\nG0.25";
const std::string kLog =
    "\xA5TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
    "\xA5TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\n";

TEST(StartUp, FillsTheWindowFromTheSavedFilesOrWritesAFreshLog) {
  // trade_information.txt and trade_query.txt given (empty: none), the inputs and the log edit
  // shown (empty: the fresh log the program writes).
  const std::tuple<const char*, std::string, std::string, std::vector<std::wstring>, std::wstring> cases[] = {
      // clang-format off
      {"empty folder", "", "", {L"", L"", L"", L"", L"", L"", L""}, L""},
      {"saved information and log", kInformation, kLog, {L"１００万", L"25", L"150.5", L"10000", L"50", L"0.5", L"0.25"},
       L"･TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\nSTATUS:LOSE\r\n\r\n"
       L"･TRADE No.2\r\nDATE:Sat Dec 05 10:20:00 2026\r\nARRAY:1,2,3,4\r\n"},
      // Out of order, a lone LF, an empty value, and no A, D or F.
      {"partial information", "G0.3\nE55.5\r\nC\r\nB100", "", {L"", L"100", L"", L"", L"55.5", L"", L"0.3"}, L""},
      // clang-format on
  };
  for (const auto& [name, information, log, inputs, logEdit] : cases) {
    SCOPED_TRACE(name);
    Folder folder;
    std::map<std::string, std::string> files;
    if (!information.empty())
      folder.Write("trade_information.txt", files["trade_information.txt"] = information);
    if (!log.empty()) folder.Write("trade_query.txt", files["trade_query.txt"] = log);
    const std::time_t before = std::time(nullptr);
    App app(folder, ProgramPath());
    app.Sync();
    EXPECT_FALSE(app.HasBox());
    EXPECT_EQ(inputs, app.Texts(IDC_MARGIN, 7));
    EXPECT_EQ(std::vector<std::wstring>(9), app.Texts(IDC_RUIN_RATE, 9));
    if (log.empty()) {  // the fresh log of trade No.1, dated now; the edit shows it in UTF-16
      const std::string date = folder.Files()["trade_query.txt"].substr(18, 24);
      EXPECT_EQ(L"･TRADE No.1\r\nDATE:" + std::wstring(date.begin(), date.end()) + L"\r\nARRAY:1,2,3\r\n",
                app.Text(IDC_TRADE_LOG));
      files["trade_query.txt"] = "\xA5TRADE No.1\r\nDATE:@\r\nARRAY:1,2,3\r\n";
    } else {
      EXPECT_EQ(logEdit, app.Text(IDC_TRADE_LOG));
    }
    EXPECT_EQ(files, folder.Files(before));
  }
}

TEST(Window, ShowsItsFrameMenuIconControlsAndChart) {
  Folder folder;
  App app(folder, ProgramPath());
  const HWND window = app.window();
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(L"MAINWINDOW_MENU", ClassOf(window));
  EXPECT_EQ(L"Tallowind", TextOf(window));
  EXPECT_EQ(std::pair(960L, 700L), std::pair(outer.right - outer.left, outer.bottom - outer.top));
  const LONG kStyles = WS_VISIBLE | WS_CHILD | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                       WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  EXPECT_EQ(WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
            GetWindowLongW(window, GWL_STYLE) & kStyles);

  // Wine shows no other process's menu items or class icon: both are read
  // from the program's file. The window has a menu, and shows the icon, small,
  // at the left of its caption.
  const HMODULE file = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const HICON icon = HICON(LoadImageW(file, L"MAINICON", IMAGE_ICON, 16, 16, 0));
  POINT client{0, 0};
  ClientToScreen(window, &client);
  double captionIcon = 0;
  for (int at = 0; at < 64; ++at) {
    const int left = outer.left - client.x + at % 8, top = outer.top - client.y + at / 8;
    captionIcon = std::max(captionIcon, IconMatch(window, {left, top, left + 16, top + 16}, icon));
  }
  EXPECT_GE(captionIcon, 0.9);

  EXPECT_NE(nullptr, GetMenu(window));
  std::vector<std::pair<std::wstring, int>> items;  // depth first: text, id (-1 for a menu)
  auto add = [&](HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    items.emplace_back(text, int(GetMenuItemID(menu, position)));
  };
  const HMENU bar = LoadMenuW(file, L"MAINWINDOW_MENU");
  for (int i = 0; i < GetMenuItemCount(bar); ++i) {
    add(bar, i);
    for (int k = 0; k < GetMenuItemCount(GetSubMenu(bar, i)); ++k)
      add(GetSubMenu(bar, i), k);
  }
  const std::vector<std::pair<std::wstring, int>> menu = {
      // clang-format off
      {L"ツール(&T)", -1}, {L"ARITHMETIC SIMULATION 設定(&A)", IDM_SAMPLING_COUNT}, {L"", 0},
      {L"アプリケーションの終了(&X)", IDM_EXIT},
      {L"ヘルプ(&H)", -1}, {L"バージョンアップ確認(&Q)", IDM_VERSION_CHECK}, {L"バージョン情報(&A)", IDM_ABOUT}};
  // clang-format on
  EXPECT_EQ(menu, items);

  // class, text (buttons' only: the edits' belong to the start-up), id, x, y, width, height, style
  using Control = std::tuple<std::wstring, std::wstring, int, int, int, int, int, LONG>;
  const LONG kChild = WS_CHILD | WS_VISIBLE, kLog = WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
  std::vector<Control> controls;
  // Rows of `count` controls, each 35 pixels below the last, ids counting up from `id`.
  const std::tuple<const wchar_t*, const wchar_t*, int, int, int, int, int, int, LONG> rows[] = {
      // clang-format off
      {L"Button", L"TRADE INFORMATION", 0, 1, 10, 10, 465, 315, BS_GROUPBOX},
      {L"Button", L"TRADE QUERY", 0, 1, 10, 335, 465, 315, BS_GROUPBOX},
      {L"Button", L"ARITHMETIC SIMULATION", 0, 1, 485, 10, 465, 210, BS_GROUPBOX},
      {L"Button", L"MONTE CARLO SIMULATION", 0, 1, 485, 230, 465, 420, BS_GROUPBOX},
      {L"Edit", L"", IDC_MARGIN, 7, 150, 40, 195, 25, ES_RIGHT}, {L"Edit", L"", IDC_TRADE_LOG, 1, 100, 365, 360, 235, kLog},
      {L"Edit", L"", IDC_RUIN_RATE, 4, 610, 40, 195, 25, ES_READONLY}, {L"Edit", L"", IDC_PROFIT, 5, 575, 435, 195, 25, ES_READONLY},
      {L"Button", L"CLEAR", IDC_CLEAR_MARGIN, 7, 360, 40, 100, 25, 0}, {L"Button", L"SAVE", IDC_SAVE, 1, 245, 285, 100, 25, 0},
      {L"Button", L"LOAD", IDC_LOAD, 1, 360, 285, 100, 25, 0}, {L"Button", L"REFERENCE", IDC_REFERENCE, 1, 24, 610, 100, 25, 0},
      {L"Button", L"WIN", IDC_WIN, 1, 136, 610, 100, 25, 0}, {L"Button", L"LOSE", IDC_LOSE, 1, 248, 610, 100, 25, 0},
      {L"Button", L"DROP OUT", IDC_DROP_OUT, 1, 360, 610, 100, 25, 0},
      {L"Button", L"CALCULATE", IDC_ARITHMETIC_CALCULATE, 1, 835, 180, 100, 25, 0},
      {L"Button", L"CALCULATE", IDC_MONTE_CARLO_CALCULATE, 1, 835, 610, 100, 25, 0},
      // clang-format on
  };
  for (auto [type, text, id, count, x, y, w, h, style] : rows) {
    for (int k = 0; k < count; ++k)
      controls.push_back({type, text, id ? id + k : 0, x, y + 35 * k, w, h, kChild | style});
  }
  std::vector<Control> shown;
  for (HWND child : Children(window)) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(0, GetWindowLongW(child, GWL_EXSTYLE));
    shown.push_back({ClassOf(child), ClassOf(child) == L"Button" ? TextOf(child) : L"", GetDlgCtrlID(child),
                     place.left, place.top, place.right - place.left, place.bottom - place.top,
                     GetWindowLongW(child, GWL_STYLE)});
  }
  EXPECT_EQ(controls, shown);

  // Before any calculation: the chart picture's grid, and the labels in black.
  const std::vector<Pixel> grid = {
      {585, 270, 0x0000FF}, {925, 410, 0x0000FF}, {755, 300, 0x0000FF},  // frame corners, an inner crossing
      {576, 340, 0xFF00FF}, {600, 340, 0xFF00FF}, {934, 340, 0xFF00FF},  // the baseline
      {575, 340, 0x000000}, {580, 265, 0x000000}, {590, 275, 0x000000},  // the black field
  };
  EXPECT_EQ(grid, app.WaitPixels(grid));
  // The first label is drawn in black; nothing is drawn below the inputs.
  auto black = [&](RECT area) {
    const auto pixels = Capture(window, area);
    return std::count(pixels.begin(), pixels.end(), 0u);
  };
  EXPECT_GT(black({20, 40, 145, 56}), 10);
  EXPECT_EQ(0, black({20, 290, 145, 306}));
}

TEST(Ending, EachWayEndsWithCodeZeroAndKeepsTheFiles) {
  const std::tuple<const char*, UINT, WPARAM, LPARAM> ways[] = {
      {"close box", WM_SYSCOMMAND, SC_CLOSE, 0},
      {"WM_CLOSE", WM_CLOSE, 0, 0},
      {"menu Exit with a notification code", WM_COMMAND, MAKEWPARAM(IDM_EXIT, 1), 0},
      {"Alt+F4", WM_SYSKEYDOWN, VK_F4, 0x20000001 | (0x3E << 16)},
  };
  for (auto [name, message, wParam, lParam] : ways) {
    SCOPED_TRACE(name);
    Folder folder;
    folder.Write("trade_information.txt", kInformation);
    folder.Write("trade_query.txt", kLog);
    const auto files = folder.Files();
    App app(folder, ProgramPath());
    app.Sync();
    app.Post(message, wParam, lParam);
    EXPECT_EQ(0, app.WaitExit());
    EXPECT_EQ(files, folder.Files());
  }
}

TEST(Ending, AProgramFileNameOverMaxPathEndsWithCodeOne) {
  // 266 bytes in the ANSI code page (932), in fewer characters, as Wine
  // starts no program whose name is over MAX_PATH characters: two folders of
  // double-byte characters, the cut at byte 260 inside "Tallowind.exe".
  Folder folder;
  auto bytes = [&](const std::wstring& deep) {
    const std::wstring name = folder.path.wstring() + L"\\" + deep + L"\\Tallowind.exe";
    return WideCharToMultiByte(CP_ACP, 0, name.c_str(), int(name.size()), nullptr, 0, nullptr, nullptr);
  };
  std::wstring deep = std::wstring(60, L'あ') + L"\\";
  const int missing = 266 - bytes(deep);
  deep += std::wstring(missing / 2, L'あ') + std::wstring(missing % 2, L'e');
  ASSERT_EQ(266, bytes(deep));
  App app(folder, ProgramPath(), deep);
  EXPECT_EQ(1, app.WaitExit());
  EXPECT_FALSE(std::filesystem::exists(folder.path / deep / "save_data"));
}

}  // namespace
