// The sampling count of the arithmetic simulation: its file, its loader and
// the logic of its setting dialog (the dialog's window is in
// src/app/sampling_count_dialog.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr std::int32_t kDefaultSamplingCount = 1000000;

// 1 to 1000000 once loaded.
inline std::int32_t samplingCount = kDefaultSamplingCount;

// The count a saved text stands for: a text of decimal digits only (or an
// empty one) gives its value, truncated and held within 1 to 1000000; any
// other text gives the default.
std::int32_t SamplingCountFromText(std::string_view text);

// Sets samplingCount from SamplingCountPath; a missing, unreadable or
// malformed file gives the default. False when the file exists but cannot be
// read (memory ran out).
bool LoadSamplingCount();

// An error of the dialog: its site's code and reason; an empty code is none.
struct SiteError {
  std::wstring_view code;
  std::wstring_view reason;
};

// What the dialog shows when it opens: the count just loaded as a whole
// number, or (text empty) the error to show before it closes.
struct SamplingCountOpening {
  std::wstring text;
  SiteError error;
};

SamplingCountOpening OpenSamplingCountDialog();

// The characters of the edit that SAVE reads.
inline constexpr std::size_t kSavedSamplingChars = 7;

// SAVE: writes the first seven characters of the typed text, as typed, to
// SamplingCountPath and reloads the count. No error when saved, otherwise the
// error to show before the dialog closes (nothing was written).
SiteError SaveSamplingCountText(std::wstring_view typed);
