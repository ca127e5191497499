// The version check of the Help menu: fetch the published version text and
// tell the user whether a version newer than this one (1.0) exists.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The longest reply the fetch reads. Past it the fetch stops and returns the
// bytes received so far (more than this many), and the check rejects the
// text as malformed.
inline constexpr std::size_t kMaxVersionReplyBytes = 64 * 1024;

// The newer-version message must fit in this many bytes when written as
// narrow code page 932 text, terminating zero included; a version text that
// would not fit is malformed.
inline constexpr std::size_t kVersionMessageBytes = 1024;

// Everything the web server sent for the version text's URL (a plain HTTP
// GET that bypasses the local cache), byte for byte, or nothing when the
// server cannot be reached or memory runs out. Defined by the exe's WinINet
// half; tests define their own.
std::optional<std::string> FetchVersionText();

// Command 2000: fetches the version text and shows one box: the up-to-date
// message, the newer-version message with the download address, or error
// 02-01 (nothing came back) or 02-02 (the text is not a plain decimal).
void VersionCheckCommand();
