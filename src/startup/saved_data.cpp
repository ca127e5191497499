// Start-up loading: the save_data folder beside the program, the paths of the
// three saved files, and their contents moved into the window.
#include "startup/saved_data.h"

#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "io/clock.h"
#include "io/codepage.h"
#include "io/directory.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/error_box.h"
#include "platform/platform.h"
#include "sim/sampling_count.h"
#include "trade/trade_log.h"
#include "trade/trade_parameters.h"

namespace {

// Error 01-05: the reason around the folder's full path.
constexpr std::wstring_view kUnusableHead =
    L"このフォルダにはデータを保存できません。\n"
    L"保存用のフォルダを作成できないか、書き込みできません:\n";
constexpr std::wstring_view kUnusableTail =
    L"\n\n"
    L"Tallowind のフォルダごと、書き込みのできる場所（例: C:\\Tallowind）に移してから起動してください。";

// Says once, when files cannot be kept in the folder, which folder it is and
// what to do; otherwise every later save would fail without a word.
void CheckSaveFolder(const std::string& folder) {
  if (FolderAcceptsFiles(folder)) return;
  const std::optional<std::wstring> wide = AnsiToWide(folder);
  if (!wide) throw std::bad_alloc();
  const std::wstring reason = std::wstring(kUnusableHead).append(*wide).append(kUnusableTail);
  ShowBox(BoxKind::SevereError, ErrorText(L"01-05", reason));
}

void PrepareSaveData() {
  const std::string folder = ExeDirectory + "save_data";
  MakeDirectory(folder);
  CheckSaveFolder(folder);
  const std::string inFolder = folder + kPathSeparator;
  TradeInformationPath = inFolder + "trade_information.txt";
  TradeLogPath = inFolder + "trade_query.txt";
  SamplingCountPath = inFolder + "arithmetic_simulation.txt";
}

// Loads the log into its edit, writing a fresh log first when there is none.
// A fresh log that cannot be written leaves the edit empty. False when the
// log cannot be read or shown.
bool LoadTradeLogAtStart() {
  ReadStatus result = ShowTradeLog();
  if (result == ReadStatus::Failed) ShowError(L"01-03", kReasonLoadFailed);
  if (result == ReadStatus::Missing) {
    WriteTextFile(TradeLogPath, FreshTradeLog(ClockNow()));
    result = ShowTradeLog();
    if (result == ReadStatus::Failed) ShowError(L"01-04", kReasonLoadFailed);
  }
  return result != ReadStatus::Failed;
}

bool LoadSavedDataOrThrow() {
  PrepareSaveData();
  const bool loaded = LoadTradeInformation() != ReadStatus::Failed;
  // An input whose text could not be converted would stay empty unannounced.
  const bool moved = MoveTradeTextsToInputs();
  if (!loaded || !moved) ShowError(L"01-02", kReasonLoadFailed);
  if (!LoadTradeLogAtStart()) return false;
  LoadSamplingCount();
  return true;
}

}  // namespace

bool LoadSavedData() {
  try {
    return LoadSavedDataOrThrow();
  } catch (const std::bad_alloc&) {
    // Unlike the later reasons, this one ends in a half-width stop.
    ShowBox(BoxKind::Error, ErrorText(L"01-01", L"メモリの確保に失敗しました｡"), BoxOwner::None);
    return false;
  }
}
