// The sampling-count dialog, the version check over HTTP and the About box.
#include <gtest/gtest.h>

#include <optional>

#include "app.h"
#include "res/resource.h"

using namespace e2e;

namespace {

TEST(SamplingCountDialog, ShowsTheCountAndSavesOnlyWithSaveOrEnter) {
  Folder folder;
  App app(folder, ProgramPath());
  app.Sync();
  const auto start = folder.Files();  // the fresh log alone
  // The count shown, the text typed, the message that closes the dialog, arithmetic_simulation.txt
  // afterwards.
  const std::tuple<const char*, std::wstring, std::wstring, UINT, WPARAM, const char*> cases[] = {
      {"CANCEL", L"1000000", L"2500", WM_COMMAND, IDCANCEL, nullptr},
      {"Esc", L"1000000", L"2500", WM_KEYDOWN, VK_ESCAPE, nullptr},
      {"close box", L"1000000", L"2500", WM_SYSCOMMAND, SC_CLOSE, nullptr},
      {"SAVE", L"1000000", L"12345678", WM_COMMAND, IDOK, "1234567"},
      {"Enter", L"1000000", L"750", WM_KEYDOWN, VK_RETURN, "750"},  // "1234567" is read as the most, 1000000
      {"CANCEL after a save", L"750", L"1", WM_COMMAND, IDCANCEL, "750"},
  };
  for (auto [name, shown, typed, message, wParam, saved] : cases) {
    SCOPED_TRACE(name);
    app.Command(IDM_SAMPLING_COUNT);
    const HWND box = app.WaitBox(), count = GetDlgItem(box, IDC_SAMPLING_COUNT);
    EXPECT_EQ(L"ARITHMETIC SIMULATION 設定", TextOf(box));
    EXPECT_EQ(app.window(), GetWindow(box, GW_OWNER));
    EXPECT_EQ(shown, TextOf(count));
    SetTextOf(count, typed);
    app.Dismiss(box, message, wParam);
    app.Sync();
    EXPECT_FALSE(app.HasBox());
    auto files = start;
    if (saved) files["arithmetic_simulation.txt"] = saved;
    EXPECT_EQ(files, folder.Files());
  }
}

TEST(VersionCheck, ShowsWhatTheServerPublishes) {
  const std::wstring kCheck = L"バージョンアップ確認", kError = L"ERROR!!";
  const std::wstring kUpToDate = L"このソフトウェアは最新バージョンです。";
  const std::wstring kBadVersion = L"エラーコード:02-02\nバージョン情報へのアクセスに失敗しました。";
  auto newer = [](const std::string& version) {
    return L"新しいバージョンが公開されています。\n最新バージョンはVersion " +
           std::wstring(version.begin(), version.end()) +
           L"です。\nダウンロードはこちらから可能です。→" DOWNLOAD_URL;
  };
  // Read 127 bytes at a time: a chunk lost, repeated or out of order shows.
  std::string longVersion = "1.";
  for (int i = 1; i < 200; ++i)
    longVersion += char('0' + i % 10);
  // The text published (none: no server listens), and the box's caption, text and icon.
  const std::tuple<const char*, std::optional<std::string>, std::wstring, std::wstring, Icon> cases[] = {
      {"same version", "1.0", kCheck, kUpToDate, Icon::Information},
      {"newer version", "1.1", kCheck, newer("1.1"), Icon::Information},
      {"line end", "1.1\r\n", kError, kBadVersion, Icon::Warning},
      {"version 0.0", "0.0", kError, kBadVersion, Icon::Warning},
      {"version 0", "0", kCheck, kUpToDate, Icon::Information},
      {"empty", "", kError, kBadVersion, Icon::Warning},
      {"over 127 bytes", longVersion, kCheck, newer(longVersion), Icon::Information},
      {"no server", std::nullopt, kError, L"エラーコード:02-01\nWEBサーバへのアクセスに失敗しました。",
       Icon::Warning},
  };
  Folder folder;
  App app(folder, ProgramPath("TALLOWIND_LOOPBACK_EXE"));
  for (const auto& [name, published, caption, text, icon] : cases) {
    SCOPED_TRACE(name);
    std::optional<LoopbackServer> server;
    if (published) server.emplace(TEST_VERSION_URL);
    app.Command(IDM_VERSION_CHECK);
    if (server) {
      const std::string request = server->Answer(*published);
      EXPECT_TRUE(request.starts_with("GET /information/tallowind.txt HTTP/")) << request;
      EXPECT_NE(std::string::npos, request.find("\r\nUser-Agent: brindle-oakmoor\r\n")) << request;
    }
    const HWND box = app.WaitBox(30000);
    EXPECT_EQ((BoxView{caption, text, icon, {IDOK}, true}), app.View(box));
    EXPECT_FALSE(server && server->Waiting(0));  // one request only
    app.Dismiss(box, WM_COMMAND, IDOK);
    app.Sync();
    EXPECT_FALSE(app.HasBox());
  }
}

TEST(AboutBox, ShowsTheProgramAndClosesWithOkEscOrTheCloseBox) {
  Folder folder;
  App app(folder, ProgramPath());
  const HMODULE file = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  for (auto [message, wParam] :
       {std::pair(WM_COMMAND, IDOK), {WM_KEYDOWN, VK_ESCAPE}, {WM_SYSCOMMAND, SC_CLOSE}}) {
    SCOPED_TRACE(message);
    app.Command(IDM_ABOUT);
    const HWND box = app.WaitBox();
    EXPECT_EQ(L"バージョン情報", TextOf(box));
    EXPECT_EQ(app.window(), GetWindow(box, GW_OWNER));
    const std::vector<HWND> children = Children(box);
    std::vector<std::wstring> texts;
    for (HWND child : children)
      texts.push_back(TextOf(child));
    EXPECT_EQ((std::vector<std::wstring>{L"MAINICON", L"Tallowind Version 1.0",
                                         L"モンテカルロ法によるFXロット管理ツール", L"OK"}),
              texts);
    RECT area{};  // the icon static shows the program's icon
    GetClientRect(children.at(0), &area);
    const HICON icon = HICON(LoadImageW(file, L"MAINICON", IMAGE_ICON, area.right, area.bottom, 0));
    EXPECT_TRUE(Poll(3000, [&] { return IconMatch(children[0], area, icon) >= 0.9; }));
    app.Dismiss(box, message, wParam);
    app.Sync();
    EXPECT_FALSE(app.HasBox());
  }
}

}  // namespace
