// What the fuzz targets share: the check that stops the fuzzer and the input
// as a file. The unit tests' scripted window stands in for the real one.
#pragma once

#include <cstdlib>

#include "fake_ui.h"

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The path of a file of that name, now holding the input, in a folder of the
// process's own that is removed when it ends.
inline std::string InputFile(const char* name, const std::uint8_t* data, std::size_t size) {
  static const TempDir directory;
  WriteBytes(directory.File(name), std::string_view(reinterpret_cast<const char*>(data), size));
  return directory.File(name);
}
