// Any bytes as the sampling-count file: the count loaded and shown.
#include "fuzz.h"
#include "io/paths.h"
#include "sim/sampling_count.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SamplingCountPath = InputFile("arithmetic_simulation.txt", data, size);
  const SamplingCountOpening opening = OpenSamplingCountDialog();
  Check(opening.error.code.empty() && samplingCount >= 1 && samplingCount <= kDefaultSamplingCount);
  Check(opening.text == std::to_wstring(samplingCount));
  Check(SamplingCountFromText(std::string_view(reinterpret_cast<const char*>(data), size)) >= 1);
  return 0;
}
