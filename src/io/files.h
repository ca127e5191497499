// Narrow text files in text mode, done by the program itself on top of binary
// I/O so that every platform reads and writes the same bytes: on disk a line
// ends in CR LF, in memory in LF; a read turns CR LF into LF, keeps a lone CR
// and stops at the byte 0x1A; a write stores every LF as CR LF. Paths are
// narrow text in the ANSI code page.
#pragma once

#include <string>
#include <string_view>

// What a read of a whole file found: the file and its text, no file (it
// cannot be opened), or a file that cannot be read whole (a read error, or
// memory ran out).
enum class ReadStatus { Found, Missing, Failed };

struct FileText {
  ReadStatus status;
  std::string text;  // with Found only
};

// The whole file, opened once, as a text-mode read yields it, up to its first
// zero byte; an empty file gives an empty text.
FileText ReadWholeFile(const std::string& path);

// The text with every LF as CR LF, as text mode stores it and a multiline
// edit shows it. Throws std::bad_alloc when memory runs out.
std::string WithCrLf(std::string_view text);

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
