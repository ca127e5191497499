// Replacing a file natively: rename is atomic within a directory.
#include <cstdio>

#include "io/file_replace.h"

bool ReplaceFileWith(const std::string& source, const std::string& target) {
  return std::rename(source.c_str(), target.c_str()) == 0;
}
