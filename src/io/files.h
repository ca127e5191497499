// Narrow text files in text mode, done by the program itself on top of binary
// I/O so that every platform reads and writes the same bytes: on disk a line
// ends in CR LF, in memory in LF; a read turns CR LF into LF, keeps a lone CR
// and stops at the byte 0x1A; a write stores every LF as CR LF. Paths are
// narrow text in the ANSI code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Whether the file can be opened for reading.
bool FileCanBeOpened(const std::string& path);

// The number of characters a text-mode read yields, plus one; 0 (after a BEL
// on standard output) when the file cannot be opened.
int CountFileBytes(const std::string& path);

// The whole file as a text-mode read yields it, up to its first zero byte;
// an empty file gives an empty text. Nothing when the file cannot be opened
// or memory runs out.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file with the text: written to a temporary file beside it and
// renamed over it, so the file is either the old one or the whole new one.
// True when the text reached the file. Throws std::bad_alloc, before anything
// is written, when memory runs out.
bool WriteTextFile(const std::string& path, std::string_view text);

// Adds the text at the end of the file (created if missing) in one write.
// True when the text reached the file; nothing is written when it cannot be
// opened. Throws std::bad_alloc, before anything is written, when memory runs
// out.
bool AppendTextFile(const std::string& path, std::string_view text);

// Whether files can be kept in the folder: a small file is written in it and
// removed again. Throws std::bad_alloc when memory runs out.
bool FolderAcceptsFiles(const std::string& folder);

// The first text followed by the second; either may be missing. Nothing when
// both are missing or memory runs out.
std::optional<std::string> ConcatStrings(const std::optional<std::string>& first,
                                         const std::optional<std::string>& second);
