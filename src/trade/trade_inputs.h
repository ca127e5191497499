// The input step of SAVE, REFERENCE, WIN and both CALCULATE commands.
#pragma once

#include <span>
#include <string_view>

#include "core/trade_field.h"

// Reads the inputs of the given fields, in the order given, into the texts of
// tradeParameters, validating each one before the next is read. When a text
// cannot be converted it shows the error with that field's code from
// memoryErrorCodes; when a validator rejects it, the field's range message.
// Either way it empties all texts and answers false.
bool ReadTradeInputs(std::span<const TradeField> fields, std::span<const std::wstring_view> memoryErrorCodes);
