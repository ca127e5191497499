// Running out of memory, swept: each command runs once for every allocation
// it makes, the k-th one failing, until a run meets no fault. A run ends with
// the command's own error box and the files as they were, or as a run without
// faults ends (a load error may follow a change made); no file is ever
// half-written. A native program of its own: it replaces operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <set>

#include "fake_ui.h"
#include "io/clock.h"
#include "io/paths.h"
#include "net/version_check.h"
#include "sim/arithmetic.h"
#include "sim/monte_carlo.h"
#include "sim/sampling_count.h"
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

using Errors = std::set<std::wstring>;
using Files = std::map<std::string, std::string>;  // every file of the directory: name -> bytes

Errors Error(const wchar_t* code, const wchar_t* reason) { return {std::wstring(L"エラーコード:") + code + L"\n" + reason}; }
// The memory errors of codes 02-<first> to 02-<last> (03- for the dialog).
Errors Memory(int first, int last, const wchar_t* group = L"02-") {
  Errors texts;
  for (int n = first; n <= last; ++n) {
    texts.insert(L"エラーコード:" + (group + std::wstring(n < 10 ? L"0" : L"")) + std::to_wstring(n) +
                 L"\nメモリの確保に失敗しました。");
  }
  return texts;
}
Errors operator+(Errors a, const Errors& b) { return a.insert(b.begin(), b.end()), a; }
const wchar_t* const kLoad = L"ファイルのロードに失敗しました。";
const wchar_t* const kSave = L"ファイルのセーブに失敗しました。";
const wchar_t* const kLogData = L"LOG DATAの作成に失敗しました。";
const std::string kSixLog = "\xA5TRADE No.4\r\nARRAY:1,2,3,4,5,6\r\n";

struct Sweep {
  const char* name;
  std::string log;  // the trade log before the command
  std::function<void()> command;
  Errors errors;           // each error the faults bring, the files as before
  Errors afterChange = {}; // each load error after the change, the files as after
};
void PrintTo(const Sweep& sweep, std::ostream* out) { *out << sweep.name; }

class AllocationFailure : public testing::TestWithParam<Sweep> {
 protected:
  void Prepare() {
    std::filesystem::remove_all(dir.path);
    std::filesystem::create_directories(dir.path);
    WriteBytes(TradeInformationPath = dir.File("trade_information.txt"), "A0000100000000.00\r\nG0.3");
    WriteBytes(TradeLogPath = dir.File("trade_query.txt"), GetParam().log);
    WriteBytes(SamplingCountPath = dir.File("arithmetic_simulation.txt"), "0000000000002500");
    SetClockForTesting(1796462102);
    ResetFakeUi();
    // Texts too long to be held without an allocation.
    SetTradeInputs({L"0000100000000.00", L"0000000000000025", L"000000000.000001", L"0000000100000000",
                    L"0000000000000100", L"0000000000000.50", L"0000000000000.30"});
    fakeUi.controls[IDC_TRADE_LOG] = L"shown";
    fakeUi.reply = "1.1";
    samplingCount = 3;
  }
  Files Snapshot() const {
    Files files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
      files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    }
    return files;
  }
  TempDir dir;
};

