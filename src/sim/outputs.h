// The numeric outputs of both simulations: a value shown in its read-only edit
// with ten decimals, the surplus zeros stripped.
#pragma once

#include <string_view>

// Formats value with "1.10", normalises it and sets it as the control's text.
// When the text cannot be formatted shows formatCode's memory error, when it
// cannot be converted convertCode's; either way the control keeps its text and
// the answer is false.
bool ShowDecimalOutput(int controlId,
                       double value,
                       std::wstring_view formatCode,
                       std::wstring_view convertCode);
