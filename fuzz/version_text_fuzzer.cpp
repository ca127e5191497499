// Any bytes as the server's version text: the check shows exactly one box,
// the version result or an error.
#include "fuzz.h"
#include "net/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ResetFakeUi();
  fakeUi.reply = std::string(reinterpret_cast<const char*>(data), size);
  VersionCheckCommand();
  Check(fakeUi.boxes.size() == 1 && (fakeUi.boxes[0].kind == BoxKind::VersionResult || fakeUi.boxes[0].kind == BoxKind::Error));
  return 0;
}