TEST_P(AllocationFailure, EndsWithItsOwnErrorOrAsNormal) {
  const Sweep& sweep = GetParam();
  Prepare();
  const Files before = Snapshot();
  sweep.command();
  const Files after = Snapshot();
  const FakeUi normal = fakeUi;
  Errors met;
  for (std::size_t k = 1;; ++k) {
    Prepare();
    allocationFault = {k, false};
    try {
      sweep.command();
    } catch (const std::bad_alloc&) {
      ADD_FAILURE() << "bad_alloc escaped";
    }
    const bool faulted = allocationFault.met;
    allocationFault = {};
    SCOPED_TRACE(testing::Message() << "allocation " << k);
    std::vector<std::wstring> errors;
    for (const ShownBox& box : fakeUi.boxes) {
      if (box.kind == BoxKind::Error) errors.push_back(box.text);
    }
    if (errors.empty()) {
      EXPECT_EQ(fakeUi.boxes, normal.boxes);
      EXPECT_EQ(fakeUi.controls, normal.controls);
      EXPECT_EQ(Snapshot(), after);
    } else {
      ASSERT_EQ(errors.size(), 1u);
      met.insert(errors[0]);
      const bool changed = sweep.afterChange.count(errors[0]) > 0;
      EXPECT_TRUE(changed || sweep.errors.count(errors[0])) << testing::PrintToString(errors[0]);
      EXPECT_EQ(Snapshot(), changed ? after : before);
      if (!changed) EXPECT_EQ(fakeUi.boxes.back().kind, BoxKind::Error);  // the command ends there
    }
    if (!faulted) break;
  }
  EXPECT_EQ(met, sweep.errors + sweep.afterChange);
}

// Not reached: the sites whose texts are too short here to need an allocation
// (02-19, 02-47, 02-53, 02-70, and 03-02 of SAVE, whose seven characters
// never need one).
const Sweep kSweeps[] = {
    {"Save", kSixLog, SaveTradeInformationCommand, Memory(3, 9) + Error(L"02-71", kSave)},
    {"Load", kSixLog, LoadTradeInformationCommand, Error(L"02-10", kLoad)},
    {"Reference", "ARRAY:1,2,3\r\nARRAY:2147483647,2,3,2147483647\r\n", ReferenceCommand,
     Memory(11, 13) + Error(L"02-14", kLogData) + Memory(15, 18) + Memory(20, 20)},
    {"WinWithinASet", kSixLog, WinCommand,
     Memory(21, 23) + Error(L"02-24", kLogData) + Memory(25, 27) + Error(L"02-72", kSave), Error(L"02-28", kLoad)},
    {"WinEndingTheSet", "ARRAY:1,2,3\r\n", WinCommand,
     Memory(21, 23) + Error(L"02-24", kLogData) + Memory(25, 25) + Memory(29, 29) + Error(L"02-73", kSave),
     Error(L"02-30", kLoad)},
    {"Lose", kSixLog, LoseCommand, Error(L"02-31", kLogData) + Memory(32, 34) + Error(L"02-74", kSave),
     Error(L"02-35", kLoad)},
    {"DropOut", kSixLog, DropOutCommand, Error(L"02-75", kSave), Error(L"02-36", kLoad)},
    {"ArithmeticCalculate", kSixLog, ArithmeticCalculateCommand,
     Memory(37, 44) + Error(L"02-45", L"ARITHMETIC SIMULATION実行時にエラーが発生しました。") + Memory(46, 46) +
         Memory(48, 52)},
    {"MonteCarloCalculate", kSixLog, [] { if (MonteCarloCalculateCommand()) ShowBox(BoxKind::Completion, L"repaint"); },
     Memory(54, 61) + Error(L"02-62", L"MONTE CARLO SIMULATION実行時にエラーが発生しました。") + Memory(63, 69)},
    {"VersionCheck", kSixLog, VersionCheckCommand, Error(L"02-01", L"WEBサーバへのアクセスに失敗しました。")},
    {"SamplingCountOpening", kSixLog,
     [] {
       const SamplingCountOpening opening = OpenSamplingCountDialog();
       if (!opening.error.code.empty()) ShowError(opening.error.code, opening.error.reason);
       SetControlText(IDC_SAMPLING_COUNT, opening.text);
     },
     Memory(1, 2, L"03-")},
    {"SamplingCountSave", kSixLog,
     [] {
       const SiteError error = SaveSamplingCountText(L"40");
       if (!error.code.empty()) ShowError(error.code, error.reason);
       SetControlText(IDC_SAMPLING_COUNT, std::to_wstring(samplingCount));
     },
     Error(L"03-03", kSave)},
};
INSTANTIATE_TEST_SUITE_P(Commands, AllocationFailure, testing::ValuesIn(kSweeps),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
