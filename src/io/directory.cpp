// The folder part of a file name, walked in the ANSI code page.
#include "io/directory.h"

#include "io/codepage.h"

std::string DirectoryOf(std::string_view fileName) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < fileName.size(); ++i) {
    const char c = fileName[i];
    if (c == '\\' || c == '/') {
      end = i + 1;
    } else if (IsLeadByte(c)) {
      ++i;  // its second byte is no separator
    }
  }
  return std::string(fileName.substr(0, end));
}
