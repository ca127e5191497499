// Decimal text: format, parse, normalise and check the narrow number texts.
#include "core/decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <new>

namespace {

constexpr std::size_t kMaxFormattedChars = 31;

// The digits after the point that a precision text such as "1.10" asks for;
// six when there is none, as "%lf" gives. More than 31 give the same text as
// 31 (no text of 30 decimals fits), so that is where the count stops.
int DecimalsOf(std::string_view precision) {
  const auto point = precision.find('.');
  if (point == std::string_view::npos) return 6;
  int decimals = 0;
  for (char c : precision.substr(point + 1)) {
    if (!IsDigit(c)) break;
    decimals = std::min(decimals * 10 + (c - '0'), static_cast<int>(kMaxFormattedChars));
  }
  return decimals;
}

}  // namespace

std::optional<std::string> FormatDecimal(double value, std::string_view precision) {
  // Room for any fixed text of a double: up to 309 integer digits and the
  // decimals; the result keeps at most 31 characters of it.
  std::array<char, 512> buffer{};
  auto print = [&](std::chars_format format, int decimals) {
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, decimals);
    return result.ec == std::errc{} ? std::string_view(buffer.data(), result.ptr - buffer.data())
                                    : std::string_view{};
  };
  int decimals = DecimalsOf(precision);
  std::string_view text = print(std::chars_format::fixed, decimals);
  while (text.size() > kMaxFormattedChars && decimals > 0) {
    // Drop only as many decimals as the text must lose; the rounding of the
    // shorter text may still carry into a new integer digit, hence the loop.
    const int excess = static_cast<int>(text.size() - kMaxFormattedChars);
    decimals = std::max(decimals - excess, 0);
    text = print(std::chars_format::fixed, decimals);
  }
  // Any double's scientific text fits with 23 digits ("-d." + 23 + "e+308"),
  // so this ends by then; one with a shorter exponent keeps a digit more.
  for (int digits = 24; text.size() > kMaxFormattedChars; --digits) {
    text = print(std::chars_format::scientific, digits);
  }
  try {
    std::string result;
    result.reserve(kMaxFormattedChars);
    result.assign(text);
    return result;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

double ParseDecimal(std::string_view text) {
  if (text.empty()) return 0;
  const double sign = text.front() == '-' ? -1.0 : 1.0;
  double value = 0;
  double divisor = 1;
  bool fraction = false;
  for (char c : text) {
    if (c == '.') {
      fraction = true;
    } else if (IsDigit(c)) {
      const int digit = c - '0';
      if (fraction) {
        divisor *= 10;
        value += digit / divisor;
      } else {
        value = value * 10 + digit;
      }
    }
  }
  return value * sign;
}

void NormalizeDecimalText(std::string& text) {
  if (text.empty()) return;
  const auto point = text.find('.');
  if (point == std::string::npos) {
    if (text.front() == '0') {
      const auto firstKept = text.find_first_not_of('0');
      text.erase(0, firstKept == std::string::npos ? text.size() - 1 : firstKept);
    }
    return;
  }
  if (text.front() == '0') {
    std::size_t zeros = 0;
    while (zeros + 1 < point && text[zeros] == '0')
      ++zeros;
    text.erase(0, zeros);
  }
  const auto lastKept = text.find_last_not_of('0');
  text.erase(lastKept + 1);  // the point is never '0', so lastKept exists
  if (text.back() == '.') text.pop_back();
}

bool CheckDecimalSyntax(std::string_view text) {
  if (text.empty()) return true;
  int points = 0;
  bool nonZeroDigit = false;
  for (char c : text) {
    if (c == '.') {
      ++points;
    } else if (!IsDigit(c)) {
      return true;
    } else if (c != '0') {
      nonZeroDigit = true;
    }
  }
  if (points > 1) return true;
  if (points == 0) return false;
  return text.front() == '.' || text.back() == '.' || !nonZeroDigit;
}
