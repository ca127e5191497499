// Any bytes as the trade-information file: loaded, turned into numbers and
// composed back.
#include "fuzz.h"
#include "io/paths.h"
#include "trade/trade_parameters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TradeInformationPath = InputFile("trade_information.txt", data, size);
  Check(LoadTradeInformation() == ReadStatus::Found);
  for (const auto& text : tradeParameters.texts) Check(!text || (!text->empty() && text->find('\n') == std::string::npos));
  ParseTradeParameters();
  Check(ComposeTradeInformation().front() == 'A');
  ReleaseTradeTexts();
  return 0;
}
