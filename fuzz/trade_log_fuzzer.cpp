// Fuzzes the reading of the trade log: any bytes as the log file, parsed into
// lists, then everything a command computes from them: the set profit, the
// last trade number, the next list and the record that would be appended.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "io/paths.h"
#include "trade/trade_log.h"
#include "trade/trade_parameters.h"

namespace {

// The input file of this target, in a directory of the process's own that is
// removed when the process ends.
struct FuzzFile {
  std::filesystem::path directory;
  std::string path;

  explicit FuzzFile(const char* name)
      : directory(std::filesystem::temp_directory_path() /
                  ("tallowind-fuzz-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(directory);
    path = (directory / name).string();
  }
  ~FuzzFile() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }

  // Stores the input's bytes as they are.
  void Write(const std::uint8_t* data, std::size_t size) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
};

// Stops the fuzzer on a broken promise of the reader.
void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

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
  const std::int32_t lastNumber = ReadLastTradeNumber();
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
