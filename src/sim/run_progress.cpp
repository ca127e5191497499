// The text of the progress window.
#include "sim/run_progress.h"

namespace {

// A duration in whole seconds as hours and minutes, minutes and seconds, or
// seconds alone, whichever is the largest unit that fits.
std::wstring DurationText(std::int64_t seconds) {
  const std::int64_t hours = seconds / 3600;
  const std::int64_t minutes = seconds / 60 % 60;
  if (hours > 0) return std::to_wstring(hours) + L"時間" + std::to_wstring(minutes) + L"分";
  if (minutes > 0) return std::to_wstring(minutes) + L"分" + std::to_wstring(seconds % 60) + L"秒";
  return std::to_wstring(seconds) + L"秒";
}

}  // namespace

std::wstring ProgressText(RunKind kind, std::int64_t done, std::int64_t total, std::int64_t elapsedMs) {
  if (kind == RunKind::MonteCarlo) return L"計算中です。 " + std::to_wstring(done) + L" トレード";
  std::wstring text =
      L"計算中です。 " + std::to_wstring(done) + L" / " + std::to_wstring(total) + L" サンプル\n残り時間 ";
  if (done <= 0) return text + L"計算中";
  // The samples still to play at the pace of those played, to the nearest second.
  const std::int64_t remainingMs = elapsedMs * (total - done) / done;
  return text + L"約" + DurationText((remainingMs + 500) / 1000);
}
