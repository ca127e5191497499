// The fuzz targets' window: no inputs, boxes only counted, the version text
// scripted, every run allowed to go on.
#include "fuzz.h"

bool ShowBox(BoxKind kind, std::wstring_view) {
  fuzzBoxes.push_back(kind);
  return kind == BoxKind::Question;
}
std::wstring ControlText(int, int) { return {}; }
void SetControlText(int, std::wstring_view) {}
std::optional<std::string> FetchVersionText() { return fuzzReply; }
void BeginRun(RunKind) {}
bool ContinueRun(std::int64_t, std::int64_t) { return true; }
void EndRun() {}
