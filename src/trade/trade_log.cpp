// The trade log file: its fresh form, the record of a registered result, the
// display text, and the tolerant reading of its lists and last trade number.
// Hand-edited and damaged logs are read, never rejected.
#include "trade/trade_log.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string_view>

#include "core/decimal.h"
#include "io/clock.h"
#include "io/codepage.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/platform.h"
#include "res/resource.h"

namespace {

// The list of one "ARRAY:" line, which starts with a digit: a digit run fills
// a slot, every other byte moves to the next slot, so an empty slot (-1) ends
// the list. A number too long for 32 bits stays at the largest one.
ProgressionArray ListFromLine(std::string_view line) {
  constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  std::vector<std::int32_t> block(line.size(), -1);
  std::size_t slot = 0;
  for (char c : line) {
    if (!IsDigit(c)) {
      ++slot;
      continue;
    }
    const std::int32_t digit = c - '0';
    const std::int32_t held = std::max(block[slot], 0);  // an empty slot holds nothing yet
    block[slot] = held > (kLargest - digit) / 10 ? kLargest : held * 10 + digit;
  }
  return ProgressionFromBlock(block);
}

}  // namespace

FileText LoadTradeLogText() {
  FileText read = ReadWholeFile(TradeLogPath);
  if (read.status != ReadStatus::Found) return read;
  try {
    return {ReadStatus::Found, WithCrLf(read.text)};
  } catch (const std::bad_alloc&) {
    return {ReadStatus::Failed, {}};
  }
}

ReadStatus ShowTradeLog() {
  const FileText read = LoadTradeLogText();
  if (read.status != ReadStatus::Found) return read.status;
  const std::optional<std::wstring> wide = AnsiToWide(read.text);
  if (!wide) return ReadStatus::Failed;
  SetControlText(IDC_TRADE_LOG, *wide);
  return ReadStatus::Found;
}

std::string FreshTradeLog(std::int64_t now) {
  return "\xA5TRADE No.1\nDATE:" + DateText(now) + "ARRAY:1,2,3\n";
}

bool ResetTradeLog() {
  try {
    return WriteTextFile(TradeLogPath, FreshTradeLog(ClockNow()));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::optional<LogData> ParseTradeLog() {
  try {
    const FileText read = ReadWholeFile(TradeLogPath);
    if (read.status != ReadStatus::Found || read.text.empty()) return std::nullopt;
    const std::string_view text = read.text;
    LogData log;
    std::size_t at = text.find('Y');
    while (at != std::string_view::npos) {
      // The list starts at the first digit after the 'Y', on this line or a
      // later one, and runs to the end of that digit's line.
      const std::size_t start = text.find_first_of(kDigits, at);
      if (start == std::string_view::npos) break;
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      log.push_back(ListFromLine(text.substr(start, end - start)));
      at = text.find('Y', end);
    }
    if (log.empty()) return std::nullopt;
    return log;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::optional<std::int32_t> ReadLastTradeNumber() {
  const FileText read = ReadWholeFile(TradeLogPath);
  if (read.status == ReadStatus::Missing) return 1;
  // A log that cannot be read gives no number rather than a wrong one.
  if (read.status == ReadStatus::Failed) return std::nullopt;
  const std::string_view text = read.text;
  const std::size_t point = text.rfind('.');
  if (point == std::string_view::npos) return 1;
  std::string_view digits = text.substr(point + 1);
  digits = digits.substr(0, digits.find_first_not_of(kDigits));
  constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::min(ParseDecimal(digits), kLargest));
}

std::optional<std::string> ComposeTradeRecord(TradeResult result,
                                              std::string_view tradeNumber,
                                              const ProgressionArray& list,
                                              std::int64_t now) {
  try {
    std::string record =
        result == TradeResult::Win ? "STATUS:WIN\n\n\xA5TRADE No." : "STATUS:LOSE\n\n\xA5TRADE No.";
    record += tradeNumber;
    record += "\nDATE:";
    record += DateText(now);
    record += "ARRAY:";
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::optional<std::string> value = FormatDecimal(list[i], "1.0");
      if (!value) return std::nullopt;
      if (i > 0) record += ',';
      record += *value;
    }
    record += '\n';
    return record;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}
