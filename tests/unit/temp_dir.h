// A temporary directory for one test, removed with everything in it when the
// test ends, and small helpers to write and read files in it byte for byte.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

struct TempDir {
  std::filesystem::path path;

  TempDir() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::filesystem::path candidate = base / ("tallowind-test-" + std::to_string(device()));
      if (std::filesystem::create_directory(candidate)) {
        path = std::move(candidate);
        return;
      }
    }
    throw std::runtime_error("no temporary directory");
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }

  // The narrow path of a file in the directory.
  std::string File(std::string_view name) const { return (path / name).string(); }
};

// Writes the bytes exactly as given (binary, no line-end translation).
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file's bytes exactly as stored; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
