// The numeric outputs of both simulations.
#include "sim/outputs.h"

#include <optional>
#include <string>

#include "core/decimal.h"
#include "io/codepage.h"
#include "platform/platform.h"

bool ShowDecimalOutput(int controlId,
                       double value,
                       std::wstring_view formatCode,
                       std::wstring_view convertCode) {
  std::optional<std::string> text = FormatDecimal(value, "1.10");
  if (!text) {
    ShowError(formatCode, kReasonNoMemory);
    return false;
  }
  NormalizeDecimalText(*text);
  const std::optional<std::wstring> wide = AnsiToWide(*text);
  if (!wide) {
    ShowError(convertCode, kReasonNoMemory);
    return false;
  }
  SetControlText(controlId, *wide);
  return true;
}
