// The UI layer for the benchmarks: nothing is shown and every control is empty.
#include "platform/platform.h"

bool ShowBox(BoxKind, std::wstring_view) { return false; }

std::wstring ControlText(int, int) { return {}; }

void SetControlText(int, std::wstring_view) {}
