// Whole-file text reads and writes with the program's own text-mode rules.
#include "io/files.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>

#include "io/directory.h"
#include "io/file_replace.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::string& path, const char* mode) { return File(std::fopen(path.c_str(), mode)); }

constexpr int kEndOfText = 0x1A;

// Reads the next character as text mode delivers it: CR LF becomes LF, a
// lone CR stays, and 0x1A ends the text. EOF at the end.
int GetTextChar(std::FILE* file) {
  const int c = std::fgetc(file);
  if (c == kEndOfText) return EOF;
  if (c == '\r') {
    const int next = std::fgetc(file);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, file);
  }
  return c;
}

// The bytes that text mode stores for a text: every LF as CR LF.
std::string OnDisk(std::string_view text) {
  std::string bytes;
  for (char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

// Whether fwrite took all the bytes; what it buffered reaches the file only
// if fclose succeeds as well.
bool WriteAll(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

bool FileCanBeOpened(const std::string& path) { return Open(path, "rb") != nullptr; }

int CountFileBytes(const std::string& path) {
  File file = Open(path, "rb");
  if (!file) {
    std::fputc('\a', stdout);
    return 0;
  }
  int count = 0;
  while (GetTextChar(file.get()) != EOF && count < INT32_MAX - 1)
    ++count;
  return count + 1;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const int size = CountFileBytes(path);
  if (size == 0) return std::nullopt;
  try {
    std::string text;
    text.reserve(static_cast<std::size_t>(size));
    File file = Open(path, "rb");
    if (!file) return std::nullopt;
    for (int c; (c = GetTextChar(file.get())) != EOF;)
      text.push_back(static_cast<char>(c));
    // Narrow text ends at its first zero byte, here as everywhere else.
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

bool WriteTextFile(const std::string& path, std::string_view text) {
  const std::string bytes = OnDisk(text);
  const std::string temporary = path + ".tmp";
  {
    File file = Open(temporary, "wb");
    if (!file) return false;
    const bool written = WriteAll(file.get(), bytes);
    if (std::fclose(file.release()) != 0 || !written) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (!ReplaceFileWith(temporary, path)) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

bool AppendTextFile(const std::string& path, std::string_view text) {
  const std::string bytes = OnDisk(text);
  File file = Open(path, "ab");
  if (!file) return false;
  const bool written = WriteAll(file.get(), bytes);
  return std::fclose(file.release()) == 0 && written;
}

bool FolderAcceptsFiles(const std::string& folder) {
  const std::string probe = folder + kPathSeparator + "write_test.tmp";
  File file = Open(probe, "wb");
  if (!file) return false;
  const bool written = WriteAll(file.get(), "x");
  const bool closed = std::fclose(file.release()) == 0;
  return std::remove(probe.c_str()) == 0 && written && closed;
}

std::optional<std::string> ConcatStrings(const std::optional<std::string>& first,
                                         const std::optional<std::string>& second) {
  if (!first && !second) return std::nullopt;
  try {
    return first.value_or("") + second.value_or("");
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}
