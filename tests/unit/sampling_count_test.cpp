// Tests of the sampling count: what each saved text stands for, and the
// dialog's opening and SAVE on the file.
#include "sim/sampling_count.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/paths.h"
#include "temp_dir.h"

namespace {

class SamplingCountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SamplingCountPath = dir.File("arithmetic_simulation.txt");
    samplingCount = 1234;
  }
  void TearDown() override {
    SamplingCountPath.clear();
    samplingCount = kDefaultSamplingCount;
  }

  TempDir dir;
};

TEST_F(SamplingCountTest, NoFileGivesTheDefault) {
  LoadSamplingCount();
  EXPECT_EQ(samplingCount, 1000000);
  const SamplingCountOpening opening = OpenSamplingCountDialog();
  EXPECT_TRUE(opening.error.code.empty());
  EXPECT_EQ(opening.text, L"1000000");
}

TEST_F(SamplingCountTest, FileContents) {
  const struct {
    std::string bytes;  // as stored on disk
    std::int32_t count;
  } cases[] = {
      {"2500", 2500},
      {"0", 1},
      {"", 1},
      {"0500", 500},
      {"1000000", 1000000},
      {"1500000", 1000000},
      {"123456789012", 1000000},         // more digits than an int holds
      {std::string(400, '9'), 1000000},  // more than a double holds
      {"12a", 1000000},
      {"-5", 1000000},
      {"2,500", 1000000},
      {"100\r\n", 1000000},
      {"100\n", 1000000},
      {" 100", 1000000},
      {"\xEF\xBC\x91", 1000000},  // not a digit in any code page
  };
  for (const auto& c : cases) {
    WriteBytes(SamplingCountPath, c.bytes);
    samplingCount = 1234;
    LoadSamplingCount();
    EXPECT_EQ(samplingCount, c.count) << c.bytes;
  }
}

TEST_F(SamplingCountTest, TheDialogShowsTheCountJustLoaded) {
  WriteBytes(SamplingCountPath, "0500");
  const SamplingCountOpening opening = OpenSamplingCountDialog();
  EXPECT_TRUE(opening.error.code.empty());
  EXPECT_EQ(opening.text, L"500");
  EXPECT_EQ(samplingCount, 500);
}

TEST_F(SamplingCountTest, SaveWritesTheFirstSevenCharactersAsTyped) {
  const struct {
    std::wstring_view typed;
    std::string stored;
    std::int32_t count;
    std::wstring_view shownNextTime;
  } cases[] = {
      {L"2500", "2500", 2500, L"2500"},
      {L"abc", "abc", 1000000, L"1000000"},
      {L"12345678", "1234567", 1000000, L"1000000"},
      {L"", "", 1, L"1"},
      {L"0500", "0500", 500, L"500"},
      {L"１２", "\x82\x50\x82\x51", 1000000, L"1000000"},  // full-width digits in code page 932
  };
  for (const auto& c : cases) {
    samplingCount = 1234;
    EXPECT_TRUE(SaveSamplingCountText(c.typed).code.empty());
    EXPECT_EQ(ReadBytes(SamplingCountPath), c.stored);
    EXPECT_EQ(samplingCount, c.count);
    EXPECT_EQ(OpenSamplingCountDialog().text, c.shownNextTime);
    EXPECT_EQ(ReadBytes(SamplingCountPath), c.stored);  // opening writes nothing
  }
}

TEST_F(SamplingCountTest, AFileThatCannotBeWrittenIsReported) {
  WriteBytes(SamplingCountPath, "2500");
  SamplingCountPath = dir.File("missing_directory/arithmetic_simulation.txt");
  EXPECT_EQ(SaveSamplingCountText(L"300").code, L"03-03");
  EXPECT_EQ(samplingCount, 1234);  // closed as after CANCEL: nothing reloaded
  EXPECT_FALSE(std::filesystem::exists(SamplingCountPath));
  EXPECT_EQ(ReadBytes(dir.File("arithmetic_simulation.txt")), "2500");
}

}  // namespace
