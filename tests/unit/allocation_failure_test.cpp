// Running out of memory, swept: each command runs once for every allocation, the k-th one failing, and ends with its
// own error box and the files as before or after its change, or as a run without faults. It replaces operator new.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fake_ui.h"
#include "net/version_check.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "sim/sampling_count.h"
#include "startup/saved_data.h"
#include "trade/trade_panel.h"
#include "trade/trade_query.h"

void* operator new(std::size_t size) {
  if (allocationFault.countdown > 0 && --allocationFault.countdown == 0) {
    allocationFault.met = true;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

using Files = std::map<std::string, std::string>;  // every file of save_data: name -> bytes
// Loaded texts that differ from the inputs, so that an input left unchanged shows.
const std::string kSixLog = "\xA5TRADE No.4\r\nARRAY:1,2,3,4,5,6\r\n", kInformation = "A0000000000001000\r\nG0.3";
const std::string kCount = "0000000000002500";

struct Sweep {
  const char* name;
  std::string log;  // the trade log before the command; empty: none
  std::function<void()> command;
  std::wstring_view errors, afterChange = {};  // the codes the faults bring with the files as before, and as after
  std::wstring_view goesOn = {};               // codes after which the command goes on; the others end it
};
void PrintTo(const Sweep& sweep, std::ostream* out) { *out << sweep.name; }

class AllocationFailure : public testing::TestWithParam<Sweep> {
 protected:
  // Runs the command on fresh files (then `before`), the k-th allocation failing (none for 0); true when it was met.
  bool Run(std::size_t k) {
    std::filesystem::remove_all(saveData);
    std::filesystem::create_directories(saveData);
    ExeDirectory = dir.path.string() + kPathSeparator;
    WriteBytes(TradeInformationPath = (saveData / "trade_information.txt").string(), kInformation);
    WriteBytes(SamplingCountPath = (saveData / "arithmetic_simulation.txt").string(), kCount);
    TradeLogPath = (saveData / "trade_query.txt").string();
    if (!GetParam().log.empty()) WriteBytes(TradeLogPath, GetParam().log);
    before = Snapshot();
    fakeUi = {};
    // Texts too long to be held without an allocation.
    SetInputs(L"0000100000000.00|0000000000000025|000000000.000001|0000000100000000|0000000000000100|"
              L"0000000000000.50|0000000000000.30");
    std::tie(fakeUi.controls[IDC_TRADE_LOG], fakeUi.reply, samplingCount, allocationFault) =
        std::tuple(L"shown", "1.1", 3, AllocationFault{k, false});
    EXPECT_NO_THROW(GetParam().command());
    return std::exchange(allocationFault, {}).met;
  }
  Files Snapshot() const {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(saveData))
      files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return files;
  }
  const FixedDates dates;
  const TempDir dir;
  const std::filesystem::path saveData = dir.path / "save_data";
  Files before;
};

TEST_P(AllocationFailure, EndsWithItsOwnErrorOrAsNormal) {
  Run(0);
  const Files after = Snapshot();
  const FakeUi normal = fakeUi;
  std::wstring met[2];  // the codes met with the files as before, and as after, in the order met
  for (std::size_t k = 1; Run(k); ++k) {
    SCOPED_TRACE(testing::Message() << "allocation " << k);
    const auto error = std::ranges::find(fakeUi.boxes, BoxKind::Error, &ShownBox::kind);
    if (error == fakeUi.boxes.end()) {
      EXPECT_EQ(std::tuple(fakeUi.boxes, fakeUi.controls, Snapshot()),
                std::tuple(normal.boxes, normal.controls, after));
      continue;
    }
    const std::wstring code = error->text.substr(7, 5);  // after "エラーコード:"
    const bool changed = GetParam().afterChange.find(code) != std::wstring_view::npos;
    if (met[changed].find(code) == std::wstring::npos) met[changed] += (met[changed].empty() ? L"" : L" ") + code;
    EXPECT_EQ(std::ranges::count(fakeUi.boxes, BoxKind::Error, &ShownBox::kind), 1);
    EXPECT_EQ(Snapshot(), changed ? after : before);
    const bool goesOn = GetParam().goesOn.find(code) != std::wstring_view::npos;
    EXPECT_TRUE(changed || goesOn == (fakeUi.boxes.back().kind != BoxKind::Error));
  }
  EXPECT_EQ(std::tuple(met[0], met[1]), std::tuple(GetParam().errors, GetParam().afterChange));
}

// Start-up, which goes on when it loaded all it could.
void StartUp() {
  if (LoadSavedData()) ShowBox(BoxKind::Completion, L"started");
}

// The sampling-count dialog as it opens or saves: its error, then the count.
void ShowDialog(const SamplingCountOpening& dialog) {
  if (!dialog.error.code.empty()) ShowError(dialog.error.code, dialog.error.reason);
  SetControlText(IDC_SAMPLING_COUNT, dialog.text);
}

// Not reached: texts too short to need an allocation (02-19, 02-47, 02-53, 02-70; 03-02 of SAVE). MONTE CARLO's
// caller repaints when it succeeds, the create message goes on when start-up does.
const Sweep kSweeps[] = {
    {"Save", kSixLog, SaveTradeInformationCommand, L"02-03 02-04 02-05 02-06 02-07 02-08 02-09 02-71"},
    {"Load", kSixLog, LoadTradeInformationCommand, L"02-10"},
    {"Reference", "ARRAY:1,2,3\r\nARRAY:2147483647,2,3,2147483647\r\n", ReferenceCommand,
     L"02-11 02-12 02-13 02-14 02-15 02-16 02-17 02-18 02-20"},
    {"WinWithinASet", kSixLog, WinCommand, L"02-21 02-22 02-23 02-24 02-25 02-26 02-27 02-72", L"02-28"},
    {"WinEndingTheSet", "ARRAY:1,2,3\r\n", WinCommand, L"02-21 02-22 02-23 02-24 02-25 02-29 02-73", L"02-30"},
    {"Lose", kSixLog, LoseCommand, L"02-31 02-32 02-33 02-34 02-74", L"02-35"},
    {"DropOut", kSixLog, DropOutCommand, L"02-75", L"02-36"},
    {"ArithmeticCalculate", kSixLog, ArithmeticCalculateCommand,
     L"02-37 02-38 02-39 02-40 02-41 02-42 02-43 02-44 02-45 02-46 02-48 02-49 02-50 02-51 02-52"},
    {"MonteCarloCalculate", kSixLog, [] { if (MonteCarloCalculateCommand()) ShowBox(BoxKind::Completion, L"repaint"); },
     L"02-54 02-55 02-56 02-57 02-58 02-59 02-60 02-61 02-62 02-63 02-64 02-65 02-66 02-67 02-68 02-69"},
    {"VersionCheck", kSixLog, VersionCheckCommand, L"02-01"},
    {"SamplingCountOpening", kSixLog, [] { ShowDialog(OpenSamplingCountDialog()); }, L"03-01 03-02"},
    {"SamplingCountSave", kSixLog,
     [] { const SiteError e = SaveSamplingCountText(L"40"); ShowDialog({std::to_wstring(samplingCount), e}); },
     L"03-03"},
    {"StartUpWithALog", kSixLog, StartUp, L"01-01 01-02 01-03", {}, L"01-02"},
    {"StartUpWithoutALog", "", StartUp, L"01-01", L"01-02 01-04", L"01-02"},
};
INSTANTIATE_TEST_SUITE_P(Commands, AllocationFailure, testing::ValuesIn(kSweeps),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
