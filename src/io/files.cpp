// Whole-file text reads and writes with the program's own text-mode rules.
#include "io/files.h"

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

constexpr char kEndOfText = 0x1A;

// The text that text mode reads from the bytes: CR LF becomes LF, a lone CR
// stays, and 0x1A ends the text. Narrow text ends at its first zero byte,
// here as everywhere else.
std::string FromDisk(std::string bytes) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != kEndOfText && bytes[i] != '\0'; ++i) {
    if (std::string_view(bytes).substr(i, 2) == "\r\n") ++i;
    bytes[kept++] = bytes[i];
  }
  bytes.resize(kept);
  return bytes;
}

// Whether fwrite took all the bytes; what it buffered reaches the file only
// if fclose succeeds as well.
bool WriteAll(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

FileText ReadWholeFile(const std::string& path) {
  const File file = Open(path, "rb");
  if (!file) return {ReadStatus::Missing, {}};
  try {
    std::string bytes;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
      bytes.append(chunk, got);
    if (std::ferror(file.get())) return {ReadStatus::Failed, {}};
    return {ReadStatus::Found, FromDisk(std::move(bytes))};
  } catch (const std::bad_alloc&) {
    return {ReadStatus::Failed, {}};
  }
}

std::string WithCrLf(std::string_view text) {
  std::string bytes;
  for (char c : text) {
    if (c == '\n') bytes.push_back('\r');
    bytes.push_back(c);
  }
  return bytes;
}

bool WriteTextFile(const std::string& path, std::string_view text) {
  const std::string bytes = WithCrLf(text);
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
  const std::string bytes = WithCrLf(text);
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
