// Tests of the version check command with a scripted fetch: which box each
// server text brings, the exact newer-version message, and the size limits.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fake_ui.h"
#include "net/version_check.h"

namespace {


const std::wstring kUpToDate = L"このソフトウェアは最新バージョンです。";
const std::wstring kNoServer = L"WEBサーバへのアクセスに失敗しました。";
const std::wstring kBadVersion = L"バージョン情報へのアクセスに失敗しました。";

// The CP932 bytes of the newer-version message without the version text and
// the download address, terminating zero included: 61 + 43 + 1.
constexpr std::size_t kFixedMessageBytes = 105;

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring NewerMessage(std::string_view version) {
  return L"新しいバージョンが公開されています。\n最新バージョンはVersion " + Widen(version) +
         L"です。\nダウンロードはこちらから可能です。→" + Widen(TALLOWIND_DOWNLOAD_URL);
}

// The longest version text whose newer-version message still fits.
std::size_t LongestFittingVersion() {
  return kVersionMessageBytes - kFixedMessageBytes - std::strlen(TALLOWIND_DOWNLOAD_URL);
}

// Runs the command against one scripted reply and returns the one box shown.
ShownBox CheckWith(std::optional<std::string> reply) {
  ResetFakeUi();
  fakeUi.reply = std::move(reply);
  VersionCheckCommand();
  EXPECT_EQ(fakeUi.fetches, 1);
  EXPECT_EQ(fakeUi.boxes.size(), 1u);
  return fakeUi.boxes.empty() ? ShownBox{BoxKind::Question, L"(no box)"} : fakeUi.boxes.front();
}

// Compares kind and text apart, so that a failure prints the texts.
void ExpectBox(const ShownBox& actual, const ShownBox& expected) {
  EXPECT_EQ(static_cast<int>(actual.kind), static_cast<int>(expected.kind));
  EXPECT_EQ(actual.text, expected.text);
}

ShownBox UpToDate() { return {BoxKind::VersionResult, kUpToDate}; }
ShownBox Newer(std::string_view version) { return {BoxKind::VersionResult, NewerMessage(version)}; }
ShownBox NoServer() { return {BoxKind::Error, ErrorText(L"02-01", kNoServer)}; }
ShownBox BadVersion() { return {BoxKind::Error, ErrorText(L"02-02", kBadVersion)}; }

}  // namespace

// The stand-in for the WinINet fetch.
TEST(VersionCheckCommand, AnswersEachServerText) {
  struct Case {
    std::optional<std::string> reply;
    ShownBox expected;
  };
  const std::vector<Case> cases = {
      {"1.0", UpToDate()},
      {"1", UpToDate()},
      {"01", UpToDate()},
      {"0.9", UpToDate()},
      {"0", UpToDate()},
      {"1.1", Newer("1.1")},
      {"1.01", Newer("1.01")},
      {"2", Newer("2")},
      {"010.50", Newer("010.50")},  // named exactly as sent
      {"1.1\r\n", BadVersion()},
      {" 1.1", BadVersion()},
      {std::string("1.1\0", 4), BadVersion()},
      {"0.0", BadVersion()},
      {"1.", BadVersion()},
      {".5", BadVersion()},
      {"1.2.3", BadVersion()},
      {"<html>404</html>", BadVersion()},
      {"", BadVersion()},
      {std::nullopt, NoServer()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply ? "reply \"" + *c.reply + "\"" : "no reply");
    ExpectBox(CheckWith(c.reply), c.expected);
  }
}

TEST(VersionCheckCommand, NamesTheWholeOfALongVersion) {
  // Longer than one chunk of the fetch; the message names all of it.
  const std::string newer = "1." + std::string(199, '3') + "7";
  ExpectBox(CheckWith(newer), Newer(newer));
}

TEST(VersionCheckCommand, RejectsAVersionTooLongForItsMessage) {
  const std::size_t longest = LongestFittingVersion();
  const std::string fits = "2." + std::string(longest - 2, '5');
  ExpectBox(CheckWith(fits), Newer(fits));
  ExpectBox(CheckWith(fits + "5"), BadVersion());
  ExpectBox(CheckWith(std::string(kMaxVersionReplyBytes, '9')), BadVersion());
}

TEST(VersionCheckCommand, RejectsAnOversizedReplyEvenIfItReadsAsUpToDate) {
  // An old version needs no message, so only the reply's size rejects it.
  ExpectBox(CheckWith(std::string(kMaxVersionReplyBytes, '0')), UpToDate());
  ExpectBox(CheckWith(std::string(kMaxVersionReplyBytes + 1, '0')), BadVersion());
}
