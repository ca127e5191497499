// How a long simulation reports its progress: the outcome of a run, how often
// it asks whether to go on, and the text of its progress window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

enum class RunOutcome { Done, Failed, Stopped };

// The sampling asks after every so many samples, and after every so many
// trades played outside the sample tree, so that a run stops quickly however
// long its samples are. The Monte Carlo path asks after every so many trades.
inline constexpr std::int64_t kSamplesPerAsk = 4096;
inline constexpr std::int64_t kTradesPerAsk = std::int64_t{1} << 16;

// "計算中です。 123456 / 1000000 サンプル" and, below it, the time still needed at
// the pace so far ("残り時間 約2時間15分") for the arithmetic simulation, whose
// end is known; "計算中です。 12345678 トレード" for the Monte Carlo path.
std::wstring ProgressText(RunKind kind, std::int64_t done, std::int64_t total, std::int64_t elapsedMs);
