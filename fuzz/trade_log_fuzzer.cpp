// Any bytes as the trade log: its lists, and all that a command computes from
// them: the set profit, the last trade number, the next list and its record.
#include <algorithm>

#include "fuzz.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TradeLogPath = InputFile("trade_query.txt", data, size);
  tradeParameters.unitLotSize = 100000000;  // the largest conditions the validators let through
  tradeParameters.takeProfit = tradeParameters.stopLoss = 1000;
  const std::optional<std::int32_t> lastNumber = ReadLastTradeNumber();
  Check(LoadTradeLogText().status == ReadStatus::Found && lastNumber && *lastNumber >= 0);
  const std::optional<LogData> log = ParseTradeLog();
  if (!log) return 0;
  Check(std::ranges::all_of(*log, [](const auto& list) { return !list.empty() && std::ranges::min(list) >= 0; }));
  ComputeSetProfit(*log);
  for (TradeResult result : {TradeResult::Win, TradeResult::Lose}) {
    const auto record = ComposeTradeRecord(result, std::to_string(std::int64_t{*lastNumber} + 1), NextProgression(result, log->back()).value(), 0);
    Check(record && record->back() == '\n');
  }
  return 0;
}
