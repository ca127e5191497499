// Text files in text mode, code-page conversion, joining and the date text.
#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/clock.h"
#include "io/codepage.h"
#include "io/files.h"

namespace {

TEST(Files, ReadInTextModeToTheFirstZeroByteAndWriteWithCrLf) {
  TempDir dir;
  const std::string path = dir.File("t.txt");
  EXPECT_EQ(std::tuple(FileCanBeOpened(path), CountFileBytes(path), ReadWholeFile(path)),
            std::tuple(false, 0, std::nullopt));
  const struct { std::string disk, text; int count; } reads[] = {
      {"", "", 1}, {"a\r\nb\r\n", "a\nb\n", 5}, {"a\rb\r", "a\rb\r", 5}, {"a\r\r\nb", "a\r\nb", 5},
      {"ab\x1A" "cd", "ab", 3}, {std::string("12\0x", 4), "12", 5}, {"\xA5TRADE", "\xA5TRADE", 7}};
  for (const auto& c : reads) {
    WriteBytes(path, c.disk);
    EXPECT_EQ(std::tuple(FileCanBeOpened(path), CountFileBytes(path), ReadWholeFile(path)),
              std::tuple(true, c.count, c.text));
  }
  EXPECT_TRUE(AppendTextFile(dir.File("w.txt"), "A1\n") && AppendTextFile(dir.File("w.txt"), "B2\n"));
  EXPECT_EQ(ReadBytes(dir.File("w.txt")), "A1\r\nB2\r\n");
  EXPECT_TRUE(WriteTextFile(path, "C\n3"));
  EXPECT_EQ(ReadBytes(path), "C\r\n3");
  // A directory in the way, a directory missing, or a full disk (where fclose
  // meets what fwrite buffered): nothing is written.
  std::filesystem::create_directory(dir.File("d"));
  for (const std::string& target : {dir.File("d"), dir.File("missing/w.txt")}) {
    EXPECT_FALSE(WriteTextFile(target, "x"));
    EXPECT_FALSE(AppendTextFile(target, "x"));
  }
#ifndef _WIN32
  std::filesystem::create_symlink("/dev/full", dir.File("full.tmp"));
  EXPECT_FALSE(WriteTextFile(dir.File("full"), "x"));
  EXPECT_FALSE(AppendTextFile("/dev/full", "x"));
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 3);  // no temporary file left
}

TEST(Text, JoinsAndConvertsWithCodePage932) {
  EXPECT_EQ(ConcatStrings(std::string("C:\\app\\"), std::string("save_data")), "C:\\app\\save_data");
  EXPECT_EQ(ConcatStrings(std::nullopt, std::string("b")), "b");
  EXPECT_EQ(ConcatStrings(std::string("a"), std::nullopt), "a");
  EXPECT_EQ(ConcatStrings(std::nullopt, std::nullopt), std::nullopt);
  std::string hiragana;
  for (int i = 0; i < 300; ++i) hiragana += "\x82\xA0";
  const std::pair<std::wstring, std::string> both[] = {
      {L"", ""}, {L"\xFF65TRADE", "\xA5TRADE"}, {L"勝率(%):", "\x8F\x9F\x97\xA6(%):"}, {std::wstring(300, L'あ'), hiragana}};
  for (const auto& [wide, narrow] : both) {
    EXPECT_EQ(WideToAnsi(wide), narrow);
    EXPECT_EQ(AnsiToWide(narrow), wide);
  }
  // What code page 932 cannot hold becomes '?', and the conversion goes on.
  EXPECT_EQ(WideToAnsi(L"a\x4E02z"), "a?z");
#ifndef _WIN32  // bytes that are no character: the system's converter has its own defaults
  EXPECT_EQ(AnsiToWide("a\x80z"), L"a?z");
  EXPECT_EQ(AnsiToWide("a\x82"), L"a?");
#endif
}

TEST(Clock, DateTextIsCtimeWithADayOfTwoDigits) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {1796462102, "Sat Dec 05 09:15:02 2026\n"}, {0, "Thu Jan 01 00:00:00 1970\n"},
      {951868799, "Tue Feb 29 23:59:59 2000\n"},  {2147483647, "Tue Jan 19 03:14:07 2038\n"},
      {INT64_MAX, "Thu Jan 01 00:00:00 1970\n"}};  // beyond the calendar
  for (const auto& [seconds, text] : cases) EXPECT_EQ(DateText(seconds), text) << seconds;
  SetClockForTesting(1234);
  EXPECT_EQ(ClockNow(), 1234);
  SetClockForTesting(std::nullopt);
  EXPECT_GT(ClockNow(), 1700000000);
}

}  // namespace
