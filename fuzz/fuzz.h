// What the fuzz targets share: the input stored as a file in a directory of
// the process's own, the check that stops the fuzzer on a broken promise, and
// the stand-in window (platform_stub.cpp): the version server sends
// fuzzReply, and every box shown is added to fuzzBoxes.
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

struct FuzzFile {
  std::filesystem::path directory =
      std::filesystem::temp_directory_path() / ("tallowind-fuzz-" + std::to_string(std::random_device{}()));
  std::string path;
  explicit FuzzFile(const char* name) : path((directory / name).string()) {
    std::filesystem::create_directories(directory);
  }
  ~FuzzFile() { std::filesystem::remove_all(directory); }
  void Write(const std::uint8_t* data, std::size_t size) const {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
};
