// Decimal text: the program's own routines for the narrow decimal texts that
// every number travels as (inputs, saved files, outputs).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The decimal digits: in every number text the program reads, the characters
// that carry its value.
inline constexpr std::string_view kDigits = "0123456789";

inline constexpr bool IsDigit(char c) { return kDigits.find(c) != std::string_view::npos; }

// Formats value as C's "%<precision>lf" would ("1.0", "1.6", "1.8", "1.10";
// an empty precision means "%lf", six decimals). The digits are exact and the
// same on every platform. The text never exceeds 31 characters: a longer one
// keeps its integer digits and drops as many decimals as it must, and only a
// value whose integer digits alone do not fit is written with an exponent.
// Nothing when memory runs out.
std::optional<std::string> FormatDecimal(double value, std::string_view precision);

// Reads any text as a number: the first character alone decides the sign,
// every non-digit but the first '.' is skipped, and each fraction digit adds
// its own weight. Never fails; a text without digits is 0.
double ParseDecimal(std::string_view text);

// Strips redundant zeros in place: leading zeros (keeping one character in
// front of the point), trailing zeros after a point, and a bare point.
void NormalizeDecimalText(std::string& text);

// True when the text is not a plain decimal: empty, a character other than
// digits and '.', more than one point, a point first or last, or a point with
// no non-zero digit anywhere.
bool CheckDecimalSyntax(std::string_view text);
