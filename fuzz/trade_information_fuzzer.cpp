// Fuzzes the loading of the trade-information file: any bytes as the file,
// read into the seven texts, turned into numbers and composed back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "fuzz_file.h"
#include "io/paths.h"
#include "trade/trade_parameters.h"

// The loader's file shares its object with the move into the inputs, which
// needs the window; the fuzzer has none and never moves texts.
void SetControlText(int, std::wstring_view) {}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FuzzFile informationFile("trade_information.txt");
  TradeInformationPath = informationFile.path;
  informationFile.Write(data, size);

  Check(LoadTradeInformation() == 0);
  for (const auto& text : tradeParameters.texts) {
    Check(!text || (!text->empty() && text->find('\n') == std::string::npos));
  }
  ParseTradeParameters();
  const std::string composed = ComposeTradeInformation();
  Check(composed.front() == 'A');
  ReleaseTradeTexts();
  return 0;
}
