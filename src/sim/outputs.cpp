// The start and the numeric outputs of both simulations' commands.
#include "sim/outputs.h"

#include <optional>
#include <string>

#include "core/trade_field.h"
#include "platform/error_box.h"
#include "res/resource.h"
#include "trade/trade_inputs.h"
#include "trade/trade_parameters.h"

bool RunSimulationCommand(const SimulationCommand& command) {
  if (!ReadTradeInputs(kTradeFields, command.memoryCodes)) return false;
  ParseTradeParameters();
  ReleaseTradeTexts();

  std::optional<LogData> log = ParseTradeLog();
  if (!log) {
    ShowError(command.logCode, kReasonNoMemory);
    return false;
  }
  RunOutcome outcome;
  {
    const RunScope scope(command.kind);
    outcome = command.simulate(*log);
  }
  log.reset();
  if (outcome == RunOutcome::Failed) ShowError(command.failureCode, command.failureReason);
  return outcome == RunOutcome::Done;
}

bool ShowDecimalOutput(int controlId,
                       double value,
                       std::wstring_view formatCode,
                       std::wstring_view convertCode) {
  const std::optional<std::wstring> text = DisplayDecimal(value, "1.10", formatCode, convertCode);
  if (text) SetControlText(controlId, *text);
  return text.has_value();
}
