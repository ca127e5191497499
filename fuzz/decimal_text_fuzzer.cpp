// The decimal-text routines and the field validators with any text.
#include "core/decimal.h"
#include "core/trade_field.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = ParseDecimal(text);
  for (std::string_view precision : {"1.0", "1.6", "1.8", "1.10", ""}) Check(FormatDecimal(value, precision).value().size() <= 31);
  const bool malformed = CheckDecimalSyntax(text);
  std::string normalized = text;
  NormalizeDecimalText(normalized);
  // Stripping redundant zeros never changes the value of a plain decimal.
  if (!malformed) Check(ParseDecimal(normalized) == value);
  // A decimal field accepts only texts of sound syntax.
  for (TradeField field : {TradeField::Margin, TradeField::Rate, TradeField::TakeProfit, TradeField::StopLoss})
    Check(ValidateField(field, text) || !malformed);
  return 0;
}
