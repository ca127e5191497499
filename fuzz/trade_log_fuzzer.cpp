// Any bytes as the trade log: parsed into lists, then everything a command
// computes from them: the set profit, the last trade number, the next list
// and the record that would be appended.
#include "fuzz.h"
#include "io/paths.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFile file("trade_query.txt");
  TradeLogPath = file.path;
  file.Write(data, size);
  tradeParameters.unitLotSize = 100000000;  // the largest conditions the validators let through
  tradeParameters.takeProfit = tradeParameters.stopLoss = 1000;
  std::optional<std::string> text;
  Check((LoadTradeLogText(text) == 0) == text.has_value());
  const std::optional<std::int32_t> lastNumber = ReadLastTradeNumber();
  Check(lastNumber && *lastNumber >= 0);
  const std::optional<LogData> log = ParseTradeLog();
  if (!log) return 0;
  for (const ProgressionArray& list : *log) {
    Check(!list.empty());
    for (std::int32_t number : list) Check(number >= 0);
  }
  ComputeSetProfit(*log);
  for (char result : {'W', 'L'}) {
    const std::optional<ProgressionArray> next = NextProgression(result, log->back());
    Check(next.has_value());
    const auto record = ComposeTradeRecord(result, std::to_string(std::int64_t{*lastNumber} + 1), *next, 1796462102);
    Check(record && record->back() == '\n');
  }
  return 0;
}
