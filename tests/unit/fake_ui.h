// A scripted stand-in for the window: tests set the inputs' texts, the answers
// to questions and the version server's reply, run a command, and read the
// boxes shown and the controls set. The tests run in UTC.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

struct ShownBox {
  BoxKind kind;
  std::wstring text;
  bool operator==(const ShownBox&) const = default;
};

struct FakeUi {
  std::map<int, std::wstring> controls;  // control id -> its text
  std::vector<int> controlsRead;         // ids in the order they were read
  std::vector<ShownBox> boxes;           // every box, in order
  std::deque<bool> answers;              // answers to questions; Yes when empty
  std::optional<std::string> reply;      // what the version text's server sends
  int fetches = 0;                       // requests made
  std::vector<RunKind> runs;             // runs begun, in order
  bool runOpen = false;                  // between BeginRun and EndRun
  std::vector<std::pair<std::int64_t, std::int64_t>> asked;  // each ContinueRun's done and total
  std::size_t stopAt = SIZE_MAX;         // the ContinueRun that answers "stop", counted from 1
};

inline FakeUi fakeUi;

void ResetFakeUi();

// The texts of the seven trade inputs in panel order.
using TradeInputs = std::array<std::wstring, 7>;
inline void SetTradeInputs(const TradeInputs& texts) {
  for (int i = 0; i < 7; ++i) fakeUi.controls[IDC_MARGIN + i] = texts[i];
}

// The allocation sweep's fault: while countdown is above 0 each allocation
// counts it down, and the one that reaches 0 throws std::bad_alloc (native
// builds only). The fake's own work neither counts nor fails.
struct AllocationFault {
  std::size_t countdown = 0;
  bool met = false;
};
inline AllocationFault allocationFault;
