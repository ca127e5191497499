// The commands of the TRADE INFORMATION panel: CLEAR of each input, SAVE of
// the seven inputs to the trade-information file, and LOAD back from it.
#pragma once

#include "core/trade_field.h"

// Empties the field's input; nothing else changes.
void ClearTradeInput(TradeField field);

// Asks, then reads and validates the seven inputs in panel order and replaces
// the trade-information file with their normalised texts.
void SaveTradeInformationCommand();

// Asks, then loads the trade-information file into the inputs of the fields
// it holds.
void LoadTradeInformationCommand();
