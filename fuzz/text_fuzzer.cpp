// Any bytes as the trade log and as a number. The log's lists are never empty nor negative and its last number
// never negative; a number's formats keep within 31 characters, stripping zeros keeps a plain decimal's value,
// and a decimal of the inputs' size comes back from its value as the text it normalises to.
#include <algorithm>
#include <cstdlib>

#include "core/decimal.h"
#include "fake_ui.h"
#include "trade/trade_log.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto Check = [](bool condition) { if (!condition) std::abort(); };
  const std::string text(reinterpret_cast<const char*>(data), size);
  static const TempDir dir;
  WriteBytes(TradeLogPath = dir.File("trade_query.txt"), text);
  Check(ReadLastTradeNumber().value() >= 0);
  for (const ProgressionArray& list : ParseTradeLog().value_or(LogData{}))
    Check(!list.empty() && std::ranges::min(list) >= 0);
  const double value = ParseDecimal(text);
  for (std::string_view precision : {"1.0", "1.6", "1.8", "1.10"})
    Check(FormatDecimal(value, precision).value().size() <= 31);
  if (CheckDecimalSyntax(text)) return 0;
  std::string normalized = text, formatted = FormatDecimal(value, "1.6").value();
  NormalizeDecimalText(normalized);
  NormalizeDecimalText(formatted);
  const std::size_t point = std::min(normalized.find('.'), normalized.size());
  Check(ParseDecimal(normalized) == value && (point > 9 || normalized.size() - point > 7 || formatted == normalized));
  return 0;
}
