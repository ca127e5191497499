// The sampling count: its file, its loader and the logic of its dialog.
#include "sim/sampling_count.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>

#include "core/decimal.h"
#include "io/codepage.h"
#include "io/files.h"
#include "io/paths.h"
#include "platform/error_box.h"

std::int32_t SamplingCountFromText(std::string_view text) {
  if (text.find_first_not_of(kDigits) != std::string_view::npos) return kDefaultSamplingCount;
  // Truncated and held in range as a double, so that a count of any length
  // comes out as 1000000 and never overflows the integer.
  const double count = std::trunc(ParseDecimal(text));
  return static_cast<std::int32_t>(std::clamp(count, 1.0, static_cast<double>(kDefaultSamplingCount)));
}

bool LoadSamplingCount() {
  const FileText read = ReadWholeFile(SamplingCountPath);
  samplingCount = read.status == ReadStatus::Found ? SamplingCountFromText(read.text) : kDefaultSamplingCount;
  return read.status != ReadStatus::Failed;
}

SamplingCountOpening OpenSamplingCountDialog() {
  // The dialog must not show the default in place of a count it could not read.
  if (!LoadSamplingCount()) return {{}, {L"03-01", kReasonNoMemory}};
  const std::optional<std::string> text = FormatDecimal(samplingCount, "1.0");
  if (!text) return {{}, {L"03-01", kReasonNoMemory}};
  std::optional<std::wstring> wide = AnsiToWide(*text);
  if (!wide) return {{}, {L"03-02", kReasonNoMemory}};
  return {std::move(*wide), {}};
}

SiteError SaveSamplingCountText(std::wstring_view typed) {
  const std::optional<std::string> text = WideToAnsi(typed.substr(0, kSavedSamplingChars));
  if (!text) return {L"03-02", kReasonNoMemory};
  bool saved;
  try {
    saved = WriteTextFile(SamplingCountPath, *text);
  } catch (const std::bad_alloc&) {
    saved = false;
  }
  if (!saved) return {L"03-03", kReasonSaveFailed};
  LoadSamplingCount();
  return {};
}
