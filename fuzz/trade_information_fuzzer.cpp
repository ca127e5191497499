// Any bytes as the trade-information file: each value loaded is one line's
// rest, and comes back whole through SAVE's form of the file when no value
// holds a tag letter.
#include <algorithm>

#include "fuzz.h"
#include "trade/trade_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TradeInformationPath = InputFile("trade_information.txt", data, size);
  Check(LoadTradeInformation() == ReadStatus::Found);
  const auto loaded = tradeParameters.texts;
  for (const auto& text : loaded) Check(!text || (!text->empty() && text->find('\n') == std::string::npos));
  Check(WriteTextFile(TradeInformationPath, ComposeTradeInformation()) && LoadTradeInformation() == ReadStatus::Found);
  Check(tradeParameters.texts == loaded || std::ranges::any_of(loaded, [](const auto& t) { return t && t->find_first_of("ABCDEFG") != std::string::npos; }));
  ReleaseTradeTexts();
  return 0;
}
