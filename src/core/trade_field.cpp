// The validators of the seven trade fields and their range messages.
#include "core/trade_field.h"

#include "core/decimal.h"

namespace {

// A decimal with at most maxDecimals digits after the point, from lo to hi.
bool InvalidDecimal(const std::optional<std::string>& text, std::size_t maxDecimals, double lo, double hi) {
  if (!text || CheckDecimalSyntax(*text)) return true;
  const auto point = text->find('.');
  if (point != std::string::npos && text->size() - point - 1 > maxDecimals) return true;
  const double value = ParseDecimal(*text);
  return !(lo <= value && value <= hi);
}

// Digits only, whose value lies from lo to hi; any length, leading zeros
// allowed. The value is compared digit by digit, so no length can overflow.
bool InvalidInteger(const std::optional<std::string>& text, long long lo, long long hi) {
  if (!text || text->empty()) return true;
  long long value = 0;
  for (char c : *text) {
    if (!IsDigit(c)) return true;
    if (value <= hi) value = value * 10 + (c - '0');  // stops growing once past hi
  }
  return value < lo || value > hi;
}

}  // namespace

bool ValidateMargin(const std::optional<std::string>& text) {
  return InvalidDecimal(text, 2, 0.01, 100000000);
}
bool ValidateLeverage(const std::optional<std::string>& text) { return InvalidInteger(text, 1, 1000); }
bool ValidateRate(const std::optional<std::string>& text) { return InvalidDecimal(text, 6, 0.000001, 1000); }
bool ValidateUnitLotSize(const std::optional<std::string>& text) {
  return InvalidInteger(text, 1, 100000000);
}
bool ValidateWinRate(const std::optional<std::string>& text) { return InvalidInteger(text, 0, 100); }
bool ValidateTakeProfit(const std::optional<std::string>& text) {
  return InvalidDecimal(text, 6, 0.000001, 1000);
}
bool ValidateStopLoss(const std::optional<std::string>& text) {
  return InvalidDecimal(text, 6, 0.000001, 1000);
}

bool ValidateField(TradeField field, const std::optional<std::string>& text) {
  constexpr std::array<bool (*)(const std::optional<std::string>&), 7> kValidators = {
      ValidateMargin,  ValidateLeverage,   ValidateRate,    ValidateUnitLotSize,
      ValidateWinRate, ValidateTakeProfit, ValidateStopLoss};
  return kValidators[FieldIndex(field)](text);
}

std::wstring_view RangeMessage(TradeField field) {
  switch (field) {
    case TradeField::Margin:
      return L"対象レート換算証拠金は0.01～100000000.00の範囲で指定して下さい。\n"
             L"小数第2位まで指定可能です。(小数点以下は省略する事も可能です。)";
    case TradeField::Leverage: return L"レバレッジは1～1000の範囲の整数で指定して下さい。";
    case TradeField::Rate:
      return L"対象通貨ペアレートは0.000001～1000.000000の範囲で指定して下さい。\n"
             L"小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)";
    case TradeField::UnitLotSize: return L"単位ロットサイズは1～100000000の範囲の整数で指定して下さい。";
    case TradeField::WinRate: return L"勝率は0～100の範囲の整数で指定して下さい。";
    case TradeField::TakeProfit:
      return L"TAKE PROFITは0.000001～1000.000000の範囲で指定して下さい。\n"
             L"小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)";
    case TradeField::StopLoss:
      return L"STOP LOSSは0.000001～1000.000000の範囲で指定して下さい。\n"
             L"小数第6位まで指定可能です。(小数点以下は省略する事も可能です。)";
  }
  return {};
}
