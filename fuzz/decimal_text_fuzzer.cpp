// Fuzzes the decimal-text routines and the field validators with any text:
// parse and format at every precision, normalise, check the syntax, and run
// all seven validators.
#include <optional>
#include <string>
#include <string_view>

#include "core/decimal.h"
#include "fuzz_file.h"
#include "core/trade_field.h"

namespace {

bool IsDecimalField(TradeField field) {
  return field == TradeField::Margin || field == TradeField::Rate || field == TradeField::TakeProfit ||
         field == TradeField::StopLoss;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const double value = ParseDecimal(text);
  for (std::string_view precision : {"1.0", "1.6", "1.8", "1.10", ""}) {
    const std::optional<std::string> formatted = FormatDecimal(value, precision);
    Check(formatted.has_value() && formatted->size() <= 31);
  }

  const bool malformed = CheckDecimalSyntax(text);
  std::string normalized = text;
  NormalizeDecimalText(normalized);
  // Stripping redundant zeros never changes the value of a plain decimal.
  if (!malformed) Check(ParseDecimal(normalized) == value);

  const std::optional<std::string> fieldText = text;
  for (TradeField field : kTradeFields) {
    const bool invalid = ValidateField(field, fieldText);
    // A decimal field accepts only texts of sound syntax.
    if (IsDecimalField(field) && !invalid) Check(!malformed);
    if (invalid) Check(!RangeMessage(field).empty());
  }
  Check(ValidateField(TradeField::Margin, std::nullopt));
  return 0;
}
