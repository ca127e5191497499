// The version check of the Help menu: fetch the published version text and
// tell the user whether a version newer than this one exists.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The newer-version message must fit in this many bytes when written as
// narrow code page 932 text, terminating zero included; a version text that
// would not fit is malformed.
inline constexpr std::size_t kVersionMessageBytes = 1024;

// Answers the server's text (nothing when none came back) with one box, as
// the version ownVersion ("1.0") sees it: the up-to-date message for a version
// not above it, the newer-version message with the download address, or error
// 02-01 (nothing came back) or 02-02 (the text is not a plain decimal).
void AnswerVersionText(const std::optional<std::string>& text, std::string_view ownVersion);

// Command 2000: fetches the version text and answers it as this program's
// version, MAJOR.MINOR of res/version.h.
void VersionCheckCommand();
