// The commands of the TRADE INFORMATION panel.
#include "trade/trade_panel.h"

#include <array>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "core/decimal.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/error_box.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "trade/trade_inputs.h"
#include "trade/trade_parameters.h"

namespace {

// The memory errors of SAVE, one per field in panel order.
constexpr std::array<std::wstring_view, 7> kSaveMemoryErrors = {
    L"02-03", L"02-04", L"02-05", L"02-06", L"02-07", L"02-08", L"02-09",
};

}  // namespace

void ClearTradeInput(TradeField field) { SetControlText(IDC_MARGIN + FieldIndex(field), L""); }

void SaveTradeInformationCommand() {
  if (!ShowBox(BoxKind::Question, L"TRADE INFORMATION をファイルにセーブしますか?")) return;
  if (!ReadTradeInputs(kTradeFields, kSaveMemoryErrors)) return;

  // The file receives the normalised texts; the inputs keep what was typed.
  // One write replaces the file whole, so a failure leaves the former file.
  bool saved;
  try {
    for (auto& text : tradeParameters.texts) {
      if (text) NormalizeDecimalText(*text);
    }
    saved = WriteTextFile(TradeInformationPath, ComposeTradeInformation());
  } catch (const std::bad_alloc&) {
    saved = false;
  }
  ReleaseTradeTexts();
  if (!saved) {
    ShowError(L"02-71", kReasonSaveFailed);
    return;
  }
  ShowBox(BoxKind::Completion, L"セーブが完了しました｡");
}

void LoadTradeInformationCommand() {
  if (!ShowBox(BoxKind::Question, L"TRADE INFORMATION をファイルからロードしますか?")) return;
  ReadStatus result = LoadTradeInformation();
  if (!MoveTradeTextsToInputs()) result = ReadStatus::Failed;
  switch (result) {
    case ReadStatus::Found: ShowBox(BoxKind::Completion, L"ロードが完了しました｡"); break;
    case ReadStatus::Missing:
      ShowBox(BoxKind::FieldWarning, L"ファイルが存在しないため、ロード出来ませんでした。");
      break;
    case ReadStatus::Failed: ShowError(L"02-10", kReasonLoadFailed); break;
  }
}
