// The trade log file: the live set of trades, one record per trade, the last
// one open. Every operation works on TradeLogPath.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/progression.h"
#include "io/files.h"

// The lists of the log's "ARRAY:" lines in file order.
using LogData = std::vector<ProgressionArray>;

// The log's text with CR LF line ends, ready for the log edit; Failed also
// when memory runs out.
FileText LoadTradeLogText();

// Loads the log's text into the log edit: Found when it shows it; Failed when
// the file cannot be read or its text not converted for the edit, which then
// keeps its text.
ReadStatus ShowTradeLog();

// The fresh log of a new set: trade No.1 with the list 1, 2, 3.
std::string FreshTradeLog(std::int64_t now);

// Replaces the log with a fresh one in one write. True when it was written.
bool ResetTradeLog();

// The lists of the log; nothing when it cannot be read or holds no list.
std::optional<LogData> ParseTradeLog();

// The number after the log's last "."; 1 when there is none or no file.
// Nothing when the file exists but cannot be read or memory runs out.
std::optional<std::int32_t> ReadLastTradeNumber();

// The record that registers a result and opens the next trade:
// "STATUS:WIN\n\n\xA5TRADE No.<n>\nDATE:<date text>ARRAY:<list>\n" (LOSE for
// a loss), with the trade number already written as text. Nothing when a
// number of the list cannot be formatted.
std::optional<std::string> ComposeTradeRecord(TradeResult result,
                                              std::string_view tradeNumber,
                                              const ProgressionArray& list,
                                              std::int64_t now);
