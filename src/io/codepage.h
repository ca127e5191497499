// Conversion between the UTF-16 text of the controls and the program's narrow
// text in the ANSI code page (932 on a Japanese system). The exe asks the
// system for the thread's ANSI code page; the native build uses code page 932.
// Characters the code page cannot hold become '?'.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Nothing when memory runs out or the system's conversion fails.
std::optional<std::string> WideToAnsi(std::wstring_view text);

// Nothing when memory runs out.
std::optional<std::wstring> AnsiToWide(std::string_view text);

// Whether the byte opens a double-byte character of the ANSI code page.
bool IsLeadByte(char byte);
