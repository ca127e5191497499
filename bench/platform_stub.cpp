// The platform layer for the benchmarks: nothing is shown, every control is
// empty and no server answers.
#include "platform/platform.h"

bool ShowBox(BoxKind, std::wstring_view, BoxOwner) { return false; }

std::wstring ControlText(int, int) { return {}; }

void SetControlText(int, std::wstring_view) {}

std::optional<std::string> FetchVersionText() { return std::nullopt; }

void BeginRun(RunKind) {}

bool ContinueRun(std::int64_t, std::int64_t) { return true; }

void EndRun() {}
