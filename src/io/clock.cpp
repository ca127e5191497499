// The calendar clock and the date text of the trade log.
#include "io/clock.h"

#include <ctime>

namespace {

std::optional<std::int64_t> fixedClock;

void AppendTwoDigits(std::string& text, int value) {
  text.push_back(static_cast<char>('0' + value / 10 % 10));
  text.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

std::int64_t ClockNow() { return fixedClock ? *fixedClock : static_cast<std::int64_t>(std::time(nullptr)); }

void SetClockForTesting(std::optional<std::int64_t> seconds) { fixedClock = seconds; }

std::string DateText(std::int64_t seconds) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t time = static_cast<std::time_t>(seconds);
  const std::tm* local = std::localtime(&time);
  if (!local) return "Thu Jan 01 00:00:00 1970\n";
  std::string text;
  text.append(kDays[local->tm_wday % 7]).push_back(' ');
  text.append(kMonths[local->tm_mon % 12]).push_back(' ');
  AppendTwoDigits(text, local->tm_mday);
  text.push_back(' ');
  AppendTwoDigits(text, local->tm_hour);
  text.push_back(':');
  AppendTwoDigits(text, local->tm_min);
  text.push_back(':');
  AppendTwoDigits(text, local->tm_sec);
  text.push_back(' ');
  const int year = local->tm_year + 1900;
  AppendTwoDigits(text, year / 100);
  AppendTwoDigits(text, year % 100);
  text.push_back('\n');
  return text;
}
