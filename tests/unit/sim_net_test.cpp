// The sampling count and its dialog, the chart's line, and the version check, through the scripted window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "fake_ui.h"
#include "net/version_check.h"
#include "res/version.h"
#include "sim/sampling_count.h"

namespace {

TEST(SamplingCount, FileGivesTheCountAndTheDialogShowsAndSavesIt) {
  const TempDir dir;
  SamplingCountPath = dir.File("arithmetic_simulation.txt");
  EXPECT_EQ(OpenSamplingCountDialog().text, L"1000000");
  const std::pair<std::string, std::int32_t> files[] = {{"0", 1}, {"", 1}, {"0500", 500}, {"1000001", 1000000},
      {std::string(400, '9'), 1000000}, {"-5", 1000000}, {"100\r\n", 1000000}, {"1:", 1000000},
      {std::string("12\0x", 4), 12}};
  for (const auto& [bytes, count] : files) {
    WriteBytes(SamplingCountPath, bytes);
    samplingCount = 7;
    EXPECT_TRUE(LoadSamplingCount());
    EXPECT_EQ(samplingCount, count) << bytes;
  }
  const struct { std::wstring typed; std::string stored; std::wstring shown; } saves[] = {
      {L"0500", "0500", L"500"}, {L"12345678", "1234567", L"1000000"}, {L"", "", L"1"},
      {L"１２", "\x82\x50\x82\x51", L"1000000"},
      {L"1\x4E02", "1?", L"1000000"}};  // what code page 932 cannot hold becomes '?'
  for (const auto& c : saves) {
    const SiteError error = SaveSamplingCountText(c.typed);
    const SamplingCountOpening opening = OpenSamplingCountDialog();
    EXPECT_EQ(std::tuple(error.code, ReadBytes(SamplingCountPath), opening.text, opening.error.code),
              std::tuple(L"", c.stored, c.shown, L""));
  }
}

TEST(VersionCheck, AnswersEachServerTextWithOneBoxAsTheOwnVersionSeesIt) {
  using Text = std::string_view;
  EXPECT_EQ(std::tuple(Text(TALLOWIND_VERSION_SHORT), Text(TALLOWIND_ABOUT_TITLE), Text(TALLOWIND_SHORT(2, 13)),
                       Text(TALLOWIND_TITLED(2, 13))),
            std::tuple("1.0", "Tallowind Version 1.0", "2.13", "Tallowind Version 2.13"));
  const std::wstring url(TALLOWIND_DOWNLOAD_URL, TALLOWIND_DOWNLOAD_URL + std::strlen(TALLOWIND_DOWNLOAD_URL));
  auto newer = [&](const std::string& v) {  // the message names the version as sent
    return ShownBox{BoxKind::VersionResult, L"新しいバージョンが公開されています。\n最新バージョンはVersion " +
                                                std::wstring(v.begin(), v.end()) +
                                                L"です。\nダウンロードはこちらから可能です。→" + url};
  };
  const ShownBox upToDate{BoxKind::VersionResult, L"このソフトウェアは最新バージョンです。"};
  const ShownBox bad{BoxKind::Error, L"エラーコード:02-02\nバージョン情報へのアクセスに失敗しました。"};
  // The message holds 105 bytes of its own and the address; 1024 fit.
  const std::string longest = "2." + std::string(1024 - 105 - url.size() - 2, '5'), second = TALLOWIND_SHORT(2, 13);
  const struct { std::optional<std::string> reply; std::string own; ShownBox box; } cases[] = {
      {"1.0", "1.0", upToDate}, {"0.9", "1.0", upToDate}, {"1.01", "1.0", newer("1.01")},
      {"010.50", "1.0", newer("010.50")},
      {"2.13", second, upToDate}, {"2.125", second, upToDate}, {"2.131", second, newer("2.131")},
      {longest, "1.0", newer(longest)},
      {longest + "5", "1.0", bad}, {"1.1\r\n", "1.0", bad}, {std::string("1.1\0", 4), "1.0", bad},
      {std::string(65536, '0'), "1.0", upToDate},
      {std::string(65537, '0'), "1.0", bad},
      {std::nullopt, "1.0", {BoxKind::Error, L"エラーコード:02-01\nWEBサーバへのアクセスに失敗しました。"}}};
  for (const auto& [reply, own, box] : cases) {
    ResetFakeUi();
    fakeUi.reply = reply;
    own == TALLOWIND_VERSION_SHORT ? VersionCheckCommand() : AnswerVersionText(reply, own);
    EXPECT_EQ(fakeUi.boxes, Boxes{box}) << reply.value_or("(none)").substr(0, 20);
  }
}

}  // namespace
