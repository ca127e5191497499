// The version check of the Help menu: fetch the published version text and
// tell the user whether a version newer than this one (1.0) exists.
#pragma once

#include <cstddef>

// The newer-version message must fit in this many bytes when written as
// narrow code page 932 text, terminating zero included; a version text that
// would not fit is malformed.
inline constexpr std::size_t kVersionMessageBytes = 1024;

// Command 2000: fetches the version text and shows one box: the up-to-date
// message, the newer-version message with the download address, or error
// 02-01 (nothing came back) or 02-02 (the text is not a plain decimal).
void VersionCheckCommand();
