// Start-up: the program's folder from its file name, and the save_data folder
// made, loaded or said to be unusable.
#include <gtest/gtest.h>

#include "fake_ui.h"
#include "io/clock.h"
#include "io/codepage.h"
#include "io/directory.h"
#include "io/paths.h"
#include "res/resource.h"
#include "startup/saved_data.h"

namespace {

// 表 and ソ end in 0x5C, a backslash when read byte by byte.
TEST(StartUp, TheProgramsFolderEndsAtItsLastSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Tallowind\\Tallowind.exe", "C:\\Tallowind\\"}, {"C:\\\x95\x5C\\\x83\x5C.exe", "C:\\\x95\x5C\\"},
      {"/tmp/a/\x81\x5C\x9F\x5C\xE0\x5C\xFC\x5C", "/tmp/a/"}, {"x\x80\\\xA0\\\xDF\\\xFD\\y", "x\x80\\\xA0\\\xDF\\\xFD\\"},
      {"Tallowind.exe", ""}, {"a\\\x95", "a\\"}};
  for (const auto& [name, folder] : cases) EXPECT_EQ(DirectoryOf(name), folder) << name;
}

// The program's folder holds nothing, its saved data, or a file in the place
// of save_data (then one box says so and start-up goes on).
TEST(StartUp, MakesSaveDataAndLoadsItOrSaysOnceThatItCannot) {
  SetClockForTesting(1796462102);
  const std::wstring fresh = L"\xFF65TRADE No.1\r\nDATE:Sat Dec 05 09:15:02 2026\r\nARRAY:1,2,3\r\n";
  const struct { std::string folder; bool blocked; const char *information, *log; std::wstring inputs, shown; } cases[] = {
      {"Tallowind", false, nullptr, nullptr, L"||||||", fresh},
      {"\x95\x5C", false, nullptr, nullptr, L"||||||", fresh},  // 表
      {"Tallowind", false, "A5\nG0.3", "ARRAY:1,2", L"5||||||0.3", L"ARRAY:1,2"},
      {"Tallowind", true, nullptr, nullptr, L"||||||", L""}};
  for (const auto& c : cases) {
    TempDir dir;
    ResetFakeUi();
    const std::string folder = dir.path.string() + kPathSeparator + c.folder, sep(1, kPathSeparator);
    const std::string saveData = folder + sep + "save_data";
    MakeDirectory(folder);
    if (c.blocked) WriteBytes(saveData, "");
    if (c.information) MakeDirectory(saveData), WriteBytes(saveData + sep + "trade_information.txt", c.information);
    if (c.log) WriteBytes(saveData + sep + "trade_query.txt", c.log);
    ExeDirectory = DirectoryOf(folder + sep + "Tallowind.exe");
    EXPECT_TRUE(LoadSavedData());
    std::vector<std::wstring> inputs;
    for (int id = IDC_MARGIN; id <= IDC_STOP_LOSS; ++id) inputs.push_back(fakeUi.controls[id]);
    EXPECT_EQ(inputs, Fields(c.inputs));
    EXPECT_EQ(std::pair(fakeUi.controls[IDC_TRADE_LOG], AnsiToWide(ReadBytes(saveData + sep + "trade_query.txt"))),
              std::pair(c.shown, std::optional(c.shown)));
    const Boxes unusable = {{BoxKind::SevereError, L"エラーコード:01-05\nこのフォルダにはデータを保存できません。\n"
                             L"保存用のフォルダを作成できないか、書き込みできません:\n" + std::wstring(saveData.begin(), saveData.end()) +
                             L"\n\nTallowind のフォルダごと、書き込みのできる場所（例: C:\\Tallowind）に移してから起動してください。"}};
    EXPECT_EQ(fakeUi.boxes, c.blocked ? unusable : Boxes{});
  }
  SetClockForTesting(std::nullopt);
}

}  // namespace
