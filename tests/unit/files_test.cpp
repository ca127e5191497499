// Text files in text mode, code-page conversion, path joining and the date
// text: the bytes on disk are the same in the native build and in the exe.
#include <gtest/gtest.h>

#include <filesystem>

#include "io/clock.h"
#include "io/codepage.h"
#include "io/files.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return dir_.File(name); }

  TempDir dir_;
};

TEST_F(FilesTest, MissingAndEmptyFilesDiffer) {
  EXPECT_FALSE(FileCanBeOpened(Path("none.txt")));
  EXPECT_EQ(CountFileBytes(Path("none.txt")), 0);
  EXPECT_EQ(ReadWholeFile(Path("none.txt")), std::nullopt);

  WriteBytes(Path("empty.txt"), "");
  EXPECT_TRUE(FileCanBeOpened(Path("empty.txt")));
  EXPECT_EQ(CountFileBytes(Path("empty.txt")), 1);
  EXPECT_EQ(ReadWholeFile(Path("empty.txt")), "");
}

TEST_F(FilesTest, ReadsInTextMode) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a\r\nb\r\n", "a\nb\n"},          // CR LF becomes LF
      {"a\rb\r", "a\rb\r"},              // a lone CR stays
      {"a\r\r\nb", "a\r\nb"},            // only the CR right before LF goes
      {"ab\x1A" "cd", "ab"},             // 0x1A ends the text
      {"\xA5TRADE\n", "\xA5TRADE\n"},    // every other byte as it is
  };
  for (const auto& [disk, text] : cases) {
    WriteBytes(Path("t.txt"), disk);
    EXPECT_EQ(CountFileBytes(Path("t.txt")), static_cast<int>(text.size()) + 1);
    EXPECT_EQ(ReadWholeFile(Path("t.txt")), text);
  }
}

TEST_F(FilesTest, WritesAndAppendsWithCrLf) {
  ASSERT_TRUE(WriteTextFile(Path("w.txt"), "A100\nB25"));
  EXPECT_EQ(ReadBytes(Path("w.txt")), "A100\r\nB25");
  ASSERT_TRUE(AppendTextFile(Path("w.txt"), "\nC1\n"));
  EXPECT_EQ(ReadBytes(Path("w.txt")), "A100\r\nB25\r\nC1\r\n");
  EXPECT_EQ(ReadWholeFile(Path("w.txt")), "A100\nB25\nC1\n");

  // A write replaces the whole file and leaves no temporary file behind.
  ASSERT_TRUE(WriteTextFile(Path("w.txt"), "x"));
  EXPECT_EQ(ReadBytes(Path("w.txt")), "x");
  EXPECT_FALSE(fs::exists(Path("w.txt.tmp")));

  ASSERT_TRUE(AppendTextFile(Path("new.txt"), "1"));
  EXPECT_EQ(ReadBytes(Path("new.txt")), "1");
  ASSERT_TRUE(WriteTextFile(Path("empty.txt"), ""));
  EXPECT_EQ(ReadWholeFile(Path("empty.txt")), "");
}

TEST_F(FilesTest, FailedWritesReportFailureAndChangeNothing) {
  // The target is a directory: neither call can write, and nothing appears.
  fs::create_directory(Path("target"));
  EXPECT_FALSE(WriteTextFile(Path("target"), "text"));
  EXPECT_FALSE(AppendTextFile(Path("target"), "text"));
  EXPECT_TRUE(fs::is_directory(Path("target")));
  EXPECT_FALSE(fs::exists(Path("target.tmp")));

  // No directory to hold the file.
  EXPECT_FALSE(WriteTextFile(Path("missing/file.txt"), "text"));
  EXPECT_FALSE(AppendTextFile(Path("missing/file.txt"), "text"));
  EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST(ConcatStrings, JoinsWhatIsPresent) {
  EXPECT_EQ(ConcatStrings(std::string("C:\\app\\"), std::string("save_data")), "C:\\app\\save_data");
  EXPECT_EQ(ConcatStrings(std::nullopt, std::string("b")), "b");
  EXPECT_EQ(ConcatStrings(std::string("a"), std::nullopt), "a");
  EXPECT_EQ(ConcatStrings(std::string(), std::string()), "");
  EXPECT_EQ(ConcatStrings(std::nullopt, std::nullopt), std::nullopt);
}

TEST(CodePage, RoundTripsJapaneseAndTheMarker) {
  // Code page 932: the half-width middle dot is the single byte 0xA5.
  EXPECT_EQ(WideToAnsi(L"\xFF65"), "\xA5");
  EXPECT_EQ(AnsiToWide(("\xA5TRADE No.1")), L"･TRADE No.1");
  EXPECT_EQ(WideToAnsi(L"勝率(%):"), "\x8F\x9F\x97\xA6(%):");
  EXPECT_EQ(AnsiToWide(("\x8F\x9F\x97\xA6")), L"勝率");
  const std::wstring japanese = L"対象レート換算証拠金は0.01～100000000.00の範囲で指定して下さい。\n";
  const auto narrow = WideToAnsi(japanese);
  ASSERT_TRUE(narrow);
  EXPECT_EQ(AnsiToWide(*narrow), japanese);
  EXPECT_EQ(WideToAnsi(L""), "");
  EXPECT_EQ(AnsiToWide(""), L"");
  // A character that code page 932 cannot hold (and has no look-alike for)
  // becomes '?'.
  EXPECT_EQ(WideToAnsi(L"a\x4E02z"), "a?z");
}

TEST(DateText, IsCtimeWithADayOfTwoDigits) {
  // The tests run with the machine's local time zone; shift to local noon
  // of 5 December 2026 so the date does not depend on it.
  const std::int64_t utcNoon = 1796472000;  // Sat Dec 05 12:00:00 2026 UTC
  const std::string text = DateText(utcNoon);
  ASSERT_EQ(text.size(), 25u);
  EXPECT_EQ(text.substr(0, 11), "Sat Dec 05 ");
  EXPECT_EQ(text.substr(19), " 2026\n");
  EXPECT_EQ(text[13], ':');
  EXPECT_EQ(text[16], ':');

  SetClockForTesting(1234);
  EXPECT_EQ(ClockNow(), 1234);
  SetClockForTesting(std::nullopt);
  EXPECT_GT(ClockNow(), 1700000000);
}

}  // namespace
