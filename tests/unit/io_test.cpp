// Text files in text mode, code-page conversion, joining and the date text.
#include <gtest/gtest.h>

#include "io/clock.h"
#include "io/codepage.h"
#include "io/files.h"
#include "temp_dir.h"

namespace {

TEST(Files, ReadInTextModeToTheFirstZeroByte) {
  TempDir dir;
  const std::string path = dir.File("t.txt");
  EXPECT_FALSE(FileCanBeOpened(path));
  EXPECT_EQ(CountFileBytes(path), 0);
  EXPECT_EQ(ReadWholeFile(path), std::nullopt);
  const struct { std::string disk, text; int count; } cases[] = {
      {"", "", 1},           {"a\r\nb\r\n", "a\nb\n", 5}, {"a\rb\r", "a\rb\r", 5}, {"a\r\r\nb", "a\r\nb", 5},
      {"ab\x1A" "cd", "ab", 3}, {std::string("12\0x", 4), "12", 5}, {"\xA5TRADE", "\xA5TRADE", 7},
  };
  for (const auto& c : cases) {
    WriteBytes(path, c.disk);
    EXPECT_TRUE(FileCanBeOpened(path));
    EXPECT_EQ(CountFileBytes(path), c.count) << c.disk;
    EXPECT_EQ(ReadWholeFile(path), c.text) << c.disk;
  }
}

TEST(Files, WriteReplacesAndAppendAddsWithCrLf) {
  TempDir dir;
  const std::string path = dir.File("w.txt");
  EXPECT_TRUE(AppendTextFile(path, "A1\n"));
  EXPECT_TRUE(AppendTextFile(path, "B2\n"));
  EXPECT_EQ(ReadBytes(path), "A1\r\nB2\r\n");
  EXPECT_TRUE(WriteTextFile(path, "C\n3"));
  EXPECT_EQ(ReadBytes(path), "C\r\n3");
  EXPECT_TRUE(WriteTextFile(path, ""));
  EXPECT_EQ(ReadBytes(path), "");
  // A directory in the way, and a directory that is missing: nothing is written.
  std::filesystem::create_directory(dir.File("d"));
  for (const std::string& target : {dir.File("d"), dir.File("missing/w.txt")}) {
    EXPECT_FALSE(WriteTextFile(target, "x"));
    EXPECT_FALSE(AppendTextFile(target, "x"));
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2);  // no temporary file left
}

TEST(Text, ConcatenatesAndConverts) {
  EXPECT_EQ(ConcatStrings(std::string("C:\\app\\"), std::string("save_data")), "C:\\app\\save_data");
  EXPECT_EQ(ConcatStrings(std::nullopt, std::string("b")), "b");
  EXPECT_EQ(ConcatStrings(std::string("a"), std::nullopt), "a");
  EXPECT_EQ(ConcatStrings(std::nullopt, std::nullopt), std::nullopt);
  const std::pair<std::wstring, std::string> both[] = {
      {L"", ""}, {L"\xFF65TRADE", "\xA5TRADE"}, {L"勝率(%):", "\x8F\x9F\x97\xA6(%):"},
      {std::wstring(300, L'あ'), [] { std::string s; for (int i = 0; i < 300; ++i) s += "\x82\xA0"; return s; }()}};
  for (const auto& [wide, narrow] : both) {
    EXPECT_EQ(WideToAnsi(wide), narrow);
    EXPECT_EQ(AnsiToWide(narrow), wide);
  }
  // What code page 932 cannot hold becomes '?', and the conversion goes on.
  EXPECT_EQ(WideToAnsi(L"a\x4E02z"), "a?z");
  EXPECT_EQ(AnsiToWide("a\x80z"), L"a?z");
  EXPECT_EQ(AnsiToWide("a\x82"), L"a?");
}

TEST(Clock, DateTextIsCtimeWithADayOfTwoDigits) {
  // The tests run in UTC (see fake_ui.cpp).
  const std::pair<std::int64_t, const char*> cases[] = {
      {1796462102, "Sat Dec 05 09:15:02 2026\n"}, {0, "Thu Jan 01 00:00:00 1970\n"},
      {951868799, "Tue Feb 29 23:59:59 2000\n"},  {4102444799, "Thu Dec 31 23:59:59 2099\n"},
      {INT64_MAX, "Thu Jan 01 00:00:00 1970\n"},  // beyond the calendar
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(DateText(seconds), text) << seconds;
  SetClockForTesting(1234);
  EXPECT_EQ(ClockNow(), 1234);
  SetClockForTesting(std::nullopt);
  EXPECT_GT(ClockNow(), 1700000000);
}

}  // namespace
