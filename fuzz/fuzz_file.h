// The input file of a fuzz target, in a directory of the process's own that
// is removed when the process ends, and the check that stops the fuzzer on a
// broken promise of the code under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

struct FuzzFile {
  std::filesystem::path directory;
  std::string path;

  explicit FuzzFile(const char* name)
      : directory(std::filesystem::temp_directory_path() /
                  ("tallowind-fuzz-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(directory);
    path = (directory / name).string();
  }
  ~FuzzFile() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
  }

  // Stores the input's bytes as they are.
  void Write(const std::uint8_t* data, std::size_t size) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
};

inline void Check(bool condition) {
  if (!condition) std::abort();
}
