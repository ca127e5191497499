// Fuzzes the loading of the trade-information file: any bytes as the file,
// read into the seven texts, turned into numbers and composed back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "app/ui.h"
#include "io/paths.h"
#include "trade/trade_parameters.h"

namespace {

// The input file of this target, in a directory of the process's own that is
// removed when the process ends.
struct FuzzFile {
  std::filesystem::path directory;
  std::string path;

  explicit FuzzFile(const char* name)
      : directory(std::filesystem::temp_directory_path() /
                  ("tallowind-fuzz-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(directory);
    path = (directory / name).string();
  }
  ~FuzzFile() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }

  // Stores the input's bytes as they are.
  void Write(const std::uint8_t* data, std::size_t size) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
};

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

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
