// The seven trade conditions, shared by every calculation: as narrow texts
// (alive only within one command) and as numbers (kept for the whole run).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/trade_field.h"
#include "io/files.h"

struct TradeParameters {
  // Indexed by TradeField. Between two commands all seven are empty.
  std::array<std::optional<std::string>, 7> texts;
  double margin{};
  std::int16_t leverage{};
  double rate{};
  std::int32_t unitLotSize{};
  double winRate{};  // the percent divided by 100
  double takeProfit{};
  double stopLoss{};
};

inline TradeParameters tradeParameters;

// Reads TradeInformationPath into the texts, each tag sought anywhere in the
// file: Found also with fields missing; Failed loads none.
ReadStatus LoadTradeInformation();

// Sets the number of every field whose text is present.
void ParseTradeParameters();

// Empties all seven texts.
void ReleaseTradeTexts();

// Puts each present text into its input (10001 + field) and empties all texts.
// False when a text could not be converted for its input, which then keeps
// what it showed.
bool MoveTradeTextsToInputs();

// The file's whole text from the seven texts: "A<margin>\nB<leverage>\n...
// G<stop loss>", no line end after the last.
std::string ComposeTradeInformation();
