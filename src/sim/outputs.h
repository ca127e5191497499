// What both simulations' CALCULATE commands share: the start of the command
// (inputs, trade log, the run) and the numeric outputs, each shown in its
// read-only edit with ten decimals, the surplus zeros stripped.
#pragma once

#include <span>
#include <string_view>

#include "platform/platform.h"
#include "sim/run_progress.h"
#include "trade/trade_log.h"

// A CALCULATE command's error codes and its simulation.
struct SimulationCommand {
  std::span<const std::wstring_view> memoryCodes;  // per input field
  std::wstring_view logCode;                       // no memory for the trade log
  std::wstring_view failureCode;                   // the run failed
  std::wstring_view failureReason;
  RunKind kind;
  RunOutcome (*simulate)(const LogData& log);
};

// Reads and parses the seven inputs and the trade log, then runs the
// simulation as a run of its kind; the log is released before any box shows.
// True when the run completed. Otherwise the error (none for a stopped run)
// has been shown and the outputs keep their texts.
bool RunSimulationCommand(const SimulationCommand& command);

// Formats value with "1.10", normalises it and sets it as the control's text.
// When the text cannot be formatted shows formatCode's memory error, when it
// cannot be converted convertCode's; either way the control keeps its text and
// the answer is false.
bool ShowDecimalOutput(int controlId,
                       double value,
                       std::wstring_view formatCode,
                       std::wstring_view convertCode);
