// Any bytes as the server's version text (the check shows exactly one box), as the trade log (its text,
// last number, lists and set profit are read, the lists never empty nor negative) and as a number: its
// formats keep within 31 characters, stripping zeros keeps a plain decimal's value, and a decimal of the
// inputs' size comes back from its value as the text it normalises to. The unit tests' scripted window
// stands in for the real one.
#include <algorithm>
#include <cstdlib>

#include "core/decimal.h"
#include "fake_ui.h"
#include "net/version_check.h"
#include "trade/trade_log.h"
#include "trade/trade_model.h"
#include "trade/trade_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto Check = [](bool condition) { if (!condition) std::abort(); };
  const std::string text(reinterpret_cast<const char*>(data), size);
  ResetFakeUi();
  AnswerVersionText(text, "1.0");
  const Boxes& boxes = fakeUi.boxes;
  Check(boxes.size() == 1 && (boxes[0].kind == BoxKind::VersionResult || boxes[0].kind == BoxKind::Error));
  static const TempDir dir;
  WriteBytes(TradeLogPath = dir.File("trade_query.txt"), text);
  tradeParameters.unitLotSize = 100000000;  // the largest conditions the validators let through
  tradeParameters.takeProfit = tradeParameters.stopLoss = 1000;
  const std::optional<std::int32_t> lastNumber = ReadLastTradeNumber();
  Check(LoadTradeLogText().status == ReadStatus::Found && lastNumber && *lastNumber >= 0);
  if (const std::optional<LogData> log = ParseTradeLog()) {
    Check(std::ranges::all_of(*log, [](const auto& list) { return !list.empty() && std::ranges::min(list) >= 0; }));
    ComputeSetProfit(*log);
  }
  const double value = ParseDecimal(text);
  for (std::string_view precision : {"1.0", "1.6", "1.8", "1.10", ""})
    Check(FormatDecimal(value, precision).value().size() <= 31);
  if (CheckDecimalSyntax(text)) return 0;
  std::string normalized = text, formatted = FormatDecimal(value, "1.6").value();
  NormalizeDecimalText(normalized);
  NormalizeDecimalText(formatted);
  const std::size_t point = std::min(normalized.find('.'), normalized.size());
  Check(ParseDecimal(normalized) == value && (point > 9 || normalized.size() - point > 7 || formatted == normalized));
  return 0;
}
