// Decimal text, the field validators, the progression list, text files in text mode, and the program's folder.
#include <gtest/gtest.h>

#include "core/decimal.h"
#include "core/progression.h"
#include "core/trade_field.h"
#include "fake_ui.h"

namespace {

TEST(DecimalText, FormatsParsesNormalizesAndChecks) {
  const struct { double value; const char* precision; const char* text; } formats[] = {
      {2.5, "1.0", "2"}, {-1000, "1.8", "-1000.00000000"}, {1.0 / 3, "1.10", "0.3333333333"}, {1.5, "", "1.500000"},
      {1.5, "1.2x", "1.50"}, {1.5, "1.500", "1.50000000000000000000000000000"},
      {1e20, "1.10", "100000000000000000000.000000000"},
      {1e30, "1.1", "1000000000000000019884624838656"}, {-1e30, "1.10", "-1.000000000000000019884625e+30"},
      {-1.7976931348623157e308, "1.0", "-1.79769313486231570814527e+308"}};
  for (const auto& c : formats) EXPECT_EQ(FormatDecimal(c.value, c.precision), c.text) << c.value;
  const std::pair<const char*, double> parses[] = {
      {"", 0},         {"12.5", 12.5}, {"-0.25", -0.25}, {"1.2.3", 1.23}, {"5-", 5},         {"--3", -3},
      {"abc", 0},      {"1,000", 1000}, {"1a2", 12},     {".5", 0.5},     {"\x82\x50", 0}, {"0.000001", 0.000001}};
  for (const auto& [text, value] : parses) EXPECT_EQ(ParseDecimal(text), value) << text;
  const std::pair<std::string, const char*> normalized[] = {
      {"000", "0"}, {"0012", "12"}, {"00.50", "0.5"}, {"10.00", "10"}, {".", ""},
      {"100", "100"}, {"0.0", "0"}, {".0", ""}, {"007.10", "7.1"}, {"", ""}};
  for (auto [text, out] : normalized) EXPECT_EQ((NormalizeDecimalText(text), text), out);
  for (const char* bad : {"", "5.", ".5", "0.0", "00.000", "1.2.3", "1e5", "-1", " 1", "/", ":", "\x82\x50"})
    EXPECT_TRUE(CheckDecimalSyntax(bad)) << bad;
  for (const char* good : {"0", "000", "0.5", "1.0", "9.90"}) EXPECT_FALSE(CheckDecimalSyntax(good)) << good;
}

TEST(TradeFields, ValidatorsAcceptTheirRangesOnly) {
  using F = TradeField;
  const struct { F field; std::vector<const char*> valid, invalid; } cases[] = {
      {F::Margin, {"0.01", "100000000", "100000000.00", "1.25"}, {"0.001", "0", "100000000.01", "1.255", "1e5"}},
      {F::Leverage, {"1", "1000", "0001000"}, {"1.0", "+5", "0", "1001", "10000", "99999999999999999999"}},
      {F::Rate, {"1000.000000", "0.000001"}, {"0.0000001", "1000.000001"}},
      {F::UnitLotSize, {"1", "100000000"}, {"0", "100000001", "1000.0", "-1"}},
      {F::WinRate, {"0", "099", "100"}, {"101", "50.0", "-0"}},
      {F::StopLoss, {"0.000001", "1000"}, {"0.0000009", "1001", ".3"}},
      {F::TakeProfit, {"0.000001", "1000", "0.5"}, {"0.0000009", "1000.0000001", "0"}}};
  for (const auto& c : cases) {
    for (const char* text : c.valid) EXPECT_FALSE(ValidateField(c.field, std::string(text))) << text;
    for (const char* text : c.invalid) EXPECT_TRUE(ValidateField(c.field, std::string(text))) << text;
    EXPECT_TRUE(ValidateField(c.field, std::string()) && ValidateField(c.field, std::nullopt));
  }
}

TEST(Progression, NextListStakeAndResultByLengths) {
  constexpr TradeResult W = TradeResult::Win, L = TradeResult::Lose;
  const struct { TradeResult result; ProgressionArray before, after; } cases[] = {
      {L, {1, 2, 3}, {1, 2, 3, 4}}, {L, {3, 4}, {3, 4, 7}}, {L, {INT32_MAX, 5}, {INT32_MAX, 5, INT32_MAX}},
      {L, {INT32_MAX - 1, 1}, {INT32_MAX - 1, 1, INT32_MAX}}, {W, {1, 2, 3, 4, 5, 6}, {3, 4}},
      {W, {2, 3, 5, 8, 13, 21, 34}, {5, 8, 13}}, {W, {1, 2, 3, 4, 5}, {}}, {W, {7}, {}}, {L, {7}, {}}, {L, {}, {}}};
  for (const auto& c : cases) EXPECT_EQ(NextProgression(c.result, c.before), c.after) << c.before.size();
  EXPECT_EQ(ProgressionFromBlock(std::array<std::int32_t, 5>{0, 2, 3, -5, 9}), ProgressionArray({0, 2, 3}));
  EXPECT_EQ(ProgressionStake({5}), 0);
  EXPECT_EQ(ProgressionStake({INT32_MAX, 9, INT32_MAX}), 4294967294);
  EXPECT_EQ(std::tuple(CompareProgressionLengths({1, 2, 3}, {1, 2, 3, 4}), CompareProgressionLengths({4, 5}, {1}),
                       CompareProgressionLengths({1, 2, 3}, {7, 8, 9})),
            std::tuple(L, W, std::nullopt));
}

TEST(Files, ReadInTextModeToTheFirstZeroByteAndWriteWithCrLf) {
  TempDir dir;
  const std::string path = dir.File("t.txt");
  const struct { std::optional<std::string> disk; ReadStatus status; std::string text; } reads[] = {
      {std::nullopt, ReadStatus::Missing, ""}, {"", ReadStatus::Found, ""},
      {"a\r\nb\r\n", ReadStatus::Found, "a\nb\n"},
      {"a\rb\r", ReadStatus::Found, "a\rb\r"}, {"a\r\r\nb", ReadStatus::Found, "a\r\nb"},
      {"ab\x1A" "cd", ReadStatus::Found, "ab"}, {std::string("12\0x", 4), ReadStatus::Found, "12"}};
  for (const auto& c : reads) {
    if (c.disk) WriteBytes(path, *c.disk);
    const FileText read = ReadWholeFile(path);
    EXPECT_EQ(std::tuple(read.status, read.text), std::tuple(c.status, c.text));
  }
  EXPECT_TRUE(AppendTextFile(dir.File("w.txt"), "A1\n") && AppendTextFile(dir.File("w.txt"), "B2\n") &&
              WriteTextFile(path, "C\n3") && FolderAcceptsFiles(dir.path.string()));
  EXPECT_EQ(ReadBytes(dir.File("w.txt")), "A1\r\nB2\r\n");
  EXPECT_EQ(ReadBytes(path), "C\r\n3");
  // A folder in the way or missing, or a full disk (fclose meets what fwrite buffered): nothing written,
  // no file left.
  MakeDirectory(dir.File("d"));
  for (const std::string& target : {dir.File("d"), dir.File("missing/w.txt")})
    EXPECT_FALSE(WriteTextFile(target, "x") || AppendTextFile(target, "x")) << target;
  EXPECT_FALSE(FolderAcceptsFiles(dir.File("missing")));
#ifndef _WIN32
  std::filesystem::create_symlink("/dev/full", dir.File("full.tmp"));
  EXPECT_FALSE(WriteTextFile(dir.File("full"), "x") || AppendTextFile("/dev/full", "x"));
#endif
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 3);  // no temporary file left
}

// 表 and ソ end in the byte 0x5C, a backslash when the name is read byte by byte.
TEST(Folders, TheProgramsFolderEndsAtItsLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Tallowind\\Tallowind.exe", "C:\\Tallowind\\"}, {"C:\\\x95\x5C\\\x83\x5C.exe", "C:\\\x95\x5C\\"},
      {"/tmp/a/\x81\x5C\x9F\x5C\xE0\x5C\xFC\x5C", "/tmp/a/"},
      {"x\x80\\\xA0\\\xDF\\\xFD\\y", "x\x80\\\xA0\\\xDF\\\xFD\\"},
      {"Tallowind.exe", ""}, {"a\\\x95", "a\\"}, {"\x95\x5C.exe", ""}};
  for (const auto& [name, folder] : cases) EXPECT_EQ(DirectoryOf(name), folder) << name;
}

}  // namespace
