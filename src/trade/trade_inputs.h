// What the commands share to read their inputs and to show a number: the
// input step of SAVE, REFERENCE, WIN and both CALCULATE commands, and the
// numbers of REFERENCE, WIN and the simulations' outputs as the window shows
// them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/trade_field.h"

// Reads the inputs of the given fields, in the order given, into the texts of
// tradeParameters, validating each one before the next is read. When a text
// cannot be converted it shows the error with that field's code from
// memoryErrorCodes; when a validator rejects it, the field's range message.
// Either way it empties all texts and answers false.
bool ReadTradeInputs(std::span<const TradeField> fields, std::span<const std::wstring_view> memoryErrorCodes);

// The value formatted with the precision ("1.10": ten decimals), its surplus
// zeros stripped, in UTF-16. When memory runs out it shows formatCode's error
// if the text cannot be formatted, convertCode's if it cannot be converted,
// and gives nothing.
std::optional<std::wstring> DisplayDecimal(double value,
                                           std::string_view precision,
                                           std::wstring_view formatCode,
                                           std::wstring_view convertCode);
