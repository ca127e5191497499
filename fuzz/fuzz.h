// What the fuzz targets share: the check that stops the fuzzer, the input as a
// file, and the stand-in window (platform_stub.cpp) that sends fuzzReply and keeps fuzzBoxes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"

inline std::optional<std::string> fuzzReply;
inline std::vector<BoxKind> fuzzBoxes;

inline void Check(bool condition) {
  if (!condition) std::abort();
}

// The path of a file of that name, now holding the input, in a directory of
// the process's own that is removed when it ends.
inline std::string InputFile(const char* name, const std::uint8_t* data, std::size_t size) {
  static const struct Directory {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tallowind-fuzz-" + std::to_string(std::random_device{}()));
    Directory() { std::filesystem::create_directories(path); }
    ~Directory() { std::filesystem::remove_all(path); }
  } directory;
  const std::string path = (directory.path / name).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  return path;
}
