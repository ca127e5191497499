// Any text as a number: its formats stay within 31 characters, stripping
// zeros keeps a plain decimal's value, and a decimal of the inputs' size comes
// back from its value as the text it normalises to.
#include "core/decimal.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double value = ParseDecimal(text);
  for (std::string_view precision : {"1.0", "1.6", "1.8", "1.10", ""}) Check(FormatDecimal(value, precision).value().size() <= 31);
  if (CheckDecimalSyntax(text)) return 0;
  std::string normalized = text, formatted = FormatDecimal(value, "1.6").value();
  NormalizeDecimalText(normalized);
  NormalizeDecimalText(formatted);
  const std::size_t point = std::min(normalized.find('.'), normalized.size());
  Check(ParseDecimal(normalized) == value && (point > 9 || normalized.size() - point > 7 || formatted == normalized));
  return 0;
}
