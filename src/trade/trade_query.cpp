// The commands of the TRADE QUERY panel. Each one parses the trade log,
// computes the next list, writes the log in one step, reloads it into the log
// edit and reports in a box.
#include "trade/trade_query.h"

#include <array>
#include <cstdint>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/decimal.h"
#include "core/progression.h"
#include "io/clock.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/error_box.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "trade/trade_inputs.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

namespace {

constexpr std::wstring_view kReasonLogData = L"LOG DATAの作成に失敗しました。";

// The fields that a profit needs, in panel order.
constexpr std::array<TradeField, 3> kProfitFields = {
    TradeField::UnitLotSize,
    TradeField::TakeProfit,
    TradeField::StopLoss,
};
constexpr std::array<std::wstring_view, 3> kReferenceMemoryErrors = {L"02-11", L"02-12", L"02-13"};
constexpr std::array<std::wstring_view, 3> kWinMemoryErrors = {L"02-21", L"02-22", L"02-23"};

// Reads the unit lot size, TAKE PROFIT and STOP LOSS inputs into their
// numbers. False, after the field's message, when one cannot be taken.
bool ReadProfitFields(std::span<const std::wstring_view> memoryErrorCodes) {
  if (!ReadTradeInputs(kProfitFields, memoryErrorCodes)) return false;
  ParseTradeParameters();
  ReleaseTradeTexts();
  return true;
}

// Runs one step that builds text; when memory runs out shows the step's
// error and answers false.
template <typename Step>
bool BuildText(std::wstring_view errorCode, Step step) {
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    ShowError(errorCode, kReasonNoMemory);
    return false;
  }
}

// Reloads the log into the log edit, reporting an unreadable file, or a text
// that cannot be converted for the edit, with the command's load error. True
// when the edit shows the file.
bool RefreshLogEdit(std::wstring_view loadErrorCode) {
  const ReadStatus status = ShowTradeLog();
  if (status == ReadStatus::Failed) ShowError(loadErrorCode, kReasonLoadFailed);
  return status == ReadStatus::Found;
}

// The error codes of WIN or LOSE for the steps of registering a result.
struct RecordErrors {
  std::wstring_view number;  // the trade number cannot be formatted
  std::wstring_view list;    // a number of the new list cannot be formatted
  std::wstring_view write;   // the log cannot be written
};

// Appends the record of a registered result and opens the next trade. The
// record is composed whole first, so the log gains all of it or nothing.
// False after the command's error.
bool AppendTradeRecord(TradeResult result, const ProgressionArray& next, const RecordErrors& errors) {
  const std::optional<std::int32_t> lastNumber = ReadLastTradeNumber();
  std::optional<std::string> number;
  if (lastNumber) number = FormatDecimal(static_cast<double>(std::int64_t{*lastNumber} + 1), "1.0");
  if (!number) {
    ShowError(errors.number, kReasonNoMemory);
    return false;
  }
  const std::optional<std::string> record =
      ComposeTradeRecord(result, std::string_view(*number), next, ClockNow());
  if (!record) {
    ShowError(errors.list, kReasonNoMemory);
    return false;
  }
  bool appended;
  try {
    appended = AppendTextFile(TradeLogPath, *record);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  if (!appended) {
    ShowError(errors.write, kReasonSaveFailed);
    return false;
  }
  return true;
}

}  // namespace

void ReferenceCommand() {
  if (!ReadProfitFields(kReferenceMemoryErrors)) return;
  const std::optional<LogData> log = ParseTradeLog();
  if (!log) {
    ShowError(L"02-14", kReasonLogData);
    return;
  }
  // The lot size is written from its 64-bit integer, so it is exact whatever
  // its size.
  std::wstring lotSize;
  std::wstring report;
  if (!BuildText(L"02-15", [&] {
        lotSize = std::to_wstring(LotSize(CurrentTradeModel(), ProgressionStake(log->back())));
      }))
    return;
  if (!BuildText(L"02-16", [&] { report = L"NEXT LOT SIZE:" + lotSize; })) return;
  if (!BuildText(L"02-17", [&] { report += L"\nPROFIT:"; })) return;
  const std::optional<std::wstring> profit =
      DisplayDecimal(ComputeSetProfit(*log), "1.8", L"02-18", L"02-20");
  if (!profit) return;
  if (!BuildText(L"02-19", [&] { report += *profit; })) return;
  ShowBox(BoxKind::TradeResult, report);
}

void WinCommand() {
  if (!ReadProfitFields(kWinMemoryErrors)) return;
  if (!ShowBox(BoxKind::Question, L"勝ちトレードで登録しますか?")) return;
  const std::optional<LogData> log = ParseTradeLog();
  if (!log) {
    ShowError(L"02-24", kReasonLogData);
    return;
  }
  const std::optional<ProgressionArray> next = NextProgression(TradeResult::Win, log->back());
  if (!next) {
    ShowError(L"02-25", kReasonNoMemory);
    return;
  }

  if (!next->empty()) {
    if (!AppendTradeRecord(TradeResult::Win, *next, {L"02-26", L"02-27", L"02-72"})) return;
    RefreshLogEdit(L"02-28");
    ShowBox(BoxKind::TradeResult, L"勝ちトレードで登録しました。");
    return;
  }

  // The list is used up: the set ends with this win. Its message is built
  // before the log is replaced, so nothing can fail between the two.
  double setProfit = ComputeSetProfit(*log);
  AddTrade(setProfit, CurrentTradeModel(), ProgressionStake(log->back()), true);
  const std::optional<std::wstring> profit = DisplayDecimal(setProfit, "1.6", L"02-29", L"02-29");
  if (!profit) return;
  std::wstring message;
  if (!BuildText(L"02-29", [&] { message = L"1セット終了しました。\n今回の損益は" + *profit + L"です。"; })) {
    return;
  }
  if (!ResetTradeLog()) {
    ShowError(L"02-73", kReasonSaveFailed);
    return;
  }
  ShowBox(BoxKind::TradeResult, message);
  RefreshLogEdit(L"02-30");
}

void LoseCommand() {
  if (!ShowBox(BoxKind::Question, L"負けトレードで登録しますか?")) return;
  const std::optional<LogData> log = ParseTradeLog();
  if (!log) {
    ShowError(L"02-31", kReasonLogData);
    return;
  }
  const std::optional<ProgressionArray> next = NextProgression(TradeResult::Lose, log->back());
  if (!next) {
    ShowError(L"02-32", kReasonNoMemory);
    return;
  }
  if (!AppendTradeRecord(TradeResult::Lose, *next, {L"02-33", L"02-34", L"02-74"})) return;
  if (RefreshLogEdit(L"02-35")) ShowBox(BoxKind::TradeResult, L"負けトレードで登録しました。");
}

void DropOutCommand() {
  if (!ShowBox(BoxKind::Question, L"今回のセットをドロップアウトしますか?")) return;
  if (!ResetTradeLog()) {
    ShowError(L"02-75", kReasonSaveFailed);
    return;
  }
  if (RefreshLogEdit(L"02-36")) ShowBox(BoxKind::Completion, L"ドロップアウトが完了しました。");
}
