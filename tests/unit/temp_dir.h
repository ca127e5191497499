// A temporary directory for one test, removed with all it holds at the end,
// and the bytes of a file written and read exactly (a missing file reads as
// empty).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

struct TempDir {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tallowind-test-" + std::to_string(std::random_device{}()));
  TempDir() { std::filesystem::create_directories(path); }
  TempDir(const TempDir&) = delete;
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string File(std::string_view name) const { return (path / name).string(); }
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
