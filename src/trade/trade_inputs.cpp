// The input step and the shown numbers that the commands share.
#include "trade/trade_inputs.h"

#include <new>

#include "core/decimal.h"
#include "io/codepage.h"
#include "platform/error_box.h"
#include "platform/platform.h"
#include "res/resource.h"
#include "trade/trade_parameters.h"

namespace {

// The inputs are read as into a buffer of 65535 UTF-16 units.
constexpr int kInputBufferChars = 65535;

}  // namespace

bool ReadTradeInputs(std::span<const TradeField> fields,
                     std::span<const std::wstring_view> memoryErrorCodes) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const TradeField field = fields[i];
    auto& text = tradeParameters.texts[FieldIndex(field)];
    try {
      text = WideToAnsi(ControlText(IDC_MARGIN + FieldIndex(field), kInputBufferChars));
    } catch (const std::bad_alloc&) {
      text.reset();
    }
    if (!text) {
      ShowError(memoryErrorCodes[i], kReasonNoMemory);
      ReleaseTradeTexts();
      return false;
    }
    if (ValidateField(field, text)) {
      ShowBox(BoxKind::FieldWarning, RangeMessage(field));
      ReleaseTradeTexts();
      return false;
    }
  }
  return true;
}

std::optional<std::wstring> DisplayDecimal(double value,
                                           std::string_view precision,
                                           std::wstring_view formatCode,
                                           std::wstring_view convertCode) {
  std::optional<std::string> text = FormatDecimal(value, precision);
  if (!text) {
    ShowError(formatCode, kReasonNoMemory);
    return std::nullopt;
  }
  NormalizeDecimalText(*text);
  std::optional<std::wstring> wide = AnsiToWide(*text);
  if (!wide) ShowError(convertCode, kReasonNoMemory);
  return wide;
}
