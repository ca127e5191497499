// The seven trade fields in panel order, their validators and range messages.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

enum class TradeField { Margin, Leverage, Rate, UnitLotSize, WinRate, TakeProfit, StopLoss };

inline constexpr std::array<TradeField, 7> kTradeFields = {
    TradeField::Margin,  TradeField::Leverage,   TradeField::Rate,     TradeField::UnitLotSize,
    TradeField::WinRate, TradeField::TakeProfit, TradeField::StopLoss,
};

inline constexpr int FieldIndex(TradeField field) { return static_cast<int>(field); }

// Each validator answers true when the field's text (nothing when absent) is
// invalid for that field.
bool ValidateMargin(const std::optional<std::string>& text);
bool ValidateLeverage(const std::optional<std::string>& text);
bool ValidateRate(const std::optional<std::string>& text);
bool ValidateUnitLotSize(const std::optional<std::string>& text);
bool ValidateWinRate(const std::optional<std::string>& text);
bool ValidateTakeProfit(const std::optional<std::string>& text);
bool ValidateStopLoss(const std::optional<std::string>& text);

// The validator of the given field.
bool ValidateField(TradeField field, const std::optional<std::string>& text);

// The message shown when the field's validator rejects its text.
std::wstring_view RangeMessage(TradeField field);
