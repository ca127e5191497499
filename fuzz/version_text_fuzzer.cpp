// Any bytes as the server's version text: the check shows exactly one box,
// the version result or an error.
#include "fuzz.h"
#include "net/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzReply = std::string(reinterpret_cast<const char*>(data), size);
  fuzzBoxes.clear();
  VersionCheckCommand();
  Check(fuzzBoxes.size() == 1 && (fuzzBoxes[0] == BoxKind::VersionResult || fuzzBoxes[0] == BoxKind::Error));
  return 0;
}
