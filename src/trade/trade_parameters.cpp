// The trade conditions: loading them from the trade-information file, turning
// their texts into numbers, and handing the texts to the panel's inputs.
#include "trade/trade_parameters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <string_view>

#include "core/decimal.h"
#include "io/codepage.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/platform.h"
#include "res/resource.h"

namespace {

// The field's tag letter in the file: 'A' for the margin up to 'G' for the
// STOP LOSS.
char FieldTag(int index) { return static_cast<char>('A' + index); }

// The value (never NaN: ParseDecimal gives none) truncated toward zero and held
// within the integer type's range. The commands parse only texts their fields
// accepted; for any other text the conversion stays defined all the same.
template <typename Integer>
Integer TruncateToInteger(double value) {
  constexpr double kMin = std::numeric_limits<Integer>::min();
  constexpr double kMax = std::numeric_limits<Integer>::max();
  return static_cast<Integer>(std::clamp(std::trunc(value), kMin, kMax));
}

// The value of the first tag in the text: the characters after the tag letter
// up to the next line end. Nothing when the tag is missing or the value empty.
std::optional<std::string> TaggedValue(std::string_view text, char tag) {
  const std::size_t tagAt = text.find(tag);
  if (tagAt == std::string_view::npos) return std::nullopt;
  const std::string_view rest = text.substr(tagAt + 1);
  const std::string_view value = rest.substr(0, rest.find('\n'));
  if (value.empty()) return std::nullopt;
  return std::string(value);
}

}  // namespace

ReadStatus LoadTradeInformation() {
  const FileText read = ReadWholeFile(TradeInformationPath);
  if (read.status != ReadStatus::Found) return read.status;
  try {
    for (TradeField field : kTradeFields) {
      const int index = FieldIndex(field);
      tradeParameters.texts[index] = TaggedValue(read.text, FieldTag(index));
    }
  } catch (const std::bad_alloc&) {
    // A value that cannot be held: the file is not loaded at all.
    ReleaseTradeTexts();
    return ReadStatus::Failed;
  }
  return ReadStatus::Found;
}

void ParseTradeParameters() {
  auto& texts = tradeParameters.texts;
  auto present = [&](TradeField field) { return texts[FieldIndex(field)].has_value(); };
  auto value = [&](TradeField field) { return ParseDecimal(*texts[FieldIndex(field)]); };
  if (present(TradeField::Margin)) tradeParameters.margin = value(TradeField::Margin);
  if (present(TradeField::Leverage)) {
    tradeParameters.leverage = TruncateToInteger<std::int16_t>(value(TradeField::Leverage));
  }
  if (present(TradeField::Rate)) tradeParameters.rate = value(TradeField::Rate);
  if (present(TradeField::UnitLotSize)) {
    tradeParameters.unitLotSize = TruncateToInteger<std::int32_t>(value(TradeField::UnitLotSize));
  }
  if (present(TradeField::WinRate)) tradeParameters.winRate = value(TradeField::WinRate) / 100;
  if (present(TradeField::TakeProfit)) tradeParameters.takeProfit = value(TradeField::TakeProfit);
  if (present(TradeField::StopLoss)) tradeParameters.stopLoss = value(TradeField::StopLoss);
}

void ReleaseTradeTexts() {
  for (auto& text : tradeParameters.texts)
    text.reset();
}

bool MoveTradeTextsToInputs() {
  bool moved = true;
  for (TradeField field : kTradeFields) {
    auto& text = tradeParameters.texts[FieldIndex(field)];
    if (!text) continue;
    const std::optional<std::wstring> wide = AnsiToWide(*text);
    text.reset();
    // An input whose text cannot be converted keeps what it showed.
    if (wide) SetControlText(IDC_MARGIN + FieldIndex(field), *wide);
    moved = moved && wide;
  }
  return moved;
}

std::string ComposeTradeInformation() {
  std::string composed;
  for (TradeField field : kTradeFields) {
    const int index = FieldIndex(field);
    if (index > 0) composed += '\n';
    composed += FieldTag(index);
    if (const auto& text = tradeParameters.texts[index]) composed += *text;
  }
  return composed;
}
