// Fuzzes the reading of the trade log: any bytes as the log file, parsed into
// lists, then everything a command computes from them: the set profit, the
// last trade number, the next list and the record that would be appended.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_file.h"
#include "io/paths.h"
#include "trade/trade_log.h"
#include "trade/trade_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFile logFile("trade_query.txt");
  TradeLogPath = logFile.path;
  logFile.Write(data, size);

  // The largest parameters the validators let through.
  tradeParameters.unitLotSize = 100000000;
  tradeParameters.takeProfit = 1000;
  tradeParameters.stopLoss = 1000;

  std::optional<std::string> text;
  const std::uint8_t status = LoadTradeLogText(text);
  Check((status == 0) == text.has_value());

  const std::optional<LogData> log = ParseTradeLog();
  const std::int32_t lastNumber = ReadLastTradeNumber().value_or(1);
  Check(lastNumber >= 0);
  if (!log) return 0;
  Check(!log->empty());
  for (const ProgressionArray& list : *log) {
    Check(!list.empty());
    for (std::int32_t number : list)
      Check(number >= 0);
  }
  ComputeSetProfit(*log);
  for (char result : {'W', 'L'}) {
    const std::optional<ProgressionArray> next = NextProgression(result, log->back());
    Check(next.has_value());
    const std::optional<std::string> record =
        ComposeTradeRecord(result, std::int64_t{lastNumber} + 1, *next, 1796462102);
    Check(record.has_value() && record->back() == '\n');
  }
  return 0;
}
